// The MD4 and MD5 block compressions of the exact classes, with their round functions inline
// and every step written out; and the compact ones that call a derived class's virtual
// round functions.
#ifndef MD5B64_CODERS_INTERNAL_MDCOMPRESS_H
#define MD5B64_CODERS_INTERNAL_MDCOMPRESS_H

#include "coders/IdCoderMessageDigest.h"
#include "platform/IdGlobal.h"

#include <cstdint>

namespace md5b64::internal {

/// Words are read least significant byte first whatever the machine's byte order
/// (RFC 1321, section 2).
inline std::uint32_t LoadLE32(const unsigned char* P) noexcept {
  return static_cast<std::uint32_t>(P[0]) | (static_cast<std::uint32_t>(P[1]) << 8) |
         (static_cast<std::uint32_t>(P[2]) << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}

inline void StoreLE32(unsigned char* P, std::uint32_t V) noexcept {
  P[0] = static_cast<unsigned char>(V);
  P[1] = static_cast<unsigned char>(V >> 8);
  P[2] = static_cast<unsigned char>(V >> 16);
  P[3] = static_cast<unsigned char>(V >> 24);
}

/// Marks the exact TIdCoderMD4: its round functions are known, so the steps inline them.
struct TMd4InlineRounds {};
/// Marks the exact TIdCoderMD5.
struct TMd5InlineRounds {};

// The steps, named after the RFCs' FF, GG, HH and II. XK is X[k] plus the step's constant;
// it and the target's old value do not depend on the step before, so the steps add them
// first and leave on the chain of dependent operations only what needs the word just made.

/// RFC 1320 step: A = (A + Round(B, C, D) + X[k] + constant) <<< S.
// F, (B AND C) OR (NOT B AND D), chooses bits of C or D by B: D ^ (B & (C ^ D)).
template <unsigned S>
void Md4FF(TMd4InlineRounds, std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
           std::uint32_t XK) noexcept {
  A = RotateLeft32((A + XK) + (D ^ (B & (C ^ D))), S);
}
// G, the majority of B, C and D: C & D, plus B where C and D differ. The two parts never
// share a bit, so they can be added, and C & D joins the sum before B is known.
template <unsigned S>
void Md4GG(TMd4InlineRounds, std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
           std::uint32_t XK) noexcept {
  A = RotateLeft32((A + XK + (C & D)) + (B & (C ^ D)), S);
}
template <unsigned S>
void Md4HH(TMd4InlineRounds, std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
           std::uint32_t XK) noexcept {
  A = RotateLeft32((A + XK) + (B ^ (C ^ D)), S);
}

/// RFC 1321 step: A = B + ((A + Round(B, C, D) + X[k] + T[j]) <<< S).
template <unsigned S>
void Md5FF(TMd5InlineRounds, std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
           std::uint32_t XT) noexcept {
  A = B + RotateLeft32((A + XT) + (D ^ (B & (C ^ D))), S);
}
// G, (B AND D) OR (C AND NOT D), in two halves that never share a bit: C & ~D joins the sum
// before B is known, B & D after.
template <unsigned S>
void Md5GG(TMd5InlineRounds, std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
           std::uint32_t XT) noexcept {
  A = B + RotateLeft32((A + XT + (C & ~D)) + (B & D), S);
}
template <unsigned S>
void Md5HH(TMd5InlineRounds, std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
           std::uint32_t XT) noexcept {
  A = B + RotateLeft32((A + XT) + (B ^ (C ^ D)), S);
}
template <unsigned S>
void Md5II(TMd5InlineRounds, std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
           std::uint32_t XT) noexcept {
  A = B + RotateLeft32((A + XT) + (C ^ (B | ~D)), S);
}

/// RFC 1320, section 3.4: the 48 steps of one block.
template <class TRounds>
void Md4Compress(TIdMDChainState& State, const unsigned char* Block, const TRounds& R) {
  std::uint32_t X[16];
  for (int K = 0; K < 16; ++K)
    X[K] = LoadLE32(Block + 4 * K);
  std::uint32_t A = State[0], B = State[1], C = State[2], D = State[3];
  constexpr std::uint32_t K2 = Md4Round2Constant, K3 = Md4Round3Constant;

  // clang-format off
  Md4FF< 3>(R, A, B, C, D, X[ 0]); Md4FF< 7>(R, D, A, B, C, X[ 1]); Md4FF<11>(R, C, D, A, B, X[ 2]); Md4FF<19>(R, B, C, D, A, X[ 3]);
  Md4FF< 3>(R, A, B, C, D, X[ 4]); Md4FF< 7>(R, D, A, B, C, X[ 5]); Md4FF<11>(R, C, D, A, B, X[ 6]); Md4FF<19>(R, B, C, D, A, X[ 7]);
  Md4FF< 3>(R, A, B, C, D, X[ 8]); Md4FF< 7>(R, D, A, B, C, X[ 9]); Md4FF<11>(R, C, D, A, B, X[10]); Md4FF<19>(R, B, C, D, A, X[11]);
  Md4FF< 3>(R, A, B, C, D, X[12]); Md4FF< 7>(R, D, A, B, C, X[13]); Md4FF<11>(R, C, D, A, B, X[14]); Md4FF<19>(R, B, C, D, A, X[15]);

  Md4GG< 3>(R, A, B, C, D, X[ 0] + K2); Md4GG< 5>(R, D, A, B, C, X[ 4] + K2); Md4GG< 9>(R, C, D, A, B, X[ 8] + K2); Md4GG<13>(R, B, C, D, A, X[12] + K2);
  Md4GG< 3>(R, A, B, C, D, X[ 1] + K2); Md4GG< 5>(R, D, A, B, C, X[ 5] + K2); Md4GG< 9>(R, C, D, A, B, X[ 9] + K2); Md4GG<13>(R, B, C, D, A, X[13] + K2);
  Md4GG< 3>(R, A, B, C, D, X[ 2] + K2); Md4GG< 5>(R, D, A, B, C, X[ 6] + K2); Md4GG< 9>(R, C, D, A, B, X[10] + K2); Md4GG<13>(R, B, C, D, A, X[14] + K2);
  Md4GG< 3>(R, A, B, C, D, X[ 3] + K2); Md4GG< 5>(R, D, A, B, C, X[ 7] + K2); Md4GG< 9>(R, C, D, A, B, X[11] + K2); Md4GG<13>(R, B, C, D, A, X[15] + K2);

  Md4HH< 3>(R, A, B, C, D, X[ 0] + K3); Md4HH< 9>(R, D, A, B, C, X[ 8] + K3); Md4HH<11>(R, C, D, A, B, X[ 4] + K3); Md4HH<15>(R, B, C, D, A, X[12] + K3);
  Md4HH< 3>(R, A, B, C, D, X[ 2] + K3); Md4HH< 9>(R, D, A, B, C, X[10] + K3); Md4HH<11>(R, C, D, A, B, X[ 6] + K3); Md4HH<15>(R, B, C, D, A, X[14] + K3);
  Md4HH< 3>(R, A, B, C, D, X[ 1] + K3); Md4HH< 9>(R, D, A, B, C, X[ 9] + K3); Md4HH<11>(R, C, D, A, B, X[ 5] + K3); Md4HH<15>(R, B, C, D, A, X[13] + K3);
  Md4HH< 3>(R, A, B, C, D, X[ 3] + K3); Md4HH< 9>(R, D, A, B, C, X[11] + K3); Md4HH<11>(R, C, D, A, B, X[ 7] + K3); Md4HH<15>(R, B, C, D, A, X[15] + K3);
  // clang-format on

  State[0] += A;
  State[1] += B;
  State[2] += C;
  State[3] += D;
}

/// RFC 1321, section 3.4: the 64 steps of one block. Step j adds Md5SineTable[j].
template <class TRounds>
void Md5Compress(TIdMDChainState& State, const unsigned char* Block, const TRounds& R) {
  std::uint32_t X[16];
  for (int K = 0; K < 16; ++K)
    X[K] = LoadLE32(Block + 4 * K);
  std::uint32_t A = State[0], B = State[1], C = State[2], D = State[3];
  const auto& T = Md5SineTable;

  // clang-format off
  Md5FF< 7>(R, A, B, C, D, X[ 0] + T[ 0]); Md5FF<12>(R, D, A, B, C, X[ 1] + T[ 1]); Md5FF<17>(R, C, D, A, B, X[ 2] + T[ 2]); Md5FF<22>(R, B, C, D, A, X[ 3] + T[ 3]);
  Md5FF< 7>(R, A, B, C, D, X[ 4] + T[ 4]); Md5FF<12>(R, D, A, B, C, X[ 5] + T[ 5]); Md5FF<17>(R, C, D, A, B, X[ 6] + T[ 6]); Md5FF<22>(R, B, C, D, A, X[ 7] + T[ 7]);
  Md5FF< 7>(R, A, B, C, D, X[ 8] + T[ 8]); Md5FF<12>(R, D, A, B, C, X[ 9] + T[ 9]); Md5FF<17>(R, C, D, A, B, X[10] + T[10]); Md5FF<22>(R, B, C, D, A, X[11] + T[11]);
  Md5FF< 7>(R, A, B, C, D, X[12] + T[12]); Md5FF<12>(R, D, A, B, C, X[13] + T[13]); Md5FF<17>(R, C, D, A, B, X[14] + T[14]); Md5FF<22>(R, B, C, D, A, X[15] + T[15]);

  Md5GG< 5>(R, A, B, C, D, X[ 1] + T[16]); Md5GG< 9>(R, D, A, B, C, X[ 6] + T[17]); Md5GG<14>(R, C, D, A, B, X[11] + T[18]); Md5GG<20>(R, B, C, D, A, X[ 0] + T[19]);
  Md5GG< 5>(R, A, B, C, D, X[ 5] + T[20]); Md5GG< 9>(R, D, A, B, C, X[10] + T[21]); Md5GG<14>(R, C, D, A, B, X[15] + T[22]); Md5GG<20>(R, B, C, D, A, X[ 4] + T[23]);
  Md5GG< 5>(R, A, B, C, D, X[ 9] + T[24]); Md5GG< 9>(R, D, A, B, C, X[14] + T[25]); Md5GG<14>(R, C, D, A, B, X[ 3] + T[26]); Md5GG<20>(R, B, C, D, A, X[ 8] + T[27]);
  Md5GG< 5>(R, A, B, C, D, X[13] + T[28]); Md5GG< 9>(R, D, A, B, C, X[ 2] + T[29]); Md5GG<14>(R, C, D, A, B, X[ 7] + T[30]); Md5GG<20>(R, B, C, D, A, X[12] + T[31]);

  Md5HH< 4>(R, A, B, C, D, X[ 5] + T[32]); Md5HH<11>(R, D, A, B, C, X[ 8] + T[33]); Md5HH<16>(R, C, D, A, B, X[11] + T[34]); Md5HH<23>(R, B, C, D, A, X[14] + T[35]);
  Md5HH< 4>(R, A, B, C, D, X[ 1] + T[36]); Md5HH<11>(R, D, A, B, C, X[ 4] + T[37]); Md5HH<16>(R, C, D, A, B, X[ 7] + T[38]); Md5HH<23>(R, B, C, D, A, X[10] + T[39]);
  Md5HH< 4>(R, A, B, C, D, X[13] + T[40]); Md5HH<11>(R, D, A, B, C, X[ 0] + T[41]); Md5HH<16>(R, C, D, A, B, X[ 3] + T[42]); Md5HH<23>(R, B, C, D, A, X[ 6] + T[43]);
  Md5HH< 4>(R, A, B, C, D, X[ 9] + T[44]); Md5HH<11>(R, D, A, B, C, X[12] + T[45]); Md5HH<16>(R, C, D, A, B, X[15] + T[46]); Md5HH<23>(R, B, C, D, A, X[ 2] + T[47]);

  Md5II< 6>(R, A, B, C, D, X[ 0] + T[48]); Md5II<10>(R, D, A, B, C, X[ 7] + T[49]); Md5II<15>(R, C, D, A, B, X[14] + T[50]); Md5II<21>(R, B, C, D, A, X[ 5] + T[51]);
  Md5II< 6>(R, A, B, C, D, X[12] + T[52]); Md5II<10>(R, D, A, B, C, X[ 3] + T[53]); Md5II<15>(R, C, D, A, B, X[10] + T[54]); Md5II<21>(R, B, C, D, A, X[ 1] + T[55]);
  Md5II< 6>(R, A, B, C, D, X[ 8] + T[56]); Md5II<10>(R, D, A, B, C, X[15] + T[57]); Md5II<15>(R, C, D, A, B, X[ 6] + T[58]); Md5II<21>(R, B, C, D, A, X[13] + T[59]);
  Md5II< 6>(R, A, B, C, D, X[ 4] + T[60]); Md5II<10>(R, D, A, B, C, X[11] + T[61]); Md5II<15>(R, C, D, A, B, X[ 2] + T[62]); Md5II<21>(R, B, C, D, A, X[ 9] + T[63]);
  // clang-format on

  State[0] += A;
  State[1] += B;
  State[2] += C;
  State[3] += D;
}

/// RFC 1320, section 3.4, through the coder's virtual round functions, in a loop: a derived
/// class's replacement is called at every step, in the steps' order, with the same values
/// as the steps written out would pass. A call per step costs more than the loop does.
void Md4CompressVirtual(TIdMDChainState& State, const unsigned char* Block,
                        const TIdCoderMD4& Coder);
/// RFC 1321, section 3.4, the same way.
void Md5CompressVirtual(TIdMDChainState& State, const unsigned char* Block,
                        const TIdCoderMD5& Coder);

} // namespace md5b64::internal

#endif
