// SPDX-License-Identifier: MIT
// The runtime around a console program: module start-up, the top-level failure report,
// the orderly shutdown and the exit status.
#ifndef MD5B64_PLATFORM_RUNTIME_H
#define MD5B64_PLATFORM_RUNTIME_H

#include "md5b64/Export.h"

#include "platform/Modules.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace md5b64 {

/// The failure report: "Exception <class> in module <module> at <offset>." LF, the message,
/// "." when the message is not empty and does not already end in one, then CR LF. The
/// offset is printed as eight upper-case hexadecimal digits.
MD5B64_API std::string FormatFailureReport(std::string_view ClassName, std::string_view ModuleName,
                                           std::uint32_t Offset, std::string_view Message);

/// Builds the report for an error in flight: a runtime error by its class, running out of
/// memory as EOutOfMemory, anything else as Exception.
MD5B64_API std::string DescribeFailure(std::exception_ptr Failure);

/// Writes a report after whatever standard output still buffers. When standard output
/// does not take it (closed, full, failing), the report goes to standard error instead, so
/// that no failure is silent.
MD5B64_API void WriteFailureReport(std::string_view Report) noexcept;

/// Runs a console program: starts Modules in order, runs Body, reports a failure that
/// reaches the top, shuts the started modules down in reverse order and closes standard
/// output. Returns the exit status: 0, or 1 after a reported failure. A failing start-up
/// step ends the run before Body; an error writing standard output at the close is
/// reported like any other failure.
MD5B64_API int RunConsoleProgram(std::span<const TModuleStep> Modules,
                                 const std::function<void()>& Body);

} // namespace md5b64

#endif
