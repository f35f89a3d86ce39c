// SPDX-License-Identifier: MIT
// Sixteen messages at once: the many-message call and the lanes object on each lane path this
// machine has, beside the same messages one after the other through the plain path, which is
// the single-stream compression itself.
#include "BenchInputs.h"

#include "coders/DigestMany.h"
#include "coders/internal/Md5Lanes.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace md5b64::bench {
namespace {

using internal::TMd5LanesPath;

constexpr std::size_t Messages = 16;

// Sixteen different messages of Size bytes each, cut from one input.
std::vector<std::string_view> SixteenMessages(std::size_t Size) {
  const std::string_view All = Bytes(Messages * Size);
  std::vector<std::string_view> Views;
  for (std::size_t I = 0; I < Messages; ++I)
    Views.push_back(All.substr(I * Size, Size));
  return Views;
}

void Many(benchmark::State& State, TMd5LanesPath Path) {
  const auto Size = static_cast<std::size_t>(State.range(0));
  const std::vector<std::string_view> Views = SixteenMessages(Size);
  std::vector<TDigestBytes> Digests(Messages);
  internal::SetMd5LanesPath(Path);
  for (auto _ : State) {
    MD5Many(Views, Digests);
    benchmark::DoNotOptimize(Digests.data());
  }
  State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Messages * Size));
}

// Each lane fed its message in turns of a lane's buffer, as a reader of sixteen files would.
void Lanes(benchmark::State& State, TMd5LanesPath Path) {
  const auto Size = static_cast<std::size_t>(State.range(0));
  const std::vector<std::string_view> Views = SixteenMessages(Size);
  TMD5Lanes Object(Messages);
  internal::SetMd5LanesPath(Path);
  for (auto _ : State) {
    for (std::size_t At = 0; At < Size; At += TMD5Lanes::LaneBufferSize)
      for (std::size_t L = 0; L < Messages; ++L)
        Object.Update(L, Views[L].substr(At, TMD5Lanes::LaneBufferSize));
    for (std::size_t L = 0; L < Messages; ++L) {
      TDigestBytes Digest = Object.Finish(L);
      benchmark::DoNotOptimize(Digest);
    }
  }
  State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Messages * Size));
}

const bool Registered = [] {
  const std::pair<TMd5LanesPath, const char*> Paths[] = {{TMd5LanesPath::Portable, "Plain"},
                                                         {TMd5LanesPath::Avx2, "AVX2"},
                                                         {TMd5LanesPath::Avx512, "AVX-512"}};
  // The path in use, to go back to; forcing one that the machine lacks is refused.
  const TMd5LanesPath Widest = internal::Md5LanesPath();
  for (const auto& [Path, Name] : Paths) {
    if (!internal::HasMd5LanesPath(Path))
      continue;
    benchmark::RegisterBenchmark(("md5b64/MD5Many16/" + std::string(Name)).c_str(),
                                 [Path = Path, Widest](benchmark::State& State) {
                                   Many(State, Path);
                                   internal::SetMd5LanesPath(Widest);
                                 })
        ->Arg(16 * KiB)
        ->Arg(MiB);
    benchmark::RegisterBenchmark(("md5b64/MD5Lanes16/" + std::string(Name)).c_str(),
                                 [Path = Path, Widest](benchmark::State& State) {
                                   Lanes(State, Path);
                                   internal::SetMd5LanesPath(Widest);
                                 })
        ->Arg(16 * KiB)
        ->Arg(MiB);
  }
  return true;
}();

} // namespace
} // namespace md5b64::bench
