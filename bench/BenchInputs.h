// SPDX-License-Identifier: MIT
// Inputs shared by the benchmarks: the same bytes for our coders and for the peers.
#ifndef MD5B64_BENCH_BENCHINPUTS_H
#define MD5B64_BENCH_BENCHINPUTS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace md5b64::bench {

inline constexpr std::int64_t KiB = 1024;
inline constexpr std::int64_t MiB = 1024 * KiB;
/// Texts fed in pieces are cut into pieces of this size.
inline constexpr std::size_t PieceSize = 64 * 1024;

/// Size bytes that look random and are the same in every run.
std::string_view Bytes(std::size_t Size);

/// A Base64 text of Size characters (a multiple of 4) with the MIME alphabet and no pads:
/// the encoding of Bytes(Size / 4 * 3), made here so that neither side encodes it.
std::string_view Base64Text(std::size_t Size);

} // namespace md5b64::bench

#endif
