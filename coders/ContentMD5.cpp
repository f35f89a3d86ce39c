// SPDX-License-Identifier: MIT
// ContentMD5: the one-call digest in Base64 and its check.
#include "coders/ContentMD5.h"

#include "coders/Base64.h"
#include "coders/Digest.h"

#include <algorithm>

namespace md5b64 {

namespace {

TContentMD5Check Check(std::string_view Value, const TDigestBytes& Digest) noexcept {
  TContentMD5Check Result;
  TDigestBytes Received{};
  const TCodingResult Decoded = TryBase64DecodeInto(Value, Received, Base64Standard);
  if (Decoded.Error == TCodingError::BufferTooSmall) {
    Result.Fault = TContentMD5Fault::WrongLength;
    Result.Size = Decoded.Position;
    return Result;
  }
  if (!Decoded) {
    // Read forgivingly, a value that is Base64 at all decodes or is only too long for an
    // empty buffer.
    const TCodingResult Loose =
        TryBase64DecodeInto(Value, {}, Base64Standard, TBase64Strictness::Forgiving);
    const bool IsBase64 = Loose || Loose.Error == TCodingError::BufferTooSmall;
    Result.Fault = IsBase64 ? TContentMD5Fault::NonCanonical : TContentMD5Fault::NotBase64;
    Result.Error = Decoded.Error;
    Result.Position = Decoded.Position;
    return Result;
  }
  Result.Size = Decoded.Size;
  if (Decoded.Size != Received.size()) {
    Result.Fault = TContentMD5Fault::WrongLength;
    return Result;
  }
  Result.Status = std::equal(Received.begin(), Received.end(), Digest.begin())
                      ? TContentMD5Status::Match
                      : TContentMD5Status::Mismatch;
  return Result;
}

std::string Encode(const TDigestBytes& Digest) {
  std::string Text(24, '\0');
  Base64EncodeInto(Digest, Text, Base64Standard);
  return Text;
}

} // namespace

std::string ContentMD5(std::string_view Body) {
  return Encode(MD5Of(Body));
}

std::string ContentMD5(std::span<const std::uint8_t> Body) {
  return Encode(MD5Of(Body));
}

TContentMD5Check CheckContentMD5(std::string_view Value, std::string_view Body) noexcept {
  return Check(Value, MD5Of(Body));
}

TContentMD5Check CheckContentMD5(std::string_view Value,
                                 std::span<const std::uint8_t> Body) noexcept {
  return Check(Value, MD5Of(Body));
}

} // namespace md5b64
