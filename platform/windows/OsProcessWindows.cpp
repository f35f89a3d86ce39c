#include "platform/internal/OsProcess.h"

#include "platform/CommandLine.h"
#include "platform/internal/OsCodePage.h"

#include <windows.h>

#include <vector>

namespace md5b64 {

namespace {

// What follows the last path separator. The path is in the ANSI code page, where the
// trail byte of a double-byte character may be 0x5C, so it is stepped by characters.
std::string BaseName(const std::string& Path) {
  std::size_t Start = 0;
  for (std::size_t At = 0; At < Path.size();) {
    const unsigned char Byte = static_cast<unsigned char>(Path[At]);
    if (Byte == '\\' || Byte == '/' || Byte == ':')
      Start = At + 1;
    At += (OsIsLeadByte(Byte) && At + 1 < Path.size()) ? 2 : 1;
  }
  return Path.substr(Start);
}

} // namespace

std::string OsModuleFileName() {
  // Paths reach 32767 characters at most; a full buffer means the name may have been cut.
  for (std::size_t Size = MAX_PATH; Size <= 32768; Size *= 2) {
    std::vector<char> Path(Size);
    const DWORD Length = GetModuleFileNameA(nullptr, Path.data(), static_cast<DWORD>(Size));
    if (Length == 0)
      break;
    if (Length < Size)
      return BaseName(std::string(Path.data(), Length));
  }
  return BaseName(ParamStr(0));
}

std::uintptr_t OsModuleBase() noexcept {
  return reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr));
}

} // namespace md5b64
