// SPDX-License-Identifier: MIT
// The peers, measured in the same run on the same bytes: OpenSSL's EVP digests and Base64
// block coding, and Crypto++'s MD2. Each row is named as ours with the peer in front.
#include "BenchInputs.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#if MD5B64_BENCH_OPENSSL
#include <openssl/evp.h>
#include <openssl/provider.h>
#endif
#if MD5B64_BENCH_CRYPTOPP
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <crypto++/md2.h>
#endif

namespace md5b64::bench {
namespace {

#if MD5B64_BENCH_OPENSSL

// Fetched once, as a careful caller does: an implicit fetch on every init costs more than a
// short digest.
const EVP_MD* FetchDigest(const char* Name) {
  // MD4 lives in the legacy provider; loading it means loading the default one too.
  static const bool Loaded = [] {
    OSSL_PROVIDER_load(nullptr, "legacy");
    OSSL_PROVIDER_load(nullptr, "default");
    return true;
  }();
  (void)Loaded;
  return EVP_MD_fetch(nullptr, Name, nullptr);
}

template <const char* Name> void EvpOneText(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  const EVP_MD* Md = FetchDigest(Name);
  EVP_MD_CTX* Ctx = EVP_MD_CTX_new();
  unsigned char Digest[EVP_MAX_MD_SIZE];
  unsigned int Length = 0;
  for (auto _ : State) {
    EVP_DigestInit_ex(Ctx, Md, nullptr);
    EVP_DigestUpdate(Ctx, Message.data(), Message.size());
    EVP_DigestFinal_ex(Ctx, Digest, &Length);
    benchmark::DoNotOptimize(Digest);
  }
  EVP_MD_CTX_free(Ctx);
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

template <const char* Name> void EvpTexts64K(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  const EVP_MD* Md = FetchDigest(Name);
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
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

// A new context for every message: EVP_Digest makes and frees one.
template <const char* Name> void EvpNewCoder(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  const EVP_MD* Md = FetchDigest(Name);
  unsigned char Digest[EVP_MAX_MD_SIZE];
  unsigned int Length = 0;
  for (auto _ : State) {
    EVP_Digest(Message.data(), Message.size(), Digest, &Length, Md, nullptr);
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

void EvpEncode(benchmark::State& State) {
  const std::string_view Input = Bytes(static_cast<std::size_t>(State.range(0)));
  // The peer writes into a buffer made once; ours returns a new text every call.
  std::vector<unsigned char> Out(4 * ((Input.size() + 2) / 3) + 1);
  for (auto _ : State) {
    const int Written =
        EVP_EncodeBlock(Out.data(), reinterpret_cast<const unsigned char*>(Input.data()),
                        static_cast<int>(Input.size()));
    benchmark::DoNotOptimize(Written);
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

// EVP_DecodeBlock writes three bytes for every four characters into a buffer made once.
// One row serves as the peer of both of our decoding rows.
void EvpDecode(benchmark::State& State) {
  const std::string_view Input = Base64Text(static_cast<std::size_t>(State.range(0)));
  std::vector<unsigned char> Out(Input.size() / 4 * 3 + 1);
  for (auto _ : State) {
    const int Written =
        EVP_DecodeBlock(Out.data(), reinterpret_cast<const unsigned char*>(Input.data()),
                        static_cast<int>(Input.size()));
    benchmark::DoNotOptimize(Written);
    benchmark::DoNotOptimize(Out.data());
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

constexpr char Md4Name[] = "MD4";
constexpr char Md5Name[] = "MD5";

template <const char* Name> void RegisterEvp(const std::string& Row) {
  const std::string Prefix = "OpenSSL/" + Row + "/";
  benchmark::RegisterBenchmark((Prefix + "OneText").c_str(), EvpOneText<Name>)
      ->Arg(3)
      ->Arg(64)
      ->Arg(KiB)
      ->Arg(MiB)
      ->Arg(64 * MiB);
  benchmark::RegisterBenchmark((Prefix + "Texts64K").c_str(), EvpTexts64K<Name>)
      ->Arg(MiB)
      ->Arg(64 * MiB);
  benchmark::RegisterBenchmark((Prefix + "NewCoder").c_str(), EvpNewCoder<Name>)->Arg(3)->Arg(64);
}

#endif

#if MD5B64_BENCH_CRYPTOPP

// One MD2 object reused: Final also restarts it.
void Md2OneText(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  CryptoPP::Weak::MD2 Md2;
  CryptoPP::byte Digest[CryptoPP::Weak::MD2::DIGESTSIZE];
  for (auto _ : State) {
    Md2.Update(reinterpret_cast<const CryptoPP::byte*>(Message.data()), Message.size());
    Md2.Final(Digest);
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

void Md2Texts64K(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  CryptoPP::Weak::MD2 Md2;
  CryptoPP::byte Digest[CryptoPP::Weak::MD2::DIGESTSIZE];
  for (auto _ : State) {
    for (std::size_t At = 0; At < Message.size(); At += PieceSize) {
      const std::string_view Piece = Message.substr(At, PieceSize);
      Md2.Update(reinterpret_cast<const CryptoPP::byte*>(Piece.data()), Piece.size());
    }
    Md2.Final(Digest);
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

void Md2NewCoder(benchmark::State& State) {
  const std::string_view Message = Bytes(static_cast<std::size_t>(State.range(0)));
  CryptoPP::byte Digest[CryptoPP::Weak::MD2::DIGESTSIZE];
  for (auto _ : State) {
    CryptoPP::Weak::MD2 Md2;
    Md2.Update(reinterpret_cast<const CryptoPP::byte*>(Message.data()), Message.size());
    Md2.Final(Digest);
    benchmark::DoNotOptimize(Digest);
  }
  State.SetBytesProcessed(State.iterations() * State.range(0));
}

#endif

const bool Registered = [] {
#if MD5B64_BENCH_OPENSSL
  RegisterEvp<Md4Name>("MD4");
  RegisterEvp<Md5Name>("MD5");
  benchmark::RegisterBenchmark("OpenSSL/Base64/Encode", EvpEncode)->Arg(16)->Arg(KiB)->Arg(MiB);
  benchmark::RegisterBenchmark("OpenSSL/Base64/Decode", EvpDecode)->Arg(16)->Arg(KiB)->Arg(MiB);
#endif
#if MD5B64_BENCH_CRYPTOPP
  benchmark::RegisterBenchmark("Crypto++/MD2/OneText", Md2OneText)
      ->Arg(3)
      ->Arg(64)
      ->Arg(KiB)
      ->Arg(MiB);
  benchmark::RegisterBenchmark("Crypto++/MD2/Texts64K", Md2Texts64K)->Arg(MiB);
  benchmark::RegisterBenchmark("Crypto++/MD2/NewCoder", Md2NewCoder)->Arg(3)->Arg(64);
#endif
  return true;
}();

} // namespace
} // namespace md5b64::bench
