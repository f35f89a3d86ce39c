// SPDX-License-Identifier: MIT
#include "platform/Modules.h"

#include <exception>

namespace md5b64 {

TModuleSequence::~TModuleSequence() {
  try {
    Stop();
  } catch (...) {
    // Nothing can report a failure here; Stop has still run every step.
  }
}

void TModuleSequence::Start() {
  while (FStarted < FSteps.size()) {
    const TModuleStep& Step = FSteps[FStarted];
    if (Step.Initialize != nullptr) {
      try {
        Step.Initialize();
      } catch (...) {
        // The failing module did not start: shut down only those before it.
        try {
          Stop();
        } catch (...) {
          // The start-up failure is the one that counts.
        }
        throw;
      }
    }
    ++FStarted;
  }
}

void TModuleSequence::Stop() {
  std::exception_ptr First;
  while (FStarted > 0) {
    const TModuleStep& Step = FSteps[--FStarted];
    if (Step.Finalize == nullptr)
      continue;
    try {
      Step.Finalize();
    } catch (...) {
      if (!First)
        First = std::current_exception();
    }
  }
  if (First)
    std::rethrow_exception(First);
}

} // namespace md5b64
