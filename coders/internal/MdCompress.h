// The MD4 and MD5 block compressions, written once over a type that supplies the round
// functions: the exact classes pass inline ones, derived classes their virtual ones.
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

/// The MD4 round functions of RFC 1320, section 3.4, inlined.
struct TMd4InlineRounds {
  static std::uint32_t F(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) noexcept {
    // Same as (X & Y) | (~X & Z), one operation shorter.
    return Z ^ (X & (Y ^ Z));
  }
  static std::uint32_t G(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) noexcept {
    return (X & Y) | (Z & (X | Y));
  }
  static std::uint32_t H(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) noexcept {
    return X ^ Y ^ Z;
  }
};

/// The MD5 round functions of RFC 1321, section 3.4, inlined.
struct TMd5InlineRounds {
  static std::uint32_t F(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) noexcept {
    return Z ^ (X & (Y ^ Z));
  }
  static std::uint32_t G(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) noexcept {
    return (X & Z) | (Y & ~Z);
  }
  static std::uint32_t H(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) noexcept {
    return X ^ Y ^ Z;
  }
  static std::uint32_t I(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) noexcept {
    return Y ^ (X | ~Z);
  }
};

/// The round functions of a coder object, called through its virtual operations.
template <class TCoder> struct TVirtualRounds {
  const TCoder& Coder;
  std::uint32_t F(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
    return Coder.RoundF(X, Y, Z);
  }
  std::uint32_t G(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
    return Coder.RoundG(X, Y, Z);
  }
  std::uint32_t H(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
    return Coder.RoundH(X, Y, Z);
  }
  // Instantiated only for coders that have an I.
  std::uint32_t I(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const {
    return Coder.RoundI(X, Y, Z);
  }
};

/// One MD4 step: Target = (Target + F + X[k] + constant) <<< S.
template <unsigned S>
inline void Md4Step(std::uint32_t& Target, std::uint32_t F, std::uint32_t XPlusConstant) noexcept {
  Target = RotateLeft32(Target + F + XPlusConstant, S);
}

/// One MD5 step: Target = Next + ((Target + F + X[k] + T[j]) <<< S).
template <unsigned S>
inline void Md5Step(std::uint32_t& Target, std::uint32_t Next, std::uint32_t F,
                    std::uint32_t XPlusSine) noexcept {
  Target = Next + RotateLeft32(Target + F + XPlusSine, S);
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
  Md4Step< 3>(A, R.F(B, C, D), X[ 0]); Md4Step< 7>(D, R.F(A, B, C), X[ 1]); Md4Step<11>(C, R.F(D, A, B), X[ 2]); Md4Step<19>(B, R.F(C, D, A), X[ 3]);
  Md4Step< 3>(A, R.F(B, C, D), X[ 4]); Md4Step< 7>(D, R.F(A, B, C), X[ 5]); Md4Step<11>(C, R.F(D, A, B), X[ 6]); Md4Step<19>(B, R.F(C, D, A), X[ 7]);
  Md4Step< 3>(A, R.F(B, C, D), X[ 8]); Md4Step< 7>(D, R.F(A, B, C), X[ 9]); Md4Step<11>(C, R.F(D, A, B), X[10]); Md4Step<19>(B, R.F(C, D, A), X[11]);
  Md4Step< 3>(A, R.F(B, C, D), X[12]); Md4Step< 7>(D, R.F(A, B, C), X[13]); Md4Step<11>(C, R.F(D, A, B), X[14]); Md4Step<19>(B, R.F(C, D, A), X[15]);

  Md4Step< 3>(A, R.G(B, C, D), X[ 0] + K2); Md4Step< 5>(D, R.G(A, B, C), X[ 4] + K2); Md4Step< 9>(C, R.G(D, A, B), X[ 8] + K2); Md4Step<13>(B, R.G(C, D, A), X[12] + K2);
  Md4Step< 3>(A, R.G(B, C, D), X[ 1] + K2); Md4Step< 5>(D, R.G(A, B, C), X[ 5] + K2); Md4Step< 9>(C, R.G(D, A, B), X[ 9] + K2); Md4Step<13>(B, R.G(C, D, A), X[13] + K2);
  Md4Step< 3>(A, R.G(B, C, D), X[ 2] + K2); Md4Step< 5>(D, R.G(A, B, C), X[ 6] + K2); Md4Step< 9>(C, R.G(D, A, B), X[10] + K2); Md4Step<13>(B, R.G(C, D, A), X[14] + K2);
  Md4Step< 3>(A, R.G(B, C, D), X[ 3] + K2); Md4Step< 5>(D, R.G(A, B, C), X[ 7] + K2); Md4Step< 9>(C, R.G(D, A, B), X[11] + K2); Md4Step<13>(B, R.G(C, D, A), X[15] + K2);

  Md4Step< 3>(A, R.H(B, C, D), X[ 0] + K3); Md4Step< 9>(D, R.H(A, B, C), X[ 8] + K3); Md4Step<11>(C, R.H(D, A, B), X[ 4] + K3); Md4Step<15>(B, R.H(C, D, A), X[12] + K3);
  Md4Step< 3>(A, R.H(B, C, D), X[ 2] + K3); Md4Step< 9>(D, R.H(A, B, C), X[10] + K3); Md4Step<11>(C, R.H(D, A, B), X[ 6] + K3); Md4Step<15>(B, R.H(C, D, A), X[14] + K3);
  Md4Step< 3>(A, R.H(B, C, D), X[ 1] + K3); Md4Step< 9>(D, R.H(A, B, C), X[ 9] + K3); Md4Step<11>(C, R.H(D, A, B), X[ 5] + K3); Md4Step<15>(B, R.H(C, D, A), X[13] + K3);
  Md4Step< 3>(A, R.H(B, C, D), X[ 3] + K3); Md4Step< 9>(D, R.H(A, B, C), X[11] + K3); Md4Step<11>(C, R.H(D, A, B), X[ 7] + K3); Md4Step<15>(B, R.H(C, D, A), X[15] + K3);
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
  Md5Step< 7>(A, B, R.F(B, C, D), X[ 0] + T[ 0]); Md5Step<12>(D, A, R.F(A, B, C), X[ 1] + T[ 1]); Md5Step<17>(C, D, R.F(D, A, B), X[ 2] + T[ 2]); Md5Step<22>(B, C, R.F(C, D, A), X[ 3] + T[ 3]);
  Md5Step< 7>(A, B, R.F(B, C, D), X[ 4] + T[ 4]); Md5Step<12>(D, A, R.F(A, B, C), X[ 5] + T[ 5]); Md5Step<17>(C, D, R.F(D, A, B), X[ 6] + T[ 6]); Md5Step<22>(B, C, R.F(C, D, A), X[ 7] + T[ 7]);
  Md5Step< 7>(A, B, R.F(B, C, D), X[ 8] + T[ 8]); Md5Step<12>(D, A, R.F(A, B, C), X[ 9] + T[ 9]); Md5Step<17>(C, D, R.F(D, A, B), X[10] + T[10]); Md5Step<22>(B, C, R.F(C, D, A), X[11] + T[11]);
  Md5Step< 7>(A, B, R.F(B, C, D), X[12] + T[12]); Md5Step<12>(D, A, R.F(A, B, C), X[13] + T[13]); Md5Step<17>(C, D, R.F(D, A, B), X[14] + T[14]); Md5Step<22>(B, C, R.F(C, D, A), X[15] + T[15]);

  Md5Step< 5>(A, B, R.G(B, C, D), X[ 1] + T[16]); Md5Step< 9>(D, A, R.G(A, B, C), X[ 6] + T[17]); Md5Step<14>(C, D, R.G(D, A, B), X[11] + T[18]); Md5Step<20>(B, C, R.G(C, D, A), X[ 0] + T[19]);
  Md5Step< 5>(A, B, R.G(B, C, D), X[ 5] + T[20]); Md5Step< 9>(D, A, R.G(A, B, C), X[10] + T[21]); Md5Step<14>(C, D, R.G(D, A, B), X[15] + T[22]); Md5Step<20>(B, C, R.G(C, D, A), X[ 4] + T[23]);
  Md5Step< 5>(A, B, R.G(B, C, D), X[ 9] + T[24]); Md5Step< 9>(D, A, R.G(A, B, C), X[14] + T[25]); Md5Step<14>(C, D, R.G(D, A, B), X[ 3] + T[26]); Md5Step<20>(B, C, R.G(C, D, A), X[ 8] + T[27]);
  Md5Step< 5>(A, B, R.G(B, C, D), X[13] + T[28]); Md5Step< 9>(D, A, R.G(A, B, C), X[ 2] + T[29]); Md5Step<14>(C, D, R.G(D, A, B), X[ 7] + T[30]); Md5Step<20>(B, C, R.G(C, D, A), X[12] + T[31]);

  Md5Step< 4>(A, B, R.H(B, C, D), X[ 5] + T[32]); Md5Step<11>(D, A, R.H(A, B, C), X[ 8] + T[33]); Md5Step<16>(C, D, R.H(D, A, B), X[11] + T[34]); Md5Step<23>(B, C, R.H(C, D, A), X[14] + T[35]);
  Md5Step< 4>(A, B, R.H(B, C, D), X[ 1] + T[36]); Md5Step<11>(D, A, R.H(A, B, C), X[ 4] + T[37]); Md5Step<16>(C, D, R.H(D, A, B), X[ 7] + T[38]); Md5Step<23>(B, C, R.H(C, D, A), X[10] + T[39]);
  Md5Step< 4>(A, B, R.H(B, C, D), X[13] + T[40]); Md5Step<11>(D, A, R.H(A, B, C), X[ 0] + T[41]); Md5Step<16>(C, D, R.H(D, A, B), X[ 3] + T[42]); Md5Step<23>(B, C, R.H(C, D, A), X[ 6] + T[43]);
  Md5Step< 4>(A, B, R.H(B, C, D), X[ 9] + T[44]); Md5Step<11>(D, A, R.H(A, B, C), X[12] + T[45]); Md5Step<16>(C, D, R.H(D, A, B), X[15] + T[46]); Md5Step<23>(B, C, R.H(C, D, A), X[ 2] + T[47]);

  Md5Step< 6>(A, B, R.I(B, C, D), X[ 0] + T[48]); Md5Step<10>(D, A, R.I(A, B, C), X[ 7] + T[49]); Md5Step<15>(C, D, R.I(D, A, B), X[14] + T[50]); Md5Step<21>(B, C, R.I(C, D, A), X[ 5] + T[51]);
  Md5Step< 6>(A, B, R.I(B, C, D), X[12] + T[52]); Md5Step<10>(D, A, R.I(A, B, C), X[ 3] + T[53]); Md5Step<15>(C, D, R.I(D, A, B), X[10] + T[54]); Md5Step<21>(B, C, R.I(C, D, A), X[ 1] + T[55]);
  Md5Step< 6>(A, B, R.I(B, C, D), X[ 8] + T[56]); Md5Step<10>(D, A, R.I(A, B, C), X[15] + T[57]); Md5Step<15>(C, D, R.I(D, A, B), X[ 6] + T[58]); Md5Step<21>(B, C, R.I(C, D, A), X[13] + T[59]);
  Md5Step< 6>(A, B, R.I(B, C, D), X[ 4] + T[60]); Md5Step<10>(D, A, R.I(A, B, C), X[11] + T[61]); Md5Step<15>(C, D, R.I(D, A, B), X[ 2] + T[62]); Md5Step<21>(B, C, R.I(C, D, A), X[ 9] + T[63]);
  // clang-format on

  State[0] += A;
  State[1] += B;
  State[2] += C;
  State[3] += D;
}

} // namespace md5b64::internal

#endif
