// IdCoder3to4: coding every three bytes as four characters of a 64-character alphabet.
#ifndef MD5B64_CODERS_IDCODER3TO4_H
#define MD5B64_CODERS_IDCODER3TO4_H

#include "coders/IdCoder.h"

#include <array>
#include <cstdint>
#include <string>

namespace md5b64 {

/// Encodes each group of three bytes as four characters of CodingTable; a last group of
/// one or two bytes is padded with FillChar (RFC 4648, section 4). No line breaks.
class TIdEncoder3to4 : public TIdEncoder {
public:
  using TIdEncoder::TIdEncoder;

  /// Encodes at most ABytes bytes (all of them for NoLimit) read in one read from AStream's
  /// position. Raises EIdException "Uneven size in Encode." for a positive limit that is
  /// not a multiple of 3, ERangeError for a negative limit, a stream positioned past its
  /// end, more than 2^31 - 1 bytes available or a CodingTable too short for an index, and
  /// EReadError when the stream delivers fewer bytes than it holds.
  std::string EncodeStream(TStream& AStream, std::int32_t ABytes) override;

  /// The four characters of the three bytes B1, B2, B3. Raises ERangeError when an index
  /// lies at or past the end of CodingTable.
  std::array<char, 4> EncodeGroup(std::uint8_t B1, std::uint8_t B2, std::uint8_t B3) const;

  /// The alphabet: the character at position v encodes the 6-bit value v.
  const std::string& CodingTable() const noexcept { return FCodingTable; }
  /// The pad character.
  char FillChar() const noexcept { return FFillChar; }
  void SetFillChar(char Value) noexcept { FFillChar = Value; }

protected:
  std::string FCodingTable;
  char FFillChar = '\0';
};

} // namespace md5b64

#endif
