// SPDX-License-Identifier: MIT
// How md5b64sum writes file names: escaped in its lines, quoted in its messages.
#ifndef MD5B64_FRONT_END_SUMNAMES_H
#define MD5B64_FRONT_END_SUMNAMES_H

#include <optional>
#include <string>
#include <string_view>

namespace md5b64 {

/// True when Name holds a backslash, a line feed or a carriage return, which a line can
/// carry only escaped.
bool NameNeedsEscape(std::string_view Name) noexcept;
/// Name with "\\", "\n" and "\r" in place of those three characters.
std::string EscapeName(std::string_view Name);
/// The name an escaped Text stands for; nothing when Text holds a zero byte, a backslash
/// at its end or one before any other character than "\\", "n" or "r".
std::optional<std::string> UnescapeName(std::string_view Text);
/// Name as a message shows it: as it is when a shell would read it back unchanged, else in
/// shell quotes, with $'...' for the bytes that are not printable ASCII. A colon is quoted
/// too, since messages use it as a separator.
std::string QuoteName(std::string_view Name);

} // namespace md5b64

#endif
