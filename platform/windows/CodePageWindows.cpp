// Lead bytes of the process's ANSI code page.
#include "platform/CodePage.h"

#include <windows.h>

namespace md5b64 {

bool SystemHasLeadBytes() noexcept {
  CPINFO Info;
  return GetCPInfo(CP_ACP, &Info) && Info.MaxCharSize > 1;
}

bool SystemIsLeadByte(unsigned char Byte) noexcept {
  return IsDBCSLeadByte(Byte) != 0;
}

} // namespace md5b64
