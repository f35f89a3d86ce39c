// SPDX-License-Identifier: MIT
// What the runtime needs to know of the running program; one implementation per OS.
#ifndef MD5B64_PLATFORM_INTERNAL_OSPROCESS_H
#define MD5B64_PLATFORM_INTERNAL_OSPROCESS_H

#include "md5b64/Export.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace md5b64 {

/// File name of the program, without its directory.
MD5B64_API std::string OsModuleFileName();
/// The same name, read into storage of its own with no allocation (for the report of
/// running out of memory); empty when the system cannot tell. The text stays until the
/// next call.
MD5B64_API std::string_view OsModuleFileNameInPlace() noexcept;
/// Address at which the program's own image is loaded.
MD5B64_API std::uintptr_t OsModuleBase() noexcept;

} // namespace md5b64

#endif
