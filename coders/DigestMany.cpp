// SPDX-License-Identifier: MIT
// Many MD5 messages through the lane kernels: each lane takes the next message when its own
// is done, so that messages of any lengths keep the lanes full.
#include "coders/DigestMany.h"

#include "coders/internal/Md5Lanes.h"
#include "coders/internal/MdFinal.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace md5b64 {
namespace {

using internal::Md5LaneCount;
using internal::TMd5LaneMask;
using internal::TMd5LaneStates;

TDigestBytes DigestOf(const TIdMDChainState& State) noexcept {
  TDigestBytes Digest;
  internal::MdStoreDigest(State, Digest.data());
  return Digest;
}

std::span<const unsigned char> BytesOf(std::span<const std::uint8_t> Message) noexcept {
  return {Message.data(), Message.size()};
}
std::span<const unsigned char> BytesOf(std::string_view Message) noexcept {
  return {reinterpret_cast<const unsigned char*>(Message.data()), Message.size()};
}

constexpr TMd5LaneMask Bit(std::size_t Lane) noexcept {
  return TMd5LaneMask{1} << Lane;
}

// Compresses, for every lane in Active, Blocks[L] blocks from Data[L] on, all lanes together
// while they have blocks left; Data and Blocks move on past what was compressed.
void CompressRuns(TMd5LaneStates& States, const unsigned char* (&Data)[Md5LaneCount],
                  std::size_t (&Blocks)[Md5LaneCount], TMd5LaneMask Active) noexcept {
  while (Active != 0) {
    std::size_t Run = std::numeric_limits<std::size_t>::max();
    for (std::size_t L = 0; L < Md5LaneCount; ++L)
      if ((Active & Bit(L)) != 0)
        Run = std::min(Run, Blocks[L]);
    internal::Md5LanesCompress(States, Data, Active, Run);
    for (std::size_t L = 0; L < Md5LaneCount; ++L) {
      if ((Active & Bit(L)) == 0)
        continue;
      Data[L] += 64 * Run;
      Blocks[L] -= Run;
      if (Blocks[L] == 0)
        Active &= ~Bit(L);
    }
  }
}

template <class TMessage>
void DigestMany(std::span<const TMessage> Messages, std::span<TDigestBytes> Digests) {
  if (Digests.size() < Messages.size())
    throw ERangeError();

  // What each lane is doing: the whole blocks of its message, then the padded tail.
  struct TSlot {
    std::size_t Message = 0;
    bool InTail = false;
    unsigned char Tail[128];
  };
  TSlot Slots[Md5LaneCount];
  TMd5LaneStates States{};
  const unsigned char* Data[Md5LaneCount] = {};
  std::size_t Blocks[Md5LaneCount] = {};
  TMd5LaneMask Active = 0;
  std::size_t Waiting = 0; // the next message no lane has taken yet

  auto EnterTail = [&](std::size_t L) {
    const std::span<const unsigned char> Bytes = BytesOf(Messages[Slots[L].Message]);
    const std::size_t Whole = Bytes.size() / 64 * 64;
    Blocks[L] =
        internal::Md5Tail(Bytes.data() + Whole, Bytes.size() - Whole, Bytes.size(), Slots[L].Tail);
    Data[L] = Slots[L].Tail;
    Slots[L].InTail = true;
  };
  auto TakeNext = [&](std::size_t L) {
    if (Waiting == Messages.size()) {
      Active &= ~Bit(L);
      return;
    }
    const std::span<const unsigned char> Bytes = BytesOf(Messages[Waiting]);
    Slots[L].Message = Waiting++;
    Slots[L].InTail = false;
    States.SetLane(L, InitialChainState);
    Active |= Bit(L);
    Data[L] = Bytes.data();
    Blocks[L] = Bytes.size() / 64;
    if (Blocks[L] == 0)
      EnterTail(L);
  };

  for (std::size_t L = 0; L < Md5LaneCount; ++L)
    TakeNext(L);
  // NOLINTNEXTLINE(bugprone-infinite-loop): TakeNext and EnterTail change Active by reference.
  while (Active != 0) {
    // As far as the lane that runs out first, then that lane moves on.
    std::size_t Run = std::numeric_limits<std::size_t>::max();
    for (std::size_t L = 0; L < Md5LaneCount; ++L)
      if ((Active & Bit(L)) != 0)
        Run = std::min(Run, Blocks[L]);
    internal::Md5LanesCompress(States, Data, Active, Run);
    for (std::size_t L = 0; L < Md5LaneCount; ++L) {
      if ((Active & Bit(L)) == 0)
        continue;
      Data[L] += 64 * Run;
      Blocks[L] -= Run;
      if (Blocks[L] != 0)
        continue;
      if (!Slots[L].InTail) {
        EnterTail(L);
      } else {
        Digests[Slots[L].Message] = DigestOf(States.Lane(L));
        TakeNext(L);
      }
    }
  }
}

} // namespace

void MD5Many(std::span<const std::span<const std::uint8_t>> Messages,
             std::span<TDigestBytes> Digests) {
  DigestMany(Messages, Digests);
}

void MD5Many(std::span<const std::string_view> Messages, std::span<TDigestBytes> Digests) {
  DigestMany(Messages, Digests);
}

TMD5Lanes::TMD5Lanes(std::size_t Lanes) {
  // The buffers of all lanes must have a size that can be counted.
  if (Lanes == 0 || Lanes > std::numeric_limits<std::size_t>::max() / LaneBufferSize)
    throw ERangeError();
  FLanes.resize(Lanes);
  FBuffers.resize(Lanes * LaneBufferSize);
}

TMD5Lanes::TLane& TMD5Lanes::At(std::size_t Lane) {
  if (Lane >= FLanes.size())
    throw ERangeError();
  return FLanes[Lane];
}

const TMD5Lanes::TLane& TMD5Lanes::At(std::size_t Lane) const {
  if (Lane >= FLanes.size())
    throw ERangeError();
  return FLanes[Lane];
}

void TMD5Lanes::Update(std::size_t Lane, std::span<const std::uint8_t> Data) {
  TLane& Target = At(Lane);
  while (!Data.empty()) {
    // A full lane waits until more comes, so that the others can catch up with it first.
    if (Target.Held == LaneBufferSize)
      CompressHeld();
    const std::size_t Piece = std::min(Data.size(), LaneBufferSize - Target.Held);
    std::memcpy(Buffer(Lane) + Target.Held, Data.data(), Piece);
    Target.Held += Piece;
    Target.Length += Piece; // modulo 2^64, as the bit length is (RFC 1321, section 3.2)
    Data = Data.subspan(Piece);
  }
}

void TMD5Lanes::Update(std::size_t Lane, std::string_view Data) {
  Update(Lane, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(Data.data()),
                                             Data.size()));
}

void TMD5Lanes::CompressHeld() {
  for (std::size_t First = 0; First < FLanes.size();) {
    // Up to 16 lanes with whole blocks, from First on.
    std::size_t Lanes[Md5LaneCount];
    std::size_t Taken = 0;
    for (; First < FLanes.size() && Taken < Md5LaneCount; ++First)
      if (FLanes[First].Held >= 64)
        Lanes[Taken++] = First;
    if (Taken == 0)
      return;

    TMd5LaneStates States{};
    const unsigned char* Data[Md5LaneCount] = {};
    std::size_t Blocks[Md5LaneCount] = {};
    for (std::size_t S = 0; S < Taken; ++S) {
      States.SetLane(S, FLanes[Lanes[S]].State);
      Data[S] = Buffer(Lanes[S]);
      Blocks[S] = FLanes[Lanes[S]].Held / 64;
    }
    CompressRuns(States, Data, Blocks, static_cast<TMd5LaneMask>(Bit(Taken) - 1));
    for (std::size_t S = 0; S < Taken; ++S) {
      TLane& Done = FLanes[Lanes[S]];
      Done.State = States.Lane(S);
      // The part of a block that is left goes to the front.
      const std::size_t Rest = Done.Held % 64;
      std::memmove(Buffer(Lanes[S]), Buffer(Lanes[S]) + (Done.Held - Rest), Rest);
      Done.Held = Rest;
    }
  }
}

TDigestBytes TMD5Lanes::Finish(std::size_t Lane) {
  TLane& Target = At(Lane);
  if (Target.Held >= 64)
    CompressHeld();
  TMd5LaneStates States{};
  States.SetLane(0, Target.State);
  unsigned char Tail[128];
  const unsigned char* Data[Md5LaneCount] = {Tail};
  const std::size_t Blocks = internal::Md5Tail(Buffer(Lane), Target.Held, Target.Length, Tail);
  internal::Md5LanesCompress(States, Data, Bit(0), Blocks);
  Target = TLane{};
  return DigestOf(States.Lane(0));
}

void TMD5Lanes::Reset(std::size_t Lane) {
  At(Lane) = TLane{};
}

std::uint64_t TMD5Lanes::Length(std::size_t Lane) const {
  return At(Lane).Length;
}

void TMD5Lanes::ResumeLane(std::size_t Lane, std::uint64_t Length) {
  At(Lane) = TLane{};
  FLanes[Lane].Length = Length;
}

} // namespace md5b64
