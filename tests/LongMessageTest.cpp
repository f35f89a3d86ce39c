// SPDX-License-Identifier: MIT
// Message lengths and counters near 2^32 and 2^64 bytes, reached by starting the coders from
// such a state instead of feeding gigabytes. Expected digests come from OpenSSL's MD4 and
// MD5 with the bit count of their context set to the same length before the same bytes.
#include "DigestFeeder.h"
#include "Md5LanesTest.h"
#include "TestUtil.h"
#include "coders/DigestMany.h"
#include "coders/IdCoderMessageDigest.h"
#include "coders/IdCoderOld.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace md5b64 {
namespace {

using test::FeedDigest;
using test::PatternBytes;
using test::ToHex;

constexpr std::uint64_t TwoTo32 = std::uint64_t{1} << 32;

// A digest coder that resumes a message of which Length bytes are already compressed.
template <class TBase> class TResumedCoder : public TBase {
public:
  explicit TResumedCoder(std::uint64_t Length) { this->FMessageLength = Length; }
};

struct TLongCase {
  const char* Name;
  std::uint64_t Compressed;  // MessageLength before feeding
  std::size_t Fed;           // bytes of the 251-cycle pattern fed after that
  std::uint64_t Compressed2; // MessageLength after feeding, before finishing
  const char* Md4;
  const char* Md5;
};

const TLongCase LongCases[] = {
    // 2^32 - 1 bytes: the bit length 0x7_FFFF_FFF8 needs the high word, and the 63 held
    // bytes force a second padding block.
    {"just below 2^32", TwoTo32 - 64, 63, TwoTo32 - 64, "ffce4d9b6b1355be9d5fe4f9a7b0a3a8",
     "3d17de091b468762bafe6fab7a21ac06"},
    // A block compressed during feeding carries MessageLength past 2^32.
    {"across 2^32", TwoTo32 - 64, 67, TwoTo32, "103c3eed62c9fc7681fe8cba5f5df8e6",
     "082e2af66160d57602b269d92c86f90f"},
    {"exactly 2^32", TwoTo32, 0, TwoTo32, "964e0c0a4c963cd96f45802a40a251be",
     "fab8ffabd3f026600216a1fdaf873ffb"},
    // The last 64 bytes below 2^64: MessageLength wraps to 0 when that block is compressed,
    // and the bit length is taken modulo 2^64 as the RFCs say.
    {"across 2^64", 0 - std::uint64_t{64}, 67, 0, "501bdb2cf05141cca7ef8b786296c1f4",
     "d0555e4258bde75eea22b58775c73842"},
    {"below 2^64", 0 - std::uint64_t{64}, 56, 0 - std::uint64_t{64},
     "07848e39cd54b5a986e05925e0b261f3", "ec927009669191a004fdb48f9d612113"},
};

TEST(LongMessageTest, BitLengthAndMessageLengthAtTheWordBoundaries) {
  for (const TLongCase& Case : LongCases) {
    SCOPED_TRACE(Case.Name);
    const std::string Input = PatternBytes(Case.Fed);
    TResumedCoder<TIdCoderMD4> Md4(Case.Compressed);
    TResumedCoder<TIdCoderMD5> Md5(Case.Compressed);
    Md4.FeedText(Input);
    Md5.FeedText(Input);
    EXPECT_EQ(Md4.MessageLength(), Case.Compressed2);
    EXPECT_EQ(Md5.MessageLength(), Case.Compressed2);
    EXPECT_EQ(FeedDigest(Md4, ""), Case.Md4);
    EXPECT_EQ(FeedDigest(Md5, ""), Case.Md5);
  }
}

TEST(LongMessageTest, BitLengthIsTakenModulo2To64) {
  // 2^61 + 3 bytes are 2^64 + 24 bits: the length field then reads 24, exactly as for "abc"
  // alone, so with the initial state the digest is that of "abc" (RFC 1320/1321, A.5).
  TResumedCoder<TIdCoderMD4> Md4(std::uint64_t{1} << 61);
  TResumedCoder<TIdCoderMD5> Md5(std::uint64_t{1} << 61);
  EXPECT_EQ(FeedDigest(Md4, "abc"), "a448017aaf21d8525fc10ae87aa6729d");
  EXPECT_EQ(FeedDigest(Md5, "abc"), "900150983cd24fb0d6963f7d28e17f72");
}

// Lanes that resume messages at the lengths above, all in one object so that the lanes with
// a whole block go through the vector path together, on every path this machine has.
class TResumedLanes : public TMD5Lanes {
public:
  using TMD5Lanes::ResumeLane;
  using TMD5Lanes::TMD5Lanes;
};

TEST(LongMessageTest, LanesResumedAtTheWordBoundaries) {
  test::TMd5LanesPathGuard Guard;
  constexpr std::size_t Count = std::size(LongCases);
  for (internal::TMd5LanesPath Path : test::Md5LanePaths()) {
    SCOPED_TRACE(test::Md5LanePathName(Path));
    ASSERT_TRUE(internal::SetMd5LanesPath(Path));
    TResumedLanes Lanes(Count + 1);
    for (std::size_t L = 0; L < Count; ++L) {
      Lanes.ResumeLane(L, LongCases[L].Compressed);
      Lanes.Update(L, PatternBytes(LongCases[L].Fed));
    }
    // As BitLengthIsTakenModulo2To64 below.
    Lanes.ResumeLane(Count, std::uint64_t{1} << 61);
    Lanes.Update(Count, "abc");
    for (std::size_t L = 0; L < Count; ++L) {
      const TDigestBytes Digest = Lanes.Finish(L);
      EXPECT_EQ(ToHex({reinterpret_cast<const char*>(Digest.data()), Digest.size()}),
                LongCases[L].Md5)
          << LongCases[L].Name;
    }
    const TDigestBytes Abc = Lanes.Finish(Count);
    EXPECT_EQ(ToHex({reinterpret_cast<const char*>(Abc.data()), Abc.size()}),
              "900150983cd24fb0d6963f7d28e17f72");
  }
}

// An identity coder whose three counters start where the test puts them.
class TCountingCoder : public TIdCoder {
public:
  TCountingCoder(TCounter64 Start, std::uint32_t Size) {
    FProcessedCount = FInputCount = FOutputCount = Start;
    ApplyChunkSize(static_cast<std::int32_t>(Size));
  }
};

struct TCounterCase {
  const char* Name;
  TCounter64 Start;
  TCounter64 Input;     // 100 bytes fed in one text: one addition
  TCounter64 Processed; // 16 bytes six times, then 4
  TCounter64 Output;    // 18 bytes six times, then 6: each piece with CR LF
};

void ExpectCounter(const TCounter64& Counter, const TCounter64& Expected) {
  EXPECT_EQ(Counter.Low, Expected.Low);
  EXPECT_EQ(Counter.High, Expected.High);
}

TEST(LongMessageTest, CountersCarryIntoTheHighHalfAndWrapToZero) {
  const TCounterCase Cases[] = {
      {"carry", {0xFFFFFFF0U, 0}, {84, 1}, {84, 1}, {98, 1}},
      {"carry below the top",
       {0xFFFFFFF0U, 0xFFFFFFFEU},
       {84, 0xFFFFFFFFU},
       {84, 0xFFFFFFFFU},
       {98, 0xFFFFFFFFU}},
      // An addition that passes 2^64 - 1 makes the counter 0, not the remainder modulo 2^64;
      // later additions count on from there.
      {"wrap", {0xFFFFFFF0U, 0xFFFFFFFFU}, {0, 0}, {84, 0}, {96, 0}},
      {"no carry", {0x7FFFFFFFU, 0}, {0x80000063U, 0}, {0x80000063U, 0}, {0x80000071U, 0}},
  };
  for (const TCounterCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TCountingCoder Coder(Case.Start, 16);
    Coder.SetAppendLineBreak(true);
    Coder.FeedText(PatternBytes(100));
    Coder.FinishInput();
    ExpectCounter(Coder.InputCount(), Case.Input);
    ExpectCounter(Coder.ProcessedCount(), Case.Processed);
    ExpectCounter(Coder.OutputCount(), Case.Output);
  }
}

} // namespace
} // namespace md5b64
