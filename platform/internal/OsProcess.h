// What the runtime needs to know of the running program; one implementation per OS.
#ifndef MD5B64_PLATFORM_INTERNAL_OSPROCESS_H
#define MD5B64_PLATFORM_INTERNAL_OSPROCESS_H

#include <cstdint>
#include <string>

namespace md5b64 {

/// File name of the program, without its directory.
std::string OsModuleFileName();
/// Address at which the program's own image is loaded.
std::uintptr_t OsModuleBase() noexcept;

} // namespace md5b64

#endif
