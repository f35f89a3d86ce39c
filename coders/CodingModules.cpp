#include "coders/CodingModules.h"

#include "coders/IdCoderMIME.h"
#include "platform/IdGlobal.h"

namespace md5b64 {

namespace {

constexpr TModuleStep Steps[] = {
    {"IdGlobal", &InitializeIdGlobal, &FinalizeIdGlobal},
    {"IdCoderMIME", &InitializeIdCoderMIME, &FinalizeIdCoderMIME},
};

} // namespace

std::span<const TModuleStep> CodingModules() noexcept {
  return Steps;
}

} // namespace md5b64
