#include "coders/internal/Base64Blocks.h"

#include <cstdint>
#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define MD5B64_BASE64_X86 1
#include <immintrin.h>
// glibc's feature checks are declared with C's _Bool, which g++ takes in C++ and clang++ does
// not; clang uses its own check.
#if defined(__GLIBC__) && !defined(__clang__) && __has_include(<sys/platform/x86.h>)
#define MD5B64_GLIBC_CPU_FEATURES 1
#include <sys/platform/x86.h>
#else
#define MD5B64_GLIBC_CPU_FEATURES 0
#endif
#else
#define MD5B64_BASE64_X86 0
#endif

namespace md5b64::internal {

void EncodeGroupsPortable(const char* Table, const unsigned char* In, std::size_t Count,
                          char* Out) noexcept {
  for (std::size_t Groups = Count / 3; Groups > 0; --Groups, In += 3, Out += 4) {
    const std::uint32_t Bits = (static_cast<std::uint32_t>(In[0]) << 16) |
                               (static_cast<std::uint32_t>(In[1]) << 8) | In[2];
    Out[0] = Table[Bits >> 18];
    Out[1] = Table[(Bits >> 12) & 63U];
    Out[2] = Table[(Bits >> 6) & 63U];
    Out[3] = Table[Bits & 63U];
  }
}

std::size_t DecodeGroupsPortable(const std::uint8_t* Table, const char* In, std::size_t Count,
                                 std::uint8_t* Out) noexcept {
  std::size_t Done = 0;
  for (; Count - Done >= 4; Done += 4, Out += 3) {
    const auto* Group = reinterpret_cast<const unsigned char*>(In + Done);
    // Only the codes 1 to 127 have entries; 0 wraps round to the top.
    if (Group[0] - 1U >= 127U || Group[1] - 1U >= 127U || Group[2] - 1U >= 127U ||
        Group[3] - 1U >= 127U)
      break;
    const std::uint32_t V0 = Table[Group[0] - 1U], V1 = Table[Group[1] - 1U],
                        V2 = Table[Group[2] - 1U], V3 = Table[Group[3] - 1U];
    if ((V0 | V1 | V2 | V3) >= 64U)
      break;
    const std::uint32_t Bits = (V0 << 18) | (V1 << 12) | (V2 << 6) | V3;
    Out[0] = static_cast<std::uint8_t>(Bits >> 16);
    Out[1] = static_cast<std::uint8_t>(Bits >> 8);
    Out[2] = static_cast<std::uint8_t>(Bits);
  }
  return Done;
}

#if MD5B64_BASE64_X86

namespace {
// The same vector code serves 16 and 32 bytes at a time.
template <int Width> struct TLanes;

template <> struct TLanes<16> {
  using V = __m128i;
  __attribute__((target("avx2"))) static __m128i Shuffle(__m128i T, __m128i I) noexcept {
    return _mm_shuffle_epi8(T, I);
  }
  __attribute__((target("avx2"))) static __m128i Splat8(char V) noexcept {
    return _mm_set1_epi8(V);
  }
  __attribute__((target("avx2"))) static __m128i Splat32(int V) noexcept {
    return _mm_set1_epi32(V);
  }
  __attribute__((target("avx2"))) static __m128i And(__m128i A, __m128i B) noexcept {
    return _mm_and_si128(A, B);
  }
  __attribute__((target("avx2"))) static __m128i Or(__m128i A, __m128i B) noexcept {
    return _mm_or_si128(A, B);
  }
  __attribute__((target("avx2"))) static __m128i Xor(__m128i A, __m128i B) noexcept {
    return _mm_xor_si128(A, B);
  }
  __attribute__((target("avx2"))) static __m128i AddSaturated(__m128i A, __m128i B) noexcept {
    return _mm_adds_epu8(A, B);
  }
  __attribute__((target("avx2"))) static __m128i MulHigh16(__m128i A, __m128i B) noexcept {
    return _mm_mulhi_epu16(A, B);
  }
  __attribute__((target("avx2"))) static __m128i MulLow16(__m128i A, __m128i B) noexcept {
    return _mm_mullo_epi16(A, B);
  }
  __attribute__((target("avx2"))) static __m128i Quarter(const char* Table) noexcept {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(Table));
  }
  // Four groups from the first 12 of 16 bytes.
  __attribute__((target("avx2"))) static __m128i Load(const unsigned char* In) noexcept {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(In));
  }
  __attribute__((target("avx2"))) static void Store(char* Out, __m128i V) noexcept {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out), V);
  }
};

template <> struct TLanes<32> {
  using V = __m256i;
  __attribute__((target("avx2"))) static __m256i Shuffle(__m256i T, __m256i I) noexcept {
    return _mm256_shuffle_epi8(T, I);
  }
  __attribute__((target("avx2"))) static __m256i Splat8(char V) noexcept {
    return _mm256_set1_epi8(V);
  }
  __attribute__((target("avx2"))) static __m256i Splat32(int V) noexcept {
    return _mm256_set1_epi32(V);
  }
  __attribute__((target("avx2"))) static __m256i And(__m256i A, __m256i B) noexcept {
    return _mm256_and_si256(A, B);
  }
  __attribute__((target("avx2"))) static __m256i Or(__m256i A, __m256i B) noexcept {
    return _mm256_or_si256(A, B);
  }
  __attribute__((target("avx2"))) static __m256i Xor(__m256i A, __m256i B) noexcept {
    return _mm256_xor_si256(A, B);
  }
  __attribute__((target("avx2"))) static __m256i AddSaturated(__m256i A, __m256i B) noexcept {
    return _mm256_adds_epu8(A, B);
  }
  __attribute__((target("avx2"))) static __m256i MulHigh16(__m256i A, __m256i B) noexcept {
    return _mm256_mulhi_epu16(A, B);
  }
  __attribute__((target("avx2"))) static __m256i MulLow16(__m256i A, __m256i B) noexcept {
    return _mm256_mullo_epi16(A, B);
  }
  // A shuffle stays within its 16-byte half, so each half gets the whole quarter.
  __attribute__((target("avx2"))) static __m256i Quarter(const char* Table) noexcept {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Table)));
  }
  // Eight groups: twelve bytes into each half, from two loads of 16 bytes.
  __attribute__((target("avx2"))) static __m256i Load(const unsigned char* In) noexcept {
    return _mm256_setr_m128i(_mm_loadu_si128(reinterpret_cast<const __m128i*>(In)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(In + 12)));
  }
  __attribute__((target("avx2"))) static void Store(char* Out, __m256i V) noexcept {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Out), V);
  }
};

template <int Width> struct TEncodeKernel {
  using L = TLanes<Width>;
  using TVector = typename L::V;
  static constexpr std::size_t GroupsPerRound = Width / 4;
  // The last load of a round starts 12 bytes before the round's end and reads 16.
  static constexpr std::size_t BytesRead = 3 * GroupsPerRound + 4;

  TVector Quarters[4];

  __attribute__((target("avx2"))) explicit TEncodeKernel(const char* Table) noexcept {
    for (int Q = 0; Q < 4; ++Q)
      Quarters[Q] = L::Quarter(Table + 16 * Q);
  }

  // Each 32-bit lane gets the bytes b1 b0 b2 b1 of its group of three, so that every 6-bit
  // value lies within one 16-bit half, where a multiplication moves it into place.
  __attribute__((target("avx2"))) static TVector SixBitValues(TVector Bytes) noexcept {
    const TVector Spread = L::Shuffle(Bytes, SpreadMask());
    const TVector High =
        L::MulHigh16(L::And(Spread, L::Splat32(0x0FC0FC00)), L::Splat32(0x04000040));
    const TVector Low = L::MulLow16(L::And(Spread, L::Splat32(0x003F03F0)), L::Splat32(0x01000010));
    return L::Or(High, Low);
  }

  static TVector SpreadMask() noexcept;

  // Table[v] for values below 64. A byte shuffle looks up 16 entries: each quarter of the
  // table answers for the values that fall in it, and the others are made to miss (a
  // shuffle index with its top bit set gives 0).
  __attribute__((target("avx2"))) TVector LookUp(TVector Values) const noexcept {
    const TVector Miss = L::Splat8(0x70);
    TVector Result = L::Shuffle(Quarters[0], L::AddSaturated(Values, Miss));
    for (int Q = 1; Q < 4; ++Q) {
      const TVector Index =
          L::AddSaturated(L::Xor(Values, L::Splat8(static_cast<char>(16 * Q))), Miss);
      Result = L::Or(Result, L::Shuffle(Quarters[Q], Index));
    }
    return Result;
  }

  __attribute__((target("avx2"))) void Round(const unsigned char* In, char* Out) const noexcept {
    L::Store(Out, LookUp(SixBitValues(L::Load(In))));
  }
};

template <> __attribute__((target("avx2"))) __m128i TEncodeKernel<16>::SpreadMask() noexcept {
  return _mm_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10);
}

template <> __attribute__((target("avx2"))) __m256i TEncodeKernel<32>::SpreadMask() noexcept {
  return _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10, //
                          1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10);
}

// Returns the number of bytes done, a multiple of 12.
__attribute__((target("avx2"))) std::size_t EncodeAvx2(const char* Table, const unsigned char* In,
                                                       std::size_t Count, char* Out) noexcept {
  std::size_t Done = 0;
  // A short input never reaches a wide round: its table pieces are not loaded.
  if (Count >= TEncodeKernel<32>::BytesRead) {
    const TEncodeKernel<32> Wide(Table);
    for (; Count - Done >= Wide.BytesRead; Done += 24)
      Wide.Round(In + Done, Out + Done / 3 * 4);
  }
  const TEncodeKernel<16> Narrow(Table);
  for (; Count - Done >= Narrow.BytesRead; Done += 12)
    Narrow.Round(In + Done, Out + Done / 3 * 4);
  return Done;
}

// The reverse table as eight pieces of 16 entries by code, each in both halves: piece k
// holds the codes 16k to 16k + 15. Code 0 has no entry, and entries of 64 or more are no
// 6-bit values: both get their top bit set, which marks a character for the checked path.
struct TDecodeKernel {
  __m256i Pieces[8];

  __attribute__((target("avx2"))) explicit TDecodeKernel(const std::uint8_t* Table) noexcept {
    const __m128i Top = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i Largest = _mm_set1_epi8(63);
    for (int K = 0; K < 8; ++K) {
      __m128i Piece;
      if (K == 0)
        Piece = _mm_or_si128(
            _mm_slli_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Table)), 1),
            _mm_cvtsi32_si128(0x80));
      else
        Piece = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Table + 16 * K - 1));
      const __m128i Sixes = _mm_cmpeq_epi8(_mm_min_epu8(Piece, Largest), Piece);
      Piece = _mm_or_si128(Piece, _mm_andnot_si128(Sixes, Top));
      Pieces[K] = _mm256_broadcastsi128_si256(Piece);
    }
  }

  // As the encoder's look-up: piece k answers for the codes whose upper half is k, the
  // others are made to miss. A code above 127 misses every piece and gives 0; its own top
  // bit marks it.
  __attribute__((target("avx2"))) __m256i LookUp(__m256i Codes) const noexcept {
    const __m256i Miss = _mm256_set1_epi8(0x70);
    __m256i Result = _mm256_shuffle_epi8(Pieces[0], _mm256_adds_epu8(Codes, Miss));
    for (int K = 1; K < 8; ++K) {
      const __m256i Index = _mm256_adds_epu8(
          _mm256_xor_si256(Codes, _mm256_set1_epi8(static_cast<char>(16 * K))), Miss);
      Result = _mm256_or_si256(Result, _mm256_shuffle_epi8(Pieces[K], Index));
    }
    return Result;
  }

  // 32 characters to 24 bytes at Out; 32 bytes are written. False, with nothing written,
  // when a character is not for this path.
  __attribute__((target("avx2"))) bool Round(const char* In, std::uint8_t* Out) const noexcept {
    const __m256i Codes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(In));
    const __m256i Values = LookUp(Codes);
    if (_mm256_movemask_epi8(_mm256_or_si256(Codes, Values)) != 0)
      return false;
    // Pairs of values into 12 bits, pairs of those into the 24 bits of a group; then the
    // three bytes of each group, most significant first, packed together.
    const __m256i Twelve = _mm256_maddubs_epi16(Values, _mm256_set1_epi32(0x01400140));
    const __m256i Groups = _mm256_madd_epi16(Twelve, _mm256_set1_epi32(0x00011000));
    const __m256i Bytes = _mm256_shuffle_epi8(
        Groups, _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, //
                                 2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1));
    const __m256i Packed =
        _mm256_permutevar8x32_epi32(Bytes, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Out), Packed);
    return true;
  }
};

// Returns the number of characters done, a multiple of 32.
__attribute__((target("avx2"))) std::size_t DecodeAvx2(const std::uint8_t* Table, const char* In,
                                                       std::size_t Count,
                                                       std::uint8_t* Out) noexcept {
  const TDecodeKernel Kernel(Table);
  std::size_t Done = 0;
  // A round writes 32 bytes for its 24: it needs 11 more groups' room ahead of it.
  for (; Count - Done >= 44; Done += 32)
    if (!Kernel.Round(In + Done, Out + Done / 4 * 3))
      break;
  return Done;
}

#if MD5B64_GLIBC_CPU_FEATURES
// The C library has asked the processor at start-up already. The compiler's own check would
// link a start-up step that asks again, a dozen CPUID instructions, each of which a virtual
// machine answers slowly: about a tenth of a whole run of the program.
bool HasAvx2() noexcept {
  return CPU_FEATURE_ACTIVE(AVX2);
}
#else
bool HasAvx2() noexcept {
  static const bool Has = __builtin_cpu_supports("avx2");
  return Has;
}
#endif

} // namespace

#endif

void EncodeGroups(const char* Table, const unsigned char* In, std::size_t Count,
                  char* Out) noexcept {
#if MD5B64_BASE64_X86
  if (Count >= 16 && HasAvx2()) {
    const std::size_t Done = EncodeAvx2(Table, In, Count, Out);
    In += Done;
    Out += Done / 3 * 4;
    Count -= Done;
  }
#endif
  EncodeGroupsPortable(Table, In, Count, Out);
}

std::size_t DecodeGroups(const std::uint8_t* Table, const char* In, std::size_t Count,
                         std::uint8_t* Out) noexcept {
  std::size_t Done = 0;
#if MD5B64_BASE64_X86
  // Below this the eight table pieces cost more than they save.
  if (Count >= 64 && HasAvx2())
    Done = DecodeAvx2(Table, In, Count, Out);
#endif
  // The rest, or from the round that held something else: group by group up to it.
  return Done + DecodeGroupsPortable(Table, In + Done, Count - Done, Out + Done / 4 * 3);
}

} // namespace md5b64::internal
