// SPDX-License-Identifier: MIT
// Our digest coders through the buffered coder interface, as a caller drives them.
#include "BenchInputs.h"

#include "coders/IdCoderMessageDigest.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace md5b64::bench {
namespace {

// One message on a coder that is reused: Reset, the whole message in one FeedText,
// FinishInput.
template <class TCoder> void OneText(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  TCoder Coder;
  for (auto _ : State) {
    Coder.Reset();
    Coder.FeedText(Message);
    std::string Digest = Coder.FinishInput();
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

// The same, with the message fed in 64 KiB texts, as a caller reading a file would.
template <class TCoder> void Texts64K(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  TCoder Coder;
  for (auto _ : State) {
    Coder.Reset();
    for (std::size_t At = 0; At < Message.size(); At += PieceSize)
      Coder.FeedText(Message.substr(At, PieceSize));
    std::string Digest = Coder.FinishInput();
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

// A new coder for every message, as the program does.
template <class TCoder> void NewCoder(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  for (auto _ : State) {
    TCoder Coder;
    Coder.Reset();
    Coder.SetDropNotices(true);
    Coder.FeedText(Message);
    std::string Digest = Coder.FinishInput();
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

template <class TCoder> void RegisterDigest(const std::string& Name, bool Long) {
  const std::string Prefix = "md5b64/" + Name + "/";
  auto* Whole = benchmark::RegisterBenchmark((Prefix + "OneText").c_str(), OneText<TCoder>)
                    ->Arg(3)
                    ->Arg(64)
                    ->Arg(KiB)
                    ->Arg(MiB);
  auto* Pieces =
      benchmark::RegisterBenchmark((Prefix + "Texts64K").c_str(), Texts64K<TCoder>)->Arg(MiB);
  if (Long) {
    Whole->Arg(64 * MiB);
    Pieces->Arg(64 * MiB);
  }
  benchmark::RegisterBenchmark((Prefix + "NewCoder").c_str(), NewCoder<TCoder>)->Arg(3)->Arg(64);
}

const bool Registered = [] {
  RegisterDigest<TIdCoderMD4>("MD4", true);
  RegisterDigest<TIdCoderMD5>("MD5", true);
  // MD2 runs at about 10 MB/s: 64 MiB would take six seconds an iteration and show nothing
  // that 1 MiB does not.
  RegisterDigest<TIdCoderMD2>("MD2", false);
  return true;
}();

} // namespace
} // namespace md5b64::bench
