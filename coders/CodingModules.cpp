// SPDX-License-Identifier: MIT
#include "coders/CodingModules.h"

#include "coders/IdCoderMIME.h"
#include "coders/IdCoderMessageDigest.h"
#include "coders/IdCoderOld.h"
#include "platform/IdGlobal.h"

namespace md5b64 {

namespace {

constexpr TModuleStep Steps[] = {
    {"IdGlobal", &InitializeIdGlobal, &FinalizeIdGlobal},
    {"IdCoderMIME", &InitializeIdCoderMIME, &FinalizeIdCoderMIME},
    {"IdCoderOld", &InitializeIdCoderOld, &FinalizeIdCoderOld},
    {"IdCoderMessageDigest", &InitializeIdCoderMessageDigest, &FinalizeIdCoderMessageDigest},
};

} // namespace

std::span<const TModuleStep> CodingModules() noexcept {
  return Steps;
}

} // namespace md5b64
