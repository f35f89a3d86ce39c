// SPDX-License-Identifier: MIT
// The vector kernels behind EncodeGroups and DecodeGroups, one source file per instruction
// set, each built with its own target flags and called only from the dispatch.
#ifndef MD5B64_CODERS_INTERNAL_BASE64KERNELS_H
#define MD5B64_CODERS_INTERNAL_BASE64KERNELS_H

#include <cstddef>
#include <cstdint>

// The build defines MD5B64_BASE64_AVX2 to 1 where it compiles Base64BlocksAvx2.cpp.
#ifndef MD5B64_BASE64_AVX2
#define MD5B64_BASE64_AVX2 0
#endif

namespace md5b64::internal {

/// Bytes one wide encoding round reads: eight groups, and the last load runs four bytes past
/// them. Shorter inputs stay on the plain path, where a vector round would not pay for
/// loading its table.
inline constexpr std::size_t EncodeAvx2Minimum = 28;
/// Characters below which decoding stays on the plain path: under this the eight table
/// pieces cost more than they save.
inline constexpr std::size_t DecodeAvx2Minimum = 64;

/// As EncodeGroups, for Count of at least EncodeAvx2Minimum, while whole rounds remain;
/// returns the number of bytes done, a multiple of 12. Needs AVX2.
std::size_t EncodeGroupsAvx2(const char* Table, const unsigned char* In, std::size_t Count,
                             char* Out) noexcept;
/// As DecodeGroups, 32 characters a round, up to the first round that holds anything but
/// 6-bit values; returns the number of characters done, a multiple of 32. Needs AVX2.
std::size_t DecodeGroupsAvx2(const std::uint8_t* Table, const char* In, std::size_t Count,
                             std::uint8_t* Out) noexcept;

} // namespace md5b64::internal

#endif
