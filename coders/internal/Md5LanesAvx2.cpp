// SPDX-License-Identifier: MIT
// MD5 lanes in 256-bit vectors: eight messages at a time, one 32-bit element each. Built with
// the AVX2 flag for this file only; called only where the processor has it.
#include "coders/internal/Md5Lanes.h"

#include <immintrin.h>

namespace md5b64::internal {
namespace {

constexpr std::size_t Width = 8;

inline __m256i Add(__m256i A, __m256i B) noexcept {
  return _mm256_add_epi32(A, B);
}
template <int S> inline __m256i RotateLeft(__m256i V) noexcept {
  return _mm256_or_si256(_mm256_slli_epi32(V, S), _mm256_srli_epi32(V, 32 - S));
}

// The round functions as the single-stream steps write them, so that as few operations as
// possible wait for B, the word made by the step before.
struct TF {
  static __m256i Apply(__m256i B, __m256i C, __m256i D) noexcept {
    return _mm256_xor_si256(D, _mm256_and_si256(B, _mm256_xor_si256(C, D)));
  }
};
// (B AND D) OR (C AND NOT D): two halves that never share a bit, so they may be added.
struct TG {
  static __m256i Apply(__m256i B, __m256i C, __m256i D) noexcept {
    return Add(_mm256_andnot_si256(D, C), _mm256_and_si256(B, D));
  }
};
struct TH {
  static __m256i Apply(__m256i B, __m256i C, __m256i D) noexcept {
    return _mm256_xor_si256(B, _mm256_xor_si256(C, D));
  }
};
struct TI {
  static __m256i Apply(__m256i B, __m256i C, __m256i D) noexcept {
    const __m256i NotD = _mm256_xor_si256(D, _mm256_set1_epi32(-1));
    return _mm256_xor_si256(C, _mm256_or_si256(B, NotD));
  }
};

// A = B + ((A + Round(B, C, D) + X[k] + T[j]) <<< S).
template <class TRound, int S>
inline void Step(__m256i& A, __m256i B, __m256i C, __m256i D, __m256i X, std::uint32_t T) noexcept {
  const __m256i XT = Add(X, _mm256_set1_epi32(static_cast<int>(T)));
  A = Add(B, RotateLeft<S>(Add(Add(A, XT), TRound::Apply(B, C, D))));
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

alignas(64) const unsigned char IdleBlock[64] = {};

// Lanes First to First + 7.
void Compress8(TMd5LaneStates& States, std::size_t First, const unsigned char* const* Data,
               TMd5LaneMask Active, std::size_t Blocks) noexcept {
  const unsigned char* Next[Width];
  std::size_t Stride[Width];
  // All ones in the elements of the lanes that take part.
  alignas(32) std::uint32_t Taking[Width];
  for (std::size_t L = 0; L < Width; ++L) {
    const bool On = (Active >> (First + L) & 1U) != 0;
    Next[L] = On ? Data[First + L] : IdleBlock;
    Stride[L] = On ? 64 : 0;
    Taking[L] = On ? 0xFFFFFFFFU : 0;
  }
  const __m256i Mask = _mm256_load_si256(reinterpret_cast<const __m256i*>(Taking));
  auto Load = [&](std::size_t W) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(States.Word[W] + First));
  };
  __m256i SA = Load(0), SB = Load(1), SC = Load(2), SD = Load(3);
  const auto& T = Md5SineTable;

  for (std::size_t Block = 0; Block < Blocks; ++Block) {
    __m256i X[16];
    for (std::size_t L = 0; L < Width; ++L) {
      X[L] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Next[L]));
      X[Width + L] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Next[L] + 32));
      Next[L] += Stride[L];
    }
    Transpose8(X);
    Transpose8(X + Width);
    __m256i A = SA, B = SB, C = SC, D = SD;
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
    SA = Add(SA, _mm256_and_si256(A, Mask));
    SB = Add(SB, _mm256_and_si256(B, Mask));
    SC = Add(SC, _mm256_and_si256(C, Mask));
    SD = Add(SD, _mm256_and_si256(D, Mask));
  }
  auto Store = [&](std::size_t W, __m256i V) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(States.Word[W] + First), V);
  };
  Store(0, SA);
  Store(1, SB);
  Store(2, SC);
  Store(3, SD);
}

} // namespace

void Md5LanesAvx2(TMd5LaneStates& States, const unsigned char* const* Data, TMd5LaneMask Active,
                  std::size_t Blocks) noexcept {
  for (std::size_t First = 0; First < Md5LaneCount; First += Width)
    if ((Active >> First & 0xFFU) != 0)
      Compress8(States, First, Data, Active, Blocks);
}

} // namespace md5b64::internal
