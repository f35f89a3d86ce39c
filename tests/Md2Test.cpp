// MD2 coder (RFC 1319). Expected digests come from the RFC's appendix A.5 and, for the
// other inputs, from an independent tool: PyCryptodome's MD2 (Cryptodome.Hash.MD2), which
// agreed on every row with a separate small Python reference written from the RFC's
// reference code.
#include "TestUtil.h"
#include "coders/IdCoderMessageDigest.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

using test::ToHex;

// Feeds Input in pieces of Step bytes (all at once for 0), checking that feeding returns
// nothing, and returns the digest in hex after checking that FinishInput returned "0;"
// and exactly 16 bytes.
std::string DigestOf(TIdCoderMD2& Coder, const std::string& Input, std::size_t Step = 0) {
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

std::string FreshDigest(const std::string& Input, std::size_t Step = 0) {
  TIdCoderMD2 Coder;
  return DigestOf(Coder, Input, Step);
}

struct TMd2Case {
  std::string Input;
  const char* Digest;
};

std::vector<TMd2Case> Md2Cases() {
  return {
      // RFC 1319, appendix A.5.
      {"", "8350e5a3e24c153df2275c9f80692773"},
      {"a", "32ec01ec4a6dac72c0ab96fb34c0b5d1"},
      {"abc", "da853b0d3f88d99b30283a69e6ded6bb"},
      {"message digest", "ab4f496bfb2a530b219ff33031fe06b0"},
      {"abcdefghijklmnopqrstuvwxyz", "4e8ddff3650292ab5a4108c3aa47940b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "da33def2a42df13975352846c30338cd"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "d5976f79d83d3a0dc9806c3c66f3efd8"},
      // PyCryptodome. 15 bytes take one pad byte; 16 and 32 a whole pad block.
      {std::string(15, 'a'), "a1379a1027d0d29af98200799b8d5d8e"},
      {std::string(16, 'a'), "b437ae50feb09a37c16b4c605cd642da"},
      {std::string(17, 'a'), "dbf15a5fdfd6f7e9ece27d5e310c58ed"},
      {std::string(32, 'a'), "fc6f34c6b52617387390d85ea9e510be"},
      {test::PatternBytes(15), "5e8d0d6f6f8e07c226ae9dd32609035a"},
      {test::PatternBytes(16), "2b1632ff487d6c98aa3773b9d3fcd2ab"},
      {test::PatternBytes(17), "d3d894482f7541bc0948b19842b479d9"},
      {test::PatternBytes(32), "51fe5d6637d2f0f09e48ce2a7f5030ea"},
      {test::PatternBytes(1000), "0ab6798a086a83d73c96af4202545af6"},
  };
}

TEST(Md2Test, DigestsOfKnownInputs) {
  for (const TMd2Case& Case : Md2Cases()) {
    SCOPED_TRACE(testing::Message() << Case.Input.size() << " bytes");
    EXPECT_EQ(FreshDigest(Case.Input), Case.Digest);
  }
}

TEST(Md2Test, DigestDoesNotDependOnHowInputIsSplit) {
  for (const TMd2Case& Case : Md2Cases()) {
    for (const std::size_t Step : {1, 15, 16, 17}) {
      SCOPED_TRACE(testing::Message() << Case.Input.size() << " bytes in pieces of " << Step);
      EXPECT_EQ(FreshDigest(Case.Input, Step), Case.Digest);
    }
  }
}

TEST(Md2Test, ListTestVectorsMatchTheComputedDigests) {
  TStringList Lines;
  Lines.Add("kept");
  TIdCoderMD2().ListTestVectors(Lines);
  ASSERT_EQ(Lines.Count(), 15U);
  EXPECT_EQ(Lines.Strings(0), "kept");
  EXPECT_EQ(Lines.Strings(1), "");
  EXPECT_EQ(Lines.Strings(2), "  8350E5A3E24C153DF2275C9F80692773");
  EXPECT_EQ(Lines.Strings(14), "  D5976F79D83D3A0DC9806C3C66F3EFD8");
  const std::vector<TMd2Case> Rfc = Md2Cases();
  for (std::size_t Row = 0; Row < 7; ++Row) {
    const std::string& Input = Lines.Strings(1 + 2 * Row);
    const std::string& Expected = Lines.Strings(2 + 2 * Row);
    SCOPED_TRACE(Input);
    EXPECT_EQ(Input, Rfc[Row].Input);
    std::string Upper = FreshDigest(Input);
    std::transform(Upper.begin(), Upper.end(), Upper.begin(),
                   [](char C) { return static_cast<char>(std::toupper(C)); });
    EXPECT_EQ(Expected, "  " + Upper);
  }
}

TEST(Md2Test, PiSubstitutionIsAPermutationWithTheRfcsEnds) {
  EXPECT_EQ(PiSubstitution[0], 41);
  EXPECT_EQ(PiSubstitution[1], 46);
  EXPECT_EQ(PiSubstitution[2], 67);
  EXPECT_EQ(PiSubstitution[3], 201);
  EXPECT_EQ(PiSubstitution[254], 131);
  EXPECT_EQ(PiSubstitution[255], 20);
  std::array<bool, 256> Seen{};
  for (const std::uint8_t Value : PiSubstitution) {
    EXPECT_FALSE(Seen[Value]) << "value " << int{Value} << " twice";
    Seen[Value] = true;
  }
}

TEST(Md2Test, NewCoderState) {
  TIdCoderMD2 Coder;
  EXPECT_EQ(Coder.ChunkSize(), 16U);
  EXPECT_EQ(Coder.Chunk().size(), 4096U);
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_FALSE(Coder.AppendLineBreak());
  EXPECT_FALSE(Coder.Finishing());
  EXPECT_EQ(Coder.Checksum(), TIdCoderMD2::TBlockBytes{});
  EXPECT_EQ(Coder.ChecksumLink(), 0);
  EXPECT_EQ(Coder.DigestValue(), TIdCoderMD2::TBlockBytes{});
  EXPECT_EQ(Coder.WorkArea(), TIdCoderMD2::TWorkArea{});
}

TEST(Md2Test, StateAfterADigest) {
  TIdCoderMD2 Coder;
  EXPECT_EQ(DigestOf(Coder, std::string(40, 'x')),
            "ff4da08f75738011d042e6b94c182498"); // PyCryptodome
  // The digest is read from DigestValue, the copy of the work area's first 16 bytes.
  EXPECT_EQ(ToHex(std::string(Coder.DigestValue().begin(), Coder.DigestValue().end())),
            "ff4da08f75738011d042e6b94c182498");
  EXPECT_TRUE(
      std::equal(Coder.DigestValue().begin(), Coder.DigestValue().end(), Coder.WorkArea().begin()));
  EXPECT_TRUE(Coder.Finishing());
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_EQ(Coder.ProcessedCount().Value(), 0U);
  EXPECT_EQ(Coder.InputCount().Value(), 40U);
  EXPECT_EQ(Coder.OutputCount().Value(), 16U);
  EXPECT_TRUE(Coder.OutputQueue().IsEmpty());
}

TEST(Md2Test, ResetStartsANewMessage) {
  TIdCoderMD2 Coder;
  DigestOf(Coder, "some earlier message");
  Coder.Reset();
  EXPECT_EQ(Coder.Checksum(), TIdCoderMD2::TBlockBytes{});
  EXPECT_EQ(Coder.ChecksumLink(), 0);
  EXPECT_EQ(Coder.DigestValue(), TIdCoderMD2::TBlockBytes{});
  EXPECT_EQ(Coder.WorkArea(), TIdCoderMD2::TWorkArea{});
  EXPECT_FALSE(Coder.Finishing());
  EXPECT_EQ(DigestOf(Coder, "abc"), "da853b0d3f88d99b30283a69e6ded6bb");

  // Held bytes of an abandoned message do not leak into the next one: "c" alone.
  Coder.Reset();
  Coder.FeedText("ab");
  Coder.Reset();
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_EQ(DigestOf(Coder, "c"), "b4c0b67ea493b58d47d74e4487efa9d6"); // PyCryptodome

  // Queued entries go too; the counters stay.
  Coder.FeedText("xyz");
  Coder.OutputQueue().Add("0;stale");
  const std::uint64_t InputBefore = Coder.InputCount().Value();
  const std::uint64_t OutputBefore = Coder.OutputCount().Value();
  Coder.Reset();
  EXPECT_TRUE(Coder.OutputQueue().IsEmpty());
  EXPECT_EQ(Coder.InputCount().Value(), InputBefore);
  EXPECT_EQ(Coder.OutputCount().Value(), OutputBefore);
  EXPECT_EQ(DigestOf(Coder, "abc"), "da853b0d3f88d99b30283a69e6ded6bb");
}

TEST(Md2Test, AutoFinishDigestsTheFirstFeed) {
  TIdCoderMD2 Coder;
  Coder.SetAutoFinish(true);
  EXPECT_EQ(ToHex(Coder.FeedText("abc").substr(2)), "da853b0d3f88d99b30283a69e6ded6bb");
  // Without a Reset the next feed goes on from the finished state.
  EXPECT_NE(ToHex(Coder.FeedText("abc").substr(2)), "da853b0d3f88d99b30283a69e6ded6bb");
  Coder.Reset();
  EXPECT_EQ(ToHex(Coder.FeedText("a").substr(2)), "32ec01ec4a6dac72c0ab96fb34c0b5d1");
}

TEST(Md2Test, ResizeChunkIsIgnored) {
  TIdCoderMD2 Coder;
  for (const std::uint32_t Size : {0U, 1U, 64U, 4096U, 0x80000000U, 0xFFFFFFFFU}) {
    Coder.ResizeChunk(Size);
    EXPECT_EQ(Coder.ChunkSize(), 16U);
  }
  EXPECT_EQ(DigestOf(Coder, "abc"), "da853b0d3f88d99b30283a69e6ded6bb");
}

TEST(Md2Test, FinishingAgainWithoutResetGoesOnFromTheFinishedState) {
  // PyCryptodome digests a copy of its state and has no such finished state, so these come
  // from the small Python reference (see the file comment) run on after its final step: a
  // pad block of sixteen 16s and the current checksum; then "xyz" fed after finishing.
  TIdCoderMD2 Coder;
  EXPECT_EQ(DigestOf(Coder, "abc"), "da853b0d3f88d99b30283a69e6ded6bb");
  EXPECT_EQ(DigestOf(Coder, ""), "ee4061e2f0e99a8a77275ac692206633");
  TIdCoderMD2 Fed;
  DigestOf(Fed, "abc");
  EXPECT_EQ(DigestOf(Fed, "xyz"), "32d412428fadff670350e6aad289647d");
}

} // namespace
} // namespace md5b64
