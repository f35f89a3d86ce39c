// SPDX-License-Identifier: MIT
// The Base64 forms: RFC 4648 vectors in every form, URL-safe and unpadded texts, wrapped
// lines, strict and forgiving decoding of tricky texts, the buffer forms and round trips.
#include "coders/Base64.h"

#include "TestUtil.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace md5b64 {
namespace {

using namespace std::string_view_literals;
constexpr TBase64Strictness Strict = TBase64Strictness::Strict;
constexpr TBase64Strictness Forgiving = TBase64Strictness::Forgiving;

std::span<const std::uint8_t> BytesOf(std::string_view Text) {
  return {reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size()};
}

std::string TextOf(const std::vector<std::uint8_t>& Bytes) {
  return {Bytes.begin(), Bytes.end()};
}

std::string FormName(const TBase64Options& Form) {
  return std::string(Form.Alphabet == TBase64Alphabet::Url ? "url" : "standard") +
         (Form.Padding ? "" : " unpadded") +
         (Form.LineLength != 0 ? " lines of " + std::to_string(Form.LineLength) : "");
}

// The same bytes through every entry point of one form: the new string, the exact buffer,
// the non-throwing buffer form and back through both strictnesses.
void ExpectForm(std::string_view Bytes, const TBase64Options& Form, std::string_view Text) {
  SCOPED_TRACE(FormName(Form) + " of hex " + test::ToHex(Bytes));
  EXPECT_EQ(Base64Encode(Bytes, Form), Text);
  EXPECT_EQ(Base64EncodedSize(Bytes.size(), Form), Text.size());
  std::string Out(Text.size(), '#');
  EXPECT_EQ(Base64EncodeInto(BytesOf(Bytes), Out, Form), Text.size());
  EXPECT_EQ(Out, Text);
  EXPECT_EQ(TextOf(Base64Decode(Text, Form, Strict)), Bytes);
  EXPECT_EQ(TextOf(Base64Decode(Text, Form, Forgiving)), Bytes);
  std::vector<std::uint8_t> Exact(Bytes.size());
  const TCodingResult Result = TryBase64DecodeInto(Text, Exact, Form);
  EXPECT_TRUE(Result.Ok()) << CodingErrorName(Result.Error) << " at " << Result.Position;
  EXPECT_EQ(Result.Size, Bytes.size());
  EXPECT_EQ(TextOf(Exact), Bytes);
}

// RFC 4648, section 10; the unpadded texts are the padded ones with the "=" taken off, as
// Python's base64.b64encode(...).rstrip(b"=") gives them. These hold no "+" or "/", so the
// URL-safe texts are the same.
struct TRfcRow {
  std::string_view Bytes, Padded, Unpadded;
};
constexpr TRfcRow Rfc4648Section10[] = {
    {"", "", ""},
    {"f", "Zg==", "Zg"},
    {"fo", "Zm8=", "Zm8"},
    {"foo", "Zm9v", "Zm9v"},
    {"foob", "Zm9vYg==", "Zm9vYg"},
    {"fooba", "Zm9vYmE=", "Zm9vYmE"},
    {"foobar", "Zm9vYmFy", "Zm9vYmFy"},
};

TEST(Base64FormsTest, Rfc4648VectorsInEveryForm) {
  for (const TRfcRow& Row : Rfc4648Section10) {
    ExpectForm(Row.Bytes, Base64Standard, Row.Padded);
    ExpectForm(Row.Bytes, Base64Url, Row.Padded);
    ExpectForm(Row.Bytes, Base64StandardUnpadded, Row.Unpadded);
    ExpectForm(Row.Bytes, Base64UrlUnpadded, Row.Unpadded);
    ExpectForm(Row.Bytes, Base64Mime, Row.Padded);
  }
}

// Bytes whose 6-bit values reach 62 and 63, from Python 3: base64.b64encode,
// base64.urlsafe_b64encode, and both with .rstrip(b"=").
struct TAlphabetRow {
  std::string_view Hex, Standard, Url, StandardUnpadded, UrlUnpadded;
};
constexpr TAlphabetRow AlphabetRows[] = {
    {"fb", "+w==", "-w==", "+w", "-w"},
    {"ffff", "//8=", "__8=", "//8", "__8"},
    {"fbefbe", "++++", "----", "++++", "----"},
    {"03effff9", "A+//+Q==", "A-__-Q==", "A+//+Q", "A-__-Q"},
    {"fffefdfcfb", "//79/Ps=", "__79_Ps=", "//79/Ps", "__79_Ps"},
    {"f8f9fafbfcfdfeff", "+Pn6+/z9/v8=", "-Pn6-_z9_v8=", "+Pn6+/z9/v8", "-Pn6-_z9_v8"},
};

TEST(Base64FormsTest, UrlSafeAndUnpaddedAgreeWithPython) {
  for (const TAlphabetRow& Row : AlphabetRows) {
    const std::string Bytes = test::FromHex(Row.Hex);
    ExpectForm(Bytes, Base64Standard, Row.Standard);
    ExpectForm(Bytes, Base64Url, Row.Url);
    ExpectForm(Bytes, Base64StandardUnpadded, Row.StandardUnpadded);
    ExpectForm(Bytes, Base64UrlUnpadded, Row.UrlUnpadded);
  }
}

// Bytes (7 i + 3) mod 256 for i = 0, 1, ...: long enough to wrap, and every value differs
// from its neighbours.
std::string Pattern(std::size_t Size) {
  std::string Bytes;
  for (std::size_t I = 0; I < Size; ++I)
    Bytes.push_back(static_cast<char>((7 * I + 3) & 255));
  return Bytes;
}

// From Python 3: base64.encodebytes(Pattern(n)) with each "\n" made "\r\n" and the last line
// break taken off; for 10 columns, base64.b64encode(Pattern(n)) cut every 10 characters and
// joined with "\r\n".
struct TWrapRow {
  std::size_t Size;
  std::size_t LineLength;
  std::string_view Text;
};
constexpr TWrapRow WrapRows[] = {
    {57, 76, "AwoRGB8mLTQ7QklQV15lbHN6gYiPlp2kq7K5wMfO1dzj6vH4/wYNFBsiKTA3PkVMU1phaG92fYSL"},
    {58, 76,
     "AwoRGB8mLTQ7QklQV15lbHN6gYiPlp2kq7K5wMfO1dzj6vH4/wYNFBsiKTA3PkVMU1phaG92fYSL\r\n"
     "kg=="},
    {114, 76,
     "AwoRGB8mLTQ7QklQV15lbHN6gYiPlp2kq7K5wMfO1dzj6vH4/wYNFBsiKTA3PkVMU1phaG92fYSL\r\n"
     "kpmgp661vMPK0djf5u30+wIJEBceJSwzOkFIT1ZdZGtyeYCHjpWco6qxuL/GzdTb4unw9/4FDBMa"},
    {115, 76,
     "AwoRGB8mLTQ7QklQV15lbHN6gYiPlp2kq7K5wMfO1dzj6vH4/wYNFBsiKTA3PkVMU1phaG92fYSL\r\n"
     "kpmgp661vMPK0djf5u30+wIJEBceJSwzOkFIT1ZdZGtyeYCHjpWco6qxuL/GzdTb4unw9/4FDBMa\r\n"
     "IQ=="},
    {7, 10, "AwoRGB8mLQ\r\n=="},
    {8, 10, "AwoRGB8mLT\r\nQ="},
    {20, 10, "AwoRGB8mLT\r\nQ7QklQV15l\r\nbHN6gYg="},
};

TEST(Base64FormsTest, WrappedLinesAgreeWithPython) {
  for (const TWrapRow& Row : WrapRows)
    ExpectForm(Pattern(Row.Size), TBase64Options{TBase64Alphabet::Standard, true, Row.LineLength},
               Row.Text);
}

// Texts decoded in one form and strictness: the bytes (hex, from Python's base64.b64decode
// of the text with the whitespace taken out and the padding completed), or the error and the
// offset where it stands (the text's end for a truncated text).
struct TDecodeRow {
  std::string_view Text;
  TBase64Options Form;
  TBase64Strictness Strictness;
  struct {
    TCodingError Error;
    std::size_t Position;
    std::string_view Hex;
  } Expected;
};
const TDecodeRow TrickyTexts[] = {
    {"Z"sv, Base64Standard, Strict, {TCodingError::Truncated, 1, ""}},
    {"Z"sv, Base64Standard, Forgiving, {TCodingError::Truncated, 1, ""}},
    {"Zg"sv, Base64Standard, Strict, {TCodingError::Truncated, 2, ""}},
    {"Zg"sv, Base64Standard, Forgiving, {TCodingError::None, 0, "66"}},
    {"Zg"sv, Base64StandardUnpadded, Strict, {TCodingError::None, 0, "66"}},
    {"Zg="sv, Base64Standard, Strict, {TCodingError::Truncated, 3, ""}},
    {"Zg="sv, Base64Standard, Forgiving, {TCodingError::Truncated, 3, ""}},
    {"Zg="sv, Base64StandardUnpadded, Strict, {TCodingError::MisplacedPad, 2, ""}},
    {"Zg=="sv, Base64Standard, Strict, {TCodingError::None, 0, "66"}},
    {"Zg=="sv, Base64StandardUnpadded, Strict, {TCodingError::MisplacedPad, 2, ""}},
    {"Zm9vY"sv, Base64Standard, Strict, {TCodingError::Truncated, 5, ""}},
    {"Zm9vY"sv, Base64Standard, Forgiving, {TCodingError::Truncated, 5, ""}},
    {"Zm9vY"sv, Base64StandardUnpadded, Strict, {TCodingError::Truncated, 5, ""}},
    {"Zm9vYg"sv, Base64Standard, Strict, {TCodingError::Truncated, 6, ""}},
    {"Zm9vYg"sv, Base64Standard, Forgiving, {TCodingError::None, 0, "666f6f62"}},
    {"Zm9vYg"sv, Base64StandardUnpadded, Strict, {TCodingError::None, 0, "666f6f62"}},
    {"Zm9vYmE"sv, Base64Standard, Strict, {TCodingError::Truncated, 7, ""}},
    {"Zm9vYmE"sv, Base64Standard, Forgiving, {TCodingError::None, 0, "666f6f6261"}},
    {"Zm9vYmE"sv, Base64UrlUnpadded, Strict, {TCodingError::None, 0, "666f6f6261"}},
    {" Zg=="sv, Base64Standard, Strict, {TCodingError::InvalidCharacter, 0, ""}},
    {" Zg=="sv, Base64Standard, Forgiving, {TCodingError::None, 0, "66"}},
    {"Zg== "sv, Base64Standard, Strict, {TCodingError::InvalidCharacter, 4, ""}},
    {"Zg== "sv, Base64Standard, Forgiving, {TCodingError::None, 0, "66"}},
    {"Z g = ="sv, Base64Standard, Strict, {TCodingError::InvalidCharacter, 1, ""}},
    {"Z g = ="sv, Base64Standard, Forgiving, {TCodingError::None, 0, "66"}},
    {"Zm9v\x0d"
     "\x0a"
     "YmFy"sv,
     Base64Standard,
     Strict,
     {TCodingError::InvalidCharacter, 4, ""}},
    {"Zm9v\x0d"
     "\x0a"
     "YmFy"sv,
     Base64Standard,
     Forgiving,
     {TCodingError::None, 0, "666f6f626172"}},
    {"Zm9v\x0d"
     "\x0a"
     "YmFy"sv,
     Base64Mime,
     Strict,
     {TCodingError::MisplacedLineBreak, 4, ""}},
    {"Zm9v\x0d"
     "\x0a"
     "YmFy"sv,
     Base64Mime,
     Forgiving,
     {TCodingError::None, 0, "666f6f626172"}},
    {"\x09"
     "Zm9v\x0c"
     "Ym\x0a"
     "Fy\x0d"
     ""sv,
     Base64Standard,
     Forgiving,
     {TCodingError::None, 0, "666f6f626172"}},
    {"Zm9v\x0b"
     "YmFy"sv,
     Base64Standard,
     Forgiving,
     {TCodingError::InvalidCharacter, 4, ""}},
    {"\x0d"
     "\x0a"
     "  "sv,
     Base64Standard,
     Forgiving,
     {TCodingError::None, 0, ""}},
    {"\x0d"
     "\x0a"
     ""sv,
     Base64Standard,
     Strict,
     {TCodingError::InvalidCharacter, 0, ""}},
    {"="sv, Base64Standard, Strict, {TCodingError::MisplacedPad, 0, ""}},
    {"="sv, Base64Standard, Forgiving, {TCodingError::MisplacedPad, 0, ""}},
    {"===="sv, Base64Standard, Forgiving, {TCodingError::MisplacedPad, 0, ""}},
    {"Z==="sv, Base64Standard, Strict, {TCodingError::MisplacedPad, 1, ""}},
    {"Zg==="sv, Base64Standard, Strict, {TCodingError::MisplacedPad, 4, ""}},
    {"Zg==="sv, Base64Standard, Forgiving, {TCodingError::MisplacedPad, 4, ""}},
    {"Zm8=="sv, Base64Standard, Forgiving, {TCodingError::MisplacedPad, 4, ""}},
    {"Zm9v="sv, Base64Standard, Strict, {TCodingError::MisplacedPad, 4, ""}},
    {"Zm9v="sv, Base64Standard, Forgiving, {TCodingError::MisplacedPad, 4, ""}},
    {"Zg==Zm9v"sv, Base64Standard, Strict, {TCodingError::MisplacedPad, 4, ""}},
    {"Zg==Zm9v"sv, Base64Standard, Forgiving, {TCodingError::MisplacedPad, 4, ""}},
    {"Zm=9v"sv, Base64Standard, Forgiving, {TCodingError::MisplacedPad, 3, ""}},
    {"Zg=\x0a"
     "="sv,
     Base64Standard,
     Forgiving,
     {TCodingError::None, 0, "66"}},
    {"Zg=\x0a"
     "="sv,
     Base64Standard,
     Strict,
     {TCodingError::InvalidCharacter, 3, ""}},
    {"Zm8= \x0a"
     ""sv,
     Base64Standard,
     Forgiving,
     {TCodingError::None, 0, "666f"}},
    {"Zm9="sv, Base64Standard, Strict, {TCodingError::NonCanonical, 2, ""}},
    {"Zm9="sv, Base64Standard, Forgiving, {TCodingError::None, 0, "666f"}},
    {"Zh=="sv, Base64Standard, Strict, {TCodingError::NonCanonical, 1, ""}},
    {"Zh=="sv, Base64Standard, Forgiving, {TCodingError::None, 0, "66"}},
    {"Zm9vYh=="sv, Base64Standard, Strict, {TCodingError::NonCanonical, 5, ""}},
    {"Zh"sv, Base64StandardUnpadded, Strict, {TCodingError::NonCanonical, 1, ""}},
    {"Zm9vYmF"sv, Base64UrlUnpadded, Strict, {TCodingError::NonCanonical, 6, ""}},
    {"-w=="sv, Base64Standard, Strict, {TCodingError::InvalidCharacter, 0, ""}},
    {"-w=="sv, Base64Standard, Forgiving, {TCodingError::InvalidCharacter, 0, ""}},
    {"-w=="sv, Base64Url, Strict, {TCodingError::None, 0, "fb"}},
    {"+w=="sv, Base64Url, Strict, {TCodingError::InvalidCharacter, 0, ""}},
    {"+w=="sv, Base64Url, Forgiving, {TCodingError::InvalidCharacter, 0, ""}},
    {"__8"sv, Base64UrlUnpadded, Strict, {TCodingError::None, 0, "ffff"}},
    {"__8"sv, Base64Url, Forgiving, {TCodingError::None, 0, "ffff"}},
    {"__8"sv, Base64Standard, Forgiving, {TCodingError::InvalidCharacter, 0, ""}},
    {"//8="sv, Base64Url, Strict, {TCodingError::InvalidCharacter, 0, ""}},
    {"Zm9v!"sv, Base64Standard, Strict, {TCodingError::InvalidCharacter, 4, ""}},
    {"Zm9v!"sv, Base64Standard, Forgiving, {TCodingError::InvalidCharacter, 4, ""}},
    {"Zm\x80"
     "v"sv,
     Base64Standard,
     Forgiving,
     {TCodingError::InvalidCharacter, 2, ""}},
    {"Zm\x00"
     "v"sv,
     Base64Standard,
     Strict,
     {TCodingError::InvalidCharacter, 2, ""}},
    {"Zm9vYmFyZm9vYmFyZm9vYmFyZm9vYmFy#m9vYmFyZm9vYmFyZm9vYmFyZm9vYmFyZm9vYmFyZm9vYmFy"sv,
     Base64Standard,
     Strict,
     {TCodingError::InvalidCharacter, 32, ""}},
    {"Zm9vYmFyZm9vYmFyZm9vYmFyZm9vYmFyZm9vYmFyZm9vYmFyZm9vYmFyZm9vYmFyZm9vYmFyZm9v YmFy"sv,
     Base64Standard,
     Forgiving,
     {TCodingError::None, 0,
      "666f6f626172666f6f626172666f6f626172666f6f626172666f6f626172666f6f626172666f6f626172666f6f62"
      "6172666f6f626172666f6f626172"}},
    {""sv, Base64Standard, Strict, {TCodingError::None, 0, ""}},
    {""sv, Base64Mime, Strict, {TCodingError::None, 0, ""}},
    {""sv, Base64Standard, Forgiving, {TCodingError::None, 0, ""}},
};

TEST(Base64FormsTest, TrickyTextsDecodeToTheirBytesOrTheirFault) {
  for (const TDecodeRow& Row : TrickyTexts) {
    SCOPED_TRACE(testing::Message() << '"' << Row.Text << "\" " << FormName(Row.Form)
                                    << (Row.Strictness == Strict ? " strict" : " forgiving"));
    std::vector<std::uint8_t> Bytes{1, 2, 3};
    const TCodingResult Result = TryBase64Decode(Row.Text, Bytes, Row.Form, Row.Strictness);
    EXPECT_EQ(CodingErrorName(Result.Error), std::string(CodingErrorName(Row.Expected.Error)));
    if (Row.Expected.Error == TCodingError::None) {
      EXPECT_EQ(test::ToHex(TextOf(Bytes)), Row.Expected.Hex);
      EXPECT_EQ(Result.Size, Bytes.size());
      continue;
    }
    EXPECT_EQ(Result.Position, Row.Expected.Position);
    EXPECT_TRUE(Bytes.empty());
    // The throwing form raises the same fault, and the buffer form finds it too.
    try {
      Base64Decode(Row.Text, Row.Form, Row.Strictness);
      ADD_FAILURE() << "no exception";
    } catch (const EIdCodingError& Error) {
      EXPECT_EQ(Error.Kind(), Row.Expected.Error);
      EXPECT_EQ(Error.Position(), Row.Expected.Position);
      EXPECT_NE(Error.Message().find("position " + std::to_string(Row.Expected.Position)),
                std::string::npos)
          << Error.Message();
    }
    std::vector<std::uint8_t> Room(Base64DecodedMaxSize(Row.Text.size()));
    const TCodingResult InBuffer = TryBase64DecodeInto(Row.Text, Room, Row.Form, Row.Strictness);
    EXPECT_EQ(InBuffer.Error, Row.Expected.Error);
    EXPECT_EQ(InBuffer.Position, Row.Expected.Position);
  }
}

// Strict wrapped text: CR LF exactly after every full line and nowhere else.
TEST(Base64FormsTest, StrictWrappedFormsWantTheirLineBreaksExactly) {
  const std::string Line(76, 'A');
  struct {
    std::string Text;
    std::size_t Position;
  } const Faults[] = {
      {Line + "\r\n", 76},         // a break after the last line
      {Line + "AAAA", 76},         // a line too long
      {Line + "\rAAAA", 77},       // CR without LF
      {Line + "\r", 76},           // half a break after the last line
      {Line + "\nAAAA", 76},       // LF alone
      {Line + "\r\n\r\nAAAA", 78}, // an empty line
      {"AAAA\r\n" + Line, 4},      // a break before the line is full
      {Line + "\r\nAA\r\nAA", 80}, // a break in the last line
  };
  for (const auto& Fault : Faults) {
    SCOPED_TRACE(test::ToHex(Fault.Text.substr(72)));
    std::vector<std::uint8_t> Bytes;
    const TCodingResult Result = TryBase64Decode(Fault.Text, Bytes, Base64Mime, Strict);
    EXPECT_EQ(Result.Error, TCodingError::MisplacedLineBreak);
    EXPECT_EQ(Result.Position, Fault.Position);
    EXPECT_TRUE(TryBase64Decode(Fault.Text, Bytes, Base64Mime, Forgiving).Ok());
  }
  // Pads count as characters of the line, and the line length need not be whole groups.
  const TBase64Options Ten{TBase64Alphabet::Standard, true, 10};
  EXPECT_EQ(TextOf(Base64Decode("AwoRGB8mLT\r\nQ=", Ten)), Pattern(8));
  std::vector<std::uint8_t> Bytes;
  EXPECT_EQ(TryBase64Decode("AwoRGB8mL\r\nTQ=", Bytes, Ten).Error,
            TCodingError::MisplacedLineBreak);
  EXPECT_EQ(TryBase64Decode("AwoRGB8mLT\r\nQ", Bytes, Ten).Error, TCodingError::Truncated);
}

TEST(Base64FormsTest, BuffersTooSmallAreReportedWithTheSizeNeeded) {
  const std::string Bytes = Pattern(58);
  const std::size_t Needed = Base64EncodedSize(Bytes.size(), Base64Mime); // 78 + 4
  ASSERT_EQ(Needed, 82U);
  std::string Out(Needed - 1, '#');
  const TCodingResult Encoded = TryBase64EncodeInto(BytesOf(Bytes), Out, Base64Mime);
  EXPECT_EQ(Encoded.Error, TCodingError::BufferTooSmall);
  EXPECT_EQ(Encoded.Position, Needed);
  EXPECT_EQ(Out, std::string(Needed - 1, '#')) << "nothing is written";
  try {
    Base64EncodeInto(BytesOf(Bytes), Out, Base64Mime);
    ADD_FAILURE() << "no exception";
  } catch (const EIdCodingError& Error) {
    EXPECT_EQ(Error.Kind(), TCodingError::BufferTooSmall);
    EXPECT_EQ(Error.Position(), Needed);
  }

  // Decoding: a buffer below the largest size that still holds the bytes is enough, and one
  // byte short is told with the size needed, for text through the bulk path and not.
  for (const TBase64Options& Form : {Base64Standard, Base64Mime}) {
    const std::string Text = Base64Encode(Bytes, Form);
    for (const std::string_view Shown : {std::string_view(Text), "  "sv}) {
      const std::string Spaced = Shown == "  " ? " " + Text + " " : Text;
      const TBase64Strictness How = Shown == "  " ? Forgiving : Strict;
      SCOPED_TRACE(Spaced);
      std::vector<std::uint8_t> Room(Bytes.size());
      ASSERT_LT(Room.size(), Base64DecodedMaxSize(Spaced.size()));
      EXPECT_EQ(Base64DecodeInto(Spaced, Room, Form, How), Bytes.size());
      EXPECT_EQ(TextOf(Room), Bytes);
      Room.pop_back();
      const TCodingResult Short = TryBase64DecodeInto(Spaced, Room, Form, How);
      EXPECT_EQ(Short.Error, TCodingError::BufferTooSmall);
      EXPECT_EQ(Short.Position, Bytes.size());
    }
  }
  // A fault of the text is told before the buffer's size.
  std::uint8_t One[1];
  EXPECT_EQ(TryBase64DecodeInto("Zm9vYmFy!", One).Error, TCodingError::InvalidCharacter);
  EXPECT_EQ(TryBase64DecodeInto("Zm9vYmFy!", {}).Position, 8U);
}

TEST(Base64FormsTest, SizesAtTheLimits) {
  constexpr std::size_t Max = std::numeric_limits<std::size_t>::max();
  EXPECT_THROW(Base64EncodedSize(Max), std::length_error);
  EXPECT_THROW(Base64EncodedSize(Max / 4 * 3, Base64Mime), std::length_error);
  EXPECT_EQ(Base64EncodedSize(Max / 4 * 3, Base64StandardUnpadded), Max / 4 * 4);
  // One byte more: two characters still fit, a padded group of four does not.
  EXPECT_EQ(Base64EncodedSize(Max / 4 * 3 + 1, Base64StandardUnpadded), Max / 4 * 4 + 2);
  EXPECT_THROW(Base64EncodedSize(Max / 4 * 3 + 1, Base64Standard), std::length_error);
  // Four characters make three bytes, three make two, two make one, one makes none.
  EXPECT_EQ(Base64DecodedMaxSize(0), 0U);
  EXPECT_EQ(Base64DecodedMaxSize(1), 0U);
  EXPECT_EQ(Base64DecodedMaxSize(2), 1U);
  EXPECT_EQ(Base64DecodedMaxSize(3), 2U);
  EXPECT_EQ(Base64DecodedMaxSize(4), 3U);
  EXPECT_EQ(Base64DecodedMaxSize(Max), Max / 4 * 3 + 2);
  // Lines of one character.
  EXPECT_EQ(Base64Encode("f", TBase64Options{TBase64Alphabet::Standard, true, 1}),
            "Z\r\ng\r\n=\r\n=");
}

// Random bytes of random lengths: every form gives back the bytes, through the new string
// and the buffer, strictly and forgivingly, and in the forgiving case with whitespace put in.
TEST(Base64FormsTest, RandomBytesRoundTripInEveryForm) {
  std::mt19937 Random(20261211);
  const TBase64Options Forms[] = {Base64Standard,
                                  Base64StandardUnpadded,
                                  Base64Url,
                                  Base64UrlUnpadded,
                                  Base64Mime,
                                  {TBase64Alphabet::Url, false, 7},
                                  {TBase64Alphabet::Standard, true, 64},
                                  {TBase64Alphabet::Standard, false, 3}};
  for (int Round = 0; Round < 200; ++Round) {
    const std::size_t Size = Round < 100 ? Random() % 40 : Random() % 3000;
    std::vector<std::uint8_t> Bytes(Size);
    for (auto& Byte : Bytes)
      Byte = static_cast<std::uint8_t>(Random());
    for (const TBase64Options& Form : Forms) {
      SCOPED_TRACE(FormName(Form) + ", " + std::to_string(Size) + " bytes");
      const std::string Text = Base64Encode(Bytes, Form);
      ASSERT_EQ(Text.size(), Base64EncodedSize(Size, Form));
      EXPECT_EQ(Base64Decode(Text, Form, Strict), Bytes);
      EXPECT_EQ(Base64Decode(Text, Form, Forgiving), Bytes);
      std::string Spaced;
      for (const char C : Text) {
        if (Random() % 8 == 0)
          Spaced += " \t\r\n\f"[Random() % 5];
        Spaced += C;
      }
      EXPECT_EQ(Base64Decode(Spaced, Form, Forgiving), Bytes);
      std::vector<std::uint8_t> Out(Base64DecodedMaxSize(Text.size()), 0xAA);
      const std::size_t Written = Base64DecodeInto(Text, Out, Form);
      Out.resize(Written);
      EXPECT_EQ(Out, Bytes);
    }
  }
}

TEST(Base64FormsTest, AlphabetsHoldSixtyFourDifferentCharacters) {
  EXPECT_EQ(Base64AlphabetChars(TBase64Alphabet::Standard),
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
  EXPECT_EQ(Base64AlphabetChars(TBase64Alphabet::Url),
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_");
}

} // namespace
} // namespace md5b64
