// SPDX-License-Identifier: MIT
// Hex: the encoder, and the decoder on a table built by the compiler.
#include "coders/Hex.h"

#include <array>
#include <limits>
#include <stdexcept>

namespace md5b64 {

namespace {

constexpr char Digits[] = "0123456789abcdef";
constexpr std::size_t NoSize = std::numeric_limits<std::size_t>::max();
constexpr std::uint8_t NotADigit = 0xFF;

// The value of each character as a digit, NotADigit for the rest. Constant: nothing to start
// up, nothing shared that changes.
constexpr std::array<std::uint8_t, 256> DigitValues = [] {
  std::array<std::uint8_t, 256> Table{};
  Table.fill(NotADigit);
  for (std::uint8_t V = 0; V < 16; ++V) {
    Table[static_cast<unsigned char>(Digits[V])] = V;
    Table[static_cast<unsigned char>("0123456789ABCDEF"[V])] = V;
  }
  return Table;
}();

std::size_t EncodedSizeOrNone(std::size_t ByteCount) noexcept {
  return ByteCount > NoSize / 2 ? NoSize : ByteCount * 2;
}

void EncodeAll(std::span<const std::uint8_t> Bytes, char* Out) noexcept {
  for (const std::uint8_t B : Bytes) {
    *Out++ = Digits[B >> 4];
    *Out++ = Digits[B & 15];
  }
}

// Checks the whole text and, when Out is not null (then it has room for every byte), writes
// the bytes as it goes. Faults are reported in text order: a bad character before the end
// comes before a missing last digit.
TCodingResult DecodeAll(std::string_view Text, std::uint8_t* Out) noexcept {
  const std::size_t Pairs = Text.size() / 2;
  for (std::size_t I = 0; I < Pairs; ++I) {
    const std::uint8_t High = DigitValues[static_cast<unsigned char>(Text[2 * I])];
    const std::uint8_t Low = DigitValues[static_cast<unsigned char>(Text[2 * I + 1])];
    if (High == NotADigit || Low == NotADigit)
      return TCodingResult{TCodingError::InvalidCharacter, High == NotADigit ? 2 * I : 2 * I + 1,
                           0};
    if (Out != nullptr)
      Out[I] = static_cast<std::uint8_t>(High << 4 | Low);
  }
  if (Text.size() % 2 != 0) {
    if (DigitValues[static_cast<unsigned char>(Text.back())] == NotADigit)
      return TCodingResult{TCodingError::InvalidCharacter, Text.size() - 1, 0};
    return TCodingResult{TCodingError::Truncated, Text.size(), 0};
  }
  return TCodingResult{TCodingError::None, 0, Pairs};
}

} // namespace

std::size_t HexEncodedSize(std::size_t ByteCount) {
  const std::size_t Size = EncodedSizeOrNone(ByteCount);
  if (Size == NoSize)
    throw std::length_error("The hex form of the bytes does not fit in memory.");
  return Size;
}

std::string HexEncode(std::span<const std::uint8_t> Bytes) {
  std::string Text(HexEncodedSize(Bytes.size()), '\0');
  EncodeAll(Bytes, Text.data());
  return Text;
}

std::string HexEncode(std::string_view Text) {
  return HexEncode(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(Text.data()),
                                                 Text.size()));
}

std::size_t HexEncodeInto(std::span<const std::uint8_t> Bytes, std::span<char> Out) {
  const TCodingResult Result = TryHexEncodeInto(Bytes, Out);
  if (!Result)
    RaiseCodingError(Result, "hex");
  return Result.Size;
}

TCodingResult TryHexEncodeInto(std::span<const std::uint8_t> Bytes, std::span<char> Out) noexcept {
  const std::size_t Size = EncodedSizeOrNone(Bytes.size());
  if (Size == NoSize || Size > Out.size())
    return TCodingResult{TCodingError::BufferTooSmall, Size, 0};
  EncodeAll(Bytes, Out.data());
  return TCodingResult{TCodingError::None, 0, Size};
}

std::size_t HexDecodedSize(std::size_t TextSize) noexcept {
  return TextSize / 2;
}

std::vector<std::uint8_t> HexDecode(std::string_view Text) {
  std::vector<std::uint8_t> Bytes;
  const TCodingResult Result = TryHexDecode(Text, Bytes);
  if (!Result)
    RaiseCodingError(Result, "hex");
  return Bytes;
}

std::size_t HexDecodeInto(std::string_view Text, std::span<std::uint8_t> Out) {
  const TCodingResult Result = TryHexDecodeInto(Text, Out);
  if (!Result)
    RaiseCodingError(Result, "hex");
  return Result.Size;
}

TCodingResult TryHexDecodeInto(std::string_view Text, std::span<std::uint8_t> Out) noexcept {
  const std::size_t Needed = HexDecodedSize(Text.size());
  if (Needed <= Out.size())
    return DecodeAll(Text, Out.data());
  // Too short: the text's own faults come first, so check it without writing.
  const TCodingResult Checked = DecodeAll(Text, nullptr);
  if (!Checked)
    return Checked;
  return TCodingResult{TCodingError::BufferTooSmall, Needed, 0};
}

TCodingResult TryHexDecode(std::string_view Text, std::vector<std::uint8_t>& Out) {
  Out.resize(HexDecodedSize(Text.size()));
  const TCodingResult Result = DecodeAll(Text, Out.data());
  if (!Result)
    Out.clear();
  return Result;
}

} // namespace md5b64
