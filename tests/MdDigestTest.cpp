// MD4 (RFC 1320) and MD5 (RFC 1321) coders. Expected digests are those of the RFCs'
// appendix A.5 and of an independent tool (OpenSSL), never of this code.
#include "TestUtil.h"
#include "coders/IdCoderMessageDigest.h"
#include "platform/IdGlobal.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

using test::ToHex;

// Feeds Input in pieces of Step bytes (all at once for 0) and returns the digest in hex,
// after checking that FinishInput returned "0;" and exactly 16 bytes.
template <class TCoder>
std::string DigestOf(TCoder& Coder, const std::string& Input, std::size_t Step = 0) {
  if (Step == 0) {
    EXPECT_EQ(Coder.FeedText(Input), "");
  } else {
    for (std::size_t At = 0; At < Input.size(); At += Step)
      EXPECT_EQ(Coder.FeedText(std::string_view(Input).substr(At, Step)), "");
  }
  const std::string Output = Coder.FinishInput();
  EXPECT_EQ(Output.size(), 18U);
  EXPECT_EQ(Output.substr(0, 2), "0;");
  return ToHex(Output.substr(2));
}

template <class TCoder> std::string FreshDigest(const std::string& Input, std::size_t Step = 0) {
  TCoder Coder;
  return DigestOf(Coder, Input, Step);
}

struct TDigestCase {
  std::string Input;
  const char* Md4;
  const char* Md5;
};

// Letters "a" repeated to the block boundaries: 55 bytes pad within one block, 56 and 63
// need a second block, 64 is one full block plus a pad block.
std::vector<TDigestCase> BoundaryCases() {
  return {
      {std::string(55, 'a'), "c889c81dd86c4d2e025778944ea02881",
       "ef1772b6dff9a122358552954ad0df65"},
      {std::string(56, 'a'), "d5f9a9e9257077a5f08b0b92f348b0ad",
       "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(63, 'a'), "7ea3da77432d44c323671097d1348fc8",
       "b06521f39153d618550606be297466d5"},
      {std::string(64, 'a'), "52f5076fabd22680234a3fa9f9dc5732",
       "014842d480b571495a4a0363793f7367"},
      {std::string(120, 'a'), "b03ddbd470b47c013e0c7ab2ddd763db",
       "5f61c0ccad4cac44c75ff505e1f1e537"},
      // 1000 bytes of the 251-cycle pattern, checked with `openssl dgst -md4/-md5`.
      {test::PatternBytes(1000), "9146d274cb46d791aefb861959aa5e98",
       "a24f1e3ef66950e1327f210e3997ba2c"},
  };
}

TEST(MdDigestTest, ListTestVectorsMatchTheComputedDigests) {
  TStringList Md4Lines, Md5Lines;
  Md4Lines.Add("kept");
  TIdCoderMD4().ListTestVectors(Md4Lines);
  TIdCoderMD5().ListTestVectors(Md5Lines);
  ASSERT_EQ(Md4Lines.Count(), 15U);
  ASSERT_EQ(Md5Lines.Count(), 14U);
  EXPECT_EQ(Md4Lines.Strings(0), "kept");
  EXPECT_EQ(Md4Lines.Strings(13),
            "12345678901234567890123456789012345678901234567890123456789012345678901234567890");
  EXPECT_EQ(Md4Lines.Strings(14), "  E33B4DDC9C38F2199C3E7B164FCC0536");
  EXPECT_EQ(Md5Lines.Strings(1), "  d41d8cd98f00b204e9800998ecf8427e");
  for (std::size_t I = 0; I < 14; I += 2) {
    std::string Md4Expected = Md4Lines.Strings(I + 2).substr(2);
    for (char& C : Md4Expected)
      C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    EXPECT_EQ("  " + FreshDigest<TIdCoderMD4>(Md4Lines.Strings(I + 1)), "  " + Md4Expected);
    EXPECT_EQ("  " + FreshDigest<TIdCoderMD5>(Md5Lines.Strings(I)), Md5Lines.Strings(I + 1));
  }
}

TEST(MdDigestTest, BlockBoundariesAndLongerMessages) {
  for (const TDigestCase& Case : BoundaryCases()) {
    SCOPED_TRACE(Case.Input.size());
    EXPECT_EQ(FreshDigest<TIdCoderMD4>(Case.Input), Case.Md4);
    EXPECT_EQ(FreshDigest<TIdCoderMD5>(Case.Input), Case.Md5);
  }
}

TEST(MdDigestTest, DigestDoesNotDependOnHowInputIsSplit) {
  for (const TDigestCase& Case : BoundaryCases()) {
    for (const std::size_t Step : {1, 3, 63, 64, 65}) {
      SCOPED_TRACE(testing::Message() << Case.Input.size() << " bytes in pieces of " << Step);
      EXPECT_EQ(FreshDigest<TIdCoderMD4>(Case.Input, Step), Case.Md4);
      EXPECT_EQ(FreshDigest<TIdCoderMD5>(Case.Input, Step), Case.Md5);
    }
  }
}

TEST(MdDigestTest, ConstructorSettings) {
  TIdCoderMD5 Coder;
  EXPECT_EQ(Coder.ChunkSize(), 64U);
  EXPECT_EQ(Coder.Chunk().size(), 4096U);
  EXPECT_FALSE(Coder.AppendLineBreak());
  EXPECT_EQ(Coder.ChainState(), InitialChainState);
  EXPECT_EQ(Coder.MessageLength(), 0U);
}

TEST(MdDigestTest, SharedConstants) {
  // RFC 1321, section 3.4: T[i] = floor(2^32 * |sin(i)|), computed here independently.
  for (int I = 1; I <= 64; ++I) {
    const auto Expected = static_cast<std::uint32_t>(
        std::floor(4294967296.0L * std::fabs(std::sin(static_cast<long double>(I)))));
    EXPECT_EQ(Md5SineTable[static_cast<std::size_t>(I - 1)], Expected) << "entry " << I;
  }
  // The initial state, least significant byte first, reads 01 23 45 ... 10.
  std::string Bytes;
  for (const std::uint32_t Word : InitialChainState)
    for (int Shift = 0; Shift < 32; Shift += 8)
      Bytes.push_back(static_cast<char>(Word >> Shift));
  EXPECT_EQ(ToHex(Bytes), "0123456789abcdeffedcba9876543210");
}

TEST(MdDigestTest, RoundFunctionsFollowTheirFormulas) {
  TIdCoderMD4 Md4;
  TIdCoderMD5 Md5;
  const std::uint32_t Words[] = {0, 0xFFFFFFFF, 0x12345678, 0x9ABCDEF0, 0x0F0F0F0F};
  for (const std::uint32_t X : Words)
    for (const std::uint32_t Y : Words)
      for (const std::uint32_t Z : Words) {
        EXPECT_EQ(Md4.RoundF(X, Y, Z), (X & Y) | (~X & Z));
        EXPECT_EQ(Md4.RoundG(X, Y, Z), (X & Y) | (X & Z) | (Y & Z));
        EXPECT_EQ(Md4.RoundH(X, Y, Z), X ^ Y ^ Z);
        EXPECT_EQ(Md5.RoundF(X, Y, Z), Md4.RoundF(X, Y, Z));
        EXPECT_EQ(Md5.RoundG(X, Y, Z), (X & Z) | (Y & ~Z));
        EXPECT_EQ(Md5.RoundH(X, Y, Z), X ^ Y ^ Z);
        EXPECT_EQ(Md5.RoundI(X, Y, Z), Y ^ (X | ~Z));
      }
}

TEST(MdDigestTest, AutoFinishDigestsEachFeed) {
  TIdCoderMD5 Coder;
  Coder.SetAutoFinish(true);
  EXPECT_EQ(ToHex(Coder.FeedText("abc").substr(2)), "900150983cd24fb0d6963f7d28e17f72");
  TIdCoderMD4 Md4;
  Md4.SetAutoFinish(true);
  EXPECT_EQ(ToHex(Md4.FeedText("abc").substr(2)), "a448017aaf21d8525fc10ae87aa6729d");
}

TEST(MdDigestTest, ResetStartsANewMessage) {
  TIdCoderMD5 Coder;
  DigestOf(Coder, "some earlier message");
  Coder.Reset();
  EXPECT_EQ(DigestOf(Coder, "abc"), "900150983cd24fb0d6963f7d28e17f72");

  // Held bytes of an abandoned message do not leak into the next one.
  Coder.Reset();
  Coder.FeedText("ab");
  Coder.Reset();
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_EQ(DigestOf(Coder, "c"), "4a8a08f09d37b73795649038408b5f33"); // MD5 of "c" alone

  // Queued entries of the abandoned message are dropped too, and the counters survive.
  TIdCoderMD4 Md4;
  Md4.FeedText("xyz");
  Md4.OutputQueue().Add("0;stale");
  const std::uint64_t InputBefore = Md4.InputCount().Value();
  Md4.Reset();
  EXPECT_TRUE(Md4.OutputQueue().IsEmpty());
  EXPECT_FALSE(Md4.Finishing());
  EXPECT_EQ(Md4.MessageLength(), 0U);
  EXPECT_EQ(Md4.InputCount().Value(), InputBefore);
  EXPECT_EQ(DigestOf(Md4, "abc"), "a448017aaf21d8525fc10ae87aa6729d");
}

TEST(MdDigestTest, ResizeChunkIsIgnored) {
  TIdCoderMD5 Coder;
  for (const std::uint32_t Size : {0U, 1U, 16U, 4096U, 0x80000000U, 0xFFFFFFFFU}) {
    Coder.ResizeChunk(Size);
    EXPECT_EQ(Coder.ChunkSize(), 64U);
  }
  EXPECT_EQ(DigestOf(Coder, "abc"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(MdDigestTest, CountersAfterOneDigest) {
  TIdCoderMD5 Coder;
  DigestOf(Coder, std::string(200, 'x'));
  EXPECT_EQ(Coder.ProcessedCount().Value(), 0U);
  EXPECT_EQ(Coder.InputCount().Value(), 200U);
  EXPECT_EQ(Coder.OutputCount().Value(), 16U);
  EXPECT_TRUE(Coder.Finishing());
  EXPECT_EQ(Coder.ChunkFill(), 0U);
}

// A replaced round function must reach every step that uses it, in both compressions.
class TMd4WithOwnF : public TIdCoderMD4 {
public:
  std::uint32_t RoundF(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const override {
    ++Calls;
    return TIdCoderMD4::RoundF(X, Y, Z) ^ 1U;
  }
  mutable int Calls = 0;
};

class TMd5WithOwnF : public TIdCoderMD5 {
public:
  std::uint32_t RoundF(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const override {
    ++Calls;
    return TIdCoderMD5::RoundF(X, Y, Z) ^ 1U;
  }
  mutable int Calls = 0;
};

// A derived class that replaces nothing takes the virtual path and must agree with the
// exact class's inlined one.
class TPlainMd5 : public TIdCoderMD5 {};
class TPlainMd4 : public TIdCoderMD4 {};

TEST(MdDigestTest, DerivedClassReplacingARoundFunctionChangesTheDigest) {
  TMd4WithOwnF Md4;
  EXPECT_NE(DigestOf(Md4, "abc"), "a448017aaf21d8525fc10ae87aa6729d");
  EXPECT_EQ(Md4.Calls, 16);
  TMd5WithOwnF Md5;
  EXPECT_NE(DigestOf(Md5, "abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5.Calls, 16);
}

TEST(MdDigestTest, VirtualPathAgreesWithInlinedPath) {
  for (std::size_t Size = 0; Size < 300; Size += 7) {
    const std::string Input = test::PatternBytes(Size);
    EXPECT_EQ(FreshDigest<TPlainMd5>(Input), FreshDigest<TIdCoderMD5>(Input)) << Size;
    EXPECT_EQ(FreshDigest<TPlainMd4>(Input), FreshDigest<TIdCoderMD4>(Input)) << Size;
  }
}

TEST(MdDigestTest, FinishingAgainWithoutResetIsNoDigestOfNewInput) {
  TIdCoderMD5 Coder;
  DigestOf(Coder, "abc");
  EXPECT_NE(DigestOf(Coder, "abc"), "900150983cd24fb0d6963f7d28e17f72");
}

} // namespace
} // namespace md5b64
