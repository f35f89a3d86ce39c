// SPDX-License-Identifier: MIT
// What only the MD2 coder (RFC 1319) has: its substitution, its state and the finished
// state it goes on from; its digests are checked with the others in DigestCoderTest. Expected
// digests come from the RFC's appendix A.5 and, for the other inputs, from an independent
// tool: PyCryptodome's MD2 (Cryptodome.Hash.MD2), which agreed on every row with a separate
// small Python reference written from the RFC's reference code.
#include "DigestFeeder.h"
#include "TestUtil.h"
#include "coders/IdCoderMessageDigest.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace md5b64 {
namespace {

using test::FeedDigest;
using test::ToHex;

// Where each line lands; DigestCoderTest checks every listed digest against the coder.
TEST(Md2Test, ListTestVectorsAppendInputAndDigestLines) {
  TStringList Lines;
  Lines.Add("kept");
  TIdCoderMD2().ListTestVectors(Lines);
  ASSERT_EQ(Lines.Count(), 15U);
  EXPECT_EQ(Lines.Strings(0), "kept");
  EXPECT_EQ(Lines.Strings(1), "");
  EXPECT_EQ(Lines.Strings(2), "  8350E5A3E24C153DF2275C9F80692773");
  EXPECT_EQ(Lines.Strings(14), "  D5976F79D83D3A0DC9806C3C66F3EFD8");
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
  EXPECT_EQ(FeedDigest(Coder, std::string(40, 'x')),
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

TEST(Md2Test, FinishingAgainWithoutResetGoesOnFromTheFinishedState) {
  // PyCryptodome digests a copy of its state and has no such finished state, so these come
  // from the small Python reference (see the file comment) run on after its final step: a
  // pad block of sixteen 16s and the current checksum; then "xyz" fed after finishing.
  TIdCoderMD2 Coder;
  EXPECT_EQ(FeedDigest(Coder, "abc"), "da853b0d3f88d99b30283a69e6ded6bb");
  EXPECT_EQ(FeedDigest(Coder, ""), "ee4061e2f0e99a8a77275ac692206633");
  TIdCoderMD2 Fed;
  FeedDigest(Fed, "abc");
  EXPECT_EQ(FeedDigest(Fed, "xyz"), "32d412428fadff670350e6aad289647d");
}

} // namespace
} // namespace md5b64
