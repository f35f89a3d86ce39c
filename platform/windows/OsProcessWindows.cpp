// SPDX-License-Identifier: MIT
#include "platform/internal/OsProcess.h"

#include "platform/CommandLine.h"
#include "platform/internal/OsCodePage.h"

#include <windows.h>

#include <array>
#include <string_view>

namespace md5b64 {

namespace {

// What follows the last path separator. The path is in the ANSI code page, where the
// trail byte of a double-byte character may be 0x5C, so it is stepped by characters.
std::string_view BaseName(std::string_view Path) noexcept {
  std::size_t Start = 0;
  for (std::size_t At = 0; At < Path.size();) {
    const unsigned char Byte = static_cast<unsigned char>(Path[At]);
    if (Byte == '\\' || Byte == '/' || Byte == ':')
      Start = At + 1;
    At += (OsIsLeadByte(Byte) && At + 1 < Path.size()) ? 2U : 1U;
  }
  return Path.substr(Start);
}

} // namespace

std::string_view OsModuleFileNameInPlace() noexcept {
  // Paths reach 32767 characters, up to two bytes each in a double-byte code page; static,
  // so that neither the heap nor the stack of the failure path is needed. A full buffer
  // means the name may have been cut.
  static std::array<char, 65536> Path;
  const DWORD Length = GetModuleFileNameA(nullptr, Path.data(), static_cast<DWORD>(Path.size()));
  if (Length == 0 || Length >= Path.size())
    return {};
  return BaseName(std::string_view(Path.data(), Length));
}

std::string OsModuleFileName() {
  if (const std::string_view Name = OsModuleFileNameInPlace(); !Name.empty())
    return std::string(Name);
  return std::string(BaseName(ParamStr(0)));
}

std::uintptr_t OsModuleBase() noexcept {
  return reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr));
}

} // namespace md5b64
