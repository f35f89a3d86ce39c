// SPDX-License-Identifier: MIT
// The one-call and incremental digests, beside OpenSSL's one-call forms: EVP_Q_digest (which
// fetches the digest every call) and the low-level MD5(), and an EVP context fed in pieces.
#include "BenchInputs.h"

#include "coders/Digest.h"

#include <benchmark/benchmark.h>

#include <string>

#if MD5B64_BENCH_OPENSSL
// MD5() is deprecated in OpenSSL 3, but it is the one call many callers still use.
#define OPENSSL_SUPPRESS_DEPRECATED 1
#include <openssl/evp.h>
#include <openssl/md5.h>
#endif

namespace md5b64::bench {
namespace {

void OneCall(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  for (auto _ : State) {
    TDigestBytes Digest = MD5Of(Message);
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

// A new object for every message, fed in 64 KiB pieces.
void Incremental(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  for (auto _ : State) {
    TMD5Digest Md5;
    for (std::size_t At = 0; At < Message.size(); At += PieceSize)
      Md5.Update(Message.substr(At, PieceSize));
    TDigestBytes Digest = Md5.Finish();
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

#if MD5B64_BENCH_OPENSSL
void EvpQDigest(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  unsigned char Digest[EVP_MAX_MD_SIZE];
  std::size_t Length = 0;
  for (auto _ : State) {
    EVP_Q_digest(nullptr, "MD5", nullptr, Message.data(), Message.size(), Digest, &Length);
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

void LowLevelMd5(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  unsigned char Digest[MD5_DIGEST_LENGTH];
  for (auto _ : State) {
    MD5(reinterpret_cast<const unsigned char*>(Message.data()), Message.size(), Digest);
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

// One context reused, the digest fetched once: the careful caller's incremental form.
void EvpIncremental(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  EVP_MD* Md = EVP_MD_fetch(nullptr, "MD5", nullptr);
  EVP_MD_CTX* Ctx = EVP_MD_CTX_new();
  unsigned char Digest[EVP_MAX_MD_SIZE];
  unsigned int Length = 0;
  for (auto _ : State) {
    EVP_DigestInit_ex(Ctx, Md, nullptr);
    for (std::size_t At = 0; At < Message.size(); At += PieceSize) {
      const std::string_view Piece = Message.substr(At, PieceSize);
      EVP_DigestUpdate(Ctx, Piece.data(), Piece.size());
    }
    EVP_DigestFinal_ex(Ctx, Digest, &Length);
    benchmark::DoNotOptimize(Digest);
  }
  EVP_MD_CTX_free(Ctx);
  EVP_MD_free(Md);
  State.SetBytesProcessed(State.iterations() * State.range(0));
}
#endif

template <class TFunction> void Register(const std::string& Name, TFunction Function) {
  benchmark::RegisterBenchmark(Name.c_str(), Function)->Arg(3)->Arg(16)->Arg(64)->Arg(MiB);
}

const bool Registered = [] {
  Register("md5b64/MD5/OneCall", OneCall);
  Register("md5b64/MD5/Incremental", Incremental);
#if MD5B64_BENCH_OPENSSL
  Register("OpenSSL/MD5/OneCall", EvpQDigest);
  Register("OpenSSL-MD5()/MD5/OneCall", LowLevelMd5);
  Register("OpenSSL/MD5/Incremental", EvpIncremental);
#endif
  return true;
}();

} // namespace
} // namespace md5b64::bench
