// SPDX-License-Identifier: MIT
// The program's arguments, and the splitting of a command line that arrives as one string.
#ifndef MD5B64_PLATFORM_COMMANDLINE_H
#define MD5B64_PLATFORM_COMMANDLINE_H

#include "md5b64/Export.h"

#include "platform/CodePage.h"

#include <string>
#include <string_view>

namespace md5b64 {

/// Returns piece Index (0 is the program's name) of a one-string command line, or the empty
/// text when there are fewer pieces. Before each piece, bytes 1 to 32 are skipped, and so is
/// every pair of double quotes that stands there (an empty quoted argument is no piece).
/// A piece runs to the first byte from 0 to 32 outside double quotes; inside them bytes 1 to
/// 32 belong to the piece, and the quotes themselves are dropped. There is no escape
/// character. Characters are stepped with IsLeadByte, so a double-byte character is never
/// split. The line ends at its first zero byte.
MD5B64_API std::string GetParamFromCommandLine(std::string_view CommandLine, int Index,
                                               TLeadBytePredicate IsLeadByte);

/// Keeps the arguments as main received them (argv). Where the platform hands over one
/// string instead, ParamStr splits that string and the kept arguments are not used.
MD5B64_API void SetProgramArguments(int ArgCount, char** Args) noexcept;

/// Argument Index of the program, 0 being its name; the empty text when there is none.
/// The bytes are those the platform delivers, with no conversion.
MD5B64_API std::string ParamStr(int Index);

} // namespace md5b64

#endif
