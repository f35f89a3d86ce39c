// SPDX-License-Identifier: MIT
// The decoding half of the three-to-four coders: TIdDecoder, TIdDecoder4to3, its reverse
// tables and the Base64 decoder. Expected bytes are those of RFC 4648, section 10, or
// worked out by hand from the MIME alphabet, never produced by this code.
#include "ModuleStateGuard.h"
#include "Rfc4648Vectors.h"
#include "TestUtil.h"
#include "coders/IdCoder.h"
#include "coders/IdCoder3to4.h"
#include "coders/IdCoderMIME.h"
#include "platform/IdGlobal.h"
#include "platform/Streams.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

using test::ToHex;

// Every test here decodes with the table that start-up builds.
class DecoderTest : public testing::Test {
protected:
  test::TStartedCodingModules Modules;
};

// A memory stream that records how often it is written to.
class TCountingStream : public TMemoryStream {
public:
  std::int32_t Write(const void* Buffer, std::int32_t Count) override {
    ++Writes;
    return TMemoryStream::Write(Buffer, Count);
  }
  int Writes = 0;
};

std::uint8_t EntryOf(const TIdDecodeTable& Table, char C) {
  return Table[static_cast<unsigned char>(C) - 1U];
}

// The entries the MIME table must hold, from the ranges of the alphabet: "A" to "Z" are 0
// to 25, "a" to "z" 26 to 51, "0" to "9" 52 to 61, "+" 62, "/" 63, all else 255.
std::uint8_t ExpectedMimeEntry(int Code) {
  if (Code >= 'A' && Code <= 'Z')
    return static_cast<std::uint8_t>(Code - 'A');
  if (Code >= 'a' && Code <= 'z')
    return static_cast<std::uint8_t>(26 + Code - 'a');
  if (Code >= '0' && Code <= '9')
    return static_cast<std::uint8_t>(52 + Code - '0');
  if (Code == '+')
    return 62;
  if (Code == '/')
    return 63;
  return 255;
}

TEST_F(DecoderTest, StartUpBuildsMimeDecodeTable) {
  for (int Code = 1; Code <= 127; ++Code)
    EXPECT_EQ(MimeDecodeTable[static_cast<std::size_t>(Code - 1)], ExpectedMimeEntry(Code))
        << "code " << Code;
  EXPECT_EQ(EntryOf(MimeDecodeTable, 'A'), 0);
  EXPECT_EQ(EntryOf(MimeDecodeTable, 'Z'), 25);
  EXPECT_EQ(EntryOf(MimeDecodeTable, 'a'), 26);
  EXPECT_EQ(EntryOf(MimeDecodeTable, 'z'), 51);
  EXPECT_EQ(EntryOf(MimeDecodeTable, '0'), 52);
  EXPECT_EQ(EntryOf(MimeDecodeTable, '9'), 61);
  EXPECT_EQ(EntryOf(MimeDecodeTable, '+'), 62);
  EXPECT_EQ(EntryOf(MimeDecodeTable, '/'), 63);
  for (const char C : {'=', ' ', '\x01', '\x7F'})
    EXPECT_EQ(EntryOf(MimeDecodeTable, C), 255) << static_cast<int>(C);
}

TEST(DecoderModuleTest, StartUpBuildsTheTableAndShutdownLeavesIt) {
  test::TSavedModuleState Saved;
  MimeDecodeTable.fill(0);
  TModuleSequence Modules(CodingModules());
  Modules.Start();
  EXPECT_EQ(EntryOf(MimeDecodeTable, '/'), 63);
  EXPECT_EQ(EntryOf(MimeDecodeTable, '='), 255);
  const TIdDecodeTable Built = MimeDecodeTable;
  Modules.Stop();
  EXPECT_EQ(MimeAlphabet, "");
  EXPECT_EQ(MimeDecodeTable, Built);
  // A decoder made after shutdown still decodes.
  EXPECT_EQ(TIdDecoderMIME().DecodeText("Zm9v"), "foo");
}

// The message a coder made without the tables of start-up raises, for ClassName.
std::string NotStartedMessage(const std::string& ClassName) {
  return "The coding modules are not started: " + ClassName +
         " needs the tables their start-up builds.";
}

TEST(DecoderModuleTest, CodersMadeWithoutTheStartUpTablesSaySo) {
  test::TSavedModuleState Saved;
  // At program start the reverse table is not built yet; the alphabet is.
  MimeDecodeTable.fill(TIdDecoder4to3::NotInAlphabet);
  try {
    TIdDecoderMIME Decoder;
    ADD_FAILURE() << "decoder made before start-up";
  } catch (const EIdException& E) {
    EXPECT_EQ(E.Message(), NotStartedMessage("TIdDecoderMIME"));
  }
  TModuleSequence Modules(CodingModules());
  Modules.Start();
  EXPECT_EQ(TIdDecoderMIME().DecodeText("Zm9v"), "foo");
  EXPECT_EQ(TIdEncoderMIME().EncodeText("foo"), "Zm9v");
  // Shutdown empties the alphabet, so an encoder made then has none.
  Modules.Stop();
  try {
    TIdEncoderMIME Encoder;
    ADD_FAILURE() << "encoder made after shutdown";
  } catch (const EIdException& E) {
    EXPECT_EQ(E.Message(), NotStartedMessage("TIdEncoderMIME"));
  }
}

TEST_F(DecoderTest, Rfc4648VectorsDecodeAndRoundTrip) {
  TIdDecoderMIME Decoder;
  TIdEncoderMIME Encoder;
  for (const test::TRfc4648Vector& Vector : test::Rfc4648Vectors) {
    SCOPED_TRACE(Vector.Encoded);
    EXPECT_EQ(Decoder.DecodeText(Vector.Encoded), Vector.Bytes);
    EXPECT_EQ(Encoder.EncodeText(Vector.Bytes), Vector.Encoded);
    EXPECT_EQ(Decoder.DecodeText(Encoder.EncodeText(Vector.Bytes)), Vector.Bytes);
  }
}

TEST_F(DecoderTest, DecodeTextUndoesEncodeTextForEveryLengthAndByte) {
  TIdDecoderMIME Decoder;
  TIdEncoderMIME Encoder;
  // Every byte value, in every position of a group, and every remainder of the length.
  std::string AllBytes;
  for (int B = 0; B < 256; ++B)
    AllBytes.push_back(static_cast<char>(B));
  for (std::size_t Length = 0; Length <= 260; ++Length) {
    const std::string Bytes = AllBytes.substr(Length % 7) + test::PatternBytes(Length);
    const std::string Input = Bytes.substr(0, Length);
    ASSERT_EQ(Decoder.DecodeText(Encoder.EncodeText(Input)), Input) << "length " << Length;
  }
  const std::string Long = test::PatternBytes(100000);
  EXPECT_EQ(Decoder.DecodeText(Encoder.EncodeText(Long)), Long);
}

struct TDecodeCase {
  std::string Text;
  const char* Hex;
};

TEST_F(DecoderTest, PaddedGroupsYieldOnlyTheBytesTheyCarry) {
  const TDecodeCase Cases[] = {
      {"Zm9v", "666f6f"}, {"Zm9vYmFy", "666f6f626172"}, {"Zm8=", "666f"},
      {"Zg==", "66"},     {"Zg==Zm9v", "66666f6f"},     {"Zm8=Zg==", "666f66"},
      {"AAAA", "000000"}, {"////", "ffffff"},           {"+/+/", "fbffbf"},
      {"", ""},
  };
  TIdDecoderMIME Decoder;
  for (const TDecodeCase& Case : Cases) {
    SCOPED_TRACE(Case.Text);
    TCountingStream Stream;
    Decoder.DecodeToStream(Case.Text, Stream);
    EXPECT_EQ(ToHex(Stream.Bytes()), Case.Hex);
    // All bytes in one write; none at all for the empty text.
    EXPECT_EQ(Stream.Writes, Case.Text.empty() ? 0 : 1);
  }
}

struct TErrorCase {
  std::string Text;
  bool RangeError; // ERangeError, else EIdException
  const char* Message;
};

TEST_F(DecoderTest, BadTextRaisesAndWritesNothing) {
  const TErrorCase Cases[] = {
      {"Zg", true, "Range check error"},
      {"Zm9vY", true, "Range check error"},
      {"Zm9vZm9vZg=", true, "Range check error"},
      {std::string("Zm\x80v"), true, "Range check error"},
      {std::string("Zm9vZm9\xFF"), true, "Range check error"},
      {std::string("Zm9v\0AAA", 8), true, "Range check error"},
      {"Zm9!", false, "Character with code 33 at position 4 is not in the coding alphabet."},
      {"Zm9vZ!9v", false, "Character with code 33 at position 6 is not in the coding alphabet."},
      {"Zm 9", false, "Character with code 32 at position 3 is not in the coding alphabet."},
      {"Zm9v\r\nZm9v", false,
       "Character with code 13 at position 5 is not in the coding alphabet."},
      // A pad is a pad only in the third or fourth place of a group.
      {"=m9v", false, "Character with code 61 at position 1 is not in the coding alphabet."},
      {"Z===", false, "Character with code 61 at position 2 is not in the coding alphabet."},
      {"Zg=A", false, "Pad character at position 3 is not followed by another pad."},
      {"Zm9vZg=v", false, "Pad character at position 7 is not followed by another pad."},
      {std::string("Zg=\x80"), true, "Range check error"},
  };
  TIdDecoderMIME Decoder;
  for (const TErrorCase& Case : Cases) {
    SCOPED_TRACE(testing::PrintToString(Case.Text));
    // A stream that already holds bytes, positioned in the middle of them.
    TCountingStream Stream;
    Stream.WriteBuffer("before", 6);
    Stream.SetPosition(2);
    Stream.Writes = 0;
    try {
      Decoder.DecodeToStream(Case.Text, Stream);
      ADD_FAILURE() << "no error raised";
    } catch (const ERangeError& Error) {
      EXPECT_TRUE(Case.RangeError);
      EXPECT_EQ(Error.Message(), Case.Message);
    } catch (const EIdException& Error) {
      EXPECT_FALSE(Case.RangeError);
      EXPECT_EQ(Error.Message(), Case.Message);
    }
    EXPECT_EQ(Stream.Writes, 0);
    EXPECT_EQ(Stream.Bytes(), "before");
    EXPECT_EQ(Stream.Position(), 2);
  }
}

TEST_F(DecoderTest, WritesAtTheStreamPositionAndReportsAShortWrite) {
  TIdDecoderMIME Decoder;
  TMemoryStream Stream;
  Stream.WriteBuffer("0123456789", 10);
  Stream.SetPosition(4);
  Decoder.DecodeToStream("Zm9vYmFy", Stream);
  EXPECT_EQ(Stream.Bytes(), "0123foobar");
  EXPECT_EQ(Stream.Position(), 10);

  // A read-only stream takes nothing.
  const std::string Memory = "fixed";
  TIdReadMemoryStream ReadOnly(Memory.data(), static_cast<std::int64_t>(Memory.size()));
  try {
    Decoder.DecodeToStream("Zm9v", ReadOnly);
    ADD_FAILURE() << "no error raised";
  } catch (const EWriteError& Error) {
    EXPECT_EQ(Error.Message(), "Stream write error");
  }
  EXPECT_NO_THROW(Decoder.DecodeToStream("", ReadOnly));
}

TEST_F(DecoderTest, DecodeGroupGivesThreeBytesWithPadsAsZeroBits) {
  TIdDecoderMIME Decoder;
  using TBytes = std::array<std::uint8_t, 3>;
  EXPECT_EQ(Decoder.DecodeGroup('Z', 'm', '9', 'v'), (TBytes{0x66, 0x6F, 0x6F}));
  EXPECT_EQ(Decoder.DecodeGroup('Z', 'm', '8', '='), (TBytes{0x66, 0x6F, 0x00}));
  EXPECT_EQ(Decoder.DecodeGroup('Z', 'g', '=', '='), (TBytes{0x66, 0x00, 0x00}));
  EXPECT_THROW(Decoder.DecodeGroup('Z', 'm', '9', '!'), EIdException);
  EXPECT_THROW(Decoder.DecodeGroup('Z', 'g', '=', 'A'), EIdException);
  EXPECT_THROW(Decoder.DecodeGroup('Z', 'm', '9', '\0'), ERangeError);
}

TEST_F(DecoderTest, PadCharacterIsTheDecodersFillChar) {
  TIdDecoderMIME Decoder;
  EXPECT_EQ(Decoder.FillChar(), '=');
  EXPECT_EQ(Decoder.DecodeTable(), MimeDecodeTable);
  Decoder.SetFillChar('.');
  EXPECT_EQ(Decoder.DecodeText("Zg..Zm8."), "ffo");
  EXPECT_THROW(Decoder.DecodeText("Zg=="), EIdException);
}

TEST(DecoderBaseTest, DecoderWithoutDecodeToStreamIsAbstract) {
  TIdDecoder Decoder;
  TMemoryStream Stream;
  try {
    Decoder.DecodeToStream("Zm9v", Stream);
    ADD_FAILURE() << "no error raised";
  } catch (const EAbstractError& Error) {
    EXPECT_EQ(Error.Message(), "Abstract Error");
  }
  EXPECT_THROW(Decoder.DecodeText("Zm9v"), EAbstractError);
}

TEST(DecoderBaseTest, NewDecoder4to3HasAZeroTableAndNoPad) {
  TIdDecoder4to3 Decoder;
  EXPECT_EQ(Decoder.FillChar(), '\0');
  for (const std::uint8_t Entry : Decoder.DecodeTable())
    ASSERT_EQ(Entry, 0);
  // Every character with a code from 1 to 127 stands for 0, "=" included.
  EXPECT_EQ(ToHex(Decoder.DecodeText("Zm9v==AA\x01\x7F~ ")), "000000000000000000");
  // The byte 0 is out of range before it could be taken for the pad.
  EXPECT_THROW(Decoder.DecodeText(std::string("Zm\0\0", 4)), ERangeError);
}

TEST(DecodeTableTest, BuildDecodeTableFromAnAlphabet) {
  TIdDecodeTable Table;
  Table.fill(7);
  TIdDecoder4to3::BuildDecodeTable("ABCA", Table);
  EXPECT_EQ(EntryOf(Table, 'A'), 3); // the later of its two positions
  EXPECT_EQ(EntryOf(Table, 'B'), 1);
  EXPECT_EQ(EntryOf(Table, 'C'), 2);
  EXPECT_EQ(EntryOf(Table, 'D'), 255);
  EXPECT_EQ(EntryOf(Table, '\x01'), 255);

  TIdDecodeTable Mime;
  TIdDecoder4to3::BuildDecodeTable(MimeAlphabetChars, Mime);
  for (int Code = 1; Code <= 127; ++Code)
    EXPECT_EQ(Mime[static_cast<std::size_t>(Code - 1)], ExpectedMimeEntry(Code));

  TIdDecoder4to3::BuildDecodeTable("", Table);
  for (const std::uint8_t Entry : Table)
    ASSERT_EQ(Entry, 255);
}

TEST(DecodeTableTest, BuildDecodeTableRejectsCodesAndSizesOutOfRange) {
  TIdDecodeTable Table;
  // The entries set before the bad character stay set.
  EXPECT_THROW(TIdDecoder4to3::BuildDecodeTable("AB\x80"
                                                "C",
                                                Table),
               ERangeError);
  EXPECT_EQ(EntryOf(Table, 'A'), 0);
  EXPECT_EQ(EntryOf(Table, 'B'), 1);
  EXPECT_EQ(EntryOf(Table, 'C'), 255);
  EXPECT_THROW(TIdDecoder4to3::BuildDecodeTable(std::string("A\0", 2), Table), ERangeError);
  EXPECT_EQ(EntryOf(Table, 'A'), 0);

  // Positions 0 to 255 fit in an entry; the 257th character does not.
  const std::string Fits = "B" + std::string(255, 'A');
  EXPECT_NO_THROW(TIdDecoder4to3::BuildDecodeTable(Fits, Table));
  EXPECT_EQ(EntryOf(Table, 'A'), 255);
  EXPECT_THROW(TIdDecoder4to3::BuildDecodeTable(Fits + "C", Table), ERangeError);
  EXPECT_EQ(EntryOf(Table, 'B'), 0);
  EXPECT_EQ(EntryOf(Table, 'C'), 255);
}

} // namespace
} // namespace md5b64
