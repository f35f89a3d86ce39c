// SPDX-License-Identifier: MIT
// ContentMD5: the Base64 form of a body's MD5 digest (RFC 1864) in one call, and the check of
// a received value against a body.
#ifndef MD5B64_CODERS_CONTENTMD5_H
#define MD5B64_CODERS_CONTENTMD5_H

#include "md5b64/Export.h"

#include "coders/CodingResult.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace md5b64 {

/// The 24 characters of the standard padded Base64 form of the MD5 digest of Body. Needs no
/// start-up; raises only std::bad_alloc.
MD5B64_API std::string ContentMD5(std::string_view Body);
MD5B64_API std::string ContentMD5(std::span<const std::uint8_t> Body);

/// What a received value says about a body.
enum class TContentMD5Status : std::uint8_t {
  /// The value is the digest of the body.
  Match,
  /// The value is a well-formed digest, of other bytes.
  Mismatch,
  /// The value is not a digest at all: see the reason.
  Malformed,
};

/// Why a value is malformed.
enum class TContentMD5Fault : std::uint8_t {
  None,
  /// Not Base64 even when read forgivingly (a character outside the alphabet, a pad in the
  /// middle, a lone last character).
  NotBase64,
  /// Base64, but not in the one form a digest is written in: missing pads, whitespace, or
  /// bits set after the last byte.
  NonCanonical,
  /// Canonical Base64 of fewer or more than 16 bytes.
  WrongLength,
};

/// The outcome of CheckContentMD5. For a malformed value that is not canonical, Error and
/// Position tell the first fault of the strict decoding; for a wrong length, Size is the
/// number of bytes the value holds.
struct MD5B64_API TContentMD5Check {
  TContentMD5Status Status = TContentMD5Status::Malformed;
  TContentMD5Fault Fault = TContentMD5Fault::None;
  TCodingError Error = TCodingError::None;
  std::size_t Position = 0;
  std::size_t Size = 0;

  bool Matches() const noexcept { return Status == TContentMD5Status::Match; }
};

/// Checks Value, taken exactly as given (a caller trims the header's white space first),
/// against Body: the value must be the canonical 24 characters of 16 bytes, and those bytes
/// the body's MD5 digest.
MD5B64_API TContentMD5Check CheckContentMD5(std::string_view Value, std::string_view Body) noexcept;
MD5B64_API TContentMD5Check CheckContentMD5(std::string_view Value,
                                            std::span<const std::uint8_t> Body) noexcept;

} // namespace md5b64

#endif
