// SPDX-License-Identifier: MIT
// The machine the tests were built for, and the byte order the digests are defined with, which
// must not depend on it. Cross builds set MD5B64_EXPECT_BIG_ENDIAN and
// MD5B64_EXPECT_UNSIGNED_CHAR so that a build that silently targets the wrong machine fails.
#include "TestUtil.h"
#include "coders/IdCoderMessageDigest.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

namespace md5b64 {
namespace {

// The first byte in memory of the word 0x01020304: 1 on a big-endian machine.
unsigned FirstByteOfWord() {
  const std::uint32_t Word = 0x01020304;
  unsigned char Bytes[4];
  std::memcpy(Bytes, &Word, sizeof Bytes);
  return Bytes[0];
}

TEST(MachineTest, BuiltForTheExpectedMachine) {
#ifdef MD5B64_EXPECT_BIG_ENDIAN
  EXPECT_EQ(std::endian::native, std::endian::big);
  EXPECT_EQ(FirstByteOfWord(), 1U);
#else
  EXPECT_EQ(FirstByteOfWord(), std::endian::native == std::endian::big ? 1U : 4U);
#endif
#ifdef MD5B64_EXPECT_UNSIGNED_CHAR
  EXPECT_FALSE(std::numeric_limits<char>::is_signed);
  const char High = static_cast<char>(0xFF);
  EXPECT_EQ(static_cast<int>(High), 255);
#endif
}

TEST(MachineTest, DigestWordsAreReadAndWrittenLeastSignificantByteFirst) {
  // The MD5 of the empty text, d41d8cd9 8f00b204 e9800998 ecf8427e, is A, B, C and D each
  // written least significant byte first (RFC 1321, section 3.5).
  TIdCoderMD5 Md5;
  EXPECT_EQ(test::ToHex(Md5.FinishInput().substr(2)), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5.ChainState(), (TIdMDChainState{0xD98C1DD4, 0x04B2008F, 0x980980E9, 0x7E42F8EC}));

  // Bytes with the high bit set must enter the words as they are, never sign-extended:
  // 64 bytes 0x80 to 0xBF, checked with `openssl dgst -md4/-md5`
  // (MD4 from the legacy provider).
  std::string High;
  for (int Byte = 0x80; Byte < 0xC0; ++Byte)
    High.push_back(static_cast<char>(Byte));
  TIdCoderMD4 Md4;
  TIdCoderMD5 Md5High;
  Md4.FeedText(High);
  Md5High.FeedText(High);
  EXPECT_EQ(test::ToHex(Md4.FinishInput().substr(2)), "905ca5dc4c167e5816195e2bd0682798");
  EXPECT_EQ(test::ToHex(Md5High.FinishInput().substr(2)), "01c9d8d6800359f260a9e2fb22b0f8fa");
}

} // namespace
} // namespace md5b64
