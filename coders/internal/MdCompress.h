// SPDX-License-Identifier: MIT
// MdCompress: the MD4 and MD5 step schedules, each written once, and the two ways of taking
// the round functions: the exact classes' own, inline, or a derived class's virtual ones.
// Everything is inline here so that the coders and the one-call digests compress without a
// call per block.
#ifndef MD5B64_CODERS_INTERNAL_MDCOMPRESS_H
#define MD5B64_CODERS_INTERNAL_MDCOMPRESS_H

#include "coders/IdCoderMessageDigest.h"
#include "platform/IdGlobal.h"

#include <cstddef>
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

// A schedule below takes its steps from a rounds type: the exact classes' rounds, inline,
// or a coder's virtual round functions. Both run the same steps on the same words.

// The steps are named after the RFCs' FF, GG, HH and II. XK is X[k] plus the step's
// constant; it and the target's old value do not depend on the step before, so the steps add
// them first and leave on the chain of dependent operations only what needs the word just
// made.

/// The exact TIdCoderMD4's rounds. RFC 1320 step: A = (A + Round(B, C, D) + X[k] + constant)
/// <<< S.
struct TMd4InlineRounds {
  // F, (B AND C) OR (NOT B AND D), chooses bits of C or D by B: D ^ (B & (C ^ D)).
  template <unsigned S>
  static void FF(std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
                 std::uint32_t XK) noexcept {
    A = RotateLeft32((A + XK) + (D ^ (B & (C ^ D))), S);
  }
  // G, the majority of B, C and D: C & D, plus B where C and D differ. The two parts never
  // share a bit, so they can be added, and C & D joins the sum before B is known.
  template <unsigned S>
  static void GG(std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
                 std::uint32_t XK) noexcept {
    A = RotateLeft32((A + XK + (C & D)) + (B & (C ^ D)), S);
  }
  template <unsigned S>
  static void HH(std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
                 std::uint32_t XK) noexcept {
    A = RotateLeft32((A + XK) + (B ^ (C ^ D)), S);
  }
};

/// The exact TIdCoderMD5's rounds. RFC 1321 step: A = B + ((A + Round(B, C, D) + X[k] +
/// T[j]) <<< S).
struct TMd5InlineRounds {
  template <unsigned S>
  static void FF(std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
                 std::uint32_t XT) noexcept {
    A = B + RotateLeft32((A + XT) + (D ^ (B & (C ^ D))), S);
  }
  // G, (B AND D) OR (C AND NOT D), in two halves that never share a bit: C & ~D joins the
  // sum before B is known, B & D after. (g++ turns the plain form into y ^ (z & (x ^ y)),
  // two more operations on the chain.)
  template <unsigned S>
  static void GG(std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
                 std::uint32_t XT) noexcept {
    A = B + RotateLeft32((A + XT + (C & ~D)) + (B & D), S);
  }
  template <unsigned S>
  static void HH(std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
                 std::uint32_t XT) noexcept {
    A = B + RotateLeft32((A + XT) + (B ^ (C ^ D)), S);
  }
  template <unsigned S>
  static void II(std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
                 std::uint32_t XT) noexcept {
    A = B + RotateLeft32((A + XT) + (C ^ (B | ~D)), S);
  }
};

/// A derived coder's rounds: a virtual call per step, to the round function that the step's
/// name says. MD5's steps add B after the rotation (AddsB); MD4's do not.
template <class TCoder, bool AddsB> struct TVirtualRounds {
  const TCoder& Coder;

  template <unsigned S, auto Round>
  void Step(std::uint32_t& A, std::uint32_t B, std::uint32_t C, std::uint32_t D,
            std::uint32_t XK) const {
    const std::uint32_t Rotated = RotateLeft32(A + XK + (Coder.*Round)(B, C, D), S);
    A = AddsB ? B + Rotated : Rotated;
  }
  template <unsigned S, class... T> void FF(T&&... X) const { Step<S, &TCoder::RoundF>(X...); }
  template <unsigned S, class... T> void GG(T&&... X) const { Step<S, &TCoder::RoundG>(X...); }
  template <unsigned S, class... T> void HH(T&&... X) const { Step<S, &TCoder::RoundH>(X...); }
  template <unsigned S, class... T> void II(T&&... X) const { Step<S, &TCoder::RoundI>(X...); }
};

inline void LoadBlock(std::uint32_t (&X)[16], const unsigned char* Block) noexcept {
  for (std::size_t K = 0; K < 16; ++K)
    X[K] = LoadLE32(Block + 4 * K);
}

inline void AddInto(TIdMDChainState& State, std::uint32_t A, std::uint32_t B, std::uint32_t C,
                    std::uint32_t D) noexcept {
  State[0] += A;
  State[1] += B;
  State[2] += C;
  State[3] += D;
}

/// RFC 1320, section 3.4: the 48 steps of one block.
template <class TRounds>
void Md4Block(TIdMDChainState& State, const unsigned char* Block, const TRounds& R) {
  std::uint32_t X[16];
  LoadBlock(X, Block);
  std::uint32_t A = State[0], B = State[1], C = State[2], D = State[3];
  constexpr std::uint32_t K2 = Md4Round2Constant, K3 = Md4Round3Constant;

  // clang-format off
  R.template FF< 3>(A, B, C, D, X[ 0]); R.template FF< 7>(D, A, B, C, X[ 1]); R.template FF<11>(C, D, A, B, X[ 2]); R.template FF<19>(B, C, D, A, X[ 3]);
  R.template FF< 3>(A, B, C, D, X[ 4]); R.template FF< 7>(D, A, B, C, X[ 5]); R.template FF<11>(C, D, A, B, X[ 6]); R.template FF<19>(B, C, D, A, X[ 7]);
  R.template FF< 3>(A, B, C, D, X[ 8]); R.template FF< 7>(D, A, B, C, X[ 9]); R.template FF<11>(C, D, A, B, X[10]); R.template FF<19>(B, C, D, A, X[11]);
  R.template FF< 3>(A, B, C, D, X[12]); R.template FF< 7>(D, A, B, C, X[13]); R.template FF<11>(C, D, A, B, X[14]); R.template FF<19>(B, C, D, A, X[15]);

  R.template GG< 3>(A, B, C, D, X[ 0] + K2); R.template GG< 5>(D, A, B, C, X[ 4] + K2); R.template GG< 9>(C, D, A, B, X[ 8] + K2); R.template GG<13>(B, C, D, A, X[12] + K2);
  R.template GG< 3>(A, B, C, D, X[ 1] + K2); R.template GG< 5>(D, A, B, C, X[ 5] + K2); R.template GG< 9>(C, D, A, B, X[ 9] + K2); R.template GG<13>(B, C, D, A, X[13] + K2);
  R.template GG< 3>(A, B, C, D, X[ 2] + K2); R.template GG< 5>(D, A, B, C, X[ 6] + K2); R.template GG< 9>(C, D, A, B, X[10] + K2); R.template GG<13>(B, C, D, A, X[14] + K2);
  R.template GG< 3>(A, B, C, D, X[ 3] + K2); R.template GG< 5>(D, A, B, C, X[ 7] + K2); R.template GG< 9>(C, D, A, B, X[11] + K2); R.template GG<13>(B, C, D, A, X[15] + K2);

  R.template HH< 3>(A, B, C, D, X[ 0] + K3); R.template HH< 9>(D, A, B, C, X[ 8] + K3); R.template HH<11>(C, D, A, B, X[ 4] + K3); R.template HH<15>(B, C, D, A, X[12] + K3);
  R.template HH< 3>(A, B, C, D, X[ 2] + K3); R.template HH< 9>(D, A, B, C, X[10] + K3); R.template HH<11>(C, D, A, B, X[ 6] + K3); R.template HH<15>(B, C, D, A, X[14] + K3);
  R.template HH< 3>(A, B, C, D, X[ 1] + K3); R.template HH< 9>(D, A, B, C, X[ 9] + K3); R.template HH<11>(C, D, A, B, X[ 5] + K3); R.template HH<15>(B, C, D, A, X[13] + K3);
  R.template HH< 3>(A, B, C, D, X[ 3] + K3); R.template HH< 9>(D, A, B, C, X[11] + K3); R.template HH<11>(C, D, A, B, X[ 7] + K3); R.template HH<15>(B, C, D, A, X[15] + K3);
  // clang-format on

  AddInto(State, A, B, C, D);
}

/// RFC 1321, section 3.4: the 64 steps of one block. Step j adds Md5SineTable[j].
template <class TRounds>
void Md5Block(TIdMDChainState& State, const unsigned char* Block, const TRounds& R) {
  std::uint32_t X[16];
  LoadBlock(X, Block);
  std::uint32_t A = State[0], B = State[1], C = State[2], D = State[3];
  const auto& T = Md5SineTable;

  // clang-format off
  R.template FF< 7>(A, B, C, D, X[ 0] + T[ 0]); R.template FF<12>(D, A, B, C, X[ 1] + T[ 1]); R.template FF<17>(C, D, A, B, X[ 2] + T[ 2]); R.template FF<22>(B, C, D, A, X[ 3] + T[ 3]);
  R.template FF< 7>(A, B, C, D, X[ 4] + T[ 4]); R.template FF<12>(D, A, B, C, X[ 5] + T[ 5]); R.template FF<17>(C, D, A, B, X[ 6] + T[ 6]); R.template FF<22>(B, C, D, A, X[ 7] + T[ 7]);
  R.template FF< 7>(A, B, C, D, X[ 8] + T[ 8]); R.template FF<12>(D, A, B, C, X[ 9] + T[ 9]); R.template FF<17>(C, D, A, B, X[10] + T[10]); R.template FF<22>(B, C, D, A, X[11] + T[11]);
  R.template FF< 7>(A, B, C, D, X[12] + T[12]); R.template FF<12>(D, A, B, C, X[13] + T[13]); R.template FF<17>(C, D, A, B, X[14] + T[14]); R.template FF<22>(B, C, D, A, X[15] + T[15]);

  R.template GG< 5>(A, B, C, D, X[ 1] + T[16]); R.template GG< 9>(D, A, B, C, X[ 6] + T[17]); R.template GG<14>(C, D, A, B, X[11] + T[18]); R.template GG<20>(B, C, D, A, X[ 0] + T[19]);
  R.template GG< 5>(A, B, C, D, X[ 5] + T[20]); R.template GG< 9>(D, A, B, C, X[10] + T[21]); R.template GG<14>(C, D, A, B, X[15] + T[22]); R.template GG<20>(B, C, D, A, X[ 4] + T[23]);
  R.template GG< 5>(A, B, C, D, X[ 9] + T[24]); R.template GG< 9>(D, A, B, C, X[14] + T[25]); R.template GG<14>(C, D, A, B, X[ 3] + T[26]); R.template GG<20>(B, C, D, A, X[ 8] + T[27]);
  R.template GG< 5>(A, B, C, D, X[13] + T[28]); R.template GG< 9>(D, A, B, C, X[ 2] + T[29]); R.template GG<14>(C, D, A, B, X[ 7] + T[30]); R.template GG<20>(B, C, D, A, X[12] + T[31]);

  R.template HH< 4>(A, B, C, D, X[ 5] + T[32]); R.template HH<11>(D, A, B, C, X[ 8] + T[33]); R.template HH<16>(C, D, A, B, X[11] + T[34]); R.template HH<23>(B, C, D, A, X[14] + T[35]);
  R.template HH< 4>(A, B, C, D, X[ 1] + T[36]); R.template HH<11>(D, A, B, C, X[ 4] + T[37]); R.template HH<16>(C, D, A, B, X[ 7] + T[38]); R.template HH<23>(B, C, D, A, X[10] + T[39]);
  R.template HH< 4>(A, B, C, D, X[13] + T[40]); R.template HH<11>(D, A, B, C, X[ 0] + T[41]); R.template HH<16>(C, D, A, B, X[ 3] + T[42]); R.template HH<23>(B, C, D, A, X[ 6] + T[43]);
  R.template HH< 4>(A, B, C, D, X[ 9] + T[44]); R.template HH<11>(D, A, B, C, X[12] + T[45]); R.template HH<16>(C, D, A, B, X[15] + T[46]); R.template HH<23>(B, C, D, A, X[ 2] + T[47]);

  R.template II< 6>(A, B, C, D, X[ 0] + T[48]); R.template II<10>(D, A, B, C, X[ 7] + T[49]); R.template II<15>(C, D, A, B, X[14] + T[50]); R.template II<21>(B, C, D, A, X[ 5] + T[51]);
  R.template II< 6>(A, B, C, D, X[12] + T[52]); R.template II<10>(D, A, B, C, X[ 3] + T[53]); R.template II<15>(C, D, A, B, X[10] + T[54]); R.template II<21>(B, C, D, A, X[ 1] + T[55]);
  R.template II< 6>(A, B, C, D, X[ 8] + T[56]); R.template II<10>(D, A, B, C, X[15] + T[57]); R.template II<15>(C, D, A, B, X[ 6] + T[58]); R.template II<21>(B, C, D, A, X[13] + T[59]);
  R.template II< 6>(A, B, C, D, X[ 4] + T[60]); R.template II<10>(D, A, B, C, X[11] + T[61]); R.template II<15>(C, D, A, B, X[ 2] + T[62]); R.template II<21>(B, C, D, A, X[ 9] + T[63]);
  // clang-format on

  AddInto(State, A, B, C, D);
}

/// Compresses the 64 bytes at Block into State with RFC 1320's F, G and H (section 3.4).
/// Needs no coder: the one-call digests use it too.
inline void CompressMD4(TIdMDChainState& State, const unsigned char* Block) noexcept {
  Md4Block(State, Block, TMd4InlineRounds{});
}

/// The same with RFC 1321's F, G, H and I.
inline void CompressMD5(TIdMDChainState& State, const unsigned char* Block) noexcept {
  Md5Block(State, Block, TMd5InlineRounds{});
}

/// The same steps through Coder's virtual round functions: a derived class's replacement is
/// called at every step, in the steps' order, with the values the RFC's step passes.
inline void CompressMD4Virtual(TIdMDChainState& State, const unsigned char* Block,
                               const TIdCoderMD4& Coder) {
  Md4Block(State, Block, TVirtualRounds<TIdCoderMD4, false>{Coder});
}

inline void CompressMD5Virtual(TIdMDChainState& State, const unsigned char* Block,
                               const TIdCoderMD5& Coder) {
  Md5Block(State, Block, TVirtualRounds<TIdCoderMD5, true>{Coder});
}

} // namespace md5b64::internal

#endif
