// SPDX-License-Identifier: MIT
// IdCoderMessageDigest: message digests as buffered coders. MD2 (RFC 1319), MD4 (RFC 1320)
// and MD5 (RFC 1321) emit their 16 digest bytes as one piece of coded data when the input
// ends.
#ifndef MD5B64_CODERS_IDCODERMESSAGEDIGEST_H
#define MD5B64_CODERS_IDCODERMESSAGEDIGEST_H

#include "md5b64/Export.h"

#include "coders/IdCoderOld.h"
#include "platform/StringList.h"

#include <array>
#include <cstdint>

namespace md5b64 {

/// The four-word chaining state A, B, C, D.
using TIdMDChainState = std::array<std::uint32_t, 4>;

/// The initial chaining state of RFC 1320 and RFC 1321, section 3.3.
inline constexpr TIdMDChainState InitialChainState = {0x67452301, 0xEFCDAB89, 0x98BADCFE,
                                                      0x10325476};

/// RFC 1321, section 3.4: entry i (from 0) is the integer part of 2^32 * |sin(i + 1)|.
extern MD5B64_API const std::array<std::uint32_t, 64> Md5SineTable;

/// MD4 round constants of RFC 1320: rounds 2 and 3.
inline constexpr std::uint32_t Md4Round2Constant = 0x5A827999;
inline constexpr std::uint32_t Md4Round3Constant = 0x6ED9EBA1;

/// MD4 digest coder (RFC 1320). The chunk is one 64-byte block and cannot be resized;
/// FinishInput returns "0;" and the 16 digest bytes. The round functions are virtual: a
/// derived class that replaces one changes every step that uses it.
class MD5B64_API TIdCoderMD4 : public TIdCoder {
public:
  static constexpr std::uint32_t BlockSize = 64;
  static constexpr std::size_t DigestSize = 16;

  explicit TIdCoderMD4(TComponent* Owner = nullptr);

  /// Starts a new message: reloads InitialChainState, zeroes MessageLength, and drops the
  /// held bytes and queued entries as the base Reset does. The counters stay.
  void Reset() override;
  /// The block size is fixed: the request is ignored.
  void ResizeChunk(std::uint32_t) override {}

  /// RFC 1320 F: (x AND y) OR (NOT x AND z).
  virtual std::uint32_t RoundF(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const;
  /// RFC 1320 G, the majority: (x AND y) OR (x AND z) OR (y AND z).
  virtual std::uint32_t RoundG(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const;
  /// RFC 1320 H: x XOR y XOR z.
  virtual std::uint32_t RoundH(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const;
  /// Appends the RFC's test suite to List: each input line followed by two blanks and the
  /// expected digest in upper-case hexadecimal. Computes nothing.
  virtual void ListTestVectors(TStrings& List) const;

  const TIdMDChainState& ChainState() const noexcept { return FChainState; }
  /// Bytes compressed since construction or the last Reset, 64 for each block.
  std::uint64_t MessageLength() const noexcept { return FMessageLength; }

protected:
  /// Compresses the 64-byte chunk into ChainState; emits nothing.
  void CodeChunk() override;
  /// Pads the message, appends its bit length, compresses the last one or two blocks and
  /// emits the digest (RFC 1320/1321, sections 3.1, 3.2 and 3.5).
  void CodeFinalChunk() override;

  TIdMDChainState FChainState = InitialChainState;
  std::uint64_t FMessageLength = 0;
};

/// MD5 digest coder (RFC 1321): the MD4 frame with its own compression, its own G and the
/// added I; F and H are MD4's.
class MD5B64_API TIdCoderMD5 : public TIdCoderMD4 {
public:
  using TIdCoderMD4::TIdCoderMD4;

  /// RFC 1321 G: (x AND z) OR (y AND NOT z).
  std::uint32_t RoundG(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const override;
  /// RFC 1321 I: y XOR (x OR NOT z).
  virtual std::uint32_t RoundI(std::uint32_t X, std::uint32_t Y, std::uint32_t Z) const;
  /// As TIdCoderMD4's, with MD5 digests in lower-case hexadecimal.
  void ListTestVectors(TStrings& List) const override;

protected:
  void CodeChunk() override;
};

/// RFC 1319, section 3.2: the substitution S, a permutation of 0 to 255 built from the
/// digits of pi.
extern MD5B64_API const std::array<std::uint8_t, 256> PiSubstitution;

/// MD2 digest coder (RFC 1319). The chunk is one 16-byte block and cannot be resized;
/// FinishInput returns "0;" and the 16 digest bytes.
class MD5B64_API TIdCoderMD2 final : public TIdCoder {
public:
  static constexpr std::uint32_t BlockSize = 16;
  static constexpr std::size_t DigestSize = 16;

  using TBlockBytes = std::array<std::uint8_t, 16>;
  using TWorkArea = std::array<std::uint8_t, 48>;

  explicit TIdCoderMD2(TComponent* Owner = nullptr);

  /// Starts a new message: zeroes Checksum, ChecksumLink, DigestValue and WorkArea, and
  /// drops the held bytes and queued entries as the base Reset does. The counters stay.
  void Reset() override;
  /// The block size is fixed: the request is ignored.
  void ResizeChunk(std::uint32_t) override {}
  /// Appends the RFC's test suite to List: each input line followed by two blanks and the
  /// expected digest in upper-case hexadecimal. Computes nothing.
  virtual void ListTestVectors(TStrings& List) const;

  /// The running checksum of the blocks processed (RFC 1319's C).
  const TBlockBytes& Checksum() const noexcept { return FChecksum; }
  /// The checksum byte written last (RFC 1319's L).
  std::uint8_t ChecksumLink() const noexcept { return FChecksumLink; }
  /// Bytes 0 to 15 of WorkArea as they stood after the last block; the digest after the
  /// final step.
  const TBlockBytes& DigestValue() const noexcept { return FDigestValue; }
  /// The 48-byte buffer (RFC 1319's X): chaining state, block, and their exclusive-or.
  const TWorkArea& WorkArea() const noexcept { return FWorkArea; }

protected:
  /// Runs the block step on the 16-byte chunk: checksum update, then the 18-round
  /// transform into WorkArea; emits nothing.
  void CodeChunk() override;
  /// Pads the message, runs its last block and the checksum block, and emits the digest
  /// (RFC 1319, sections 3.1 to 3.5).
  void CodeFinalChunk() override;

private:
  TBlockBytes FChecksum{};
  std::uint8_t FChecksumLink = 0;
  TBlockBytes FDigestValue{};
  TWorkArea FWorkArea{};
};

/// Start-up step of IdCoderMessageDigest, after IdCoderOld's: registers TIdCoderMD2,
/// TIdCoderMD4 and TIdCoderMD5 under "x-rsa-md2", "x-rsa-md4" and "x-rsa-md5", each with
/// the directions 0 and 128.
MD5B64_API void InitializeIdCoderMessageDigest();
/// Shutdown step of IdCoderMessageDigest: nothing to release; IdCoderOld's shutdown frees
/// the registry's entries.
MD5B64_API void FinalizeIdCoderMessageDigest();

} // namespace md5b64

#endif
