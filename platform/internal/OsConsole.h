// SPDX-License-Identifier: MIT
// What the console channels need of the operating system; one implementation per OS.
#ifndef MD5B64_PLATFORM_INTERNAL_OSCONSOLE_H
#define MD5B64_PLATFORM_INTERNAL_OSCONSOLE_H

#include "md5b64/Export.h"

#include <cstddef>

namespace md5b64 {

/// Error number of an output channel that could not be opened: no valid standard output,
/// or one whose type cannot be told.
inline constexpr int ErrorFileNotOpenForOutput = 105;

/// Checks the standard output handle. Returns 0 and tells whether it is a character device
/// (a console), or returns ErrorFileNotOpenForOutput.
MD5B64_API int OsOpenStdOut(bool& IsCharDevice) noexcept;
/// Writes all Count bytes to standard output. Returns 0 or the system's error number.
MD5B64_API int OsWriteStdOut(const char* Data, std::size_t Count) noexcept;
/// Writes all Count bytes to standard error. Returns 0 or the system's error number.
MD5B64_API int OsWriteStdErr(const char* Data, std::size_t Count) noexcept;
/// Closes the standard output handle. Returns 0, also when no handle was open, or the
/// error number the system reports at the close.
MD5B64_API int OsCloseStdOut() noexcept;

} // namespace md5b64

#endif
