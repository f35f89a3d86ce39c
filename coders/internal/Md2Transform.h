// SPDX-License-Identifier: MIT
// The MD2 block transform of RFC 1319, section 3.4, in its plain form and in a faster one
// with the same result.
#ifndef MD5B64_CODERS_INTERNAL_MD2TRANSFORM_H
#define MD5B64_CODERS_INTERNAL_MD2TRANSFORM_H

// The tests call these directly: a shared library exports them, though the header is not
// installed.
#include "md5b64/Export.h"

#include <array>
#include <cstdint>

namespace md5b64::internal {

/// Loads the 16 bytes at Block and their exclusive-or with X[0..15] into X[16..47], then
/// runs the 18 rounds over the 48 bytes of X. Two steps per table look-up on the chain of
/// dependent steps (see the source); the first call builds a 64 KiB table.
MD5B64_API void Md2Transform(std::array<std::uint8_t, 48>& X, const std::uint8_t* Block) noexcept;

/// The same, one step per look-up, as the RFC writes it: the reference that Md2Transform
/// must agree with.
MD5B64_API void Md2TransformPortable(std::array<std::uint8_t, 48>& X,
                                     const std::uint8_t* Block) noexcept;

} // namespace md5b64::internal

#endif
