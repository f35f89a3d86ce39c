// Bulk three-to-four coding with a table known to hold 64 characters: no per-look-up checks,
// and vector instructions where the processor has them.
#ifndef MD5B64_CODERS_INTERNAL_BASE64BLOCKS_H
#define MD5B64_CODERS_INTERNAL_BASE64BLOCKS_H

#include <cstddef>

namespace md5b64::internal {

/// Encodes the Count / 3 full groups of three bytes at In into 4 * (Count / 3) characters at
/// Out, each 6-bit value v as Table[v]; the last Count % 3 bytes are left to the caller.
/// Table must hold at least 64 characters.
void EncodeGroups(const char* Table, const unsigned char* In, std::size_t Count,
                  char* Out) noexcept;

/// The same, one group at a time with plain instructions: the reference that the vector
/// path must agree with, and the path where there is none.
void EncodeGroupsPortable(const char* Table, const unsigned char* In, std::size_t Count,
                          char* Out) noexcept;

} // namespace md5b64::internal

#endif
