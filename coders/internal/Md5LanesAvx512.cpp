// SPDX-License-Identifier: MIT
// Sixteen MD5 lanes in 512-bit vectors: one 32-bit element per message. Built with the
// AVX-512 flags for this file only; called only where the processor has them.
#include "coders/internal/Md5Lanes.h"
#include "coders/internal/Md5LanesX86.h"

#include <cstdint>

// g++ 12 takes the deliberately undefined vectors inside its own AVX-512 intrinsics for
// uninitialised ones (fixed in g++ 13).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif

namespace md5b64::internal {
namespace {

// The ternary-logic instruction evaluates any function of three bit vectors, given as its
// truth table: the function's value on the three columns 0xF0, 0xCC and 0xAA.
template <class TFunction> constexpr int TruthTable(TFunction Function) {
  return Function(0xF0U, 0xCCU, 0xAAU) & 0xFFU;
}
// RFC 1321, section 3.4.
constexpr int F = TruthTable([](unsigned X, unsigned Y, unsigned Z) { return (X & Y) | (~X & Z); });
constexpr int G = TruthTable([](unsigned X, unsigned Y, unsigned Z) { return (X & Z) | (Y & ~Z); });
constexpr int H = TruthTable([](unsigned X, unsigned Y, unsigned Z) { return X ^ Y ^ Z; });
constexpr int I = TruthTable([](unsigned X, unsigned Y, unsigned Z) { return Y ^ (X | ~Z); });

// A = B + ((A + Round(B, C, D) + X[k] + T[j]) <<< S), the message word and the constant added
// first, off the chain of dependent steps.
template <int Round, int S>
inline void Step(__m512i& A, __m512i B, __m512i C, __m512i D, __m512i X, std::uint32_t T) noexcept {
  const __m512i XT = _mm512_add_epi32(X, _mm512_set1_epi32(static_cast<int>(T)));
  const __m512i Sum =
      _mm512_add_epi32(_mm512_add_epi32(A, XT), _mm512_ternarylogic_epi32(B, C, D, Round));
  A = _mm512_add_epi32(B, _mm512_rol_epi32(Sum, S));
}

// Rows holds each lane's block, lane L in Rows[L]; afterwards Rows[K] holds word K of every
// lane. Within 128-bit quarters first (words of four lanes), then the quarters.
inline void Transpose(__m512i (&Rows)[16]) noexcept {
  __m512i T[16];
  for (int R = 0; R < 16; R += 2) {
    T[R] = _mm512_unpacklo_epi32(Rows[R], Rows[R + 1]);
    T[R + 1] = _mm512_unpackhi_epi32(Rows[R], Rows[R + 1]);
  }
  // U[4g + m], quarter q: word 4q + m of lanes 4g to 4g + 3.
  __m512i U[16];
  for (int G4 = 0; G4 < 16; G4 += 4) {
    U[G4 + 0] = _mm512_unpacklo_epi64(T[G4], T[G4 + 2]);
    U[G4 + 1] = _mm512_unpackhi_epi64(T[G4], T[G4 + 2]);
    U[G4 + 2] = _mm512_unpacklo_epi64(T[G4 + 1], T[G4 + 3]);
    U[G4 + 3] = _mm512_unpackhi_epi64(T[G4 + 1], T[G4 + 3]);
  }
  for (int M = 0; M < 4; ++M) {
    const __m512i P0 = _mm512_shuffle_i32x4(U[M], U[4 + M], _MM_SHUFFLE(1, 0, 1, 0));
    const __m512i P1 = _mm512_shuffle_i32x4(U[M], U[4 + M], _MM_SHUFFLE(3, 2, 3, 2));
    const __m512i Q0 = _mm512_shuffle_i32x4(U[8 + M], U[12 + M], _MM_SHUFFLE(1, 0, 1, 0));
    const __m512i Q1 = _mm512_shuffle_i32x4(U[8 + M], U[12 + M], _MM_SHUFFLE(3, 2, 3, 2));
    Rows[M] = _mm512_shuffle_i32x4(P0, Q0, _MM_SHUFFLE(2, 0, 2, 0));
    Rows[4 + M] = _mm512_shuffle_i32x4(P0, Q0, _MM_SHUFFLE(3, 1, 3, 1));
    Rows[8 + M] = _mm512_shuffle_i32x4(P1, Q1, _MM_SHUFFLE(2, 0, 2, 0));
    Rows[12 + M] = _mm512_shuffle_i32x4(P1, Q1, _MM_SHUFFLE(3, 1, 3, 1));
  }
}

} // namespace

void Md5LanesAvx512(TMd5LaneStates& States, const unsigned char* const* Data, TMd5LaneMask Active,
                    std::size_t Blocks) noexcept {
  const auto Mask = static_cast<__mmask16>(Active);
  const unsigned char* Next[16];
  std::size_t Stride[16];
  for (std::size_t L = 0; L < 16; ++L) {
    const bool On = (Active >> L & 1U) != 0;
    Next[L] = On ? Data[L] : IdleBlock;
    Stride[L] = On ? 64 : 0;
  }
  __m512i SA = _mm512_load_si512(States.Word[0]);
  __m512i SB = _mm512_load_si512(States.Word[1]);
  __m512i SC = _mm512_load_si512(States.Word[2]);
  __m512i SD = _mm512_load_si512(States.Word[3]);
  const auto& T = Md5SineTable;

  for (std::size_t Block = 0; Block < Blocks; ++Block) {
    __m512i X[16];
    for (std::size_t L = 0; L < 16; ++L) {
      X[L] = _mm512_loadu_si512(Next[L]);
      PrefetchAhead(Next[L], Stride[L]);
      Next[L] += Stride[L];
    }
    Transpose(X);
    __m512i A = SA, B = SB, C = SC, D = SD;

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
    SA = _mm512_mask_add_epi32(SA, Mask, SA, A);
    SB = _mm512_mask_add_epi32(SB, Mask, SB, B);
    SC = _mm512_mask_add_epi32(SC, Mask, SC, C);
    SD = _mm512_mask_add_epi32(SD, Mask, SD, D);
  }
  _mm512_store_si512(States.Word[0], SA);
  _mm512_store_si512(States.Word[1], SB);
  _mm512_store_si512(States.Word[2], SC);
  _mm512_store_si512(States.Word[3], SD);
}

} // namespace md5b64::internal
