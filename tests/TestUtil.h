// SPDX-License-Identifier: MIT
// Small helpers shared by the tests.
#ifndef MD5B64_TESTS_TESTUTIL_H
#define MD5B64_TESTS_TESTUTIL_H

#include "platform/SysUtils.h"

#include <string>
#include <string_view>

namespace md5b64::test {

/// Raised by test doubles where a failure is injected.
class ETestFailure : public Exception {
public:
  ETestFailure() : Exception("injected failure") {}
  const char* ClassName() const noexcept override { return "ETestFailure"; }
};

/// Lower-case hexadecimal form of the bytes of Bytes.
inline std::string ToHex(std::string_view Bytes) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string Hex;
  for (const char C : Bytes) {
    const auto B = static_cast<unsigned char>(C);
    Hex.push_back(Digits[B >> 4]);
    Hex.push_back(Digits[B & 15]);
  }
  return Hex;
}

/// Bytes of a hexadecimal text (either case).
inline std::string FromHex(std::string_view Hex) {
  auto Nibble = [](char C) { return C <= '9' ? C - '0' : (C | 0x20) - 'a' + 10; };
  std::string Bytes;
  for (std::size_t I = 0; I + 1 < Hex.size(); I += 2)
    Bytes.push_back(static_cast<char>(Nibble(Hex[I]) * 16 + Nibble(Hex[I + 1])));
  return Bytes;
}

/// Count bytes following a pattern that repeats every 251 bytes (a prime, so no block or
/// chunk size lines up with it).
inline std::string PatternBytes(std::size_t Count) {
  std::string Bytes(Count, '\0');
  for (std::size_t I = 0; I < Count; ++I)
    Bytes[I] = static_cast<char>(I % 251);
  return Bytes;
}

} // namespace md5b64::test

#endif
