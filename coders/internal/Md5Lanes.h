// SPDX-License-Identifier: MIT
// MD5 compression of up to 16 independent messages at once: the lane interface, its kernels
// (plain, AVX2, AVX-512) and the choice between them.
#ifndef MD5B64_CODERS_INTERNAL_MD5LANES_H
#define MD5B64_CODERS_INTERNAL_MD5LANES_H

#include "md5b64/Export.h"

#include "coders/IdCoderMessageDigest.h"

#include <cstddef>
#include <cstdint>

namespace md5b64::internal {

/// The widest kernel's lane count; every kernel takes a set of this many lanes.
inline constexpr std::size_t Md5LaneCount = 16;

/// The chaining states of a set of lanes, word W of lane L at Word[W][L], so that one vector
/// holds one word of every lane.
struct MD5B64_API TMd5LaneStates {
  alignas(64) std::uint32_t Word[4][Md5LaneCount];

  TIdMDChainState Lane(std::size_t L) const noexcept {
    return {Word[0][L], Word[1][L], Word[2][L], Word[3][L]};
  }
  void SetLane(std::size_t L, const TIdMDChainState& State) noexcept {
    for (std::size_t W = 0; W < 4; ++W)
      Word[W][L] = State[W];
  }
};

/// A bit for every lane that takes part: lane L is bit L.
using TMd5LaneMask = std::uint32_t;

// Each kernel: for every lane L with its bit set in Active, compresses Blocks consecutive
// 64-byte blocks starting at Data[L] into lane L's state (RFC 1321, section 3.4). The other
// lanes' states are left as they are and their Data entries are not read.

/// One lane after the other through the single-stream compression: the reference the vector
/// kernels must agree with, and the path where there is none.
MD5B64_API void Md5LanesPortable(TMd5LaneStates& States, const unsigned char* const* Data,
                                 TMd5LaneMask Active, std::size_t Blocks) noexcept;
/// Two sets of eight lanes in 256-bit vectors (x86 with AVX2 only).
MD5B64_API void Md5LanesAvx2(TMd5LaneStates& States, const unsigned char* const* Data,
                             TMd5LaneMask Active, std::size_t Blocks) noexcept;
/// Sixteen lanes in 512-bit vectors (x86 with AVX-512F only).
MD5B64_API void Md5LanesAvx512(TMd5LaneStates& States, const unsigned char* const* Data,
                               TMd5LaneMask Active, std::size_t Blocks) noexcept;

enum class TMd5LanesPath { Portable, Avx2, Avx512 };

/// Compresses through the widest path that this machine has (or the one a test chose). A
/// single lane goes through the single-stream compression, which is faster for one message
/// than a vector with one lane in use.
MD5B64_API void Md5LanesCompress(TMd5LaneStates& States, const unsigned char* const* Data,
                                 TMd5LaneMask Active, std::size_t Blocks) noexcept;

/// The path Md5LanesCompress takes. The processor is asked once, on first use.
MD5B64_API TMd5LanesPath Md5LanesPath() noexcept;

using TMd5LanesKernel = void(TMd5LaneStates&, const unsigned char* const*, TMd5LaneMask,
                             std::size_t) noexcept;
/// The kernel of Path, or none where this build or processor lacks it (for tests).
MD5B64_API TMd5LanesKernel* Md5LanesKernel(TMd5LanesPath Path) noexcept;

/// Whether this build and this processor have Path.
MD5B64_API bool HasMd5LanesPath(TMd5LanesPath Path) noexcept;

/// For tests and benchmarks only: makes Md5LanesCompress take Path from now on, for every
/// thread. False, and nothing changed, when the machine lacks Path. No program calls it.
MD5B64_API bool SetMd5LanesPath(TMd5LanesPath Path) noexcept;

/// RFC 1321, sections 3.1 and 3.2: the last Size (< 64) bytes of a message of Length bytes,
/// then the pad byte 0x80, zeros and the bit length, as one or two blocks at Tail. Returns the
/// number of blocks.
MD5B64_API std::size_t Md5Tail(const unsigned char* Rest, std::size_t Size, std::uint64_t Length,
                               unsigned char (&Tail)[128]) noexcept;

} // namespace md5b64::internal

#endif
