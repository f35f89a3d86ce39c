// SPDX-License-Identifier: MIT
// Base64BlocksPortable: the bulk Base64 coding one group at a time, with plain instructions.
#include "coders/internal/Base64Blocks.h"

#include <cstdint>

namespace md5b64::internal {

void EncodeGroupsPortable(const char* Table, const unsigned char* In, std::size_t Count,
                          char* Out) noexcept {
  for (std::size_t Groups = Count / 3; Groups > 0; --Groups, In += 3, Out += 4) {
    const std::uint32_t Bits = (static_cast<std::uint32_t>(In[0]) << 16) |
                               (static_cast<std::uint32_t>(In[1]) << 8) | In[2];
    Out[0] = Table[Bits >> 18];
    Out[1] = Table[(Bits >> 12) & 63U];
    Out[2] = Table[(Bits >> 6) & 63U];
    Out[3] = Table[Bits & 63U];
  }
}

std::size_t DecodeGroupsPortable(const std::uint8_t* Table, const char* In, std::size_t Count,
                                 std::uint8_t* Out) noexcept {
  std::size_t Done = 0;
  for (; Count - Done >= 4; Done += 4, Out += 3) {
    const auto* Group = reinterpret_cast<const unsigned char*>(In + Done);
    // Only the codes 1 to 127 have entries; 0 wraps round to the top.
    if (Group[0] - 1U >= 127U || Group[1] - 1U >= 127U || Group[2] - 1U >= 127U ||
        Group[3] - 1U >= 127U)
      break;
    const std::uint32_t V0 = Table[Group[0] - 1U], V1 = Table[Group[1] - 1U],
                        V2 = Table[Group[2] - 1U], V3 = Table[Group[3] - 1U];
    if ((V0 | V1 | V2 | V3) >= 64U)
      break;
    const std::uint32_t Bits = (V0 << 18) | (V1 << 12) | (V2 << 6) | V3;
    Out[0] = static_cast<std::uint8_t>(Bits >> 16);
    Out[1] = static_cast<std::uint8_t>(Bits >> 8);
    Out[2] = static_cast<std::uint8_t>(Bits);
  }
  return Done;
}

} // namespace md5b64::internal
