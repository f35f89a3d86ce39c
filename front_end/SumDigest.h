// SPDX-License-Identifier: MIT
// What md5b64sum needs of the coding library: MD5 in pieces and the text forms of a digest.
#ifndef MD5B64_FRONT_END_SUMDIGEST_H
#define MD5B64_FRONT_END_SUMDIGEST_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace md5b64 {

using TSumDigestBytes = std::array<std::uint8_t, 16>;

/// MD5 of data that arrives in pieces.
class TSumMD5 {
public:
  TSumMD5();
  ~TSumMD5();
  TSumMD5(const TSumMD5&) = delete;
  TSumMD5& operator=(const TSumMD5&) = delete;

  void Update(const char* Data, std::size_t Count);
  /// The digest of everything fed since the last Reset; the object then starts anew.
  TSumDigestBytes Finish();
  void Reset();

private:
  struct TState;
  std::unique_ptr<TState> FState;
};

/// The 24 characters of standard, padded Base64.
std::string DigestToBase64(const TSumDigestBytes& Digest);
/// The 32 lower-case hex digits.
std::string DigestToHex(const TSumDigestBytes& Digest);
/// Reads a digest written as 32 hex digits (either case) or as the 24 characters of strict
/// standard Base64. False for anything else.
bool DigestFromText(std::string_view Text, TSumDigestBytes& Digest);

} // namespace md5b64

#endif
