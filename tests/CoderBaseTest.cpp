// SPDX-License-Identifier: MIT
// The buffered coder base: chunking, the output queue, notices, the data event, counters
// and chunk sizes. A plain TIdCoder is an identity coder, so its output must equal its input.
#include "TestUtil.h"
#include "coders/IdCoderOld.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

using test::PatternBytes;

// Opens the operations meant for derived coders to the tests.
class TProbeCoder : public TIdCoder {
public:
  using TIdCoder::ApplyChunkSize;
  using TIdCoder::CountProcessed;
  using TIdCoder::EmitOutput;
};

std::string Data(const std::string& Piece) {
  return "0;" + Piece;
}

TEST(CoderBaseTest, NewCoderDefaults) {
  TIdCoder Coder;
  EXPECT_EQ(Coder.ChunkSize(), 4096U);
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_EQ(Coder.Chunk().size(), 4096U);
  EXPECT_FALSE(Coder.AppendLineBreak() || Coder.AutoFinish() || Coder.DropData() ||
               Coder.DropNotices() || Coder.UseDataEvent() || Coder.Finishing());
  EXPECT_EQ(Coder.ProcessedCount().Value() + Coder.InputCount().Value() +
                Coder.OutputCount().Value(),
            0U);
  EXPECT_TRUE(Coder.OutputQueue().IsEmpty());
  EXPECT_TRUE(Coder.ParamText().empty());
  EXPECT_FALSE(Coder.OnDataReady());
}

TEST(CoderBaseTest, FullChunksAreCodedAtOnceAndTheRestAtTheEnd) {
  const std::string Input = PatternBytes(5000);
  TIdCoder Coder;
  EXPECT_EQ(Coder.FeedText(Input), Data(Input.substr(0, 4096)));
  EXPECT_EQ(Coder.ChunkFill(), 904U);
  EXPECT_EQ(Coder.FinishInput(), Data(Input.substr(4096)));
  EXPECT_TRUE(Coder.Finishing());
  EXPECT_EQ(Coder.InputCount().Value(), 5000U);
  EXPECT_EQ(Coder.OutputCount().Value(), 5000U);
  EXPECT_EQ(Coder.ProcessedCount().Value(), 5000U);
}

TEST(CoderBaseTest, ExactlyOneChunkLeavesAnEmptyFinalPiece) {
  const std::string Input = PatternBytes(4096);
  TIdCoder Coder;
  EXPECT_EQ(Coder.FeedText(Input), Data(Input));
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_EQ(Coder.FinishInput(), "0;");
}

TEST(CoderBaseTest, ShortTextIsHeldWithoutOutput) {
  TIdCoder Coder;
  EXPECT_EQ(Coder.FeedText("abc"), "");
  EXPECT_EQ(Coder.ChunkFill(), 3U);
  EXPECT_EQ(Coder.Chunk().substr(0, 3), "abc");
  EXPECT_EQ(Coder.FeedText(""), "");
  EXPECT_EQ(Coder.FinishInput(), "0;abc");
}

// Feeds Input in random pieces and records every piece that reaches the data event.
std::vector<std::string> PiecesOf(const std::string& Input, std::uint32_t ChunkSize,
                                  unsigned Seed) {
  TIdCoder Coder;
  Coder.ResizeChunk(ChunkSize);
  std::vector<std::string> Pieces;
  Coder.SetUseDataEvent(true);
  Coder.SetOnDataReady([&](TIdCoder&, const std::string& Piece) { Pieces.push_back(Piece); });
  std::mt19937 Random(Seed);
  for (std::size_t At = 0; At < Input.size();) {
    const std::size_t Step =
        Seed == 0 ? Input.size()
                  : std::uniform_int_distribution<std::size_t>(0, 3 * ChunkSize)(Random);
    Coder.FeedText(std::string_view(Input).substr(At, Step));
    At += Step;
  }
  Coder.FinishInput();
  return Pieces;
}

TEST(CoderBaseTest, ChunkingDoesNotDependOnHowInputIsSplit) {
  const std::string Input = PatternBytes(2000);
  for (const std::uint32_t ChunkSize : {1U, 7U, 64U, 1000U}) {
    const std::vector<std::string> Whole = PiecesOf(Input, ChunkSize, 0);
    ASSERT_EQ(Whole.size(), Input.size() / ChunkSize + 1);
    std::string Joined;
    for (const std::string& Piece : Whole)
      Joined += Piece;
    EXPECT_EQ(Joined, Input);
    for (unsigned Seed = 1; Seed <= 5; ++Seed)
      EXPECT_EQ(PiecesOf(Input, ChunkSize, Seed), Whole) << "chunk " << ChunkSize;
  }
}

TEST(CoderBaseTest, AppendLineBreakEndsEveryPieceWithCrLf) {
  TIdCoder Coder;
  Coder.SetAppendLineBreak(true);
  Coder.FeedText("0123456789");
  EXPECT_EQ(Coder.FinishInput(), "0;0123456789\r\n");
  EXPECT_EQ(Coder.OutputCount().Value(), 12U);
  EXPECT_EQ(Coder.ProcessedCount().Value(), 10U);
}

TEST(CoderBaseTest, PiecesBetweenTwoTakesAreMerged) {
  const std::string Input = PatternBytes(12288);
  TIdCoder Coder;
  EXPECT_EQ(Coder.FeedText(Input), Data(Input));
  EXPECT_TRUE(Coder.OutputQueue().IsEmpty());

  TProbeCoder Probe;
  Probe.EmitOutput("one");
  Probe.EmitOutput(std::string("t\0o", 3));
  Probe.EmitOutput("three;");
  EXPECT_EQ(Probe.TakeOutput(), Data(std::string("onet\0othree;", 12)));
  EXPECT_EQ(Probe.TakeOutput(), "");
}

TEST(CoderBaseTest, TakeNextDataTakesOnePieceWithoutItsKind) {
  TProbeCoder Coder;
  for (const char* Piece : {"first", "second", "third"})
    Coder.EmitOutput(Piece);
  EXPECT_EQ(Coder.TakeNextData(), "first");
  ASSERT_EQ(Coder.OutputQueue().Count(), 2U);
  EXPECT_EQ(Coder.OutputQueue().Strings(0), "0;second");
  EXPECT_EQ(Coder.TakeNextData(), "second");
  EXPECT_EQ(Coder.TakeNextData(), "third");
  EXPECT_EQ(Coder.TakeNextData(), "");
}

// Queue contents, flags, and what each take returns with what it leaves queued.
struct TTakeCase {
  const char* Name;
  std::vector<std::string> Queue;
  bool DropNotices;
  bool DropData;
  bool UseTakeOutput;
  std::string Expected;
  std::vector<std::string> Left;
};

TEST(CoderBaseTest, NoticesAndDropFlags) {
  const std::vector<TTakeCase> Cases = {
      {"output returns a notice whole",
       {"7;note", "0;data"},
       false,
       false,
       true,
       "7;note",
       {"0;data"}},
      {"output returns a notice whole with DropNotices",
       {"7;note", "0;data"},
       true,
       false,
       true,
       "7;note",
       {"0;data"}},
      {"output merges data up to a notice",
       {"0;a", "0;b", "9;n", "0;c"},
       false,
       false,
       true,
       "0;ab",
       {"9;n", "0;c"}},
      {"next data stops at a notice",
       {"7;note", "0;data"},
       false,
       false,
       false,
       "",
       {"7;note", "0;data"}},
      {"next data skips notices with DropNotices",
       {"7;n1", "8;n2", "0;data", "9;n3"},
       true,
       false,
       false,
       "data",
       {"9;n3"}},
      {"next data with only notices empties the queue",
       {"7;n1", "8;n2"},
       true,
       false,
       false,
       "",
       {}},
      {"DropData alone changes nothing", {"0;a", "0;b"}, false, true, true, "0;ab", {}},
      {"both drop flags empty the queue (output)", {"0;a", "7;n"}, true, true, true, "", {}},
      {"both drop flags empty the queue (next data)", {"0;a", "7;n"}, true, true, false, "", {}},
      {"empty queue", {}, false, false, true, "", {}},
  };
  for (const TTakeCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TIdCoder Coder;
    for (const std::string& Entry : Case.Queue)
      Coder.OutputQueue().Add(Entry);
    Coder.SetDropNotices(Case.DropNotices);
    Coder.SetDropData(Case.DropData);
    EXPECT_EQ(Case.UseTakeOutput ? Coder.TakeOutput() : Coder.TakeNextData(), Case.Expected);
    std::vector<std::string> Left;
    for (std::size_t I = 0; I < Coder.OutputQueue().Count(); ++I)
      Left.push_back(Coder.OutputQueue().Strings(I));
    EXPECT_EQ(Left, Case.Left);
  }
}

TEST(CoderBaseTest, DataEventReceivesPiecesInsteadOfTheQueue) {
  TIdCoder Coder;
  Coder.ResizeChunk(4);
  Coder.SetUseDataEvent(true);
  std::vector<std::string> Seen;
  TIdCoder* Sender = nullptr;
  Coder.SetOnDataReady([&](TIdCoder& From, const std::string& Piece) {
    Sender = &From;
    Seen.push_back(Piece);
  });
  EXPECT_EQ(Coder.FeedText("abcdefghij"), "");
  EXPECT_EQ(Coder.FinishInput(), "");
  EXPECT_EQ(Seen, (std::vector<std::string>{"abcd", "efgh", "ij"}));
  EXPECT_EQ(Sender, &Coder);
  EXPECT_TRUE(Coder.OutputQueue().IsEmpty());

  // Unset, the pieces are lost but still counted.
  TIdCoder Lossy;
  Lossy.SetUseDataEvent(true);
  Lossy.FeedText("abc");
  EXPECT_EQ(Lossy.FinishInput(), "");
  EXPECT_EQ(Lossy.OutputCount().Value(), 3U);
  EXPECT_TRUE(Lossy.OutputQueue().IsEmpty());
}

TEST(CoderBaseTest, FailingDataEventKeepsWhatWasHeldAndQueued) {
  TIdCoder Coder;
  Coder.ResizeChunk(4);
  Coder.OutputQueue().Add("0;earlier");
  Coder.SetUseDataEvent(true);
  Coder.SetOnDataReady([](TIdCoder&, const std::string&) { throw test::ETestFailure(); });
  EXPECT_THROW(Coder.FeedText("abcdefgh"), test::ETestFailure);
  EXPECT_EQ(Coder.InputCount().Value(), 8U);
  EXPECT_EQ(Coder.ChunkFill(), 4U);
  EXPECT_EQ(Coder.Chunk().substr(0, 4), "abcd");
  ASSERT_EQ(Coder.OutputQueue().Count(), 1U);
  EXPECT_EQ(Coder.OutputQueue().Strings(0), "0;earlier");
}

TEST(CoderBaseTest, ApplyChunkSizeGrowsButNeverShrinksTheBuffer) {
  TProbeCoder Coder;
  Coder.FeedText("held");
  Coder.ApplyChunkSize(8192);
  EXPECT_EQ(Coder.Chunk().size(), 8192U);
  EXPECT_EQ(Coder.ChunkSize(), 8192U);
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  Coder.FeedText("held again");
  Coder.ApplyChunkSize(16);
  EXPECT_EQ(Coder.Chunk().size(), 8192U);
  EXPECT_EQ(Coder.ChunkSize(), 16U);
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_EQ(Coder.FeedText("0123456789abcdefXY"), "0;0123456789abcdef");
}

TEST(CoderBaseTest, ChunkSizesOutsideTheRangeAreRefusedBeforeAnythingChanges) {
  TProbeCoder Coder;
  Coder.FeedText("abc");
  const auto Check = [&Coder] {
    EXPECT_EQ(Coder.ChunkSize(), 4096U);
    EXPECT_EQ(Coder.ChunkFill(), 3U);
    EXPECT_EQ(Coder.Chunk().size(), 4096U);
  };
  EXPECT_THROW(Coder.ApplyChunkSize(-1), ERangeError);
  Check();
  EXPECT_THROW(Coder.ApplyChunkSize(0), ERangeError);
  Check();
  EXPECT_THROW(Coder.ResizeChunk(0x80000000U), ERangeError);
  Check();
  EXPECT_THROW(Coder.ResizeChunk(0xFFFFFFFFU), ERangeError);
  Check();
  EXPECT_THROW(Coder.ResizeChunk(0), ERangeError);
  Check();
  try {
    Coder.ResizeChunk(0);
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Range check error");
    EXPECT_STREQ(E.ClassName(), "ERangeError");
  }
}

TEST(CoderBaseTest, ResetDropsHeldBytesAndQueueButKeepsSettingsAndCounters) {
  TIdCoder Coder;
  Coder.ResizeChunk(64);
  Coder.SetAppendLineBreak(true);
  Coder.SetDropNotices(true);
  Coder.AssignParam("param");
  Coder.FeedText(PatternBytes(100));
  Coder.FinishInput();
  Coder.FeedText(PatternBytes(100));
  Coder.OutputQueue().Add("0;waiting");
  ASSERT_EQ(Coder.ChunkFill(), 36U);
  Coder.Reset();
  EXPECT_EQ(Coder.ChunkFill(), 0U);
  EXPECT_TRUE(Coder.OutputQueue().IsEmpty());
  EXPECT_FALSE(Coder.Finishing());
  EXPECT_EQ(Coder.ChunkSize(), 64U);
  EXPECT_TRUE(Coder.AppendLineBreak());
  EXPECT_TRUE(Coder.DropNotices());
  EXPECT_EQ(Coder.ParamText(), "param");
  EXPECT_EQ(Coder.InputCount().Value(), 200U);
  EXPECT_EQ(Coder.FinishInput(), "0;\r\n");
}

TEST(CoderBaseTest, InputAfterFinishingPassesThrough) {
  TIdCoder Coder;
  Coder.FeedText("one");
  EXPECT_EQ(Coder.FinishInput(), "0;one");
  Coder.FeedText("two");
  EXPECT_EQ(Coder.FinishInput(), "0;two");
}

TEST(CoderBaseTest, AutoFinishFinishesEveryFeed) {
  TIdCoder Coder;
  Coder.SetAutoFinish(true);
  EXPECT_EQ(Coder.FeedText("abc"), "0;abc");
  EXPECT_EQ(Coder.FeedText("de"), "0;de");
}

TEST(CoderBaseTest, AddToCounter64CarriesAndWrapsToZero) {
  struct TCase {
    TCounter64 Start;
    std::uint32_t Amount;
    TCounter64 Expected;
  };
  const TCase Cases[] = {
      {{0xFFFFFFFF, 0}, 1, {0, 1}},
      {{0x80000000, 0}, 1, {0x80000001, 0}},
      {{0xFFFFFFFF, 0xFFFFFFFF}, 1, {0, 0}},
      {{0xFFFFFFF0, 0xFFFFFFFF}, 0x20, {0, 0}}, // no remainder: past 2^64 - 1 is 0
      {{0xFFFFFFF0, 7}, 0x20, {0x10, 8}},
      {{5, 9}, 0, {5, 9}},
  };
  for (const TCase& Case : Cases) {
    TCounter64 Counter = Case.Start;
    AddToCounter64(Counter, Case.Amount);
    EXPECT_EQ(Counter.Low, Case.Expected.Low);
    EXPECT_EQ(Counter.High, Case.Expected.High);
  }
}

TEST(CoderBaseTest, CountProcessedAddsThroughTheCounter) {
  TProbeCoder Coder;
  Coder.CountProcessed(0xFFFFFFFF);
  Coder.CountProcessed(2);
  EXPECT_EQ(Coder.ProcessedCount().High, 1U);
  EXPECT_EQ(Coder.ProcessedCount().Low, 1U);
}

// A derived coder whose chunk step forgets to empty the chunk must not stall the feed.
class TStuckCoder : public TIdCoder {
protected:
  void CodeChunk() override {}
};

TEST(CoderBaseTest, ChunkStepThatLeavesTheChunkFullIsAnError) {
  TStuckCoder Coder;
  Coder.ResizeChunk(4);
  EXPECT_THROW(Coder.FeedText("abcdefgh"), ERangeError);
}

TEST(CoderBaseTest, OwnerDestroysItsComponents) {
  auto Owner = std::make_unique<TComponent>();
  auto* Owned = new TIdCoder(Owner.get());
  EXPECT_EQ(Owned->Owner(), Owner.get());
  ASSERT_EQ(Owner->ComponentCount(), 1U);
  EXPECT_EQ(Owner->Components(0), Owned);
  Owner.reset(); // frees Owned; a leak or double free shows under the sanitizers

  TComponent Keeper;
  delete new TIdCoder(&Keeper); // destroyed first: leaves the owner's list
  EXPECT_EQ(Keeper.ComponentCount(), 0U);
  EXPECT_THROW(Keeper.Components(0), EListError);
}

} // namespace
} // namespace md5b64
