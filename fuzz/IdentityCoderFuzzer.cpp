// SPDX-License-Identifier: MIT
// The plain TIdCoder, an identity coder, under random chunk sizes, flags, feed splits and
// takes. Two checks: a clean run gives back exactly its input with all three counters equal
// to its length; and a run of arbitrary operations (notices, resets, resizes, the data event,
// the drop flags) follows, call for call, a model of the base written here.
#include "FuzzCheck.h"
#include "coders/IdCoderOld.h"
#include "platform/SysUtils.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace md5b64;

std::uint32_t ChooseChunkSize(FuzzedDataProvider& Input) {
  switch (Input.ConsumeIntegralInRange<int>(0, 3)) {
  case 0:
    return Input.ConsumeIntegralInRange<std::uint32_t>(1, 8);
  case 1:
    return Input.ConsumeIntegralInRange<std::uint32_t>(1, 300);
  case 2:
    return TIdCoder::DefaultChunkSize;
  default:
    return Input.ConsumeIntegralInRange<std::uint32_t>(4000, 5000);
  }
}

// Feeds Text in random pieces, taking output in between either way, then finishes and takes
// what is left. The data taken must be the input, in order.
void CheckCleanRun(FuzzedDataProvider& Input, std::string_view Text) {
  TIdCoder Coder;
  Coder.ResizeChunk(ChooseChunkSize(Input));
  std::string Out;
  auto TakeSome = [&](const std::string& Taken) {
    if (!Taken.empty()) {
      MD5B64_FUZZ_CHECK(Taken.compare(0, 2, "0;") == 0);
      Out.append(Taken, 2);
    }
  };
  std::string_view Rest = Text;
  while (!Rest.empty() && Input.remaining_bytes() > 0) {
    const std::size_t Length = Input.ConsumeIntegralInRange<std::size_t>(0, Rest.size());
    TakeSome(Coder.FeedText(Rest.substr(0, Length)));
    Rest.remove_prefix(Length);
    if (Input.ConsumeBool())
      Out.append(Coder.TakeNextData());
  }
  TakeSome(Coder.FeedText(Rest));
  TakeSome(Coder.FinishInput());
  MD5B64_FUZZ_CHECK(Coder.OutputQueue().IsEmpty());
  MD5B64_FUZZ_CHECK(Out == Text);
  MD5B64_FUZZ_CHECK(Coder.InputCount().Value() == Text.size());
  MD5B64_FUZZ_CHECK(Coder.ProcessedCount().Value() == Text.size());
  MD5B64_FUZZ_CHECK(Coder.OutputCount().Value() == Text.size());
}

// The base coder as a plain list of rules.
struct TModel {
  std::uint32_t ChunkSize = TIdCoder::DefaultChunkSize;
  std::size_t Capacity = TIdCoder::DefaultChunkSize;
  std::string Held;
  std::deque<std::string> Queue;
  std::vector<std::string> Events;
  bool AppendLineBreak = false, AutoFinish = false, DropData = false, DropNotices = false;
  bool UseDataEvent = false, HasHandler = false, Finishing = false;
  std::uint64_t Processed = 0, Input = 0, Output = 0;

  static bool IsData(const std::string& Entry) { return !Entry.empty() && Entry[0] == '0'; }
  static std::string DataOf(const std::string& Entry) { return Entry.substr(Entry.find(';') + 1); }

  void Emit(std::string Piece) {
    if (AppendLineBreak)
      Piece += "\r\n";
    Output += Piece.size();
    if (!UseDataEvent)
      Queue.push_back("0;" + Piece);
    else if (HasHandler)
      Events.push_back(Piece);
  }
  std::string TakeOutput() {
    if (DropData && DropNotices) {
      Queue.clear();
      return {};
    }
    if (Queue.empty())
      return {};
    std::string First = Queue.front();
    Queue.pop_front();
    if (!IsData(First))
      return First;
    std::string Result = "0;" + DataOf(First);
    while (!Queue.empty() && IsData(Queue.front())) {
      Result += DataOf(Queue.front());
      Queue.pop_front();
    }
    return Result;
  }
  std::string TakeNextData() {
    if (DropData && DropNotices) {
      Queue.clear();
      return {};
    }
    if (!Queue.empty() && !IsData(Queue.front())) {
      if (!DropNotices)
        return {};
      while (!Queue.empty() && !IsData(Queue.front()))
        Queue.pop_front();
    }
    if (Queue.empty())
      return {};
    std::string Data = DataOf(Queue.front());
    Queue.pop_front();
    return Data;
  }
  std::string FinishInput() {
    Finishing = true;
    std::string Piece;
    Piece.swap(Held);
    Processed += Piece.size();
    Emit(std::move(Piece));
    return TakeOutput();
  }
  std::string FeedText(std::string_view Text) {
    Input += Text.size();
    for (const char C : Text) {
      Held.push_back(C);
      if (Held.size() == ChunkSize) {
        Processed += ChunkSize;
        Emit(std::exchange(Held, std::string()));
      }
    }
    return AutoFinish ? FinishInput() : TakeOutput();
  }
};

void CheckSame(const TIdCoder& Coder, const TModel& Model) {
  MD5B64_FUZZ_CHECK(Coder.ChunkSize() == Model.ChunkSize);
  MD5B64_FUZZ_CHECK(Coder.ChunkFill() == Model.Held.size());
  MD5B64_FUZZ_CHECK(Coder.ChunkFill() < Coder.ChunkSize());
  MD5B64_FUZZ_CHECK(Coder.Chunk().size() == Model.Capacity);
  MD5B64_FUZZ_CHECK(Coder.Chunk().compare(0, Model.Held.size(), Model.Held) == 0);
  MD5B64_FUZZ_CHECK(Coder.Finishing() == Model.Finishing);
  MD5B64_FUZZ_CHECK(Coder.ProcessedCount().Value() == Model.Processed);
  MD5B64_FUZZ_CHECK(Coder.InputCount().Value() == Model.Input);
  MD5B64_FUZZ_CHECK(Coder.OutputCount().Value() == Model.Output);
  MD5B64_FUZZ_CHECK(Coder.OutputQueue().Count() == Model.Queue.size());
  for (std::size_t I = 0; I < Model.Queue.size(); ++I)
    MD5B64_FUZZ_CHECK(Coder.OutputQueue().Strings(I) == Model.Queue[I]);
}

void CheckOperations(FuzzedDataProvider& Input) {
  TIdCoder Coder;
  TModel Model;
  std::vector<std::string> Events;
  auto Handler = [&](TIdCoder& Sender, const std::string& Piece) {
    MD5B64_FUZZ_CHECK(&Sender == &Coder);
    Events.push_back(Piece);
  };
  while (Input.remaining_bytes() > 0) {
    switch (Input.ConsumeIntegralInRange<int>(0, 9)) {
    case 0:
    case 1: {
      const std::string Text =
          Input.ConsumeBytesAsString(Input.ConsumeIntegralInRange<std::size_t>(0, 600));
      MD5B64_FUZZ_CHECK(Coder.FeedText(Text) == Model.FeedText(Text));
      break;
    }
    case 2:
      MD5B64_FUZZ_CHECK(Coder.TakeOutput() == Model.TakeOutput());
      break;
    case 3:
      MD5B64_FUZZ_CHECK(Coder.TakeNextData() == Model.TakeNextData());
      break;
    case 4:
      MD5B64_FUZZ_CHECK(Coder.FinishInput() == Model.FinishInput());
      break;
    case 5: {
      // A notice of some kind, or a data entry queued from outside.
      std::string Entry =
          std::to_string(Input.ConsumeIntegralInRange<int>(0, 120)) + ";" +
          Input.ConsumeBytesAsString(Input.ConsumeIntegralInRange<std::size_t>(0, 8));
      Coder.OutputQueue().Add(Entry);
      Model.Queue.push_back(Entry);
      break;
    }
    case 6: {
      const bool On = Input.ConsumeBool();
      switch (Input.ConsumeIntegralInRange<int>(0, 6)) {
      case 0:
        Coder.SetAppendLineBreak(Model.AppendLineBreak = On);
        break;
      case 1:
        Coder.SetAutoFinish(Model.AutoFinish = On);
        break;
      case 2:
        Coder.SetDropData(Model.DropData = On);
        break;
      case 3:
        Coder.SetDropNotices(Model.DropNotices = On);
        break;
      case 4:
        Coder.SetUseDataEvent(Model.UseDataEvent = On);
        break;
      default:
        Model.HasHandler = On;
        Coder.SetOnDataReady(On ? TIdDataReadyEvent(Handler) : TIdDataReadyEvent());
        break;
      }
      break;
    }
    case 7: {
      // Sizes outside 1 to 2^31 - 1 are refused before anything changes.
      const std::uint32_t Size =
          Input.ConsumeBool()
              ? ChooseChunkSize(Input)
              : Input.PickValueInArray<std::uint32_t>({0U, 0x80000000U, 0xFFFFFFFFU});
      if (Size == 0 ||
          Size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
        bool Refused = false;
        try {
          Coder.ResizeChunk(Size);
        } catch (const ERangeError&) {
          Refused = true;
        }
        MD5B64_FUZZ_CHECK(Refused);
      } else {
        Coder.ResizeChunk(Size);
        Model.ChunkSize = Size;
        Model.Capacity = std::max<std::size_t>(Model.Capacity, Size);
        Model.Held.clear();
      }
      break;
    }
    case 8:
      Coder.Reset();
      Model.Held.clear();
      Model.Queue.clear();
      Model.Finishing = false;
      break;
    default:
      MD5B64_FUZZ_CHECK(Events == Model.Events);
      break;
    }
    CheckSame(Coder, Model);
  }
  MD5B64_FUZZ_CHECK(Events == Model.Events);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  FuzzedDataProvider Input(Data, Size);
  if (Input.ConsumeBool()) {
    const std::string Text = Input.ConsumeBytesAsString(
        Input.ConsumeIntegralInRange<std::size_t>(0, Input.remaining_bytes()));
    CheckCleanRun(Input, Text);
  } else {
    CheckOperations(Input);
  }
  return 0;
}
