// SPDX-License-Identifier: MIT
// MdFinal: the last steps of MD4/MD5 (padding and length) and MD2 (checksum), shared by the
// coders and the one-call and incremental digests.
#ifndef MD5B64_CODERS_INTERNAL_MDFINAL_H
#define MD5B64_CODERS_INTERNAL_MDFINAL_H

#include "coders/IdCoderMessageDigest.h"
#include "coders/internal/MdCompress.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace md5b64::internal {

/// RFC 1320/1321, sections 3.1 and 3.2: completes the Fill (< 64) message bytes held at the
/// start of the 64-byte Block with a 1 bit, zeros and the message length in bits, and hands
/// the one or two blocks this makes to CompressBlock, which reads Block.
template <class TCompressBlock>
void MdPadAndCompress(unsigned char* Block, std::size_t Fill, std::uint64_t MessageBytes,
                      TCompressBlock&& CompressBlock) {
  // Section 3.2: the length before padding, in bits, modulo 2^64.
  const std::uint64_t BitLength = MessageBytes * 8U;
  Block[Fill++] = 0x80;
  if (Fill > 56) {
    // No room for the length after the 1 bit: it goes into a block of its own.
    std::memset(Block + Fill, 0, 64 - Fill);
    CompressBlock();
    Fill = 0;
  }
  std::memset(Block + Fill, 0, 56 - Fill);
  StoreLE32(Block + 56, static_cast<std::uint32_t>(BitLength));
  StoreLE32(Block + 60, static_cast<std::uint32_t>(BitLength >> 32));
  CompressBlock();
}

/// RFC 1320/1321, section 3.5: A, B, C, D, each least significant byte first.
inline void MdStoreDigest(const TIdMDChainState& State, unsigned char* Out) noexcept {
  for (std::size_t I = 0; I < State.size(); ++I)
    StoreLE32(Out + 4 * I, State[I]);
}

/// RFC 1319, section 3.2, in the form of the RFC's reference code: each checksum byte is
/// combined with its old value. (The prose's plain assignment does not give the digests of
/// appendix A.5.)
inline void Md2ChecksumStep(std::array<std::uint8_t, 16>& Checksum, std::uint8_t& Link,
                            const std::uint8_t* Block) noexcept {
  for (std::size_t I = 0; I < 16; ++I) {
    Checksum[I] ^= PiSubstitution[Block[I] ^ Link];
    Link = Checksum[I];
  }
}

} // namespace md5b64::internal

#endif
