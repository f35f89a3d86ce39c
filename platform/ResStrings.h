// SPDX-License-Identifier: MIT
// Message texts of the runtime's errors, kept in one table and loaded when an error is raised.
#ifndef MD5B64_PLATFORM_RESSTRINGS_H
#define MD5B64_PLATFORM_RESSTRINGS_H

#include "md5b64/Export.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace md5b64 {

// The one list of message texts: each entry names its id and holds its text, so that the
// ids and the texts cannot get out of step.
#define MD5B64_RES_STRINGS(X)                                                                      \
  X(RangeError, "Range check error")                                                               \
  X(ReadError, "Stream read error")                                                                \
  X(WriteError, "Stream write error")                                                              \
  X(AbstractError, "Abstract Error")                                                               \
  X(OutOfMemory, "Out of memory")                                                                  \
  X(InOutError, "I/O error %d")                                                                    \
  X(UnevenEncode, "Uneven size in Encode.")                                                        \
  X(ListIndexError, "List index out of bounds (%d)")                                               \
  X(DecodeBadChar, "Character with code %s at position %s is not in the coding alphabet.")         \
  X(DecodeBadPad, "Pad character at position %s is not followed by another pad.")                  \
  X(NoCoderRegistry, "The coder registry has not been created.")                                   \
  X(NoCoderClass, "The coder registry entry has no coder class.")                                  \
  X(CoderNotFound, "No coder is registered as \"%s\" with direction %s.")                          \
  X(CodingNotStarted,                                                                              \
    "The coding modules are not started: %s needs the tables their start-up builds.")

enum class TResString {
#define MD5B64_RES_STRING_ID(Id, Text) Id,
  MD5B64_RES_STRINGS(MD5B64_RES_STRING_ID)
#undef MD5B64_RES_STRING_ID
};

/// Returns the message text stored under Id.
MD5B64_API const char* LoadResString(TResString Id);

/// Formats the message stored under Id with one decimal number in place of its "%d".
MD5B64_API std::string FormatResString(TResString Id, long long Number);

/// Formats the message stored under Id with the texts of Args, in order, in place of its
/// "%s" marks.
MD5B64_API std::string FormatResString(TResString Id, std::initializer_list<std::string_view> Args);

} // namespace md5b64

#endif
