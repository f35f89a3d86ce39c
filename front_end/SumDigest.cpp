// SPDX-License-Identifier: MIT
#include "front_end/SumDigest.h"

#include "coders/Base64.h"
#include "coders/Hex.h"

namespace md5b64 {

std::string DigestToBase64(const TDigestBytes& Digest) {
  return Base64Encode(std::span<const std::uint8_t>(Digest));
}

std::string DigestToHex(const TDigestBytes& Digest) {
  return HexEncode(std::span<const std::uint8_t>(Digest));
}

bool DigestFromText(std::string_view Text, TDigestBytes& Digest) {
  // Both decoders are strict, so a text that decodes to exactly 16 bytes is a digest.
  const TCodingResult Result = Text.size() == HexEncodedSize(Digest.size())
                                   ? TryHexDecodeInto(Text, Digest)
                               : Text.size() == Base64EncodedSize(Digest.size())
                                   ? TryBase64DecodeInto(Text, Digest)
                                   : TCodingResult{TCodingError::InvalidCharacter, 0, 0};
  return Result.Ok() && Result.Size == Digest.size();
}

} // namespace md5b64
