// The fast paths against the plain ones on random inputs: the inlined MD4/MD5 rounds against
// the virtual ones, MD2's paired steps against one step at a time, the vector Base64
// look-ups against one group at a time, the in-place read of a memory view against a stream
// read, and the queue's shortcuts for entries that begin with "0;" against entries of other
// kinds.
#include "coders/IdCoderMIME.h"
#include "coders/IdCoderMessageDigest.h"
#include "coders/IdCoderOld.h"
#include "coders/internal/Base64Blocks.h"
#include "coders/internal/Md2Transform.h"
#include "platform/IdGlobal.h"
#include "platform/Streams.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
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

// Feeds Input in random pieces, so that chunks are split at every kind of place.
template <class TCoder>
std::string Digest(TCoder& Coder, const std::string& Input, std::mt19937& Random) {
  Coder.Reset();
  for (std::size_t At = 0; At < Input.size();) {
    const std::size_t Piece = std::min<std::size_t>(Input.size() - At, Random() % 200);
    Coder.FeedText(std::string_view(Input).substr(At, Piece));
    At += Piece;
  }
  return Coder.FinishInput();
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
    ASSERT_EQ(Expected4.size(), 18U);
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
  return "0;" + std::string(reinterpret_cast<const char*>(X.data()), 16);
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

TEST(FastPathTest, MemoryViewEncodesAsAStreamRead) {
  std::mt19937 Random(2045);
  TIdEncoderMIME Encoder;
  for (int Round = 0; Round < 200; ++Round) {
    const std::string Input = RandomBytes(Random, Random() % 300);
    const std::int64_t Start = Input.empty() ? 0 : Random() % Input.size();
    const std::int32_t Limit = Random() % 2 ? TIdEncoder::NoLimit : 3 * (Random() % 50);

    TIdReadMemoryStream View(Input.data(), static_cast<std::int64_t>(Input.size()));
    View.SetPosition(Start);
    TMemoryStream Copy;
    Copy.WriteBuffer(Input.data(), static_cast<std::int32_t>(Input.size()));
    Copy.SetPosition(Start);

    EXPECT_EQ(Encoder.EncodeStream(View, Limit), Encoder.EncodeStream(Copy, Limit));
    EXPECT_EQ(View.Position(), Copy.Position());
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
    const std::uint32_t ChunkSize = 1 + Random() % 100;
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

// A piece that the coder did not make itself has no room for its kind: it is queued through
// a copy, with the same entry.
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
