// SPDX-License-Identifier: MIT
// The plain lane kernel, one message after the other, and the padding every path shares.
#include "coders/internal/Md5Lanes.h"
#include "coders/internal/MdCompress.h"
#include "coders/internal/MdFinal.h"

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
      CompressMD5(State, Block);
    States.SetLane(L, State);
  }
}

std::size_t Md5Tail(const unsigned char* Rest, std::size_t Size, std::uint64_t Length,
                    unsigned char (&Tail)[128]) noexcept {
  // The padding of the single-stream digests, each block it makes kept in turn.
  unsigned char Work[64];
  if (Size != 0)
    std::memcpy(Work, Rest, Size);
  std::size_t Blocks = 0;
  MdPadAndCompress(Work, Size, Length, [&] { std::memcpy(Tail + 64 * Blocks++, Work, 64); });
  return Blocks;
}

} // namespace md5b64::internal
