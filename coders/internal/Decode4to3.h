// SPDX-License-Identifier: MIT
// The group loop of TIdDecoder4to3::DecodeToStream, with the bulk path for plain groups on or
// off, so that the two can be compared.
#ifndef MD5B64_CODERS_INTERNAL_DECODE4TO3_H
#define MD5B64_CODERS_INTERNAL_DECODE4TO3_H

#include "md5b64/Export.h"

#include "coders/IdCoder3to4.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace md5b64::internal {

/// Decodes In through Table with the pad Fill into Out, which must have room for
/// 3 * (In.size() / 4) bytes, and returns the number of bytes the groups carry. Raises what
/// TIdDecoder4to3::DecodeToStream raises for a bad character, pad or length, with the same
/// messages and positions. With Bulk on, runs of groups whose characters all have 6-bit
/// values go through DecodeGroups and only the other groups through the checked steps; with
/// it off, every group goes through the checked steps.
MD5B64_API std::size_t DecodeAllGroups(const TIdDecodeTable& Table, char Fill, std::string_view In,
                                       std::uint8_t* Out, bool Bulk);

} // namespace md5b64::internal

#endif
