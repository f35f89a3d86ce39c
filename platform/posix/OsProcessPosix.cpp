#include "platform/internal/OsProcess.h"

#include "platform/CommandLine.h"

#include <array>
#include <unistd.h>

// Set by the linker at the first byte of the program's image.
extern "C" const char __executable_start[];

namespace md5b64 {

namespace {

std::string BaseName(const std::string& Path) {
  const std::size_t Slash = Path.find_last_of('/');
  return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

} // namespace

std::string OsModuleFileName() {
  std::array<char, 4096> Path{};
  const ssize_t Length = ::readlink("/proc/self/exe", Path.data(), Path.size() - 1);
  if (Length > 0)
    return BaseName(std::string(Path.data(), static_cast<std::size_t>(Length)));
  return BaseName(ParamStr(0));
}

std::uintptr_t OsModuleBase() noexcept {
  return reinterpret_cast<std::uintptr_t>(__executable_start);
}

} // namespace md5b64
