// SPDX-License-Identifier: MIT
// The system code page's lead bytes and the multibyte-aware substring search built on them.
#ifndef MD5B64_PLATFORM_CODEPAGE_H
#define MD5B64_PLATFORM_CODEPAGE_H

#include "md5b64/Export.h"

#include <cstddef>
#include <string_view>

namespace md5b64 {

/// Tells whether a byte opens a double-byte character.
using TLeadBytePredicate = bool (*)(unsigned char Byte);

/// Cuts a text at its first zero byte, as the C-string searches see it.
MD5B64_API std::string_view UpToFirstZero(std::string_view Text) noexcept;

/// 1-based position of the first occurrence of Sub in Text, or 0. Both texts count only up
/// to their first zero byte; an empty text or an empty Sub finds nothing. Text is stepped a
/// character at a time with IsLeadByte, so no match begins on the second byte of a
/// double-byte character.
MD5B64_API std::size_t MultiBytePos(std::string_view Sub, std::string_view Text,
                                    TLeadBytePredicate IsLeadByte) noexcept;

/// MultiBytePos with the system code page's lead bytes.
MD5B64_API std::size_t AnsiPos(std::string_view Sub, std::string_view Text) noexcept;

} // namespace md5b64

#endif
