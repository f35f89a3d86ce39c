// SPDX-License-Identifier: MIT
// The fast paths against the plain ones on random inputs: the inlined MD4/MD5 rounds against
// the virtual ones, MD2's paired steps against one step at a time, the vector Base64
// look-ups against one group at a time, bulk Base64 decoding against the checked steps on
// good and bad texts, the in-place read of a memory view against a stream read, the string
// list's removal from the front against a plain queue, and the queue's shortcuts for entries
// that begin with "0;" against entries of other kinds.
#include "DigestFeeder.h"
#include "TestUtil.h"
#include "coders/IdCoderMIME.h"
#include "coders/IdCoderMessageDigest.h"
#include "coders/IdCoderOld.h"
#include "coders/internal/Base64Blocks.h"
#include "coders/internal/Decode4to3.h"
#include "coders/internal/Md2Transform.h"
#include "platform/IdGlobal.h"
#include "platform/Streams.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

// Fixed seeds: a failure reproduces.
std::string RandomBytes(std::mt19937& Random, std::size_t Size) {
  std::string Bytes(Size, '\0');
  for (char& C : Bytes)
    C = static_cast<char>(Random() & 0xFF);
  return Bytes;
}

// Derived classes that replace nothing: the coder takes its virtual rounds.
class TPlainMd4 : public TIdCoderMD4 {};
class TPlainMd5 : public TIdCoderMD5 {};

// A new message fed in random pieces, so that chunks are split at every kind of place.
std::string Digest(TIdCoder& Coder, const std::string& Input, std::mt19937& Random) {
  Coder.Reset();
  return test::FeedDigest(Coder, Input, [&Random] { return std::size_t{Random() % 200}; });
}

TEST(FastPathTest, InlinedRoundsAgreeWithVirtualRounds) {
  std::mt19937 Random(1320);
  TIdCoderMD4 Md4;
  TPlainMd4 PlainMd4;
  TIdCoderMD5 Md5;
  TPlainMd5 PlainMd5;
  for (int Round = 0; Round < 300; ++Round) {
    const std::string Input = RandomBytes(Random, Random() % 1000);
    const std::string Expected4 = Digest(PlainMd4, Input, Random);
    const std::string Expected5 = Digest(PlainMd5, Input, Random);
    ASSERT_EQ(Expected4.size(), 32U);
    ASSERT_NE(Expected4, Expected5);
    EXPECT_EQ(Digest(Md4, Input, Random), Expected4) << Input.size();
    EXPECT_EQ(Digest(Md5, Input, Random), Expected5) << Input.size();
  }
}

TEST(FastPathTest, Md2PairedStepsAgreeWithOneStepAtATime) {
  std::mt19937 Random(1319);
  for (int Round = 0; Round < 2000; ++Round) {
    // Any state and block: every entry of the pair table is reached many times over.
    std::array<std::uint8_t, 48> Fast, Plain;
    for (std::uint8_t& Byte : Fast)
      Byte = static_cast<std::uint8_t>(Random());
    Plain = Fast;
    const std::string Block = RandomBytes(Random, 16);
    const auto* Bytes = reinterpret_cast<const std::uint8_t*>(Block.data());
    internal::Md2Transform(Fast, Bytes);
    internal::Md2TransformPortable(Plain, Bytes);
    ASSERT_EQ(Fast, Plain) << Round;
  }
}

// MD2 whole: the coder against the RFC's steps written out here with the plain transform.
std::string PlainMd2(const std::string& Message) {
  std::string Padded = Message;
  Padded.append(16 - Message.size() % 16, static_cast<char>(16 - Message.size() % 16));
  std::array<std::uint8_t, 16> Checksum{};
  std::uint8_t Link = 0;
  for (std::size_t At = 0; At < Padded.size(); At += 16) {
    for (std::size_t I = 0; I < 16; ++I) {
      Checksum[I] ^= PiSubstitution[static_cast<std::uint8_t>(Padded[At + I]) ^ Link];
      Link = Checksum[I];
    }
  }
  Padded.append(reinterpret_cast<const char*>(Checksum.data()), Checksum.size());
  std::array<std::uint8_t, 48> X{};
  for (std::size_t At = 0; At < Padded.size(); At += 16)
    internal::Md2TransformPortable(X, reinterpret_cast<const std::uint8_t*>(Padded.data() + At));
  return test::ToHex(std::string(reinterpret_cast<const char*>(X.data()), 16));
}

TEST(FastPathTest, Md2CoderAgreesWithThePlainTransform) {
  std::mt19937 Random(1989);
  TIdCoderMD2 Md2;
  for (int Round = 0; Round < 200; ++Round) {
    const std::string Input = RandomBytes(Random, Random() % 300);
    EXPECT_EQ(Digest(Md2, Input, Random), PlainMd2(Input)) << Input.size();
  }
}

TEST(FastPathTest, VectorLookUpsAgreeWithOneGroupAtATime) {
  std::mt19937 Random(4648);
  for (int Round = 0; Round < 400; ++Round) {
    // Any 64 bytes make a table, high bytes and repeats included.
    const std::string Table = RandomBytes(Random, 64);
    const std::size_t Size = Round < 200 ? static_cast<std::size_t>(Round) : Random() % 5000;
    const std::string Input = RandomBytes(Random, Size);
    const auto* In = reinterpret_cast<const unsigned char*>(Input.data());
    // Guard bytes after the groups: the caller owns what follows them.
    const std::size_t Length = Size / 3 * 4;
    std::string Fast(Length + 8, '#'), Plain(Length + 8, '#');
    internal::EncodeGroups(Table.data(), In, Size, Fast.data());
    internal::EncodeGroupsPortable(Table.data(), In, Size, Plain.data());
    EXPECT_EQ(Fast, Plain) << Size;
    EXPECT_EQ(Fast.substr(Length), std::string(8, '#')) << Size;
  }
}

// The outcome of encoding from Stream: the text, or the error's class and message.
std::string EncodeOutcome(TIdEncoderMIME& Encoder, TStream& Stream, std::int32_t Limit) {
  try {
    return "text " + Encoder.EncodeStream(Stream, Limit);
  } catch (const Exception& Error) {
    return std::string(Error.ClassName()) + " " + Error.Message();
  }
}

TEST(FastPathTest, MemoryViewEncodesAsAStreamRead) {
  std::mt19937 Random(2045);
  TIdEncoderMIME Encoder;
  for (int Round = 0; Round < 300; ++Round) {
    const std::string Input = RandomBytes(Random, Random() % 300);
    // Mostly within the bytes; now and then before them or past their end.
    const auto Size = static_cast<std::int64_t>(Input.size());
    auto Start = static_cast<std::int64_t>(Input.empty() ? 0 : Random() % Input.size());
    if (Round % 10 == 0)
      Start = -1 - static_cast<std::int64_t>(Random() % 5);
    else if (Round % 10 == 1)
      Start = Size + static_cast<std::int64_t>(Random() % 5);
    const std::int32_t Limit =
        Random() % 2 ? TIdEncoder::NoLimit : static_cast<std::int32_t>(3 * (Random() % 50));

    TIdReadMemoryStream View(Input.data(), Size);
    View.SetPosition(Start);
    TMemoryStream Copy;
    Copy.WriteBuffer(Input.data(), static_cast<std::int32_t>(Input.size()));
    Copy.SetPosition(Start);

    EXPECT_EQ(EncodeOutcome(Encoder, View, Limit), EncodeOutcome(Encoder, Copy, Limit))
        << "start " << Start << " of " << Size;
    EXPECT_EQ(View.Position(), Copy.Position());
  }
}

// A Base64 text of Groups groups over Alphabet, with flaws at random: padded groups, bytes
// outside the alphabet or out of range, pads in the wrong places, and a cut last group.
// FlawPercent 0 gives a clean text.
std::string DecodingText(std::mt19937& Random, std::string_view Alphabet, char Fill,
                         std::size_t Groups, unsigned FlawPercent) {
  std::string Text;
  for (std::size_t G = 0; G < Groups; ++G)
    for (int I = 0; I < 4; ++I)
      Text += Alphabet[Random() % Alphabet.size()];
  if (FlawPercent == 0)
    return Text;
  for (std::size_t G = 0; G < Groups; ++G) {
    if (Random() % 100 >= FlawPercent)
      continue;
    char* Group = Text.data() + 4 * G;
    switch (Random() % 5) {
    case 0: // "xx==" or "xxx=", good anywhere
      Group[3] = Fill;
      if (Random() % 2)
        Group[2] = Fill;
      break;
    case 1: // a pad in the wrong place
      Group[Random() % 4] = Fill;
      break;
    case 2: // any byte at all: zero, high, space, a line break
      Group[Random() % 4] = static_cast<char>(Random());
      break;
    case 3:
      Group[Random() % 4] = std::string_view("\0\x80\xFF \r\n!", 7)[Random() % 7];
      break;
    default: // the pads' own byte, beside other flaws
      Group[2] = Fill;
      break;
    }
  }
  if (Random() % 4 == 0 && !Text.empty())
    Text.resize(Text.size() - 1 - Random() % 3);
  return Text;
}

// The outcome of decoding Text: the bytes, or the error's class and message.
std::string DecodeOutcome(const TIdDecodeTable& Table, char Fill, const std::string& Text,
                          bool Bulk) {
  std::string Bytes(Text.size() / 4 * 3, '\0');
  try {
    const std::size_t Count = internal::DecodeAllGroups(
        Table, Fill, Text, reinterpret_cast<std::uint8_t*>(Bytes.data()), Bulk);
    return "bytes " + Bytes.substr(0, Count);
  } catch (const Exception& Error) {
    return std::string(Error.ClassName()) + " " + Error.Message();
  }
}

TEST(FastPathTest, BulkDecodingAgreesWithTheCheckedSteps) {
  std::mt19937 Random(4686);
  int Failures = 0, Decoded = 0;
  for (int Round = 0; Round < 3000; ++Round) {
    // The MIME alphabet, or another one: shorter, longer than 64 (entries of 64 and more),
    // or holding the pad itself.
    std::string Alphabet(MimeAlphabetChars);
    char Fill = '=';
    switch (Round % 6) {
    case 1:
      Alphabet = ".-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
      Fill = '~';
      break;
    case 2:
      Alphabet = Alphabet.substr(0, 40);
      break;
    case 3:
      Alphabet += "!#$%&*";
      break;
    case 4:
      Fill = 'Q';
      break;
    case 5:
      Fill = Round % 12 == 5 ? '\0' : '\xC0';
      break;
    default:
      break;
    }
    TIdDecodeTable Table;
    TIdDecoder4to3::BuildDecodeTable(Alphabet, Table);
    const std::size_t Groups = Round % 10 == 0 ? Random() % 3000 : Random() % 120;
    const std::string Text =
        DecodingText(Random, Alphabet, Fill, Groups,
                     Round % 3 == 0 ? 0 : static_cast<unsigned>(1 + Random() % 20));
    const std::string Plain = DecodeOutcome(Table, Fill, Text, false);
    EXPECT_EQ(DecodeOutcome(Table, Fill, Text, true), Plain)
        << "alphabet " << Alphabet << ", pad " << int(Fill) << ", text " << Text;
    (Plain.rfind("bytes ", 0) == 0 ? Decoded : Failures) += 1;
  }
  // Both kinds of outcome were compared many times.
  EXPECT_GT(Decoded, 1000);
  EXPECT_GT(Failures, 500);
}

TEST(FastPathTest, VectorDecodingAgreesWithOneGroupAtATime) {
  std::mt19937 Random(2045);
  TIdDecodeTable Table;
  TIdDecoder4to3::BuildDecodeTable(MimeAlphabetChars, Table);
  for (int Round = 0; Round < 1000; ++Round) {
    const std::string Text =
        DecodingText(Random, MimeAlphabetChars, '=', Random() % 200, Round % 2 ? 0 : 2);
    // Guard bytes after the room the groups need: the caller owns what follows it.
    const std::size_t Room = Text.size() / 4 * 3;
    std::string Fast(Room + 32, '#'), Plain(Room + 32, '#');
    const std::size_t FastDone = internal::DecodeGroups(
        Table.data(), Text.data(), Text.size(), reinterpret_cast<std::uint8_t*>(Fast.data()));
    const std::size_t PlainDone = internal::DecodeGroupsPortable(
        Table.data(), Text.data(), Text.size(), reinterpret_cast<std::uint8_t*>(Plain.data()));
    ASSERT_EQ(FastDone, PlainDone) << Text;
    EXPECT_EQ(Fast.substr(0, FastDone / 4 * 3), Plain.substr(0, PlainDone / 4 * 3)) << Text;
    EXPECT_EQ(Fast.substr(Room), std::string(32, '#')) << Text;
  }
}

// The list's places freed from the front, against a plain double-ended queue.
TEST(FastPathTest, StringListAgreesWithAPlainQueue) {
  std::mt19937 Random(1024);
  TStringList List;
  std::deque<std::string> Plain;
  for (int Step = 0; Step < 20000; ++Step) {
    const auto Operation = static_cast<unsigned>(Random() % 100);
    if (Operation < 45 || Plain.empty()) {
      // Adding leads, so that the list grows long and its front moves far before it empties.
      std::string Text = RandomBytes(Random, Random() % 40);
      EXPECT_EQ(List.Add(Text), Plain.size());
      Plain.push_back(std::move(Text));
    } else if (Operation < 75) {
      EXPECT_EQ(List.Extract(0), Plain.front());
      Plain.pop_front();
    } else if (Operation < 85) {
      List.Delete(0);
      Plain.pop_front();
    } else if (Operation < 95) {
      const std::size_t Index = Random() % Plain.size();
      if (Random() % 2) {
        EXPECT_EQ(List.Extract(Index), Plain[Index]);
      } else {
        List.Delete(Index);
      }
      Plain.erase(Plain.begin() + static_cast<std::ptrdiff_t>(Index));
    } else if (Operation < 96) {
      List.Clear();
      Plain.clear();
    } else {
      EXPECT_THROW(List.Strings(Plain.size() + Random() % 3), EListError);
    }
    ASSERT_EQ(List.Count(), Plain.size()) << Step;
    for (std::size_t I = 0; I < Plain.size(); I += 1 + Plain.size() / 8)
      ASSERT_EQ(List.Strings(I), Plain[I]) << Step;
  }
}

// A coder whose chunks become entries of a kind chosen by the test.
class TKindCoder : public TIdCoder {
public:
  std::string Kind;

protected:
  void CodeChunk() override {
    OutputQueue().Add(Kind + ";" + std::string(Chunk().data(), ChunkSize()));
    FChunkFill = 0;
  }
};

TEST(FastPathTest, QueueShortcutsAgreeWithSplittingEachEntry) {
  std::mt19937 Random(1987);
  for (int Round = 0; Round < 100; ++Round) {
    const std::string Input = RandomBytes(Random, Random() % 2000);
    const auto ChunkSize = static_cast<std::uint32_t>(1 + Random() % 100);
    // Plain coder: entries "0;" and the piece, taken by the shortcuts.
    TIdCoder Plain;
    Plain.ResizeChunk(ChunkSize);
    // Entries of kind "00" are data too, but must be split at their ";".
    TKindCoder Other;
    Other.Kind = "00";
    Other.ResizeChunk(ChunkSize);
    const std::string Whole = Input.substr(0, Input.size() / ChunkSize * ChunkSize);

    EXPECT_EQ(Plain.FeedText(Input), Whole.empty() ? "" : "0;" + Whole);
    EXPECT_EQ(Other.FeedText(Input), Whole.empty() ? "" : "0;" + Whole);
  }
}

// Emits pieces the test makes, of any length and capacity.
class TEmittingCoder : public TIdCoder {
public:
  void Emit(std::string Piece) { EmitOutput(std::move(Piece)); }
};

TEST(FastPathTest, NextDataOfEitherKindOfEntry) {
  std::mt19937 Random(1988);
  TEmittingCoder Coder;
  std::vector<std::string> Pieces;
  for (int I = 0; I < 100; ++I) {
    Pieces.push_back(RandomBytes(Random, Random() % 30));
    if (Random() % 2)
      Coder.Emit(Pieces.back());
    else
      Coder.OutputQueue().Add("00;" + Pieces.back());
  }
  for (const std::string& Piece : Pieces)
    EXPECT_EQ(Coder.TakeNextData(), Piece);
  EXPECT_EQ(Coder.OutputQueue().Count(), 0U);
}

TEST(FastPathTest, PiecesWithAndWithoutRoomMakeTheSameEntry) {
  std::mt19937 Random(3);
  for (int Round = 0; Round < 50; ++Round) {
    std::string Piece = RandomBytes(Random, Random() % 40);
    std::string Tight = Piece;
    Tight.shrink_to_fit();
    TEmittingCoder Coder;
    Coder.SetAppendLineBreak(Round % 2 == 1);
    Coder.Emit(Tight);
    Coder.Emit(Piece + "xyz");
    const std::string Break = Round % 2 == 1 ? "\r\n" : "";
    ASSERT_EQ(Coder.OutputQueue().Count(), 2U);
    EXPECT_EQ(Coder.OutputQueue().Strings(0), "0;" + Piece + Break);
    EXPECT_EQ(Coder.OutputQueue().Strings(1), "0;" + Piece + "xyz" + Break);
  }
}

} // namespace
} // namespace md5b64
