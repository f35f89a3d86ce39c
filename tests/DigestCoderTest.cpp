// SPDX-License-Identifier: MIT
// What every digest coder must do, run over MD2, MD4 and MD5 alike: each vector fed whole,
// in pieces of each step, one byte at a time, split in two at every offset, after a Reset
// and twice on one object; and the coder's behaviour around a message (Reset, AutoFinish,
// the fixed chunk size, the counters, the listed test suite). Expected digests come from the
// RFCs' appendix A.5 and from independent tools named at each table, never from this code.
#include "DigestFeeder.h"
#include "TestUtil.h"
#include "coders/IdCoderMessageDigest.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

using test::FeedDigest;
using test::FreshDigest;
using test::PatternBytes;

struct TVector {
  std::string Input;
  const char* Digest; // lower-case hexadecimal
};

// The inputs of the RFCs' appendix A.5, the same for all three, in their order; each table
// below begins with their digests.
const char* const RfcInputs[] = {
    "",
    "a",
    "abc",
    "message digest",
    "abcdefghijklmnopqrstuvwxyz",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
};
constexpr std::size_t RfcCount = std::size(RfcInputs);

struct TMd2Traits {
  using TCoder = TIdCoderMD2;
  static constexpr bool ListsUpperCase = true;
  // Pieces that end inside, at and past one 16-byte block.
  static std::vector<std::size_t> Steps() { return {1, 15, 16, 17}; }
  static std::vector<TVector> Vectors() {
    return {
        // RFC 1319, appendix A.5.
        {RfcInputs[0], "8350e5a3e24c153df2275c9f80692773"},
        {RfcInputs[1], "32ec01ec4a6dac72c0ab96fb34c0b5d1"},
        {RfcInputs[2], "da853b0d3f88d99b30283a69e6ded6bb"},
        {RfcInputs[3], "ab4f496bfb2a530b219ff33031fe06b0"},
        {RfcInputs[4], "4e8ddff3650292ab5a4108c3aa47940b"},
        {RfcInputs[5], "da33def2a42df13975352846c30338cd"},
        {RfcInputs[6], "d5976f79d83d3a0dc9806c3c66f3efd8"},
        // PyCryptodome (Cryptodome.Hash.MD2). 15 bytes take one pad byte; 16 and 32 a
        // whole pad block.
        {std::string(15, 'a'), "a1379a1027d0d29af98200799b8d5d8e"},
        {std::string(16, 'a'), "b437ae50feb09a37c16b4c605cd642da"},
        {std::string(17, 'a'), "dbf15a5fdfd6f7e9ece27d5e310c58ed"},
        {std::string(32, 'a'), "fc6f34c6b52617387390d85ea9e510be"},
        {PatternBytes(15), "5e8d0d6f6f8e07c226ae9dd32609035a"},
        {PatternBytes(16), "2b1632ff487d6c98aa3773b9d3fcd2ab"},
        {PatternBytes(17), "d3d894482f7541bc0948b19842b479d9"},
        {PatternBytes(32), "51fe5d6637d2f0f09e48ce2a7f5030ea"},
        {PatternBytes(1000), "0ab6798a086a83d73c96af4202545af6"},
    };
  }
  // PyCryptodome.
  static constexpr const char* DigestOfC = "b4c0b67ea493b58d47d74e4487efa9d6";
  static void ExpectStartState(const TIdCoderMD2& Coder) {
    EXPECT_EQ(Coder.Checksum(), TIdCoderMD2::TBlockBytes{});
    EXPECT_EQ(Coder.ChecksumLink(), 0);
    EXPECT_EQ(Coder.DigestValue(), TIdCoderMD2::TBlockBytes{});
    EXPECT_EQ(Coder.WorkArea(), TIdCoderMD2::TWorkArea{});
  }
};

// Letters "a" repeated to the block boundaries: 55 bytes pad within one block, 56 and 63
// need a second block, 64 is one full block plus a pad block.
struct TMd4Traits {
  using TCoder = TIdCoderMD4;
  static constexpr bool ListsUpperCase = true;
  static std::vector<std::size_t> Steps() { return {1, 3, 63, 64, 65}; }
  static std::vector<TVector> Vectors() {
    return {
        // RFC 1320, appendix A.5.
        {RfcInputs[0], "31d6cfe0d16ae931b73c59d7e0c089c0"},
        {RfcInputs[1], "bde52cb31de33e46245e05fbdbd6fb24"},
        {RfcInputs[2], "a448017aaf21d8525fc10ae87aa6729d"},
        {RfcInputs[3], "d9130a8164549fe818874806e1c7014b"},
        {RfcInputs[4], "d79e1c308aa5bbcdeea8ed63df412da9"},
        {RfcInputs[5], "043f8582f241db351ce627e153e7f0e4"},
        {RfcInputs[6], "e33b4ddc9c38f2199c3e7b164fcc0536"},
        // `openssl dgst -md4`.
        {std::string(55, 'a'), "c889c81dd86c4d2e025778944ea02881"},
        {std::string(56, 'a'), "d5f9a9e9257077a5f08b0b92f348b0ad"},
        {std::string(63, 'a'), "7ea3da77432d44c323671097d1348fc8"},
        {std::string(64, 'a'), "52f5076fabd22680234a3fa9f9dc5732"},
        {std::string(120, 'a'), "b03ddbd470b47c013e0c7ab2ddd763db"},
        {PatternBytes(1000), "9146d274cb46d791aefb861959aa5e98"},
    };
  }
  // `openssl dgst -md4`.
  static constexpr const char* DigestOfC = "9a8b795af56c9a4e3d2fc23794edc209";
  static void ExpectStartState(const TIdCoderMD4& Coder) {
    EXPECT_EQ(Coder.ChainState(), InitialChainState);
    EXPECT_EQ(Coder.MessageLength(), 0U);
  }
};

struct TMd5Traits {
  using TCoder = TIdCoderMD5;
  static constexpr bool ListsUpperCase = false;
  static std::vector<std::size_t> Steps() { return TMd4Traits::Steps(); }
  static std::vector<TVector> Vectors() {
    return {
        // RFC 1321, appendix A.5.
        {RfcInputs[0], "d41d8cd98f00b204e9800998ecf8427e"},
        {RfcInputs[1], "0cc175b9c0f1b6a831c399e269772661"},
        {RfcInputs[2], "900150983cd24fb0d6963f7d28e17f72"},
        {RfcInputs[3], "f96b697d7cb7938d525a2f31aaf161d0"},
        {RfcInputs[4], "c3fcd3d76192e4007dfb496cca67e13b"},
        {RfcInputs[5], "d174ab98d277d9f5a5611c2c9f419d9f"},
        {RfcInputs[6], "57edf4a22be3c955ac49da2e2107b67a"},
        // `openssl dgst -md5`, as MD4's.
        {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
        {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
        {std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"},
        {PatternBytes(1000), "a24f1e3ef66950e1327f210e3997ba2c"},
    };
  }
  // Python's hashlib.md5(b"c").
  static constexpr const char* DigestOfC = "4a8a08f09d37b73795649038408b5f33";
  static void ExpectStartState(const TIdCoderMD5& Coder) { TMd4Traits::ExpectStartState(Coder); }
};

template <class TTraits> class DigestCoderTest : public testing::Test {
protected:
  using TCoder = typename TTraits::TCoder;
  const std::vector<TVector> Vectors = TTraits::Vectors();
  const std::string AbcDigest = Vectors[2].Digest;
};

using TDigests = testing::Types<TMd2Traits, TMd4Traits, TMd5Traits>;
TYPED_TEST_SUITE(DigestCoderTest, TDigests);

TYPED_TEST(DigestCoderTest, EachVectorWholeAndInPiecesOfEachStep) {
  for (const TVector& Vector : this->Vectors) {
    SCOPED_TRACE(testing::Message() << Vector.Input.size() << " bytes");
    EXPECT_EQ(FreshDigest<typename TestFixture::TCoder>(Vector.Input), Vector.Digest);
    for (const std::size_t Step : TypeParam::Steps()) {
      SCOPED_TRACE(testing::Message() << "in pieces of " << Step);
      EXPECT_EQ(FreshDigest<typename TestFixture::TCoder>(Vector.Input, Step), Vector.Digest);
    }
  }
}

TYPED_TEST(DigestCoderTest, EachVectorSplitInTwoAtEveryOffset) {
  for (const TVector& Vector : this->Vectors) {
    for (std::size_t Cut = 0; Cut <= Vector.Input.size(); ++Cut) {
      SCOPED_TRACE(testing::Message() << Vector.Input.size() << " bytes cut at " << Cut);
      typename TestFixture::TCoder Coder;
      bool First = true;
      const std::size_t Head = Cut;
      EXPECT_EQ(FeedDigest(Coder, Vector.Input,
                           [&] {
                             const std::size_t Piece = First ? Head : Vector.Input.size();
                             First = false;
                             return Piece;
                           }),
                Vector.Digest);
    }
  }
}

// After Reset, and twice over on one object: nothing of the message before is left.
TYPED_TEST(DigestCoderTest, EachVectorAfterResetOnOneCoder) {
  typename TestFixture::TCoder Coder;
  for (int Pass = 0; Pass < 2; ++Pass)
    for (const TVector& Vector : this->Vectors) {
      SCOPED_TRACE(testing::Message() << "pass " << Pass << ", " << Vector.Input.size());
      Coder.Reset();
      EXPECT_EQ(FeedDigest(Coder, Vector.Input), Vector.Digest);
      Coder.Reset();
      EXPECT_EQ(FeedDigest(Coder, Vector.Input, 1), Vector.Digest);
    }
}

TYPED_TEST(DigestCoderTest, ResetStartsANewMessage) {
  typename TestFixture::TCoder Coder;
  FeedDigest(Coder, "some earlier message");
  Coder.Reset();
  TypeParam::ExpectStartState(Coder);
  EXPECT_FALSE(Coder.Finishing());
  EXPECT_EQ(FeedDigest(Coder, "abc"), this->AbcDigest);

  // Held bytes of an abandoned message do not leak into the next one: "c" alone.
  Coder.Reset();
  Coder.FeedText("ab");
  Coder.Reset();
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_EQ(FeedDigest(Coder, "c"), TypeParam::DigestOfC);

  // Queued entries of the abandoned message are dropped too, and the counters survive.
  Coder.FeedText("xyz");
  Coder.OutputQueue().Add("0;stale");
  const std::uint64_t InputBefore = Coder.InputCount().Value();
  const std::uint64_t OutputBefore = Coder.OutputCount().Value();
  Coder.Reset();
  EXPECT_TRUE(Coder.OutputQueue().IsEmpty());
  EXPECT_FALSE(Coder.Finishing());
  TypeParam::ExpectStartState(Coder);
  EXPECT_EQ(Coder.InputCount().Value(), InputBefore);
  EXPECT_EQ(Coder.OutputCount().Value(), OutputBefore);
  EXPECT_EQ(FeedDigest(Coder, "abc"), this->AbcDigest);
}

TYPED_TEST(DigestCoderTest, AutoFinishDigestsEachFeed) {
  typename TestFixture::TCoder Coder;
  Coder.SetAutoFinish(true);
  EXPECT_EQ(test::ToHex(Coder.FeedText("abc").substr(2)), this->AbcDigest);
  // Without a Reset the next feed goes on from the finished state.
  EXPECT_NE(test::ToHex(Coder.FeedText("abc").substr(2)), this->AbcDigest);
  Coder.Reset();
  EXPECT_EQ(test::ToHex(Coder.FeedText("a").substr(2)), this->Vectors[1].Digest);
}

TYPED_TEST(DigestCoderTest, FinishingAgainWithoutResetIsNoDigestOfNewInput) {
  typename TestFixture::TCoder Coder;
  EXPECT_EQ(FeedDigest(Coder, "abc"), this->AbcDigest);
  EXPECT_NE(FeedDigest(Coder, "abc"), this->AbcDigest);
}

TYPED_TEST(DigestCoderTest, ResizeChunkIsIgnored) {
  typename TestFixture::TCoder Coder;
  const std::uint32_t Block = TestFixture::TCoder::BlockSize;
  for (const std::uint32_t Size : {0U, 1U, 16U, 64U, 4096U, 0x80000000U, 0xFFFFFFFFU}) {
    Coder.ResizeChunk(Size);
    EXPECT_EQ(Coder.ChunkSize(), Block) << Size;
  }
  EXPECT_EQ(FeedDigest(Coder, "abc"), this->AbcDigest);
}

TYPED_TEST(DigestCoderTest, CountersAfterOneDigest) {
  typename TestFixture::TCoder Coder;
  FeedDigest(Coder, std::string(200, 'x'));
  // The digest coders consume their chunks without counting them as processed.
  EXPECT_EQ(Coder.ProcessedCount().Value(), 0U);
  EXPECT_EQ(Coder.InputCount().Value(), 200U);
  EXPECT_EQ(Coder.OutputCount().Value(), 16U);
  EXPECT_TRUE(Coder.Finishing());
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_TRUE(Coder.OutputQueue().IsEmpty());
}

// The listed suite is the RFC's, and each listed digest is what the coder computes.
TYPED_TEST(DigestCoderTest, ListTestVectorsMatchTheComputedDigests) {
  TStringList Lines;
  typename TestFixture::TCoder().ListTestVectors(Lines);
  ASSERT_EQ(Lines.Count(), 2 * RfcCount);
  for (std::size_t Row = 0; Row < RfcCount; ++Row) {
    const std::string& Input = Lines.Strings(2 * Row);
    SCOPED_TRACE(Input);
    EXPECT_EQ(Input, RfcInputs[Row]);
    std::string Listed = FreshDigest<typename TestFixture::TCoder>(Input);
    if (TypeParam::ListsUpperCase)
      for (char& C : Listed)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    EXPECT_EQ(Lines.Strings(2 * Row + 1), "  " + Listed);
  }
}

} // namespace
} // namespace md5b64
