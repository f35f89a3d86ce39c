// SPDX-License-Identifier: MIT
// MD5 lanes on any bytes: on a path chosen by the input, the many-message call and lanes fed
// in pieces of any size, in any order, finished at any moment, give the one-call digest of
// exactly what each message or lane received.
#include "FuzzCheck.h"
#include "coders/Digest.h"
#include "coders/DigestMany.h"
#include "coders/internal/Md5Lanes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace md5b64;

namespace {

// Reads the input front to back; past its end, every read gives 0.
class TReader {
public:
  TReader(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}
  bool Done() const noexcept { return FAt >= FSize; }
  std::uint8_t Byte() noexcept { return FAt < FSize ? FData[FAt++] : 0; }
  // Up to Count bytes of the input itself, in a block of their exact size.
  std::string Take(std::size_t Count) {
    const std::size_t Size = std::min(Count, FSize - std::min(FAt, FSize));
    std::string Bytes(reinterpret_cast<const char*>(FData) + FAt, Size);
    FAt += Size;
    return Bytes;
  }

private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FAt = 0;
};

// Lengths from 0 to a few blocks mostly, sometimes up to two of a lane's buffers.
std::size_t PieceLength(TReader& Reader) {
  const std::uint8_t Kind = Reader.Byte();
  const std::size_t Low = Reader.Byte();
  if (Kind < 200)
    return Low + (Kind & 1U) * 64;
  return (static_cast<std::size_t>(Kind - 200) << 8 | Low) % (2 * TMD5Lanes::LaneBufferSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TReader Reader(Data, Size);
  const internal::TMd5LanesPath Paths[] = {internal::TMd5LanesPath::Portable,
                                           internal::TMd5LanesPath::Avx2,
                                           internal::TMd5LanesPath::Avx512};
  const internal::TMd5LanesPath Path = Paths[Reader.Byte() % 3];
  // A path this machine lacks keeps the one in use.
  internal::SetMd5LanesPath(Path);

  // Up to 40 messages of the input's own bytes, all in one call.
  const std::size_t Messages = Reader.Byte() % 41;
  std::vector<fuzz::TExactBytes> Held;
  std::vector<std::string_view> Views;
  for (std::size_t I = 0; I < Messages; ++I) {
    Held.emplace_back(Reader.Take(PieceLength(Reader)));
    Views.push_back(Held.back().View());
  }
  std::vector<TDigestBytes> Digests(Views.size());
  MD5Many(Views, Digests);
  for (std::size_t I = 0; I < Views.size(); ++I)
    MD5B64_FUZZ_CHECK(Digests[I] == MD5Of(Views[I]));

  // Lanes fed and finished as the rest of the input says.
  const std::size_t LaneCount = 1 + Reader.Byte() % 20;
  TMD5Lanes Lanes(LaneCount);
  std::vector<std::string> Fed(LaneCount);
  while (!Reader.Done()) {
    const std::uint8_t Operation = Reader.Byte();
    const std::size_t Lane = Operation % LaneCount;
    if (Operation >= 224) {
      MD5B64_FUZZ_CHECK(Lanes.Finish(Lane) == MD5Of(Fed[Lane]));
      Fed[Lane].clear();
      continue;
    }
    const fuzz::TExactBytes Piece(Reader.Take(PieceLength(Reader)));
    Lanes.Update(Lane, Piece.View());
    Fed[Lane] += Piece.View();
    MD5B64_FUZZ_CHECK(Lanes.Length(Lane) == Fed[Lane].size());
  }
  for (std::size_t Lane = 0; Lane < LaneCount; ++Lane)
    MD5B64_FUZZ_CHECK(Lanes.Finish(Lane) == MD5Of(Fed[Lane]));
  return 0;
}
