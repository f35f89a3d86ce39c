// SPDX-License-Identifier: MIT
#include "front_end/SumDigest.h"

#include "coders/Base64.h"

namespace md5b64 {

std::string DigestToBase64(const TDigestBytes& Digest) {
  return Base64Encode(std::span<const std::uint8_t>(Digest));
}

std::string DigestToHex(const TDigestBytes& Digest) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string Text;
  Text.reserve(2 * Digest.size());
  for (const std::uint8_t Byte : Digest) {
    Text += Digits[Byte >> 4];
    Text += Digits[Byte & 15];
  }
  return Text;
}

namespace {

int HexValue(char Digit) noexcept {
  if (Digit >= '0' && Digit <= '9')
    return Digit - '0';
  if (Digit >= 'a' && Digit <= 'f')
    return Digit - 'a' + 10;
  if (Digit >= 'A' && Digit <= 'F')
    return Digit - 'A' + 10;
  return -1;
}

} // namespace

bool DigestFromText(std::string_view Text, TDigestBytes& Digest) {
  if (Text.size() == 2 * Digest.size()) {
    for (std::size_t Index = 0; Index < Digest.size(); ++Index) {
      const int High = HexValue(Text[2 * Index]);
      const int Low = HexValue(Text[2 * Index + 1]);
      if (High < 0 || Low < 0)
        return false;
      Digest[Index] = static_cast<std::uint8_t>(High * 16 + Low);
    }
    return true;
  }
  // Strict decoding: only the text an encoder writes for 16 bytes is a digest.
  if (Text.size() != Base64EncodedSize(Digest.size()))
    return false;
  const TCodingResult Result = TryBase64DecodeInto(Text, Digest);
  return Result.Ok() && Result.Size == Digest.size();
}

} // namespace md5b64
