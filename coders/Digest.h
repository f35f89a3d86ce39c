// SPDX-License-Identifier: MIT
// Digest: MD5, MD4 and MD2 of bytes in one call, and in pieces through small copyable objects.
#ifndef MD5B64_CODERS_DIGEST_H
#define MD5B64_CODERS_DIGEST_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace md5b64 {

/// The 16 bytes of an MD2, MD4 or MD5 digest, in the order the RFCs print them.
using TDigestBytes = std::array<std::uint8_t, 16>;

/// The digest of Data in one call. They need no start-up of the coding modules, allocate
/// nothing, keep no shared state and may run on any number of threads at once.
TDigestBytes MD5Of(std::string_view Data) noexcept;
TDigestBytes MD5Of(std::span<const std::uint8_t> Data) noexcept;
TDigestBytes MD4Of(std::string_view Data) noexcept;
TDigestBytes MD4Of(std::span<const std::uint8_t> Data) noexcept;
TDigestBytes MD2Of(std::string_view Data) noexcept;
TDigestBytes MD2Of(std::span<const std::uint8_t> Data) noexcept;

namespace internal {

/// What MD4 and MD5 keep between pieces: the chaining state (set by the owner's constructor
/// and Reset), the bytes of the block not yet full, and the count of bytes fed (the block
/// fill is that count modulo 64).
struct TMdDigestState {
  std::array<std::uint32_t, 4> Chain{};
  std::array<std::uint8_t, 64> Block{};
  std::uint64_t Length = 0;
};

/// MD2's: the 48-byte work area, the running checksum and its last byte, the block not yet
/// full, and the count of bytes fed.
struct TMd2DigestState {
  std::array<std::uint8_t, 48> WorkArea{};
  std::array<std::uint8_t, 16> Checksum{};
  std::uint8_t ChecksumLink = 0;
  std::array<std::uint8_t, 16> Block{};
  std::uint64_t Length = 0;
};

} // namespace internal

/// MD5 (RFC 1321) of data that arrives in pieces. A plain value of about 90 bytes: no
/// allocation, copyable, so that a common prefix is digested once and the copies go on
/// separately. One object must not be used from two threads at once; copies may.
class TMD5Digest {
public:
  TMD5Digest() noexcept { Reset(); }
  void Update(std::string_view Data) noexcept;
  void Update(std::span<const std::uint8_t> Data) noexcept;
  /// The digest of everything fed since construction or the last Reset. The object is not
  /// changed: more pieces may follow, and a later Finish covers them too.
  TDigestBytes Finish() const noexcept;
  /// Starts a new message.
  void Reset() noexcept;
  /// Bytes fed since construction or the last Reset.
  std::uint64_t Length() const noexcept { return FState.Length; }

private:
  internal::TMdDigestState FState;
};

/// MD4 (RFC 1320) in pieces, as TMD5Digest.
class TMD4Digest {
public:
  TMD4Digest() noexcept { Reset(); }
  void Update(std::string_view Data) noexcept;
  void Update(std::span<const std::uint8_t> Data) noexcept;
  TDigestBytes Finish() const noexcept;
  void Reset() noexcept;
  std::uint64_t Length() const noexcept { return FState.Length; }

private:
  internal::TMdDigestState FState;
};

/// MD2 (RFC 1319) in pieces, as TMD5Digest. The first MD2 digest in a process builds a
/// 64 KiB table once (thread-safely); later ones share it read-only.
class TMD2Digest {
public:
  void Update(std::string_view Data) noexcept;
  void Update(std::span<const std::uint8_t> Data) noexcept;
  TDigestBytes Finish() const noexcept;
  void Reset() noexcept { FState = {}; }
  std::uint64_t Length() const noexcept { return FState.Length; }

private:
  internal::TMd2DigestState FState;
};

} // namespace md5b64

#endif
