// SPDX-License-Identifier: MIT
// Hex: bytes as hexadecimal text (lower case) and back (either case), into a new string or
// vector or into the caller's buffer.
#ifndef MD5B64_CODERS_HEX_H
#define MD5B64_CODERS_HEX_H

#include "md5b64/Export.h"

#include "coders/CodingResult.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace md5b64 {

// Nothing here keeps state between calls: any number of threads may code at once.

/// The exact number of characters that ByteCount bytes take: two each. Raises
/// std::length_error when that does not fit in a size_t.
MD5B64_API std::size_t HexEncodedSize(std::size_t ByteCount);

/// Bytes as lower-case hexadecimal, two digits a byte, high half first. Raises
/// std::bad_alloc when the memory runs out.
MD5B64_API std::string HexEncode(std::span<const std::uint8_t> Bytes);
/// The bytes of Text as lower-case hexadecimal.
MD5B64_API std::string HexEncode(std::string_view Text);

/// Writes Bytes in hexadecimal to the start of Out and returns the number of characters
/// written. Raises EIdCodingError of kind BufferTooSmall, with the size needed as its
/// position, when Out is shorter; then nothing is written.
MD5B64_API std::size_t HexEncodeInto(std::span<const std::uint8_t> Bytes, std::span<char> Out);

/// As HexEncodeInto, reporting BufferTooSmall in the result instead (its Position is the size
/// needed, or SIZE_MAX when that does not fit in a size_t).
MD5B64_API TCodingResult TryHexEncodeInto(std::span<const std::uint8_t> Bytes,
                                          std::span<char> Out) noexcept;

// Decoding takes the digits 0-9, a-f and A-F, in pairs, and nothing else: no whitespace, no
// "0x". Errors: InvalidCharacter at the offset of the first character that is no digit, or
// Truncated at the text's end when a digit is left without its pair.

/// The number of bytes a good text of TextSize characters decodes to.
MD5B64_API std::size_t HexDecodedSize(std::size_t TextSize) noexcept;

/// The bytes of Text. Raises EIdCodingError with the kind and position of the first fault,
/// and std::bad_alloc when the memory runs out.
MD5B64_API std::vector<std::uint8_t> HexDecode(std::string_view Text);

/// Decodes Text to the start of Out and returns the number of bytes written. Raises
/// EIdCodingError with the first fault of the text or, when the text is good but Out is too
/// short, of kind BufferTooSmall with the size needed as its position; then the bytes in Out
/// are unspecified.
MD5B64_API std::size_t HexDecodeInto(std::string_view Text, std::span<std::uint8_t> Out);

/// As HexDecodeInto, reporting the fault in the result instead.
MD5B64_API TCodingResult TryHexDecodeInto(std::string_view Text,
                                          std::span<std::uint8_t> Out) noexcept;

/// As HexDecode into Out (replacing what it held), reporting a fault of the text in the
/// result instead, with Out left empty. Raises only std::bad_alloc.
MD5B64_API TCodingResult TryHexDecode(std::string_view Text, std::vector<std::uint8_t>& Out);

} // namespace md5b64

#endif
