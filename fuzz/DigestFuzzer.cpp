// SPDX-License-Identifier: MIT
// The digest coders on arbitrary bytes: however the input is cut into texts, and whichever
// way the digest is taken (FinishInput, AutoFinish on the last text, TakeNextData behind a
// notice, the data event, after a Reset), it is the digest of the input fed as one text.
// Where OpenSSL is linked in, the MD4 and MD5 digests are also OpenSSL's; MD2, which
// OpenSSL leaves out, is held against the one-shot form of RFC 1319 written here.
#include "FuzzCheck.h"
#include "coders/IdCoderMessageDigest.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#ifdef MD5B64_FUZZ_WITH_OPENSSL
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md4.h>
#include <openssl/md5.h>
#endif

namespace {

using namespace md5b64;

constexpr std::size_t DigestSize = 16;

enum class TTakeWay { Finish, AutoFinish, BehindNotice, DataEvent, AfterReset, Count };

// The digest of Message fed as one text to a new coder.
template <class TCoder> std::string WholeDigest(std::string_view Message) {
  TCoder Coder;
  MD5B64_FUZZ_CHECK(Coder.FeedText(Message).empty());
  const std::string Output = Coder.FinishInput();
  MD5B64_FUZZ_CHECK(Output.size() == 2 + DigestSize && Output.compare(0, 2, "0;") == 0);
  MD5B64_FUZZ_CHECK(Coder.OutputQueue().IsEmpty());
  MD5B64_FUZZ_CHECK(Coder.InputCount().Value() == Message.size());
  MD5B64_FUZZ_CHECK(Coder.ProcessedCount().Value() == 0);
  MD5B64_FUZZ_CHECK(Coder.OutputCount().Value() == DigestSize);
  MD5B64_FUZZ_CHECK(Coder.ChunkFill() == 0 && Coder.Finishing());
  return Output.substr(2);
}

// Blocks of 64 bytes compressed for a message of Length bytes: the message, the 0x80 byte
// and the 8-byte length, rounded up to whole blocks.
std::uint64_t CompressedLength(std::uint64_t Length) {
  return (Length + 1 + 8 + 63) / 64 * 64;
}

template <class TCoder>
std::string DigestInPieces(const std::vector<std::string_view>& Pieces, TTakeWay Way,
                           std::string_view Junk, bool DropNoticesFirst) {
  TCoder Coder;
  std::uint64_t Fed = 0;
  std::uint64_t Digests = 0;
  if (Way == TTakeWay::AfterReset) {
    // An earlier message, finished, then a Reset: nothing of it may reach the next digest.
    Coder.FeedText(Junk);
    Coder.FinishInput();
    Coder.Reset();
    Fed += Junk.size();
    ++Digests;
  }
  const std::size_t Last = Pieces.size() - 1;
  for (std::size_t I = 0; I < Last; ++I) {
    MD5B64_FUZZ_CHECK(Coder.FeedText(Pieces[I]).empty());
    MD5B64_FUZZ_CHECK(Coder.ChunkFill() < Coder.ChunkSize());
    Fed += Pieces[I].size();
  }
  Fed += Pieces[Last].size();

  std::string Output;
  switch (Way) {
  case TTakeWay::Finish:
  case TTakeWay::AfterReset:
    MD5B64_FUZZ_CHECK(Coder.FeedText(Pieces[Last]).empty());
    Output = Coder.FinishInput();
    break;
  case TTakeWay::AutoFinish:
    Coder.SetAutoFinish(true);
    Output = Coder.FeedText(Pieces[Last]);
    break;
  case TTakeWay::BehindNotice: {
    MD5B64_FUZZ_CHECK(Coder.FeedText(Pieces[Last]).empty());
    Coder.SetDropNotices(DropNoticesFirst);
    Coder.OutputQueue().Add("7;notice");
    Coder.OutputQueue().Add("12;another");
    // The notice at the head comes out whole; the digest stays queued behind the other.
    MD5B64_FUZZ_CHECK(Coder.FinishInput() == "7;notice");
    MD5B64_FUZZ_CHECK(Coder.OutputQueue().Count() == 2);
    if (!DropNoticesFirst) {
      MD5B64_FUZZ_CHECK(Coder.TakeNextData().empty());
      MD5B64_FUZZ_CHECK(Coder.OutputQueue().Count() == 2);
      Coder.SetDropNotices(true);
    }
    Output = "0;" + Coder.TakeNextData();
    break;
  }
  case TTakeWay::DataEvent: {
    MD5B64_FUZZ_CHECK(Coder.FeedText(Pieces[Last]).empty());
    std::vector<std::string> Received;
    Coder.SetUseDataEvent(true);
    Coder.SetOnDataReady([&](TIdCoder& Sender, const std::string& Piece) {
      MD5B64_FUZZ_CHECK(&Sender == &Coder);
      Received.push_back(Piece);
    });
    MD5B64_FUZZ_CHECK(Coder.FinishInput().empty());
    MD5B64_FUZZ_CHECK(Received.size() == 1);
    Output = "0;" + Received.front();
    break;
  }
  case TTakeWay::Count:
    break;
  }
  ++Digests;

  MD5B64_FUZZ_CHECK(Output.size() == 2 + DigestSize && Output.compare(0, 2, "0;") == 0);
  MD5B64_FUZZ_CHECK(Coder.OutputQueue().IsEmpty());
  MD5B64_FUZZ_CHECK(Coder.ChunkFill() == 0 && Coder.Finishing());
  MD5B64_FUZZ_CHECK(Coder.InputCount().Value() == Fed);
  MD5B64_FUZZ_CHECK(Coder.ProcessedCount().Value() == 0);
  MD5B64_FUZZ_CHECK(Coder.OutputCount().Value() == Digests * DigestSize);
  if constexpr (std::is_base_of_v<TIdCoderMD4, TCoder>) {
    std::uint64_t Length = 0;
    for (const std::string_view Piece : Pieces)
      Length += Piece.size();
    MD5B64_FUZZ_CHECK(Coder.MessageLength() == CompressedLength(Length));
  }
  return Output.substr(2);
}

template <class TCoder>
void CheckCoder(const std::string& Message, const std::vector<std::string_view>& Pieces,
                TTakeWay Way, std::string_view Junk, bool DropNoticesFirst,
                const std::string& Expected) {
  const std::string Whole = WholeDigest<TCoder>(Message);
  if (!Expected.empty())
    MD5B64_FUZZ_CHECK(Whole == Expected);
  MD5B64_FUZZ_CHECK(DigestInPieces<TCoder>(Pieces, Way, Junk, DropNoticesFirst) == Whole);
}

// RFC 1319 over a whole message at once: pad to a multiple of 16 bytes with n bytes of value
// n, append the checksum of the padded message, and run every block through the 48-byte
// state. Only the substitution table is the library's.
std::string OneShotMd2(std::string_view Message) {
  std::vector<std::uint8_t> Bytes(Message.begin(), Message.end());
  const std::size_t Pad = 16 - Bytes.size() % 16;
  Bytes.insert(Bytes.end(), Pad, static_cast<std::uint8_t>(Pad));
  std::uint8_t Checksum[16] = {};
  std::uint8_t Last = 0;
  for (std::size_t Block = 0; Block < Bytes.size(); Block += 16)
    for (std::size_t J = 0; J < 16; ++J)
      Last = Checksum[J] ^= PiSubstitution[Bytes[Block + J] ^ Last];
  Bytes.insert(Bytes.end(), Checksum, Checksum + 16);
  std::uint8_t State[48] = {};
  for (std::size_t Block = 0; Block < Bytes.size(); Block += 16) {
    for (std::size_t J = 0; J < 16; ++J) {
      State[16 + J] = Bytes[Block + J];
      State[32 + J] = static_cast<std::uint8_t>(State[16 + J] ^ State[J]);
    }
    std::uint8_t T = 0;
    for (unsigned Round = 0; Round < 18; ++Round) {
      for (std::uint8_t& Byte : State)
        T = Byte ^= PiSubstitution[T];
      T = static_cast<std::uint8_t>(T + Round);
    }
  }
  return std::string(reinterpret_cast<const char*>(State), 16);
}

#ifdef MD5B64_FUZZ_WITH_OPENSSL
std::string OpenSslMd4(const std::string& Message) {
  unsigned char Digest[MD4_DIGEST_LENGTH];
  MD4(reinterpret_cast<const unsigned char*>(Message.data()), Message.size(), Digest);
  return std::string(reinterpret_cast<const char*>(Digest), sizeof Digest);
}

std::string OpenSslMd5(const std::string& Message) {
  unsigned char Digest[MD5_DIGEST_LENGTH];
  MD5(reinterpret_cast<const unsigned char*>(Message.data()), Message.size(), Digest);
  return std::string(reinterpret_cast<const char*>(Digest), sizeof Digest);
}
#else
std::string OpenSslMd4(const std::string&) {
  return {};
}
std::string OpenSslMd5(const std::string&) {
  return {};
}
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  FuzzedDataProvider Input(Data, Size);
  const auto Way = static_cast<TTakeWay>(
      Input.ConsumeIntegralInRange<int>(0, static_cast<int>(TTakeWay::Count) - 1));
  const bool DropNoticesFirst = Input.ConsumeBool();
  const std::string Junk =
      Input.ConsumeBytesAsString(Input.ConsumeIntegralInRange<std::size_t>(0, 100));
  const std::string Message = Input.ConsumeBytesAsString(
      Input.ConsumeIntegralInRange<std::size_t>(0, Input.remaining_bytes()));

  // The cuts come from what is left of the input; once it runs out, the rest is one piece.
  std::vector<std::string_view> Pieces;
  std::string_view Rest = Message;
  while (!Rest.empty() && Input.remaining_bytes() > 0) {
    const std::size_t Length = Input.ConsumeIntegralInRange<std::size_t>(0, Rest.size());
    Pieces.push_back(Rest.substr(0, Length));
    Rest.remove_prefix(Length);
  }
  Pieces.push_back(Rest);

  CheckCoder<TIdCoderMD2>(Message, Pieces, Way, Junk, DropNoticesFirst, OneShotMd2(Message));
  CheckCoder<TIdCoderMD4>(Message, Pieces, Way, Junk, DropNoticesFirst, OpenSslMd4(Message));
  CheckCoder<TIdCoderMD5>(Message, Pieces, Way, Junk, DropNoticesFirst, OpenSslMd5(Message));
  return 0;
}
