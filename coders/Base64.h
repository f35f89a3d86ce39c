// SPDX-License-Identifier: MIT
// Base64: the standard and URL-safe forms, padded or not, on one line or wrapped, encoded and
// decoded in one call, into a new string or into the caller's buffer.
#ifndef MD5B64_CODERS_BASE64_H
#define MD5B64_CODERS_BASE64_H

#include "md5b64/Export.h"

#include "coders/CodingResult.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace md5b64 {

/// The 64 characters a form codes with: "+/" (RFC 4648, section 4) or "-_" (section 5) as the
/// last two; the first 62 are the same.
enum class TBase64Alphabet : std::uint8_t { Standard, Url };

/// How a decoder takes its text.
enum class TBase64Strictness : std::uint8_t {
  /// Only the text the encoder writes for the form: its padding exactly, line breaks (CR LF)
  /// exactly where its line length puts them, zero bits after the last whole byte, nothing
  /// outside the alphabet (RFC 4648, section 3.5).
  Strict,
  /// ASCII whitespace (space, tab, CR, LF, form feed) is skipped anywhere; padding is
  /// optional, but a pad that is there must be one of those completing the last group, and
  /// only whitespace may follow the pads; the bits after the last whole byte are dropped.
  /// The form's padding and line length are not looked at. This is WHATWG's
  /// "forgiving-base64 decode" with whitespace also allowed between and after the pads.
  Forgiving,
};

/// A Base64 form: its alphabet, whether the last group is padded with "=" to four
/// characters, and where its lines break.
struct MD5B64_API TBase64Options {
  TBase64Alphabet Alphabet = TBase64Alphabet::Standard;
  bool Padding = true;
  /// Characters per line, pads included; 0 puts everything on one line. Lines are separated
  /// by CR LF, with none after the last.
  std::size_t LineLength = 0;
};

/// The line length of MIME bodies (RFC 2045, section 6.8).
inline constexpr std::size_t Base64MimeLineLength = 76;

/// The common forms.
inline constexpr TBase64Options Base64Standard{TBase64Alphabet::Standard, true, 0};
inline constexpr TBase64Options Base64StandardUnpadded{TBase64Alphabet::Standard, false, 0};
inline constexpr TBase64Options Base64Url{TBase64Alphabet::Url, true, 0};
inline constexpr TBase64Options Base64UrlUnpadded{TBase64Alphabet::Url, false, 0};
inline constexpr TBase64Options Base64Mime{TBase64Alphabet::Standard, true, Base64MimeLineLength};

/// The 64 characters of Alphabet, the character at position v coding the 6-bit value v.
MD5B64_API std::string_view Base64AlphabetChars(TBase64Alphabet Alphabet) noexcept;

// Encoding. Nothing here keeps state between calls: any number of threads may code at once.

/// The exact number of characters that ByteCount bytes take in Form. Raises
/// std::length_error when that does not fit in a size_t.
MD5B64_API std::size_t Base64EncodedSize(std::size_t ByteCount, const TBase64Options& Form = {});

/// Bytes in Form. Raises std::length_error as Base64EncodedSize and std::bad_alloc when the
/// memory runs out.
MD5B64_API std::string Base64Encode(std::span<const std::uint8_t> Bytes,
                                    const TBase64Options& Form = {});
/// The bytes of Text in Form.
MD5B64_API std::string Base64Encode(std::string_view Text, const TBase64Options& Form = {});

/// Writes Bytes in Form to the start of Out and returns the number of characters written.
/// Raises EIdCodingError of kind BufferTooSmall, with the size needed as its position, when
/// Out is shorter; then nothing is written.
MD5B64_API std::size_t Base64EncodeInto(std::span<const std::uint8_t> Bytes, std::span<char> Out,
                                        const TBase64Options& Form = {});

/// As Base64EncodeInto, reporting BufferTooSmall in the result instead (its Position is the
/// size needed, or SIZE_MAX when that does not fit in a size_t).
MD5B64_API TCodingResult TryBase64EncodeInto(std::span<const std::uint8_t> Bytes,
                                             std::span<char> Out,
                                             const TBase64Options& Form = {}) noexcept;

// Decoding. Every error gives its kind and the byte offset in the text where it stands (the
// text's end for Truncated): InvalidCharacter, Truncated, MisplacedPad, NonCanonical (strict
// only) and MisplacedLineBreak (strict forms with a line length only). A character of the
// other alphabet is an InvalidCharacter in either strictness.

/// The largest number of bytes a text of TextSize characters decodes to in any form and
/// strictness: the size of a buffer that always suffices.
MD5B64_API std::size_t Base64DecodedMaxSize(std::size_t TextSize) noexcept;

/// The bytes that Text codes in Form. Raises EIdCodingError with the kind and position of
/// the first fault, and std::bad_alloc when the memory runs out.
MD5B64_API std::vector<std::uint8_t>
Base64Decode(std::string_view Text, const TBase64Options& Form = {},
             TBase64Strictness Strictness = TBase64Strictness::Strict);

/// Decodes Text to the start of Out and returns the number of bytes written. Raises
/// EIdCodingError with the first fault of the text, or of kind BufferTooSmall, with the
/// size needed as its position, when the text is good but Out is too short; the bytes in Out
/// are then unspecified.
MD5B64_API std::size_t Base64DecodeInto(std::string_view Text, std::span<std::uint8_t> Out,
                                        const TBase64Options& Form = {},
                                        TBase64Strictness Strictness = TBase64Strictness::Strict);

/// As Base64DecodeInto, reporting the fault in the result instead.
MD5B64_API TCodingResult TryBase64DecodeInto(
    std::string_view Text, std::span<std::uint8_t> Out, const TBase64Options& Form = {},
    TBase64Strictness Strictness = TBase64Strictness::Strict) noexcept;

/// As Base64Decode into Out (replacing what it held), reporting a fault of the text in the
/// result instead, with Out left empty. Raises only std::bad_alloc.
MD5B64_API TCodingResult TryBase64Decode(std::string_view Text, std::vector<std::uint8_t>& Out,
                                         const TBase64Options& Form = {},
                                         TBase64Strictness Strictness = TBase64Strictness::Strict);

} // namespace md5b64

#endif
