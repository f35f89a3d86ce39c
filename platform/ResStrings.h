// Message texts of the runtime's errors, kept in one table and loaded when an error is raised.
#ifndef MD5B64_PLATFORM_RESSTRINGS_H
#define MD5B64_PLATFORM_RESSTRINGS_H

#include <string>

namespace md5b64 {

enum class TResString {
  RangeError,     // "Range check error"
  ReadError,      // "Stream read error"
  WriteError,     // "Stream write error"
  AbstractError,  // "Abstract Error"
  OutOfMemory,    // "Out of memory"
  InOutError,     // "I/O error %d"
  UnevenEncode,   // "Uneven size in Encode."
  ListIndexError, // "List index out of bounds (%d)"
};

/// Returns the message text stored under Id.
const char* LoadResString(TResString Id);

/// Formats the message stored under Id with one decimal number in place of its "%d".
std::string FormatResString(TResString Id, long long Number);

} // namespace md5b64

#endif
