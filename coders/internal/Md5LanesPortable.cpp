// SPDX-License-Identifier: MIT
// The plain lane kernel, one message after the other, and the padding every path shares.
#include "coders/internal/Md5Lanes.h"
#include "coders/internal/MdCompress.h"

#include <cstring>

namespace md5b64::internal {

void Md5LanesPortable(TMd5LaneStates& States, const unsigned char* const* Data, TMd5LaneMask Active,
                      std::size_t Blocks) noexcept {
  for (std::size_t L = 0; L < Md5LaneCount; ++L) {
    if ((Active >> L & 1U) == 0)
      continue;
    TIdMDChainState State = States.Lane(L);
    const unsigned char* Block = Data[L];
    for (std::size_t B = 0; B < Blocks; ++B, Block += 64)
      Md5Compress(State, Block, TMd5InlineRounds{});
    States.SetLane(L, State);
  }
}

std::size_t Md5Tail(const unsigned char* Rest, std::size_t Size, std::uint64_t Length,
                    unsigned char (&Tail)[128]) noexcept {
  std::memset(Tail, 0, sizeof Tail);
  if (Size != 0)
    std::memcpy(Tail, Rest, Size);
  Tail[Size] = 0x80;
  // The pad byte and the eight bytes of the length must fit: from 56 held bytes on, a second
  // block is needed.
  const std::size_t Blocks = Size < 56 ? 1 : 2;
  // The bit length modulo 2^64, least significant byte first.
  const std::uint64_t Bits = Length << 3;
  unsigned char* Field = Tail + 64 * Blocks - 8;
  for (int I = 0; I < 8; ++I)
    Field[I] = static_cast<unsigned char>(Bits >> (8 * I));
  return Blocks;
}

} // namespace md5b64::internal
