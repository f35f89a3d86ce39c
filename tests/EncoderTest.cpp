// SPDX-License-Identifier: MIT
// The Base64 encoding path: RFC 4648 vectors, padding, limits, stream positions and the
// errors of short tables, uneven limits and short streams.
#include "Rfc4648Vectors.h"
#include "TestUtil.h"
#include "coders/IdCoderMIME.h"
#include "platform/IdGlobal.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace md5b64 {
namespace {

TEST(EncoderTest, Rfc4648Section10Vectors) {
  TIdEncoderMIME Encoder;
  for (const auto& [Input, Expected] : test::Rfc4648Vectors)
    EXPECT_EQ(Encoder.EncodeText(Input), Expected) << '"' << Input << '"';
}

TEST(EncoderTest, ConstructorSetsAlphabetAndPad) {
  TIdEncoderMIME Encoder;
  EXPECT_EQ(Encoder.CodingTable(), MimeAlphabet);
  EXPECT_EQ(Encoder.CodingTable(),
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
  EXPECT_EQ(Encoder.FillChar(), '=');
  TIdEncoder3to4 Plain;
  EXPECT_TRUE(Plain.CodingTable().empty());
  EXPECT_EQ(Plain.FillChar(), '\0');
}

TEST(EncoderTest, LengthAndPaddingFollowTheLastGroup) {
  TIdEncoderMIME Encoder;
  for (std::size_t Size = 0; Size < 40; ++Size) {
    const std::string Out = Encoder.EncodeText(test::PatternBytes(Size));
    ASSERT_EQ(Out.size(), 4 * ((Size + 2) / 3)) << Size;
    const std::size_t Pads = Out.size() - Out.find_last_not_of('=') - 1;
    EXPECT_EQ(Pads, Size % 3 == 0 ? 0U : 3 - Size % 3) << Size;
  }
}

TEST(EncoderTest, ExtremeBytesAndBinaryContent) {
  TIdEncoderMIME Encoder;
  EXPECT_EQ(Encoder.EncodeText("\xFF\xFF\xFF"), "////");
  EXPECT_EQ(Encoder.EncodeText(std::string(3, '\0')), "AAAA");
  // Every byte value once, checked with `base64 -w0`.
  std::string All;
  for (int B = 0; B < 256; ++B)
    All.push_back(static_cast<char>(B));
  EXPECT_EQ(Encoder.EncodeText(All).substr(0, 24), "AAECAwQFBgcICQoLDA0ODxAR");
  EXPECT_EQ(Encoder.EncodeText(All).substr(320), "8PHy8/T19vf4+fr7/P3+/w==");
}

TEST(EncoderTest, EncodeGroupMapsSixBitIndices) {
  TIdEncoderMIME Encoder;
  const std::array<char, 4> Group = Encoder.EncodeGroup(0x4D, 0x61, 0x6E); // "Man"
  EXPECT_EQ(std::string(Group.begin(), Group.end()), "TWFu");
}

TEST(EncoderTest, DigestsAlwaysGiveTwentyFourCharactersEndingInTwoPads) {
  TIdEncoderMIME Encoder;
  for (int Seed = 0; Seed < 50; ++Seed) {
    std::string Digest(16, '\0');
    for (int I = 0; I < 16; ++I)
      Digest[static_cast<std::size_t>(I)] = static_cast<char>(Seed * 31 + I * 17);
    const std::string Out = Encoder.EncodeText(Digest);
    EXPECT_EQ(Out.size(), 24U);
    EXPECT_EQ(Out.substr(22), "==");
  }
}

TEST(EncoderTest, FillCharIsUsedForPadding) {
  TIdEncoderMIME Encoder;
  Encoder.SetFillChar('.');
  EXPECT_EQ(Encoder.EncodeText("f"), "Zg..");
  EXPECT_EQ(Encoder.EncodeText("fo"), "Zm8.");
}

TEST(EncoderTest, LimitsAndStreamPositions) {
  const std::string Ten = "0123456789";
  TIdEncoderMIME Encoder;
  TIdReadMemoryStream Stream(Ten.data(), 10);

  EXPECT_EQ(Encoder.EncodeStream(Stream, 0), "");
  EXPECT_EQ(Stream.Position(), 0);
  EXPECT_EQ(Encoder.EncodeStream(Stream, 3), "MDEy");
  EXPECT_EQ(Stream.Position(), 3);

  Stream.SetPosition(8);
  EXPECT_EQ(Encoder.EncodeStream(Stream, TIdEncoder::NoLimit), "ODk=");
  EXPECT_EQ(Stream.Position(), 10);
  EXPECT_EQ(Encoder.EncodeStream(Stream, TIdEncoder::NoLimit), "");

  // A limit larger than what is left encodes what is left.
  Stream.SetPosition(4);
  EXPECT_EQ(Encoder.EncodeStream(Stream, 300), "NDU2Nzg5");
}

TEST(EncoderTest, UnevenLimitIsRefusedBeforeReading) {
  const std::string Ten = "0123456789";
  TIdEncoderMIME Encoder;
  TIdReadMemoryStream Stream(Ten.data(), 10);
  for (const std::int32_t Limit : {1, 2, 4, 5, 2147483645}) {
    try {
      Encoder.EncodeStream(Stream, Limit);
      ADD_FAILURE() << "limit " << Limit << " was accepted";
    } catch (const EIdException& E) {
      EXPECT_EQ(E.Message(), "Uneven size in Encode.");
      EXPECT_STREQ(E.ClassName(), "EIdException");
    }
    EXPECT_EQ(Stream.Position(), 0);
  }
}

TEST(EncoderTest, NegativeLimitOrPositionPastTheEndIsARangeError) {
  const std::string Ten = "0123456789";
  TIdEncoderMIME Encoder;
  TIdReadMemoryStream Stream(Ten.data(), 10);
  EXPECT_THROW(Encoder.EncodeStream(Stream, -3), ERangeError);
  EXPECT_THROW(Encoder.EncodeStream(Stream, -1), ERangeError);
  EXPECT_EQ(Stream.Position(), 0);
  Stream.SetPosition(11);
  EXPECT_THROW(Encoder.EncodeStream(Stream, TIdEncoder::NoLimit), ERangeError);
  EXPECT_EQ(Stream.Position(), 11);
}

TEST(EncoderTest, EmptyOrShortTableFailsOnTheFirstLookUpPastItsEnd) {
  TIdEncoder3to4 Plain;
  EXPECT_EQ(Plain.EncodeText(""), "");
  EXPECT_THROW(Plain.EncodeText("a"), ERangeError);
  EXPECT_THROW(Plain.EncodeGroup(0, 0, 0), ERangeError);

  // A table of two characters encodes bytes whose indices are 0 and 1 only.
  class TTwoCharEncoder : public TIdEncoder3to4 {
  public:
    TTwoCharEncoder() { FCodingTable = "xy"; }
  } Two;
  EXPECT_EQ(Two.EncodeText(std::string(3, '\0')), "xxxx");
  EXPECT_EQ(Two.EncodeText("\x04\x10\x41"), "yyyy");
  EXPECT_THROW(Two.EncodeText("\x08"), ERangeError);
}

// A stream that claims more bytes than it delivers.
class TShortStream : public TCustomMemoryStream {
public:
  explicit TShortStream(const std::string& Bytes) { SetPointer(Bytes.data(), 12); }
  std::int32_t Read(void* Buffer, std::int32_t Count) override {
    return TCustomMemoryStream::Read(Buffer, Count > 6 ? 6 : Count);
  }
  std::int32_t Write(const void*, std::int32_t) override { return 0; }
};

TEST(EncoderTest, StreamDeliveringFewerBytesIsAReadError) {
  const std::string Bytes(12, 'x');
  TShortStream Stream(Bytes);
  TIdEncoderMIME Encoder;
  try {
    Encoder.EncodeStream(Stream, TIdEncoder::NoLimit);
    ADD_FAILURE() << "short read accepted";
  } catch (const EReadError& E) {
    EXPECT_EQ(E.Message(), "Stream read error");
  }
}

TEST(EncoderTest, BaseEncoderIsAbstract) {
  TIdEncoder Encoder;
  try {
    Encoder.EncodeText("abc");
    ADD_FAILURE() << "abstract encoder encoded";
  } catch (const EAbstractError& E) {
    EXPECT_EQ(E.Message(), "Abstract Error");
  }
}

TEST(EncoderTest, ReadMemoryStreamViewsTextInPlaceAndRefusesWrites) {
  std::string Text = "abcdef";
  TIdReadMemoryStream Stream;
  Stream.AttachText(Text.data(), 4);
  EXPECT_EQ(Stream.Memory(), Text.data());
  EXPECT_EQ(Stream.Size(), 4);
  EXPECT_EQ(Stream.Write("zz", 2), 0);
  EXPECT_THROW(Stream.WriteBuffer("zz", 2), EWriteError);
  EXPECT_EQ(Text, "abcdef");
  char Buffer[8] = {};
  Stream.SetPosition(2);
  EXPECT_EQ(Stream.Read(Buffer, 8), 2);
  EXPECT_EQ(std::string(Buffer, 2), "cd");
  EXPECT_EQ(Stream.Position(), 4);
  EXPECT_EQ(Stream.Read(Buffer, 8), 0);
  Stream.AttachText(Text.data() + 1, 2);
  EXPECT_EQ(Stream.Position(), 0);
}

TEST(EncoderTest, EncoderKeepsItsAlphabetWhenTheGlobalChanges) {
  TIdEncoderMIME Encoder;
  const std::string Saved(MimeAlphabet);
  MimeAlphabet.clear();
  EXPECT_EQ(Encoder.EncodeText("foo"), "Zm9v");
  MimeAlphabet = Saved;
}

} // namespace
} // namespace md5b64
