// SPDX-License-Identifier: MIT
// The start-up order of the coding library's modules.
#ifndef MD5B64_CODERS_CODINGMODULES_H
#define MD5B64_CODERS_CODINGMODULES_H

#include "md5b64/Export.h"

#include "platform/Modules.h"

#include <span>

namespace md5b64 {

/// The modules of the coding library with start-up or shutdown steps, each after the
/// modules it uses. A program runs them through TModuleSequence before it codes anything.
MD5B64_API std::span<const TModuleStep> CodingModules() noexcept;

} // namespace md5b64

#endif
