// SPDX-License-Identifier: MIT
// Digest: the one-call and incremental digests, on the coders' block steps without their
// buffering.
#include "coders/Digest.h"

#include "coders/internal/Md2Transform.h"
#include "coders/internal/MdCompress.h"
#include "coders/internal/MdFinal.h"

#include <algorithm>
#include <cstring>

namespace md5b64 {

namespace {

using TChain = std::array<std::uint32_t, 4>;
constexpr std::size_t MdBlockSize = 64;
constexpr std::size_t Md2BlockSize = 16;

// The block compressions, called from here only.
void CompressMD5Block(TChain& Chain, const unsigned char* Block) noexcept {
  internal::Md5Compress(Chain, Block, internal::TMd5InlineRounds{});
}
void CompressMD4Block(TChain& Chain, const unsigned char* Block) noexcept {
  internal::Md4Compress(Chain, Block, internal::TMd4InlineRounds{});
}

using TCompress = void (*)(TChain&, const unsigned char*) noexcept;

template <TCompress Compress>
void MdUpdate(internal::TMdDigestState& State, const std::uint8_t* Data,
              std::size_t Size) noexcept {
  if (Size == 0)
    return;
  const auto Fill = static_cast<std::size_t>(State.Length % MdBlockSize);
  State.Length += Size;
  if (Fill != 0) {
    const std::size_t Take = std::min(MdBlockSize - Fill, Size);
    std::memcpy(State.Block.data() + Fill, Data, Take);
    if (Fill + Take < MdBlockSize)
      return;
    Compress(State.Chain, State.Block.data());
    Data += Take;
    Size -= Take;
  }
  // Whole blocks straight from the caller's bytes: no copy.
  for (; Size >= MdBlockSize; Data += MdBlockSize, Size -= MdBlockSize)
    Compress(State.Chain, Data);
  if (Size != 0)
    std::memcpy(State.Block.data(), Data, Size);
}

// The last block or two of a copy of the state; the caller's state stays as it was.
template <TCompress Compress> TDigestBytes MdFinish(internal::TMdDigestState State) noexcept {
  const auto Fill = static_cast<std::size_t>(State.Length % MdBlockSize);
  internal::MdPadAndCompress(State.Block.data(), Fill, State.Length,
                             [&State] { Compress(State.Chain, State.Block.data()); });
  TDigestBytes Out;
  internal::MdStoreDigest(State.Chain, Out.data());
  return Out;
}

// One call: whole blocks from the caller's bytes, and only the tail copied.
template <TCompress Compress>
TDigestBytes MdOneCall(const std::uint8_t* Data, std::size_t Size) noexcept {
  internal::TMdDigestState State;
  State.Chain = InitialChainState;
  State.Length = Size;
  for (; Size >= MdBlockSize; Data += MdBlockSize, Size -= MdBlockSize)
    Compress(State.Chain, Data);
  if (Size != 0)
    std::memcpy(State.Block.data(), Data, Size);
  return MdFinish<Compress>(State);
}

void Md2Block(internal::TMd2DigestState& State, const std::uint8_t* Block) noexcept {
  internal::Md2ChecksumStep(State.Checksum, State.ChecksumLink, Block);
  internal::Md2Transform(State.WorkArea, Block);
}

void Md2Update(internal::TMd2DigestState& State, const std::uint8_t* Data,
               std::size_t Size) noexcept {
  if (Size == 0)
    return;
  const auto Fill = static_cast<std::size_t>(State.Length % Md2BlockSize);
  State.Length += Size;
  if (Fill != 0) {
    const std::size_t Take = std::min(Md2BlockSize - Fill, Size);
    std::memcpy(State.Block.data() + Fill, Data, Take);
    if (Fill + Take < Md2BlockSize)
      return;
    Md2Block(State, State.Block.data());
    Data += Take;
    Size -= Take;
  }
  for (; Size >= Md2BlockSize; Data += Md2BlockSize, Size -= Md2BlockSize)
    Md2Block(State, Data);
  if (Size != 0)
    std::memcpy(State.Block.data(), Data, Size);
}

TDigestBytes Md2Finish(internal::TMd2DigestState State) noexcept {
  // RFC 1319, section 3.1: n bytes of value n complete the block, a whole block of 16 when
  // the message fills its blocks exactly.
  const auto Fill = static_cast<std::size_t>(State.Length % Md2BlockSize);
  const auto Pad = static_cast<std::uint8_t>(Md2BlockSize - Fill);
  std::fill(State.Block.begin() + static_cast<std::ptrdiff_t>(Fill), State.Block.end(), Pad);
  Md2Block(State, State.Block.data());
  // Section 3.2: the checksum, as it stands after the pad block, is the last block. Its own
  // checksum step would change nothing the digest reads.
  const std::array<std::uint8_t, 16> Checksum = State.Checksum;
  internal::Md2Transform(State.WorkArea, Checksum.data());
  TDigestBytes Out;
  std::copy_n(State.WorkArea.begin(), Out.size(), Out.begin());
  return Out;
}

const std::uint8_t* BytesOf(std::string_view Data) noexcept {
  return reinterpret_cast<const std::uint8_t*>(Data.data());
}

} // namespace

TDigestBytes MD5Of(std::span<const std::uint8_t> Data) noexcept {
  return MdOneCall<CompressMD5Block>(Data.data(), Data.size());
}
TDigestBytes MD5Of(std::string_view Data) noexcept {
  return MdOneCall<CompressMD5Block>(BytesOf(Data), Data.size());
}
TDigestBytes MD4Of(std::span<const std::uint8_t> Data) noexcept {
  return MdOneCall<CompressMD4Block>(Data.data(), Data.size());
}
TDigestBytes MD4Of(std::string_view Data) noexcept {
  return MdOneCall<CompressMD4Block>(BytesOf(Data), Data.size());
}
TDigestBytes MD2Of(std::span<const std::uint8_t> Data) noexcept {
  internal::TMd2DigestState State;
  Md2Update(State, Data.data(), Data.size());
  return Md2Finish(State);
}
TDigestBytes MD2Of(std::string_view Data) noexcept {
  return MD2Of(std::span<const std::uint8_t>(BytesOf(Data), Data.size()));
}

void TMD5Digest::Update(std::span<const std::uint8_t> Data) noexcept {
  MdUpdate<CompressMD5Block>(FState, Data.data(), Data.size());
}
void TMD5Digest::Update(std::string_view Data) noexcept {
  MdUpdate<CompressMD5Block>(FState, BytesOf(Data), Data.size());
}
void TMD5Digest::Reset() noexcept {
  FState = {};
  FState.Chain = InitialChainState;
}
TDigestBytes TMD5Digest::Finish() const noexcept {
  return MdFinish<CompressMD5Block>(FState);
}

void TMD4Digest::Update(std::span<const std::uint8_t> Data) noexcept {
  MdUpdate<CompressMD4Block>(FState, Data.data(), Data.size());
}
void TMD4Digest::Update(std::string_view Data) noexcept {
  MdUpdate<CompressMD4Block>(FState, BytesOf(Data), Data.size());
}
void TMD4Digest::Reset() noexcept {
  FState = {};
  FState.Chain = InitialChainState;
}
TDigestBytes TMD4Digest::Finish() const noexcept {
  return MdFinish<CompressMD4Block>(FState);
}

void TMD2Digest::Update(std::span<const std::uint8_t> Data) noexcept {
  Md2Update(FState, Data.data(), Data.size());
}
void TMD2Digest::Update(std::string_view Data) noexcept {
  Md2Update(FState, BytesOf(Data), Data.size());
}
TDigestBytes TMD2Digest::Finish() const noexcept {
  return Md2Finish(FState);
}

} // namespace md5b64
