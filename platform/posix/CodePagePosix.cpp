// SPDX-License-Identifier: MIT
// The argument bytes on POSIX systems are taken as they come; UTF-8 and the single-byte
// sets have no lead bytes in the double-byte sense, so no byte is one.
#include "platform/internal/OsCodePage.h"

namespace md5b64 {

bool OsHasLeadBytes() noexcept {
  return false;
}

bool OsIsLeadByte(unsigned char) noexcept {
  return false;
}

} // namespace md5b64
