// SPDX-License-Identifier: MIT
// IdCoder3to4: coding every three bytes as four characters of a 64-character alphabet, and
// decoding them back.
#ifndef MD5B64_CODERS_IDCODER3TO4_H
#define MD5B64_CODERS_IDCODER3TO4_H

#include "md5b64/Export.h"

#include "coders/IdCoder.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace md5b64 {

/// Encodes each group of three bytes as four characters of CodingTable; a last group of
/// one or two bytes is padded with FillChar (RFC 4648, section 4). No line breaks.
class MD5B64_API TIdEncoder3to4 : public TIdEncoder {
public:
  using TIdEncoder::TIdEncoder;

  /// Encodes at most Bytes bytes (all of them for NoLimit) read in one read from Stream's
  /// position. Raises EIdException "Uneven size in Encode." for a positive limit that is
  /// not a multiple of 3, ERangeError for a negative limit, a stream positioned past its
  /// end, more than 2^31 - 1 bytes available or a CodingTable too short for an index, and
  /// EReadError when the stream delivers fewer bytes than it holds.
  std::string EncodeStream(TStream& Stream, std::int32_t Bytes) override;

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

private:
  /// The characters of the Size bytes at In, pads included.
  std::string EncodeBytes(const unsigned char* In, std::size_t Size) const;
};

/// Reverse table of an alphabet, one entry for each character code from 1 to 127 (entry
/// code - 1): the character's position in the alphabet, the 6-bit value it encodes, or
/// NotInAlphabet. Codes 0 and 128 to 255 have no entry.
using TIdDecodeTable = std::array<std::uint8_t, 127>;

/// Decodes each group of four characters into three bytes through DecodeTable. A pad
/// (FillChar) as the fourth character, or as the third and fourth, ends the bytes that a
/// group carries; groups after a padded group are decoded as usual.
class MD5B64_API TIdDecoder4to3 : public TIdDecoder {
public:
  /// The entry of a character that is not in the alphabet.
  static constexpr std::uint8_t NotInAlphabet = 255;

  using TIdDecoder::TIdDecoder;

  /// Decodes In group by group and writes all the bytes to Dest in one write; nothing is
  /// written when In is empty or when decoding fails. Raises ERangeError for a character
  /// with code 0 or above 127 and for a last group of fewer than four characters;
  /// EIdException for a character that is not in the alphabet and for a pad in the third
  /// place that is not followed by a pad; EWriteError when Dest takes fewer bytes.
  void DecodeToStream(std::string_view In, TStream& Dest) override;

  /// The three bytes of the group C1 C2 C3 C4, looked up in DecodeTable. A pad in the
  /// third and fourth or in the fourth place counts as zero bits. Raises as DecodeToStream
  /// does for a bad character or pad.
  std::array<std::uint8_t, 3> DecodeGroup(char C1, char C2, char C3, char C4) const;

  /// Fills Table from Alphabet: every entry NotInAlphabet, then the position of each
  /// alphabet character; a character that occurs twice keeps its last position. Raises
  /// ERangeError for a character with code 0 or above 127 or for more than 256 characters,
  /// keeping the entries set before it.
  static void BuildDecodeTable(std::string_view Alphabet, TIdDecodeTable& Table);

  /// The reverse table in use; all zeros in a new TIdDecoder4to3. Only the class and its
  /// descendants fill it.
  const TIdDecodeTable& DecodeTable() const noexcept { return FDecodeTable; }
  /// The pad character.
  char FillChar() const noexcept { return FFillChar; }
  void SetFillChar(char Value) noexcept { FFillChar = Value; }

protected:
  TIdDecodeTable FDecodeTable{};
  char FFillChar = '\0';
};

} // namespace md5b64

#endif
