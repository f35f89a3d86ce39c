// SPDX-License-Identifier: MIT
// Module start-up and shutdown as one explicit, ordered sequence.
#ifndef MD5B64_PLATFORM_MODULES_H
#define MD5B64_PLATFORM_MODULES_H

#include "md5b64/Export.h"

#include <cstddef>
#include <span>

namespace md5b64 {

/// One module's start-up and shutdown steps; either may be null.
struct MD5B64_API TModuleStep {
  const char* Name;
  void (*Initialize)();
  void (*Finalize)();
};

/// Runs the start-up steps of a list of modules in list order, each once, and their shutdown
/// steps in the reverse order. The list must name every module after the modules it uses.
class MD5B64_API TModuleSequence final {
public:
  explicit TModuleSequence(std::span<const TModuleStep> Steps) noexcept : FSteps(Steps) {}
  TModuleSequence(const TModuleSequence&) = delete;
  TModuleSequence& operator=(const TModuleSequence&) = delete;
  /// Shuts down whatever is still started.
  ~TModuleSequence();

  /// Starts every module not yet started. When a step raises, the modules started so far
  /// are shut down in reverse order and the failure reaches the caller.
  void Start();
  /// Shuts down the started modules in reverse order. Every shutdown step runs even when an
  /// earlier one raises; the first failure then reaches the caller.
  void Stop();
  /// How many modules are started now.
  std::size_t StartedCount() const noexcept { return FStarted; }

private:
  std::span<const TModuleStep> FSteps;
  std::size_t FStarted = 0;
};

} // namespace md5b64

#endif
