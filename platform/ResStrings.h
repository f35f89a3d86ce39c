// Message texts of the runtime's errors, kept in one table and loaded when an error is raised.
#ifndef MD5B64_PLATFORM_RESSTRINGS_H
#define MD5B64_PLATFORM_RESSTRINGS_H

#include <initializer_list>
#include <string>
#include <string_view>

namespace md5b64 {

enum class TResString {
  RangeError,      // "Range check error"
  ReadError,       // "Stream read error"
  WriteError,      // "Stream write error"
  AbstractError,   // "Abstract Error"
  OutOfMemory,     // "Out of memory"
  InOutError,      // "I/O error %d"
  UnevenEncode,    // "Uneven size in Encode."
  ListIndexError,  // "List index out of bounds (%d)"
  DecodeBadChar,   // "Character with code %s at position %s is not in the coding alphabet."
  DecodeBadPad,    // "Pad character at position %s is not followed by another pad."
  NoCoderRegistry, // "The coder registry has not been created."
  NoCoderClass,    // "The coder registry entry has no coder class."
  CoderNotFound,   // "No coder is registered as \"%s\" with direction %s."
  // "The coding modules are not started: %s needs the tables their start-up builds."
  CodingNotStarted,
};

/// Returns the message text stored under Id.
const char* LoadResString(TResString Id);

/// Formats the message stored under Id with one decimal number in place of its "%d".
std::string FormatResString(TResString Id, long long Number);

/// Formats the message stored under Id with the texts of Args, in order, in place of its
/// "%s" marks.
std::string FormatResString(TResString Id, std::initializer_list<std::string_view> Args);

} // namespace md5b64

#endif
