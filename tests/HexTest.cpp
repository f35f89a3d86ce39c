// SPDX-License-Identifier: MIT
// Hex: the encoded forms, and decoding with every fault's kind and position. Expected texts
// and bytes come from Python's bytes.hex and binascii.unhexlify.
#include "coders/Hex.h"

#include "coders/Digest.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

using namespace std::string_view_literals;

std::vector<std::uint8_t> Bytes(std::string_view Text) {
  return {Text.begin(), Text.end()};
}

TEST(HexTest, EncodesLowerCaseHighHalfFirst) {
  const std::vector<std::uint8_t> Input = {0x00, 0x01, 0x0F, 0x10, 0x7F, 0x80, 0xA5, 0xFE, 0xFF};
  EXPECT_EQ(HexEncode(Input), "00010f107f80a5feff"); // bytes.hex()
  EXPECT_EQ(HexEncode(std::string_view("abc")), "616263");
  EXPECT_EQ(HexEncode(std::string_view()), "");
  // RFC 1321, appendix A.5.
  EXPECT_EQ(HexEncode(MD5Of(std::string_view("abc"))), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(HexTest, EveryByteValueRoundTripsInEitherCase) {
  std::vector<std::uint8_t> All(256);
  for (std::size_t I = 0; I < All.size(); ++I)
    All[I] = static_cast<std::uint8_t>(I);
  const std::string Lower = HexEncode(All);
  ASSERT_EQ(Lower.size(), 512U);
  std::string Upper = Lower;
  for (char& C : Upper)
    C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
  EXPECT_EQ(HexDecode(Lower), All);
  EXPECT_EQ(HexDecode(Upper), All);
}

struct TDecodeCase {
  std::string_view Text;
  TCodingError Error;
  std::size_t Position; // of the fault; unused on success
  std::string_view Expected;
};

// Faults are reported in text order: the first bad character, else a missing last digit.
constexpr TDecodeCase DecodeCases[] = {
    {"", TCodingError::None, 0, ""sv},
    {"00ff", TCodingError::None, 0, "\x00\xff"sv},
    {"DEADbeef0A", TCodingError::None, 0, "\xde\xad\xbe\xef\n"sv},
    {"0", TCodingError::Truncated, 1, ""sv},
    {"abc", TCodingError::Truncated, 3, ""sv},
    {"g0", TCodingError::InvalidCharacter, 0, ""sv},
    {"0g", TCodingError::InvalidCharacter, 1, ""sv},
    {"12G", TCodingError::InvalidCharacter, 2, ""sv},
    {"1g3", TCodingError::InvalidCharacter, 1, ""sv},
    {"0x12", TCodingError::InvalidCharacter, 1, ""sv},
    {"12 34", TCodingError::InvalidCharacter, 2, ""sv},
    {"1234\n", TCodingError::InvalidCharacter, 4, ""sv},
    {"12\xff"
     "3",
     TCodingError::InvalidCharacter, 2, ""},
    // Characters just outside the digit ranges.
    {"/0", TCodingError::InvalidCharacter, 0, ""sv},
    {":0", TCodingError::InvalidCharacter, 0, ""sv},
    {"@0", TCodingError::InvalidCharacter, 0, ""sv},
    {"`0", TCodingError::InvalidCharacter, 0, ""sv},
    {"0G", TCodingError::InvalidCharacter, 1, ""sv},
};

TEST(HexTest, DecodeTableInEveryForm) {
  for (const TDecodeCase& Case : DecodeCases) {
    SCOPED_TRACE(testing::Message() << '"' << Case.Text << '"');
    const std::vector<std::uint8_t> Expected = Bytes(Case.Expected);

    std::vector<std::uint8_t> Out = {9, 9, 9};
    const TCodingResult Result = TryHexDecode(Case.Text, Out);
    EXPECT_EQ(Result.Error, Case.Error);

    std::array<std::uint8_t, 8> Buffer{};
    const TCodingResult IntoResult = TryHexDecodeInto(Case.Text, Buffer);
    EXPECT_EQ(IntoResult.Error, Case.Error);

    if (Case.Error == TCodingError::None) {
      EXPECT_EQ(Out, Expected);
      EXPECT_EQ(Result.Size, Expected.size());
      EXPECT_EQ(HexDecode(Case.Text), Expected);
      EXPECT_EQ(HexDecodeInto(Case.Text, Buffer), Expected.size());
      EXPECT_EQ(std::vector<std::uint8_t>(
                    Buffer.begin(), Buffer.begin() + static_cast<std::ptrdiff_t>(Expected.size())),
                Expected);
      EXPECT_EQ(HexDecodedSize(Case.Text.size()), Expected.size());
      continue;
    }
    EXPECT_EQ(Result.Position, Case.Position);
    EXPECT_TRUE(Out.empty());
    EXPECT_EQ(IntoResult.Position, Case.Position);
    try {
      HexDecode(Case.Text);
      ADD_FAILURE() << "no error raised";
    } catch (const EIdCodingError& E) {
      EXPECT_EQ(E.Kind(), Case.Error);
      EXPECT_EQ(E.Position(), Case.Position);
      EXPECT_NE(std::string(E.what()).find("position " + std::to_string(Case.Position)),
                std::string::npos)
          << E.what();
    }
    EXPECT_THROW(HexDecodeInto(Case.Text, Buffer), EIdException);
  }
}

TEST(HexTest, BuffersThatAreTooShort) {
  const std::vector<std::uint8_t> Input = {0xAB, 0xCD, 0xEF};
  std::array<char, 8> Text;
  Text.fill('#');
  // Too short by one: nothing written, the size needed reported.
  TCodingResult Result = TryHexEncodeInto(Input, std::span(Text).first(5));
  EXPECT_EQ(Result.Error, TCodingError::BufferTooSmall);
  EXPECT_EQ(Result.Position, 6U);
  EXPECT_EQ(std::string(Text.data(), Text.size()), "########");
  try {
    HexEncodeInto(Input, std::span(Text).first(5));
    ADD_FAILURE() << "no error raised";
  } catch (const EIdCodingError& E) {
    EXPECT_EQ(E.Kind(), TCodingError::BufferTooSmall);
    EXPECT_EQ(E.Position(), 6U);
  }
  // Room to spare: the rest is left alone.
  EXPECT_EQ(HexEncodeInto(Input, Text), 6U);
  EXPECT_EQ(std::string(Text.data(), Text.size()), "abcdef##");

  std::array<std::uint8_t, 2> Out{};
  Result = TryHexDecodeInto("abcdef", Out);
  EXPECT_EQ(Result.Error, TCodingError::BufferTooSmall);
  EXPECT_EQ(Result.Position, 3U);
  // A fault of the text comes before the size of the buffer.
  Result = TryHexDecodeInto("abcdeX", Out);
  EXPECT_EQ(Result.Error, TCodingError::InvalidCharacter);
  EXPECT_EQ(Result.Position, 5U);
  EXPECT_EQ(HexDecodeInto("abcd", Out), 2U);
  EXPECT_EQ(Out, (std::array<std::uint8_t, 2>{0xAB, 0xCD}));
}

TEST(HexTest, SizesThatDoNotFit) {
  constexpr std::size_t Max = std::numeric_limits<std::size_t>::max();
  EXPECT_EQ(HexEncodedSize(Max / 2), Max - 1);
  EXPECT_THROW(HexEncodedSize(Max / 2 + 1), std::length_error);
  EXPECT_EQ(HexDecodedSize(Max), Max / 2);
}

} // namespace
} // namespace md5b64
