// SPDX-License-Identifier: MIT
// The one-call codings and the digest objects on several threads at once: every thread
// must get what one thread alone gets. Meant to run under ThreadSanitizer (the tsan preset),
// which also reports any unsynchronised access to shared state.
#include "coders/Base64.h"
#include "coders/ContentMD5.h"
#include "coders/Digest.h"
#include "coders/Hex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace md5b64 {
namespace {

std::string HexOf(const TDigestBytes& Digest) {
  return HexEncode(Digest);
}

const std::string& Input() {
  static const std::string Bytes = [] {
    std::string Text(1000, '\0');
    for (std::size_t I = 0; I < Text.size(); ++I)
      Text[I] = static_cast<char>(I * 7 % 251);
    return Text;
  }();
  return Bytes;
}

// An object fed once and then only read: const calls from many threads at once.
const TMD5Digest& SharedPrefix() {
  static const TMD5Digest Digest = [] {
    TMD5Digest Prefix;
    Prefix.Update(std::string_view(Input()).substr(0, 100));
    return Prefix;
  }();
  return Digest;
}

// One line per coding. Each returns its result as text; add the codings of other headers
// here.
struct TConcurrentCase {
  const char* Name;
  std::string (*Run)();
};

const TConcurrentCase ConcurrentCases[] = {
    // MD2 first: its first use builds a table, which several threads may then race to do.
    {"MD2Of", [] { return HexOf(MD2Of(Input())); }},
    {"MD4Of", [] { return HexOf(MD4Of(Input())); }},
    {"MD5Of", [] { return HexOf(MD5Of(Input())); }},
    {"TMD5Digest in pieces",
     [] {
       TMD5Digest Digest;
       for (std::size_t At = 0; At < Input().size(); At += 37)
         Digest.Update(std::string_view(Input()).substr(At, 37));
       return HexOf(Digest.Finish());
     }},
    {"TMD2Digest in pieces",
     [] {
       TMD2Digest Digest;
       for (std::size_t At = 0; At < Input().size(); At += 5)
         Digest.Update(std::string_view(Input()).substr(At, 5));
       return HexOf(Digest.Finish());
     }},
    {"a copy of a shared TMD5Digest",
     [] {
       TMD5Digest Own = SharedPrefix();
       Own.Update(std::string_view(Input()).substr(100));
       return HexOf(SharedPrefix().Finish()) + HexOf(Own.Finish());
     }},
    {"HexEncode and HexDecode",
     [] {
       const std::string Text = HexEncode(Input());
       const std::vector<std::uint8_t> Bytes = HexDecode(Text);
       return Text + (std::string(Bytes.begin(), Bytes.end()) == Input() ? "" : " mismatch");
     }},
    {"Base64 in every form and back",
     [] {
       std::string All;
       for (const TBase64Options& Form : {Base64Standard, Base64UrlUnpadded, Base64Mime}) {
         const std::string Text = Base64Encode(Input(), Form);
         const std::vector<std::uint8_t> Bytes =
             Base64Decode(Text, Form, TBase64Strictness::Forgiving);
         All += Text + (std::string(Bytes.begin(), Bytes.end()) == Input() ? "" : " mismatch");
       }
       return All;
     }},
    {"ContentMD5 and its check",
     [] {
       const std::string Value = ContentMD5(Input());
       return Value + (CheckContentMD5(Value, Input()).Matches() ? "" : " mismatch");
     }},
};

TEST(ConcurrencyTest, EveryThreadGetsWhatOneThreadGets) {
  constexpr std::size_t Threads = 4;
  constexpr std::size_t Rounds = 20;
  constexpr std::size_t CaseCount = std::size(ConcurrentCases);
  // Results[T][C]: what thread T made of case C in its last round; a round that differs
  // from the round before is a fault too.
  std::vector<std::vector<std::string>> Results(Threads, std::vector<std::string>(CaseCount));
  std::vector<std::string> Unstable(Threads);
  std::atomic<std::size_t> Waiting{Threads};
  std::vector<std::thread> Workers;
  for (std::size_t T = 0; T < Threads; ++T)
    Workers.emplace_back([&, T] {
      // Start together, so that first uses overlap.
      Waiting.fetch_sub(1);
      while (Waiting.load() != 0)
        std::this_thread::yield();
      for (std::size_t Round = 0; Round < Rounds; ++Round)
        for (std::size_t C = 0; C < CaseCount; ++C) {
          std::string Result = ConcurrentCases[C].Run();
          if (Round != 0 && Result != Results[T][C])
            Unstable[T] += std::string(ConcurrentCases[C].Name) + "; ";
          Results[T][C] = std::move(Result);
        }
    });
  for (std::thread& Worker : Workers)
    Worker.join();

  for (std::size_t C = 0; C < CaseCount; ++C) {
    SCOPED_TRACE(ConcurrentCases[C].Name);
    const std::string Alone = ConcurrentCases[C].Run();
    EXPECT_FALSE(Alone.empty());
    EXPECT_EQ(Alone.find("mismatch"), std::string::npos);
    for (std::size_t T = 0; T < Threads; ++T)
      EXPECT_EQ(Results[T][C], Alone) << "thread " << T;
  }
  for (std::size_t T = 0; T < Threads; ++T)
    EXPECT_EQ(Unstable[T], "") << "thread " << T;
}

} // namespace
} // namespace md5b64
