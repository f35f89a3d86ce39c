// SPDX-License-Identifier: MIT
// The text forms in which md5b64sum writes and reads a digest.
#ifndef MD5B64_FRONT_END_SUMDIGEST_H
#define MD5B64_FRONT_END_SUMDIGEST_H

#include "coders/Digest.h"

#include <string>
#include <string_view>

namespace md5b64 {

/// The 24 characters of standard, padded Base64.
std::string DigestToBase64(const TDigestBytes& Digest);
/// The 32 lower-case hex digits.
std::string DigestToHex(const TDigestBytes& Digest);
/// Reads a digest written as 32 hex digits (either case) or as the 24 characters of strict
/// standard Base64. False for anything else.
bool DigestFromText(std::string_view Text, TDigestBytes& Digest);

} // namespace md5b64

#endif
