// SPDX-License-Identifier: MIT
// The choice of lane kernel: the widest this build and processor have, asked once.
#include "coders/internal/Md5Lanes.h"

#include <atomic>
#include <bit>

// The build defines MD5B64_MD5_LANES_X86 where it compiles the vector kernels (x86 with g++
// or clang, not MinGW).
#if MD5B64_MD5_LANES_X86
// As for Base64: glibc's answer from its own start-up where the compiler takes its header,
// since the compiler's check would add a start-up step of its own that asks the processor
// again (see docs/PERFORMANCE.md).
#if defined(__GLIBC__) && !defined(__clang__) && __has_include(<sys/platform/x86.h>)
#include <sys/platform/x86.h>
#define MD5B64_MD5_LANES_CPU(Feature, Name) CPU_FEATURE_ACTIVE(Feature)
#else
#define MD5B64_MD5_LANES_CPU(Feature, Name) __builtin_cpu_supports(Name)
#endif
#endif

namespace md5b64::internal {
namespace {

bool Has(TMd5LanesPath Path) noexcept {
  switch (Path) {
#if MD5B64_MD5_LANES_X86
  case TMd5LanesPath::Avx512:
    return MD5B64_MD5_LANES_CPU(AVX512F, "avx512f");
  case TMd5LanesPath::Avx2:
    return MD5B64_MD5_LANES_CPU(AVX2, "avx2");
#endif
  case TMd5LanesPath::Portable:
    return true;
  default:
    return false;
  }
}

TMd5LanesPath Widest() noexcept {
  for (TMd5LanesPath Path : {TMd5LanesPath::Avx512, TMd5LanesPath::Avx2})
    if (Has(Path))
      return Path;
  return TMd5LanesPath::Portable;
}

// -1 until the first use. Asking twice gives the same answer, so two threads that both find
// -1 do no harm.
std::atomic<int> ChosenPath{-1};

} // namespace

TMd5LanesPath Md5LanesPath() noexcept {
  int Path = ChosenPath.load(std::memory_order_relaxed);
  if (Path < 0) {
    Path = static_cast<int>(Widest());
    ChosenPath.store(Path, std::memory_order_relaxed);
  }
  return static_cast<TMd5LanesPath>(Path);
}

TMd5LanesKernel* Md5LanesKernel(TMd5LanesPath Path) noexcept {
  if (!Has(Path))
    return nullptr;
#if MD5B64_MD5_LANES_X86
  if (Path == TMd5LanesPath::Avx512)
    return Md5LanesAvx512;
  if (Path == TMd5LanesPath::Avx2)
    return Md5LanesAvx2;
#endif
  return Md5LanesPortable;
}

bool HasMd5LanesPath(TMd5LanesPath Path) noexcept {
  return Has(Path);
}

bool SetMd5LanesPath(TMd5LanesPath Path) noexcept {
  if (!HasMd5LanesPath(Path))
    return false;
  ChosenPath.store(static_cast<int>(Path), std::memory_order_relaxed);
  return true;
}

void Md5LanesCompress(TMd5LaneStates& States, const unsigned char* const* Data, TMd5LaneMask Active,
                      std::size_t Blocks) noexcept {
  if (Blocks == 0 || Active == 0)
    return;
  const TMd5LanesPath Path = std::popcount(Active) == 1 ? TMd5LanesPath::Portable : Md5LanesPath();
  switch (Path) {
#if MD5B64_MD5_LANES_X86
  case TMd5LanesPath::Avx512:
    Md5LanesAvx512(States, Data, Active, Blocks);
    return;
  case TMd5LanesPath::Avx2:
    Md5LanesAvx2(States, Data, Active, Blocks);
    return;
#endif
  default:
    Md5LanesPortable(States, Data, Active, Blocks);
    return;
  }
}

} // namespace md5b64::internal
