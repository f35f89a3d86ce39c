// SPDX-License-Identifier: MIT
#include "BenchInputs.h"

#include <map>

namespace md5b64::bench {

std::string_view Bytes(std::size_t Size) {
  // One buffer per size, made on first use and kept for the whole run.
  static std::map<std::size_t, std::string> Made;
  auto [It, Inserted] = Made.try_emplace(Size);
  if (Inserted) {
    It->second.resize(Size);
    std::uint64_t State = 0x9E3779B97F4A7C15U ^ Size;
    for (char& C : It->second) {
      // xorshift64: fixed seed, so every run digests the same bytes.
      State ^= State << 13;
      State ^= State >> 7;
      State ^= State << 17;
      C = static_cast<char>(State >> 56);
    }
  }
  return It->second;
}

std::string_view Base64Text(std::size_t Size) {
  static constexpr char Alphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  static std::map<std::size_t, std::string> Made;
  auto [It, Inserted] = Made.try_emplace(Size);
  if (Inserted) {
    const std::string_view In = Bytes(Size / 4 * 3);
    for (std::size_t I = 0; I + 3 <= In.size(); I += 3) {
      const std::uint32_t Bits =
          (static_cast<std::uint32_t>(static_cast<unsigned char>(In[I])) << 16) |
          (static_cast<std::uint32_t>(static_cast<unsigned char>(In[I + 1])) << 8) |
          static_cast<unsigned char>(In[I + 2]);
      for (int Shift = 18; Shift >= 0; Shift -= 6)
        It->second += Alphabet[(Bits >> Shift) & 63U];
    }
  }
  return It->second;
}

} // namespace md5b64::bench
