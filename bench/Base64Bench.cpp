// Our Base64 encoder through its text entry point.
#include "BenchInputs.h"

#include "coders/IdCoderMIME.h"

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

const bool Registered = [] {
  benchmark::RegisterBenchmark("md5b64/Base64/Encode", Encode)->Arg(16)->Arg(KiB)->Arg(MiB);
  return true;
}();

} // namespace
} // namespace md5b64::bench
