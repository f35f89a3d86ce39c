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

} // namespace md5b64::bench
