// SPDX-License-Identifier: MIT
// Our Base64 encoder and decoder through their text and stream entry points.
#include "BenchInputs.h"

#include "coders/CodingModules.h"
#include "coders/IdCoderMIME.h"
#include "platform/Modules.h"
#include "platform/Streams.h"

#include <benchmark/benchmark.h>

#include <string>

namespace md5b64::bench {
namespace {

void Encode(benchmark::State& State) {
  const std::string_view Input = Bytes(static_cast<std::size_t>(State.range(0)));
  TIdEncoderMIME Encoder;
  for (auto _ : State) {
    std::string Text = Encoder.EncodeText(Input);
    benchmark::DoNotOptimize(Text);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

// Decoding counts the characters read: the size is the length of the Base64 text.
void DecodeText(benchmark::State& State) {
  const std::string_view Input = Base64Text(static_cast<std::size_t>(State.range(0)));
  TIdDecoderMIME Decoder;
  for (auto _ : State) {
    std::string Bytes = Decoder.DecodeText(Input);
    benchmark::DoNotOptimize(Bytes);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

// Into a memory stream made once and written again from its start, as a caller that keeps
// its buffer would.
void DecodeToStream(benchmark::State& State) {
  const std::string_view Input = Base64Text(static_cast<std::size_t>(State.range(0)));
  TIdDecoderMIME Decoder;
  TMemoryStream Stream;
  for (auto _ : State) {
    Stream.SetPosition(0);
    Decoder.DecodeToStream(Input, Stream);
    benchmark::DoNotOptimize(Stream.Bytes().data());
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

const bool Registered = [] {
  // The decoders copy MimeDecodeTable, which the modules' start-up builds. Never stopped:
  // the other modules' objects may be gone by the time a static sequence would stop them.
  (new TModuleSequence(CodingModules()))->Start();
  benchmark::RegisterBenchmark("md5b64/Base64/Encode", Encode)->Arg(16)->Arg(KiB)->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64/DecodeText", DecodeText)->Arg(16)->Arg(KiB)->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64/DecodeToStream", DecodeToStream)
      ->Arg(16)
      ->Arg(KiB)
      ->Arg(MiB);
  return true;
}();

} // namespace
} // namespace md5b64::bench
