// SPDX-License-Identifier: MIT
// What only the MD4 (RFC 1320) and MD5 (RFC 1321) coders have: their constants, round
// functions, state and the derived classes that replace a round function. The digests of
// all three coders are checked in DigestCoderTest. Expected values are the RFCs' or
// computed here from the RFC's formula, never taken from this code.
#include "DigestFeeder.h"
#include "TestUtil.h"
#include "coders/IdCoderMessageDigest.h"
#include "platform/IdGlobal.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace md5b64 {
namespace {

using test::FeedDigest;
using test::FreshDigest;
using test::ToHex;

// Where each line lands; DigestCoderTest checks every listed digest against the coders.
TEST(MdDigestTest, ListTestVectorsAppendInputAndDigestLines) {
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
  EXPECT_NE(FeedDigest(Md4, "abc"), "a448017aaf21d8525fc10ae87aa6729d");
  EXPECT_EQ(Md4.Calls, 16);
  TMd5WithOwnF Md5;
  EXPECT_NE(FeedDigest(Md5, "abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5.Calls, 16);
}

TEST(MdDigestTest, VirtualPathAgreesWithInlinedPath) {
  for (std::size_t Size = 0; Size < 300; Size += 7) {
    const std::string Input = test::PatternBytes(Size);
    EXPECT_EQ(FreshDigest<TPlainMd5>(Input), FreshDigest<TIdCoderMD5>(Input)) << Size;
    EXPECT_EQ(FreshDigest<TPlainMd4>(Input), FreshDigest<TIdCoderMD4>(Input)) << Size;
  }
}

} // namespace
} // namespace md5b64
