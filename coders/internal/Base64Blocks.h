// SPDX-License-Identifier: MIT
// Bulk three-to-four coding with a table known to hold 64 characters, and bulk four-to-three
// decoding of plain groups: no per-look-up checks, and vector instructions where the
// processor has them.
#ifndef MD5B64_CODERS_INTERNAL_BASE64BLOCKS_H
#define MD5B64_CODERS_INTERNAL_BASE64BLOCKS_H

// The tests call these directly: a shared library exports them, though the header is not
// installed.
#include "md5b64/Export.h"

#include <cstddef>
#include <cstdint>

namespace md5b64::internal {

/// Encodes the Count / 3 full groups of three bytes at In into 4 * (Count / 3) characters at
/// Out, each 6-bit value v as Table[v]; the last Count % 3 bytes are left to the caller.
/// Table must hold at least 64 characters.
MD5B64_API void EncodeGroups(const char* Table, const unsigned char* In, std::size_t Count,
                             char* Out) noexcept;

/// The same, one group at a time with plain instructions: the reference that the vector
/// path must agree with, and the path where there is none.
MD5B64_API void EncodeGroupsPortable(const char* Table, const unsigned char* In, std::size_t Count,
                                     char* Out) noexcept;

/// Decodes groups of four characters at In into three bytes each at Out, while every
/// character of a group has a 6-bit value in Table (a reverse table: entry code - 1 for the
/// codes 1 to 127). Stops before the first group that holds anything else (a code 0 or
/// above 127, an entry of 64 or more such as NotInAlphabet) and before fewer than four
/// characters remain; returns the number of characters decoded, a multiple of 4. Out must
/// have room for three bytes for every group of the Count characters. A pad character that
/// has a 6-bit entry would be decoded as a character: the caller keeps such tables away.
MD5B64_API std::size_t DecodeGroups(const std::uint8_t* Table, const char* In, std::size_t Count,
                                    std::uint8_t* Out) noexcept;

/// The same, one group at a time with plain instructions: the reference that the vector
/// path must agree with, and the path where there is none.
MD5B64_API std::size_t DecodeGroupsPortable(const std::uint8_t* Table, const char* In,
                                            std::size_t Count, std::uint8_t* Out) noexcept;

} // namespace md5b64::internal

#endif
