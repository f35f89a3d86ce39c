// SPDX-License-Identifier: MIT
// MD5 of many independent messages at once: whole messages in one call, or lanes fed as
// their data arrives. Up to 16 messages are compressed together in vector lanes where the
// processor has them (AVX-512: 16, AVX2: 8 at a time), one after the other elsewhere; the
// digests are those of RFC 1321 either way.
#ifndef MD5B64_CODERS_DIGESTMANY_H
#define MD5B64_CODERS_DIGESTMANY_H

#include "coders/Digest.h"
#include "coders/IdCoderMessageDigest.h"
#include "md5b64/Export.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace md5b64 {

/// Digests[I] becomes the MD5 digest of Messages[I], for every message. Raises ERangeError,
/// with nothing written, when Digests has fewer entries than there are messages; entries past
/// them are left alone. Needs no start-up.
MD5B64_API void MD5Many(std::span<const std::span<const std::uint8_t>> Messages,
                        std::span<TDigestBytes> Digests);
/// The same for texts.
MD5B64_API void MD5Many(std::span<const std::string_view> Messages,
                        std::span<TDigestBytes> Digests);

/// A number of MD5 lanes, each digesting its own message from bytes fed in any pieces. A
/// lane holds what it is fed until LaneBufferSize bytes are waiting, then the lanes that
/// have whole blocks are compressed together; so fed in turns of at most that size, the lanes
/// keep pace and go through the vector path together. Lanes start and finish their messages
/// independently. Copyable; one object is used by one thread at a time.
class MD5B64_API TMD5Lanes {
public:
  /// Bytes a lane holds before the lanes are compressed.
  static constexpr std::size_t LaneBufferSize = 8192;

  /// Lanes lanes, each at the start of an empty message. Raises ERangeError for no lanes.
  explicit TMD5Lanes(std::size_t Lanes = 16);

  std::size_t LaneCount() const noexcept { return FLanes.size(); }

  /// Adds Data to the message of Lane. Raises ERangeError for a lane that does not exist.
  void Update(std::size_t Lane, std::span<const std::uint8_t> Data);
  void Update(std::size_t Lane, std::string_view Data);

  /// The digest of everything fed to Lane since it started; the lane then starts a new, empty
  /// message. Raises ERangeError for a lane that does not exist.
  TDigestBytes Finish(std::size_t Lane);

  /// Starts Lane on a new, empty message, dropping what it was fed.
  void Reset(std::size_t Lane);

  /// Bytes fed to Lane since it started.
  std::uint64_t Length(std::size_t Lane) const;

protected:
  /// Lane continues a message of which Length bytes are already compressed, from the
  /// initial chaining state: what tests use to reach lengths near 2^32 and 2^64.
  void ResumeLane(std::size_t Lane, std::uint64_t Length);

private:
  struct TLane {
    TIdMDChainState State = InitialChainState;
    std::uint64_t Length = 0;
    std::size_t Held = 0; // bytes waiting in the lane's buffer
  };

  TLane& At(std::size_t Lane);
  const TLane& At(std::size_t Lane) const;
  unsigned char* Buffer(std::size_t Lane) noexcept {
    return FBuffers.data() + Lane * LaneBufferSize;
  }
  /// Compresses every whole block held by any lane, up to 16 lanes at a time.
  void CompressHeld();

  std::vector<TLane> FLanes;
  std::vector<unsigned char> FBuffers;
};

} // namespace md5b64

#endif
