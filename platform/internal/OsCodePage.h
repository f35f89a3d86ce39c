// SPDX-License-Identifier: MIT
// What the code page functions need of the operating system; one implementation per OS.
#ifndef MD5B64_PLATFORM_INTERNAL_OSCODEPAGE_H
#define MD5B64_PLATFORM_INTERNAL_OSCODEPAGE_H

#include "md5b64/Export.h"

namespace md5b64 {

/// True when the system code page has double-byte characters at all.
MD5B64_API bool OsHasLeadBytes() noexcept;
/// The system code page's lead-byte test.
MD5B64_API bool OsIsLeadByte(unsigned char Byte) noexcept;

} // namespace md5b64

#endif
