// SPDX-License-Identifier: MIT
// Lead bytes of the process's ANSI code page.
#include "platform/internal/OsCodePage.h"

#include <windows.h>

namespace md5b64 {

bool OsHasLeadBytes() noexcept {
  CPINFO Info;
  return GetCPInfo(CP_ACP, &Info) && Info.MaxCharSize > 1;
}

bool OsIsLeadByte(unsigned char Byte) noexcept {
  return IsDBCSLeadByte(Byte) != 0;
}

} // namespace md5b64
