// SPDX-License-Identifier: MIT
// Base64BlocksAvx2: the AVX2 kernels of the bulk Base64 coding, 24 bytes or 32 characters a
// round. This file alone is built for AVX2; the dispatch calls it only where the processor
// has it.
#include "coders/internal/Base64Kernels.h"

#include <cstddef>
#include <cstdint>
#include <immintrin.h>

// Built with AVX2 instructions throughout, this file includes nothing with inline functions
// of its own that another file could also use: the linker would be free to keep this file's
// copy for everyone, and a processor without AVX2 would then fault in plain code.
#ifndef __AVX2__
#error "Base64BlocksAvx2.cpp must be built with AVX2 enabled (see CMakeLists.txt)"
#endif

namespace md5b64::internal {

namespace {

// Entry v of a table held as N pieces of 16 entries, each piece in both halves (a shuffle
// stays within its 16-byte half). A byte shuffle looks up 16 entries: piece k answers for
// the values whose upper half is k, and the others are made to miss (a shuffle index with
// its top bit set gives 0). A value of 16N or more misses every piece and gives 0.
template <std::size_t N> __m256i LookUpPieces(const __m256i (&Pieces)[N], __m256i Values) noexcept {
  const __m256i Miss = _mm256_set1_epi8(0x70);
  __m256i Result = _mm256_shuffle_epi8(Pieces[0], _mm256_adds_epu8(Values, Miss));
  for (std::size_t K = 1; K < N; ++K) {
    const __m256i Index = _mm256_adds_epu8(
        _mm256_xor_si256(Values, _mm256_set1_epi8(static_cast<char>(16 * K))), Miss);
    Result = _mm256_or_si256(Result, _mm256_shuffle_epi8(Pieces[K], Index));
  }
  return Result;
}

__m128i Load16(const void* In) noexcept {
  return _mm_loadu_si128(static_cast<const __m128i*>(In));
}

struct TEncodeKernel {
  // The last load of a round starts 12 bytes before the round's end and reads 16.
  static constexpr std::size_t BytesRead = 3 * 8 + 4;

  // Table[v] for values below 64, by quarters.
  __m256i Quarters[4];

  explicit TEncodeKernel(const char* Table) noexcept {
    for (int Q = 0; Q < 4; ++Q)
      Quarters[Q] = _mm256_broadcastsi128_si256(Load16(Table + 16 * Q));
  }

  // Each 32-bit lane gets the bytes b1 b0 b2 b1 of its group of three, so that every 6-bit
  // value lies within one 16-bit half, where a multiplication moves it into place; then the
  // look-up. Every step stays within its 16-byte half.
  __m256i Characters(__m256i Bytes) const noexcept {
    const __m256i Spread = _mm256_shuffle_epi8(
        Bytes, _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10, //
                                1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10));
    const __m256i High = _mm256_mulhi_epu16(_mm256_and_si256(Spread, _mm256_set1_epi32(0x0FC0FC00)),
                                            _mm256_set1_epi32(0x04000040));
    const __m256i Low = _mm256_mullo_epi16(_mm256_and_si256(Spread, _mm256_set1_epi32(0x003F03F0)),
                                           _mm256_set1_epi32(0x01000010));
    return LookUpPieces(Quarters, _mm256_or_si256(High, Low));
  }

  // Eight groups: twelve bytes into each half, from two loads of 16 bytes.
  void Round(const unsigned char* In, char* Out) const noexcept {
    const __m256i Bytes = _mm256_setr_m128i(Load16(In), Load16(In + 12));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Out), Characters(Bytes));
  }

  // Four groups, in the low half alone, for the end of an input: 16 bytes read.
  void HalfRound(const unsigned char* In, char* Out) const noexcept {
    const __m128i Low = _mm256_castsi256_si128(Characters(_mm256_castsi128_si256(Load16(In))));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out), Low);
  }
};

} // namespace

std::size_t EncodeGroupsAvx2(const char* Table, const unsigned char* In, std::size_t Count,
                             char* Out) noexcept {
  static_assert(TEncodeKernel::BytesRead == EncodeAvx2Minimum);
  const TEncodeKernel Kernel(Table);
  std::size_t Done = 0;
  for (; Count - Done >= TEncodeKernel::BytesRead; Done += 24)
    Kernel.Round(In + Done, Out + Done / 3 * 4);
  for (; Count - Done >= 16; Done += 12)
    Kernel.HalfRound(In + Done, Out + Done / 3 * 4);
  return Done;
}

namespace {

// The reverse table as eight pieces of 16 entries by code, each in both halves: piece k
// holds the codes 16k to 16k + 15. Code 0 has no entry, and entries of 64 or more are no
// 6-bit values: both get their top bit set, which marks a character for the checked path.
struct TDecodeKernel {
  __m256i Pieces[8];

  explicit TDecodeKernel(const std::uint8_t* Table) noexcept {
    const __m128i Top = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i Largest = _mm_set1_epi8(63);
    for (int K = 0; K < 8; ++K) {
      __m128i Piece;
      if (K == 0)
        Piece = _mm_or_si128(_mm_slli_si128(Load16(Table), 1), _mm_cvtsi32_si128(0x80));
      else
        Piece = Load16(Table + 16 * K - 1);
      const __m128i Sixes = _mm_cmpeq_epi8(_mm_min_epu8(Piece, Largest), Piece);
      Piece = _mm_or_si128(Piece, _mm_andnot_si128(Sixes, Top));
      Pieces[K] = _mm256_broadcastsi128_si256(Piece);
    }
  }

  // 32 characters to 24 bytes at Out; 32 bytes are written. False, with nothing written,
  // when a character is not for this path.
  bool Round(const char* In, std::uint8_t* Out) const noexcept {
    const __m256i Codes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(In));
    // A code above 127 misses every piece and gives 0; its own top bit marks it.
    const __m256i Values = LookUpPieces(Pieces, Codes);
    if (_mm256_movemask_epi8(_mm256_or_si256(Codes, Values)) != 0)
      return false;
    // Pairs of values into 12 bits, pairs of those into the 24 bits of a group; then the
    // three bytes of each group, most significant first, packed together.
    const __m256i Twelve = _mm256_maddubs_epi16(Values, _mm256_set1_epi32(0x01400140));
    const __m256i Groups = _mm256_madd_epi16(Twelve, _mm256_set1_epi32(0x00011000));
    // A shuffle index with its top bit set makes a zero byte; spelled as a char so that the
    // same text compiles where char is unsigned.
    constexpr char Z = static_cast<char>(0x80);
    const __m256i Bytes = _mm256_shuffle_epi8(
        Groups, _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, Z, Z, Z, Z, //
                                 2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, Z, Z, Z, Z));
    const __m256i Packed =
        _mm256_permutevar8x32_epi32(Bytes, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Out), Packed);
    return true;
  }
};

} // namespace

std::size_t DecodeGroupsAvx2(const std::uint8_t* Table, const char* In, std::size_t Count,
                             std::uint8_t* Out) noexcept {
  const TDecodeKernel Kernel(Table);
  std::size_t Done = 0;
  static_assert(DecodeAvx2Minimum >= 44);
  // A round writes 32 bytes for its 24: it needs 11 more groups' room ahead of it.
  for (; Count - Done >= 44; Done += 32)
    if (!Kernel.Round(In + Done, Out + Done / 4 * 3))
      break;
  return Done;
}

} // namespace md5b64::internal
