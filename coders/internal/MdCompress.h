// SPDX-License-Identifier: MIT
// The MD4 and MD5 block compressions, with the exact classes' round functions or through a
// derived class's virtual ones.
#ifndef MD5B64_CODERS_INTERNAL_MDCOMPRESS_H
#define MD5B64_CODERS_INTERNAL_MDCOMPRESS_H

#include "coders/IdCoderMessageDigest.h"

#include <cstdint>

namespace md5b64::internal {

/// Words are read least significant byte first whatever the machine's byte order
/// (RFC 1321, section 2).
inline std::uint32_t LoadLE32(const unsigned char* Bytes) noexcept {
  return static_cast<std::uint32_t>(Bytes[0]) | (static_cast<std::uint32_t>(Bytes[1]) << 8) |
         (static_cast<std::uint32_t>(Bytes[2]) << 16) |
         (static_cast<std::uint32_t>(Bytes[3]) << 24);
}

inline void StoreLE32(unsigned char* Bytes, std::uint32_t Value) noexcept {
  Bytes[0] = static_cast<unsigned char>(Value);
  Bytes[1] = static_cast<unsigned char>(Value >> 8);
  Bytes[2] = static_cast<unsigned char>(Value >> 16);
  Bytes[3] = static_cast<unsigned char>(Value >> 24);
}

/// Compresses the 64 bytes at Block into State with RFC 1320's F, G and H (section 3.4).
/// Needs no coder: the one-call digests use it too.
void CompressMD4(TIdMDChainState& State, const unsigned char* Block) noexcept;
/// The same with RFC 1321's F, G, H and I.
void CompressMD5(TIdMDChainState& State, const unsigned char* Block) noexcept;

/// The same steps through Coder's virtual round functions: a derived class's replacement is
/// called at every step, in the steps' order, with the values the RFC's step passes.
void CompressMD4Virtual(TIdMDChainState& State, const unsigned char* Block,
                        const TIdCoderMD4& Coder);
void CompressMD5Virtual(TIdMDChainState& State, const unsigned char* Block,
                        const TIdCoderMD5& Coder);

} // namespace md5b64::internal

#endif
