// SPDX-License-Identifier: MIT
// Base64BlocksDispatch: EncodeGroups and DecodeGroups pick the widest kernel the processor
// runs, and leave the rest, and short inputs, to the plain path.
#include "coders/internal/Base64Blocks.h"
#include "coders/internal/Base64Kernels.h"

#include <cstdint>

#if MD5B64_BASE64_AVX2
// glibc's feature checks are declared with C's _Bool, which g++ takes in C++ and clang++ does
// not; clang uses its own check.
#if defined(__GLIBC__) && !defined(__clang__) && __has_include(<sys/platform/x86.h>)
#define MD5B64_GLIBC_CPU_FEATURES 1
#include <sys/platform/x86.h>
#else
#define MD5B64_GLIBC_CPU_FEATURES 0
#endif
#endif

namespace md5b64::internal {

namespace {

#if MD5B64_BASE64_AVX2
#if MD5B64_GLIBC_CPU_FEATURES
// The C library has asked the processor at start-up already. The compiler's own check would
// link a start-up step that asks again, a dozen CPUID instructions, each of which a virtual
// machine answers slowly: about a tenth of a whole run of the program.
bool HasAvx2() noexcept {
  return CPU_FEATURE_ACTIVE(AVX2);
}
#else
bool HasAvx2() noexcept {
  static const bool Has = __builtin_cpu_supports("avx2");
  return Has;
}
#endif
#endif

} // namespace

void EncodeGroups(const char* Table, const unsigned char* In, std::size_t Count,
                  char* Out) noexcept {
#if MD5B64_BASE64_AVX2
  if (Count >= EncodeAvx2Minimum && HasAvx2()) {
    const std::size_t Done = EncodeGroupsAvx2(Table, In, Count, Out);
    In += Done;
    Out += Done / 3 * 4;
    Count -= Done;
  }
#endif
  EncodeGroupsPortable(Table, In, Count, Out);
}

std::size_t DecodeGroups(const std::uint8_t* Table, const char* In, std::size_t Count,
                         std::uint8_t* Out) noexcept {
  std::size_t Done = 0;
#if MD5B64_BASE64_AVX2
  if (Count >= DecodeAvx2Minimum && HasAvx2())
    Done = DecodeGroupsAvx2(Table, In, Count, Out);
#endif
  // The rest, or from the round that held something else: group by group up to it.
  return Done + DecodeGroupsPortable(Table, In + Done, Count - Done, Out + Done / 4 * 3);
}

} // namespace md5b64::internal
