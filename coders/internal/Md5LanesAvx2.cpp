// SPDX-License-Identifier: MIT
// MD5 lanes in 256-bit vectors: two sets of eight messages, one 32-bit element each. Built
// with the AVX2 flag for this file only; called only where the processor has it.
#include "coders/internal/Md5Lanes.h"
#include "coders/internal/Md5LanesX86.h"

#include <immintrin.h>

namespace md5b64::internal {
namespace {

constexpr std::size_t Width = 8;

// The two sets of eight lanes side by side: every operation on both, so that the processor
// has two independent chains of steps to interleave where one would leave it waiting.
struct TPair {
  __m256i V[2];
};

template <class TOperation> inline TPair Each(TPair A, TPair B, TOperation Operation) noexcept {
  return {{Operation(A.V[0], B.V[0]), Operation(A.V[1], B.V[1])}};
}
inline TPair Add(TPair A, TPair B) noexcept {
  return Each(A, B, [](__m256i X, __m256i Y) { return _mm256_add_epi32(X, Y); });
}
inline TPair And(TPair A, TPair B) noexcept {
  return Each(A, B, [](__m256i X, __m256i Y) { return _mm256_and_si256(X, Y); });
}
inline TPair AndNot(TPair A, TPair B) noexcept { // ~A & B
  return Each(A, B, [](__m256i X, __m256i Y) { return _mm256_andnot_si256(X, Y); });
}
inline TPair Or(TPair A, TPair B) noexcept {
  return Each(A, B, [](__m256i X, __m256i Y) { return _mm256_or_si256(X, Y); });
}
inline TPair Xor(TPair A, TPair B) noexcept {
  return Each(A, B, [](__m256i X, __m256i Y) { return _mm256_xor_si256(X, Y); });
}
inline TPair Splat(std::uint32_t Value) noexcept {
  const __m256i V = _mm256_set1_epi32(static_cast<int>(Value));
  return {{V, V}};
}
template <int S> inline TPair RotateLeft(TPair A) noexcept {
  return Each(A, A, [](__m256i X, __m256i) {
    return _mm256_or_si256(_mm256_slli_epi32(X, S), _mm256_srli_epi32(X, 32 - S));
  });
}

// The round functions as the single-stream steps write them, so that as few operations as
// possible wait for B, the word made by the step before.
struct TF {
  static TPair Apply(TPair B, TPair C, TPair D) noexcept { return Xor(D, And(B, Xor(C, D))); }
};
// (B AND D) OR (C AND NOT D): two halves that never share a bit, so they may be added.
struct TG {
  static TPair Apply(TPair B, TPair C, TPair D) noexcept { return Add(AndNot(D, C), And(B, D)); }
};
struct TH {
  static TPair Apply(TPair B, TPair C, TPair D) noexcept { return Xor(B, Xor(C, D)); }
};
struct TI {
  static TPair Apply(TPair B, TPair C, TPair D) noexcept {
    return Xor(C, Or(B, Xor(D, Splat(0xFFFFFFFFU))));
  }
};

// A = B + ((A + Round(B, C, D) + X[k] + T[j]) <<< S).
template <class TRound, int S>
inline void Step(TPair& A, TPair B, TPair C, TPair D, TPair X, std::uint32_t T) noexcept {
  A = Add(B, RotateLeft<S>(Add(Add(A, Add(X, Splat(T))), TRound::Apply(B, C, D))));
}

// Rows[R] holds words 0-7 of lane R, Rows[8 + R] its words 8-15; afterwards Rows[K] holds
// word K of every lane.
inline void Transpose8(__m256i* Rows) noexcept {
  __m256i T[8], U[8];
  for (int R = 0; R < 8; R += 2) {
    T[R] = _mm256_unpacklo_epi32(Rows[R], Rows[R + 1]);
    T[R + 1] = _mm256_unpackhi_epi32(Rows[R], Rows[R + 1]);
  }
  // U[4g + m], half h: word 4h + m of lanes 4g to 4g + 3.
  for (int G4 = 0; G4 < 8; G4 += 4) {
    U[G4 + 0] = _mm256_unpacklo_epi64(T[G4], T[G4 + 2]);
    U[G4 + 1] = _mm256_unpackhi_epi64(T[G4], T[G4 + 2]);
    U[G4 + 2] = _mm256_unpacklo_epi64(T[G4 + 1], T[G4 + 3]);
    U[G4 + 3] = _mm256_unpackhi_epi64(T[G4 + 1], T[G4 + 3]);
  }
  for (int M = 0; M < 4; ++M) {
    Rows[M] = _mm256_permute2x128_si256(U[M], U[4 + M], 0x20);
    Rows[4 + M] = _mm256_permute2x128_si256(U[M], U[4 + M], 0x31);
  }
}

} // namespace

void Md5LanesAvx2(TMd5LaneStates& States, const unsigned char* const* Data, TMd5LaneMask Active,
                  std::size_t Blocks) noexcept {
  const unsigned char* Next[Md5LaneCount];
  std::size_t Stride[Md5LaneCount];
  // All ones in the elements of the lanes that take part.
  alignas(32) std::uint32_t Taking[Md5LaneCount];
  for (std::size_t L = 0; L < Md5LaneCount; ++L) {
    const bool On = (Active >> L & 1U) != 0;
    Next[L] = On ? Data[L] : IdleBlock;
    Stride[L] = On ? 64 : 0;
    Taking[L] = On ? 0xFFFFFFFFU : 0;
  }
  auto Load = [](const std::uint32_t* Words) {
    return TPair{{_mm256_loadu_si256(reinterpret_cast<const __m256i*>(Words)),
                  _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Words + Width))}};
  };
  const TPair Mask = Load(Taking);
  TPair SA = Load(States.Word[0]), SB = Load(States.Word[1]), SC = Load(States.Word[2]),
        SD = Load(States.Word[3]);
  const auto& T = Md5SineTable;

  for (std::size_t Block = 0; Block < Blocks; ++Block) {
    // Words 0-7 of the eight lanes of a set in Rows[0-7], words 8-15 in Rows[8-15].
    __m256i Rows[2][16];
    for (std::size_t L = 0; L < Md5LaneCount; ++L) {
      __m256i* Set = Rows[L / Width];
      Set[L % Width] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Next[L]));
      Set[Width + L % Width] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Next[L] + 32));
      PrefetchAhead(Next[L], Stride[L]);
      Next[L] += Stride[L];
    }
    TPair X[16];
    for (auto& Set : Rows) {
      Transpose8(Set);
      Transpose8(Set + Width);
    }
    for (std::size_t K = 0; K < 16; ++K)
      X[K] = {{Rows[0][K], Rows[1][K]}};
    TPair A = SA, B = SB, C = SC, D = SD;
    using F = TF;
    using G = TG;
    using H = TH;
    using I = TI;

    // clang-format off
    Step<F,  7>(A, B, C, D, X[ 0], T[ 0]); Step<F, 12>(D, A, B, C, X[ 1], T[ 1]); Step<F, 17>(C, D, A, B, X[ 2], T[ 2]); Step<F, 22>(B, C, D, A, X[ 3], T[ 3]);
    Step<F,  7>(A, B, C, D, X[ 4], T[ 4]); Step<F, 12>(D, A, B, C, X[ 5], T[ 5]); Step<F, 17>(C, D, A, B, X[ 6], T[ 6]); Step<F, 22>(B, C, D, A, X[ 7], T[ 7]);
    Step<F,  7>(A, B, C, D, X[ 8], T[ 8]); Step<F, 12>(D, A, B, C, X[ 9], T[ 9]); Step<F, 17>(C, D, A, B, X[10], T[10]); Step<F, 22>(B, C, D, A, X[11], T[11]);
    Step<F,  7>(A, B, C, D, X[12], T[12]); Step<F, 12>(D, A, B, C, X[13], T[13]); Step<F, 17>(C, D, A, B, X[14], T[14]); Step<F, 22>(B, C, D, A, X[15], T[15]);

    Step<G,  5>(A, B, C, D, X[ 1], T[16]); Step<G,  9>(D, A, B, C, X[ 6], T[17]); Step<G, 14>(C, D, A, B, X[11], T[18]); Step<G, 20>(B, C, D, A, X[ 0], T[19]);
    Step<G,  5>(A, B, C, D, X[ 5], T[20]); Step<G,  9>(D, A, B, C, X[10], T[21]); Step<G, 14>(C, D, A, B, X[15], T[22]); Step<G, 20>(B, C, D, A, X[ 4], T[23]);
    Step<G,  5>(A, B, C, D, X[ 9], T[24]); Step<G,  9>(D, A, B, C, X[14], T[25]); Step<G, 14>(C, D, A, B, X[ 3], T[26]); Step<G, 20>(B, C, D, A, X[ 8], T[27]);
    Step<G,  5>(A, B, C, D, X[13], T[28]); Step<G,  9>(D, A, B, C, X[ 2], T[29]); Step<G, 14>(C, D, A, B, X[ 7], T[30]); Step<G, 20>(B, C, D, A, X[12], T[31]);

    Step<H,  4>(A, B, C, D, X[ 5], T[32]); Step<H, 11>(D, A, B, C, X[ 8], T[33]); Step<H, 16>(C, D, A, B, X[11], T[34]); Step<H, 23>(B, C, D, A, X[14], T[35]);
    Step<H,  4>(A, B, C, D, X[ 1], T[36]); Step<H, 11>(D, A, B, C, X[ 4], T[37]); Step<H, 16>(C, D, A, B, X[ 7], T[38]); Step<H, 23>(B, C, D, A, X[10], T[39]);
    Step<H,  4>(A, B, C, D, X[13], T[40]); Step<H, 11>(D, A, B, C, X[ 0], T[41]); Step<H, 16>(C, D, A, B, X[ 3], T[42]); Step<H, 23>(B, C, D, A, X[ 6], T[43]);
    Step<H,  4>(A, B, C, D, X[ 9], T[44]); Step<H, 11>(D, A, B, C, X[12], T[45]); Step<H, 16>(C, D, A, B, X[15], T[46]); Step<H, 23>(B, C, D, A, X[ 2], T[47]);

    Step<I,  6>(A, B, C, D, X[ 0], T[48]); Step<I, 10>(D, A, B, C, X[ 7], T[49]); Step<I, 15>(C, D, A, B, X[14], T[50]); Step<I, 21>(B, C, D, A, X[ 5], T[51]);
    Step<I,  6>(A, B, C, D, X[12], T[52]); Step<I, 10>(D, A, B, C, X[ 3], T[53]); Step<I, 15>(C, D, A, B, X[10], T[54]); Step<I, 21>(B, C, D, A, X[ 1], T[55]);
    Step<I,  6>(A, B, C, D, X[ 8], T[56]); Step<I, 10>(D, A, B, C, X[15], T[57]); Step<I, 15>(C, D, A, B, X[ 6], T[58]); Step<I, 21>(B, C, D, A, X[13], T[59]);
    Step<I,  6>(A, B, C, D, X[ 4], T[60]); Step<I, 10>(D, A, B, C, X[11], T[61]); Step<I, 15>(C, D, A, B, X[ 2], T[62]); Step<I, 21>(B, C, D, A, X[ 9], T[63]);
    // clang-format on

    // Idle lanes keep their state.
    SA = Add(SA, And(A, Mask));
    SB = Add(SB, And(B, Mask));
    SC = Add(SC, And(C, Mask));
    SD = Add(SD, And(D, Mask));
  }
  auto Store = [](std::uint32_t* Words, TPair V) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Words), V.V[0]);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Words + Width), V.V[1]);
  };
  Store(States.Word[0], SA);
  Store(States.Word[1], SB);
  Store(States.Word[2], SC);
  Store(States.Word[3], SD);
}

} // namespace md5b64::internal
