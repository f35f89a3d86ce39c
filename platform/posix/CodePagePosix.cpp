// The argument bytes on POSIX systems are taken as they come; UTF-8 and the single-byte
// sets have no lead bytes in the double-byte sense, so no byte is one.
#include "platform/CodePage.h"

namespace md5b64 {

bool SystemHasLeadBytes() noexcept {
  return false;
}

bool SystemIsLeadByte(unsigned char) noexcept {
  return false;
}

} // namespace md5b64
