// SPDX-License-Identifier: MIT
// The Base64 forms and Content-MD5 in one call, with their OpenSSL peers: Content-MD5 against
// a one-call MD5 and EVP_EncodeBlock, 16 bytes into a buffer against EVP_EncodeBlock, and
// bulk coding in every form against EVP_EncodeBlock and EVP_DecodeBlock (whose rows are in
// PeerBench.cpp) and beside today's TIdEncoderMIME row.
#include "BenchInputs.h"

#include "coders/Base64.h"
#include "coders/ContentMD5.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#if MD5B64_BENCH_OPENSSL
#include <openssl/evp.h>
#endif

namespace md5b64::bench {
namespace {

std::span<const std::uint8_t> BytesSpan(std::size_t Size) {
  const std::string_view Input = Bytes(Size);
  return {reinterpret_cast<const std::uint8_t*>(Input.data()), Input.size()};
}

void ContentMD5OneCall(benchmark::State& State) {
  const std::string_view Body = Bytes(static_cast<std::size_t>(State.range(0)));
  for (auto _ : State) {
    std::string Value = ContentMD5(Body);
    benchmark::DoNotOptimize(Value);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

void EncodeInto(benchmark::State& State) {
  const auto Input = BytesSpan(static_cast<std::size_t>(State.range(0)));
  std::vector<char> Out(Base64EncodedSize(Input.size()));
  for (auto _ : State) {
    benchmark::DoNotOptimize(Input.data());
    std::size_t Written = Base64EncodeInto(Input, Out);
    benchmark::DoNotOptimize(Written);
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

template <const TBase64Options& Form> void Encode(benchmark::State& State) {
  const auto Input = BytesSpan(static_cast<std::size_t>(State.range(0)));
  for (auto _ : State) {
    std::string Text = Base64Encode(Input, Form);
    benchmark::DoNotOptimize(Text);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

// Decoding counts the characters read, as the other decoding rows do. The text is that of
// the form; for the plain forms it is the shared text, the same the peer decodes.
template <const TBase64Options& Form, TBase64Strictness Strictness>
void Decode(benchmark::State& State) {
  const auto Size = static_cast<std::size_t>(State.range(0));
  const std::string Text = Form.LineLength == 0 && Form.Padding
                               ? std::string(Base64Text(Size))
                               : Base64Encode(BytesSpan(Size / 4 * 3), Form);
  std::vector<std::uint8_t> Out(Base64DecodedMaxSize(Text.size()));
  for (auto _ : State) {
    std::size_t Written = Base64DecodeInto(Text, Out, Form, Strictness);
    benchmark::DoNotOptimize(Written);
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Text.size()));
}

#if MD5B64_BENCH_OPENSSL

// The strongest one-call MD5 OpenSSL has: EVP_Digest with the EVP_MD fetched once (EVP_Q_digest
// fetches it on every call), then the 16 bytes with EVP_EncodeBlock into a string, as ours
// returns.
void EvpContentMD5(benchmark::State& State) {
  const std::string_view Body = Bytes(static_cast<std::size_t>(State.range(0)));
  EVP_MD* Md = EVP_MD_fetch(nullptr, "MD5", nullptr);
  unsigned char Digest[EVP_MAX_MD_SIZE];
  unsigned int Length = 0;
  for (auto _ : State) {
    EVP_Digest(Body.data(), Body.size(), Digest, &Length, Md, nullptr);
    unsigned char Text[25];
    EVP_EncodeBlock(Text, Digest, static_cast<int>(Length));
    std::string Value(reinterpret_cast<const char*>(Text), 24);
    benchmark::DoNotOptimize(Value);
  }
  EVP_MD_free(Md);
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

void EvpEncodeInto(benchmark::State& State) {
  const auto Input = BytesSpan(static_cast<std::size_t>(State.range(0)));
  std::vector<unsigned char> Out(4 * ((Input.size() + 2) / 3) + 1);
  for (auto _ : State) {
    benchmark::DoNotOptimize(Input.data());
    const int Written = EVP_EncodeBlock(Out.data(), Input.data(), static_cast<int>(Input.size()));
    benchmark::DoNotOptimize(Written);
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

#endif

const bool Registered = [] {
  benchmark::RegisterBenchmark("md5b64/ContentMD5/OneCall", ContentMD5OneCall)->Arg(3)->Arg(64);
  benchmark::RegisterBenchmark("md5b64/Base64Forms/EncodeInto", EncodeInto)->Arg(16);
  benchmark::RegisterBenchmark("md5b64/Base64Encode/Standard", Encode<Base64Standard>)->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64Encode/StandardUnpadded",
                               Encode<Base64StandardUnpadded>)
      ->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64Encode/Url", Encode<Base64Url>)->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64Encode/UrlUnpadded", Encode<Base64UrlUnpadded>)
      ->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64Encode/Mime", Encode<Base64Mime>)->Arg(MiB);
  constexpr auto Strict = TBase64Strictness::Strict;
  constexpr auto Forgiving = TBase64Strictness::Forgiving;
  benchmark::RegisterBenchmark("md5b64/Base64Decode/StrictStandard", Decode<Base64Standard, Strict>)
      ->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64Decode/StrictUrlUnpadded",
                               Decode<Base64UrlUnpadded, Strict>)
      ->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64Decode/StrictMime", Decode<Base64Mime, Strict>)
      ->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64Decode/ForgivingStandard",
                               Decode<Base64Standard, Forgiving>)
      ->Arg(MiB);
  benchmark::RegisterBenchmark("md5b64/Base64Decode/ForgivingMime", Decode<Base64Mime, Forgiving>)
      ->Arg(MiB);
#if MD5B64_BENCH_OPENSSL
  benchmark::RegisterBenchmark("OpenSSL/ContentMD5/OneCall", EvpContentMD5)->Arg(3)->Arg(64);
  benchmark::RegisterBenchmark("OpenSSL/Base64Forms/EncodeInto", EvpEncodeInto)->Arg(16);
#endif
  return true;
}();

} // namespace
} // namespace md5b64::bench
