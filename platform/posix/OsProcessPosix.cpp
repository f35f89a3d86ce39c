// SPDX-License-Identifier: MIT
#include "platform/internal/OsProcess.h"

#include "md5b64/Export.h"
#include "platform/CommandLine.h"

#include <array>
#include <unistd.h>

#if MD5B64_SHARED_LIBRARY
// A shared library sees no __executable_start of the program: the code addresses in its
// reports are taken from the library's own first byte, which the linker marks in every
// ELF object.
extern "C" const char __ehdr_start[] __attribute__((visibility("hidden")));
#define MD5B64_IMAGE_START __ehdr_start
#else
// Set by the linker at the first byte of the program's image.
extern "C" const char __executable_start[];
#define MD5B64_IMAGE_START __executable_start
#endif

namespace md5b64 {

namespace {

std::string_view BaseName(std::string_view Path) noexcept {
  const std::size_t Slash = Path.find_last_of('/');
  return Slash == std::string_view::npos ? Path : Path.substr(Slash + 1);
}

} // namespace

std::string_view OsModuleFileNameInPlace() noexcept {
  // Static, not on the stack: the failure path must get through in a small stack too.
  static std::array<char, 4096> Path;
  const ssize_t Length = ::readlink("/proc/self/exe", Path.data(), Path.size());
  if (Length <= 0)
    return {};
  return BaseName(std::string_view(Path.data(), static_cast<std::size_t>(Length)));
}

std::string OsModuleFileName() {
  if (const std::string_view Name = OsModuleFileNameInPlace(); !Name.empty())
    return std::string(Name);
  return std::string(BaseName(ParamStr(0)));
}

std::uintptr_t OsModuleBase() noexcept {
  return reinterpret_cast<std::uintptr_t>(MD5B64_IMAGE_START);
}

} // namespace md5b64
