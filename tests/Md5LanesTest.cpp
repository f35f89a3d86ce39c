// SPDX-License-Identifier: MIT
// MD5 of many messages in lanes: every kernel this machine has against the plain one, and
// the many-message call and the lanes object on every path against the one-call MD5Of and
// digests from Python's hashlib.
#include "Md5LanesTest.h"
#include "TestUtil.h"
#include "coders/Digest.h"
#include "coders/DigestMany.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace md5b64 {
namespace {

using internal::Md5LaneCount;
using internal::TMd5LaneMask;
using internal::TMd5LanesPath;
using internal::TMd5LaneStates;
using test::PatternBytes;
using test::ToHex;

std::string Hex(const TDigestBytes& Digest) {
  return ToHex({reinterpret_cast<const char*>(Digest.data()), Digest.size()});
}

// The one-call single-stream digest, itself checked against RFC 1321's suite and OpenSSL in
// DigestTest.
std::string SingleStreamHex(std::string_view Message) {
  return Hex(MD5Of(Message));
}

std::string RandomBytes(std::mt19937& Random, std::size_t Size) {
  std::uniform_int_distribution<int> Byte(0, 255);
  std::string Bytes(Size, '\0');
  for (char& C : Bytes)
    C = static_cast<char>(Byte(Random));
  return Bytes;
}

std::vector<std::string> DigestAllHex(const std::vector<std::string>& Texts) {
  const std::vector<std::string_view> Views(Texts.begin(), Texts.end());
  std::vector<TDigestBytes> Digests(Texts.size());
  MD5Many(Views, Digests);
  std::vector<std::string> Hexes;
  for (const TDigestBytes& Digest : Digests)
    Hexes.push_back(Hex(Digest));
  return Hexes;
}

class Md5LanesTest : public ::testing::Test {
protected:
  test::TMd5LanesPathGuard FGuard;
};

TEST_F(Md5LanesTest, ThePathsThisMachineHasCanBeForced) {
  const std::vector<TMd5LanesPath> Paths = test::Md5LanePaths();
  ASSERT_FALSE(Paths.empty());
  EXPECT_EQ(Paths.front(), TMd5LanesPath::Portable);
  for (TMd5LanesPath Path : Paths) {
    ASSERT_TRUE(internal::SetMd5LanesPath(Path));
    EXPECT_EQ(internal::Md5LanesPath(), Path);
  }
  for (TMd5LanesPath Path : {TMd5LanesPath::Avx2, TMd5LanesPath::Avx512}) {
    if (internal::HasMd5LanesPath(Path))
      continue;
    const TMd5LanesPath Before = internal::Md5LanesPath();
    EXPECT_FALSE(internal::SetMd5LanesPath(Path));
    EXPECT_EQ(internal::Md5LanesPath(), Before);
  }
}

// Each vector kernel against the plain one on random states and blocks, for masks that leave
// lanes out in every way that matters: none, all, one, alternate lanes, one half of each set
// of eight, and random ones. A lane left out keeps its state and its block is not read.
TEST_F(Md5LanesTest, VectorKernelsAgreeWithThePlainOneLaneByLane) {
  using TKernel =
      void (*)(TMd5LaneStates&, const unsigned char* const*, TMd5LaneMask, std::size_t) noexcept;
  std::vector<std::pair<const char*, TKernel>> Kernels;
  if (TKernel Kernel = internal::Md5LanesKernel(TMd5LanesPath::Avx2))
    Kernels.push_back({"AVX2", Kernel});
  if (TKernel Kernel = internal::Md5LanesKernel(TMd5LanesPath::Avx512))
    Kernels.push_back({"AVX-512", Kernel});
  if (Kernels.empty())
    GTEST_SKIP() << "this machine has no vector lanes";

  std::mt19937 Random(1321);
  std::vector<TMd5LaneMask> Masks = {0x0000, 0xFFFF, 0x0001, 0x8000, 0x0100,
                                     0x5555, 0xAAAA, 0x00FF, 0xFF00, 0x7FFE};
  for (int I = 0; I < 20; ++I)
    Masks.push_back(static_cast<TMd5LaneMask>(Random() & 0xFFFFU));
  for (const auto& [Name, Kernel] : Kernels) {
    for (TMd5LaneMask Mask : Masks) {
      for (std::size_t Blocks : {std::size_t{1}, std::size_t{2}, std::size_t{5}}) {
        SCOPED_TRACE(std::string(Name) + " mask " + std::to_string(Mask) + ", " +
                     std::to_string(Blocks) + " blocks");
        TMd5LaneStates Start;
        for (auto& Word : Start.Word)
          for (std::uint32_t& Lane : Word)
            Lane = static_cast<std::uint32_t>(Random());
        std::vector<std::string> Messages;
        const unsigned char* Data[Md5LaneCount];
        for (std::size_t L = 0; L < Md5LaneCount; ++L)
          Messages.push_back(RandomBytes(Random, 64 * Blocks));
        for (std::size_t L = 0; L < Md5LaneCount; ++L)
          Data[L] = (Mask >> L & 1U) != 0
                        ? reinterpret_cast<const unsigned char*>(Messages[L].data())
                        : nullptr;
        TMd5LaneStates Plain = Start, Vector = Start;
        internal::Md5LanesPortable(Plain, Data, Mask, Blocks);
        Kernel(Vector, Data, Mask, Blocks);
        for (std::size_t L = 0; L < Md5LaneCount; ++L) {
          EXPECT_EQ(Vector.Lane(L), Plain.Lane(L)) << "lane " << L;
          if ((Mask >> L & 1U) == 0)
            EXPECT_EQ(Vector.Lane(L), Start.Lane(L)) << "idle lane " << L;
          else
            EXPECT_NE(Vector.Lane(L), Start.Lane(L)) << "lane " << L;
        }
      }
    }
  }
}

// RFC 1321, appendix A.5, on every path, the seven messages together in one call.
TEST_F(Md5LanesTest, ManyMessagesGiveTheRfcSuite) {
  const std::vector<std::string> Suite = {
      "",
      "a",
      "abc",
      "message digest",
      "abcdefghijklmnopqrstuvwxyz",
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
      "12345678901234567890123456789012345678901234567890123456789012345678901234567890"};
  const std::vector<std::string> Expected = {
      "d41d8cd98f00b204e9800998ecf8427e", "0cc175b9c0f1b6a831c399e269772661",
      "900150983cd24fb0d6963f7d28e17f72", "f96b697d7cb7938d525a2f31aaf161d0",
      "c3fcd3d76192e4007dfb496cca67e13b", "d174ab98d277d9f5a5611c2c9f419d9f",
      "57edf4a22be3c955ac49da2e2107b67a"};
  for (TMd5LanesPath Path : test::Md5LanePaths()) {
    SCOPED_TRACE(test::Md5LanePathName(Path));
    ASSERT_TRUE(internal::SetMd5LanesPath(Path));
    EXPECT_EQ(DigestAllHex(Suite), Expected);
  }
}

// Every length from 0 to 300 bytes of the 251-cycle pattern, 301 messages in one call: each
// lane takes message after message, so lanes finish at every offset from one another and the
// tails of one or two blocks run beside whole blocks of others.
TEST_F(Md5LanesTest, EveryLengthUpToFiveBlocks) {
  std::vector<std::string> Messages;
  for (std::size_t Size = 0; Size <= 300; ++Size)
    Messages.push_back(PatternBytes(Size));
  // Python: hashlib.md5("".join(hashlib.md5(bytes(i % 251 for i in range(n))).hexdigest()
  //                             for n in range(301)).encode()).hexdigest()
  const std::string ExpectedOfAll = "9417a867c6efe96e57a9ca18e4553ace";
  for (TMd5LanesPath Path : test::Md5LanePaths()) {
    SCOPED_TRACE(test::Md5LanePathName(Path));
    ASSERT_TRUE(internal::SetMd5LanesPath(Path));
    const std::vector<std::string> Hexes = DigestAllHex(Messages);
    std::string All;
    for (std::size_t Size = 0; Size < Hexes.size(); ++Size) {
      EXPECT_EQ(Hexes[Size], SingleStreamHex(Messages[Size])) << Size << " bytes";
      All += Hexes[Size];
    }
    EXPECT_EQ(SingleStreamHex(All), ExpectedOfAll);
  }
}

// Random messages of very unequal lengths (some empty, some many blocks), more than there are
// lanes, as bytes and as texts.
TEST_F(Md5LanesTest, UnequalRandomMessagesMatchSingleStream) {
  std::mt19937 Random(1992);
  std::uniform_int_distribution<std::size_t> Size(0, 5000);
  std::vector<std::string> Messages;
  for (int I = 0; I < 45; ++I)
    Messages.push_back(RandomBytes(Random, I % 7 == 0 ? Size(Random) * 8 : Size(Random)));
  std::vector<std::string> Expected;
  for (const std::string& Message : Messages)
    Expected.push_back(SingleStreamHex(Message));

  std::vector<std::span<const std::uint8_t>> Spans;
  for (const std::string& Message : Messages)
    Spans.emplace_back(reinterpret_cast<const std::uint8_t*>(Message.data()), Message.size());
  for (TMd5LanesPath Path : test::Md5LanePaths()) {
    SCOPED_TRACE(test::Md5LanePathName(Path));
    ASSERT_TRUE(internal::SetMd5LanesPath(Path));
    EXPECT_EQ(DigestAllHex(Messages), Expected);
    std::vector<TDigestBytes> Digests(Spans.size());
    MD5Many(std::span<const std::span<const std::uint8_t>>(Spans), Digests);
    for (std::size_t I = 0; I < Digests.size(); ++I)
      EXPECT_EQ(Hex(Digests[I]), Expected[I]) << "message " << I;
  }
}

TEST_F(Md5LanesTest, TooFewDigestsIsARangeErrorAndWritesNothing) {
  const std::vector<std::string_view> Messages = {"a", "b", "c"};
  TDigestBytes Untouched;
  Untouched.fill(0xA5);
  std::vector<TDigestBytes> Digests(2, Untouched);
  EXPECT_THROW(MD5Many(Messages, Digests), ERangeError);
  EXPECT_EQ(Digests, std::vector<TDigestBytes>(2, Untouched));

  // More room than messages: the rest is left alone. No messages at all writes nothing.
  std::vector<TDigestBytes> Roomy(4, Untouched);
  MD5Many(Messages, Roomy);
  EXPECT_EQ(Hex(Roomy[2]), "4a8a08f09d37b73795649038408b5f33"); // Python: md5(b"c")
  EXPECT_EQ(Roomy[3], Untouched);
  MD5Many(std::span<const std::string_view>(), std::span<TDigestBytes>());
}

// A model of what each lane was fed, beside the lanes object.
struct TLaneModel {
  std::string Fed;
};

// Lanes fed in random pieces (from nothing to more than a lane holds) in a random order,
// finished and started again at random moments, with more lanes than a vector set; every
// digest against single-stream MD5 of what that lane was fed, and Length alongside.
TEST_F(Md5LanesTest, LanesFedAtRandomMatchSingleStream) {
  for (TMd5LanesPath Path : test::Md5LanePaths()) {
    for (std::size_t LaneCount : {std::size_t{1}, std::size_t{16}, std::size_t{21}}) {
      SCOPED_TRACE(test::Md5LanePathName(Path) + ", " + std::to_string(LaneCount) + " lanes");
      ASSERT_TRUE(internal::SetMd5LanesPath(Path));
      std::mt19937 Random(static_cast<unsigned>(1000 + LaneCount));
      std::uniform_int_distribution<std::size_t> Lane(0, LaneCount - 1);
      std::uniform_int_distribution<int> Percent(0, 99);
      TMD5Lanes Lanes(LaneCount);
      ASSERT_EQ(Lanes.LaneCount(), LaneCount);
      std::vector<TLaneModel> Model(LaneCount);
      int Finished = 0;
      for (int Step = 0; Step < 600; ++Step) {
        const std::size_t L = Lane(Random);
        const int Roll = Percent(Random);
        if (Roll < 8) {
          EXPECT_EQ(Hex(Lanes.Finish(L)), SingleStreamHex(Model[L].Fed));
          EXPECT_EQ(Lanes.Length(L), 0U);
          Model[L].Fed.clear();
          ++Finished;
          continue;
        }
        // Mostly pieces well below a lane's buffer, sometimes one larger than it.
        const std::size_t Size = Roll < 12   ? TMD5Lanes::LaneBufferSize + Random() % 3000
                                 : Roll < 20 ? 0
                                             : Random() % 700;
        const std::string Piece = RandomBytes(Random, Size);
        if (Roll % 2 == 0)
          Lanes.Update(L, Piece);
        else
          Lanes.Update(L, std::span<const std::uint8_t>(
                              reinterpret_cast<const std::uint8_t*>(Piece.data()), Size));
        Model[L].Fed += Piece;
        EXPECT_EQ(Lanes.Length(L), Model[L].Fed.size());
      }
      for (std::size_t L = 0; L < LaneCount; ++L)
        EXPECT_EQ(Hex(Lanes.Finish(L)), SingleStreamHex(Model[L].Fed)) << "lane " << L;
      EXPECT_GT(Finished, 0);
    }
  }
}

// Sixteen lanes fed in turns of a lane's buffer keep pace: every lane ends on the same byte,
// and lanes of every length below a block also end together with them.
TEST_F(Md5LanesTest, LanesInStepAndResetAndCopies) {
  for (TMd5LanesPath Path : test::Md5LanePaths()) {
    SCOPED_TRACE(test::Md5LanePathName(Path));
    ASSERT_TRUE(internal::SetMd5LanesPath(Path));
    TMD5Lanes Lanes;
    std::vector<std::string> Fed(16);
    for (int Turn = 0; Turn < 3; ++Turn)
      for (std::size_t L = 0; L < 16; ++L) {
        const std::string Piece = PatternBytes(TMD5Lanes::LaneBufferSize + L).substr(L);
        Lanes.Update(L, Piece);
        Fed[L] += Piece;
      }
    // A copy goes on by itself; a reset lane forgets what it had.
    TMD5Lanes Copy = Lanes;
    Copy.Update(3, "more");
    Lanes.Reset(5);
    Lanes.Update(5, "abc");
    for (std::size_t L = 0; L < 16; ++L) {
      const std::string Expected = L == 5 ? "900150983cd24fb0d6963f7d28e17f72" // RFC 1321 A.5
                                          : SingleStreamHex(Fed[L]);
      EXPECT_EQ(Hex(Lanes.Finish(L)), Expected) << "lane " << L;
    }
    EXPECT_EQ(Hex(Copy.Finish(3)), SingleStreamHex(Fed[3] + "more"));
    EXPECT_EQ(Hex(Copy.Finish(5)), SingleStreamHex(Fed[5]));
  }
}

TEST_F(Md5LanesTest, LaneOutsideTheObjectIsARangeError) {
  EXPECT_THROW(TMD5Lanes(0), ERangeError);
  TMD5Lanes Lanes(3);
  EXPECT_THROW(Lanes.Update(3, "x"), ERangeError);
  EXPECT_THROW(Lanes.Finish(3), ERangeError);
  EXPECT_THROW(Lanes.Reset(99), ERangeError);
  EXPECT_THROW(static_cast<void>(Lanes.Length(3)), ERangeError);
  // The lanes that exist are untouched by the failed calls.
  Lanes.Update(2, "abc");
  EXPECT_EQ(Hex(Lanes.Finish(2)), "900150983cd24fb0d6963f7d28e17f72");
}

} // namespace
} // namespace md5b64
