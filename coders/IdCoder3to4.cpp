// SPDX-License-Identifier: MIT
#include "coders/IdCoder3to4.h"

#include "coders/internal/Base64Blocks.h"
#include "coders/internal/Decode4to3.h"
#include "platform/IdGlobal.h"
#include "platform/ResStrings.h"

#include <algorithm>
#include <limits>
#include <string>
#include <typeinfo>

namespace md5b64 {

namespace {

// Three bytes of data encode to four characters; a table of 64 or more characters holds
// every 6-bit index, so only a shorter one needs the per-look-up check.
constexpr std::size_t FullTableSize = 64;

template <bool Checked> char LookUp(const std::string& Table, unsigned Index) {
  if constexpr (Checked) {
    if (Index >= Table.size())
      throw ERangeError();
  }
  return Table[Index];
}

template <bool Checked>
void EncodeGroupInto(const std::string& Table, std::uint8_t B1, std::uint8_t B2, std::uint8_t B3,
                     char* Out) {
  Out[0] = LookUp<Checked>(Table, B1 >> 2);
  Out[1] = LookUp<Checked>(Table, ((B1 & 3U) << 4) | (B2 >> 4));
  Out[2] = LookUp<Checked>(Table, ((B2 & 15U) << 2) | (B3 >> 6));
  Out[3] = LookUp<Checked>(Table, B3 & 63U);
}

template <bool Checked>
void EncodeAll(const std::string& Table, char Fill, const unsigned char* In, std::size_t Count,
               char* Out) {
  std::size_t I = 0;
  if constexpr (Checked) {
    for (; I + 3 <= Count; I += 3, Out += 4)
      EncodeGroupInto<Checked>(Table, In[I], In[I + 1], In[I + 2], Out);
  } else {
    internal::EncodeGroups(Table.data(), In, Count, Out);
    I = Count / 3 * 3;
    Out += Count / 3 * 4;
  }
  // RFC 4648, section 4: a final quantum of 16 bits gives three characters and one pad, a
  // final quantum of 8 bits two characters and two pads.
  switch (Count - I) {
  case 2:
    EncodeGroupInto<Checked>(Table, In[I], In[I + 1], 0, Out);
    Out[3] = Fill;
    break;
  case 1:
    EncodeGroupInto<Checked>(Table, In[I], 0, 0, Out);
    Out[2] = Fill;
    Out[3] = Fill;
    break;
  default:
    break;
  }
}

// The code of C, which must have an entry in a reverse table: 1 to 127.
unsigned CheckedCode(char C) {
  const auto Code = static_cast<unsigned char>(C);
  if (Code == 0 || Code > std::tuple_size_v<TIdDecodeTable>)
    throw ERangeError();
  return Code;
}

// The 6-bit value of the character C at 1-based position Position of the text.
std::uint32_t SextetOf(const TIdDecodeTable& Table, char C, std::size_t Position) {
  const unsigned Code = CheckedCode(C);
  const std::uint8_t Value = Table[Code - 1U];
  // A character outside the alphabet has no bits to give; mixing its entry into the
  // group would only corrupt the bytes around it.
  if (Value == TIdDecoder4to3::NotInAlphabet)
    throw EIdException(FormatResString(TResString::DecodeBadChar,
                                       {std::to_string(Code), std::to_string(Position)}));
  return Value;
}

// Decodes the four characters at Group, which start at 0-based offset Offset of the text,
// into Out[0..2]. Returns how many of the three bytes the group carries: 3, or 2 or 1 when
// it ends in one or two pads (RFC 4648, section 4); the bytes a pad stands for are 0.
std::size_t DecodeGroupInto(const TIdDecodeTable& Table, char Fill, const char* Group,
                            std::size_t Offset, std::uint8_t* Out) {
  std::uint32_t Value = SextetOf(Table, Group[0], Offset + 1) << 18;
  Value |= SextetOf(Table, Group[1], Offset + 2) << 12;
  std::size_t Carried = 3;
  // A character out of range is never taken for the pad.
  CheckedCode(Group[2]);
  if (Group[2] == Fill) {
    CheckedCode(Group[3]);
    if (Group[3] != Fill)
      throw EIdException(FormatResString(TResString::DecodeBadPad, {std::to_string(Offset + 3)}));
    Carried = 1;
  } else {
    Value |= SextetOf(Table, Group[2], Offset + 3) << 6;
    CheckedCode(Group[3]);
    if (Group[3] == Fill)
      Carried = 2;
    else
      Value |= SextetOf(Table, Group[3], Offset + 4);
  }
  Out[0] = static_cast<std::uint8_t>(Value >> 16);
  Out[1] = static_cast<std::uint8_t>(Value >> 8);
  Out[2] = static_cast<std::uint8_t>(Value);
  return Carried;
}

// The bytes one encoding call takes: Limit, or fewer when fewer lie between Position and
// Size. Raises ERangeError when the stream stands past its end or holds more than one
// signed 32-bit count.
std::int32_t BytesToEncode(std::int64_t Size, std::int64_t Position, std::int32_t Limit) {
  const std::int64_t Available = Size - Position;
  if (Available < 0 || Available > std::numeric_limits<std::int32_t>::max())
    throw ERangeError();
  return std::min(Limit, static_cast<std::int32_t>(Available));
}

} // namespace

std::size_t internal::DecodeAllGroups(const TIdDecodeTable& Table, char Fill, std::string_view In,
                                      std::uint8_t* Out, bool Bulk) {
  // A pad that is also an alphabet character is told from one only by its place in the
  // group, which the bulk path does not look at.
  if (const auto FillCode = static_cast<unsigned char>(Fill);
      FillCode >= 1 && FillCode <= Table.size() && Table[FillCode - 1U] < 64)
    Bulk = false;
  std::size_t Count = 0;
  for (std::size_t Offset = 0; Offset < In.size(); Offset += 4) {
    if (Bulk) {
      // Up to the first group that holds anything but alphabet characters: a pad, or an
      // error, which the checked steps below then report as they always have.
      const std::size_t Done =
          DecodeGroups(Table.data(), In.data() + Offset, In.size() - Offset, Out + Count);
      Offset += Done;
      Count += Done / 4 * 3;
      if (Offset == In.size())
        break;
    }
    // A last group of fewer than four characters cannot be decoded.
    if (In.size() - Offset < 4)
      throw ERangeError();
    Count += DecodeGroupInto(Table, Fill, In.data() + Offset, Offset, Out + Count);
  }
  return Count;
}

std::array<char, 4> TIdEncoder3to4::EncodeGroup(std::uint8_t B1, std::uint8_t B2,
                                                std::uint8_t B3) const {
  std::array<char, 4> Group;
  EncodeGroupInto<true>(FCodingTable, B1, B2, B3, Group.data());
  return Group;
}

std::string TIdEncoder3to4::EncodeStream(TStream& Stream, std::int32_t Bytes) {
  if (Bytes != NoLimit && Bytes % 3 > 0)
    throw EIdException(LoadResString(TResString::UnevenEncode));
  if (Bytes < 0)
    throw ERangeError();

  // A view shows memory that nobody changes while we read it: the bytes are used where they
  // lie, and the position moves past them as the read would move it. Its size and position
  // are those of its own class, reached without virtual calls.
  auto* View = typeid(Stream) == typeid(TIdReadMemoryStream)
                   ? static_cast<TIdReadMemoryStream*>(&Stream)
                   : nullptr;
  const std::int64_t Size = View ? View->TCustomMemoryStream::Size() : Stream.Size();
  const std::int64_t Position =
      View ? View->TCustomMemoryStream::Seek(0, TSeekOrigin::soCurrent) : Stream.Position();
  const std::int32_t Count = BytesToEncode(Size, Position, Bytes);
  if (Count == 0)
    return {};
  // Before its start a view reads nothing: the read below reports that.
  if (View && Position >= 0) {
    View->TCustomMemoryStream::Seek(Count, TSeekOrigin::soCurrent);
    return EncodeBytes(static_cast<const unsigned char*>(View->Memory()) + Position,
                       static_cast<std::size_t>(Count));
  }
  std::string Read(static_cast<std::size_t>(Count), '\0');
  Stream.ReadBuffer(Read.data(), Count);
  return EncodeBytes(reinterpret_cast<const unsigned char*>(Read.data()), Read.size());
}

std::string TIdEncoder3to4::EncodeBytes(const unsigned char* In, std::size_t Size) const {
  std::string Result(4 * ((Size + 2) / 3), '\0');
  if (FCodingTable.size() >= FullTableSize)
    EncodeAll<false>(FCodingTable, FFillChar, In, Size, Result.data());
  else
    EncodeAll<true>(FCodingTable, FFillChar, In, Size, Result.data());
  return Result;
}

std::array<std::uint8_t, 3> TIdDecoder4to3::DecodeGroup(char C1, char C2, char C3, char C4) const {
  const char Group[4] = {C1, C2, C3, C4};
  std::array<std::uint8_t, 3> Bytes;
  DecodeGroupInto(FDecodeTable, FFillChar, Group, 0, Bytes.data());
  return Bytes;
}

void TIdDecoder4to3::DecodeToStream(std::string_view In, TStream& Dest) {
  const std::size_t Groups = In.size() / 4;
  // The bytes go to the stream in one write, whose size is a signed 32-bit count.
  if (Groups > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) / 3)
    throw ERangeError();
  std::string Bytes(3 * Groups, '\0');
  const std::size_t Count = internal::DecodeAllGroups(
      FDecodeTable, FFillChar, In, reinterpret_cast<std::uint8_t*>(Bytes.data()), true);
  Dest.WriteBuffer(Bytes.data(), static_cast<std::int32_t>(Count));
}

void TIdDecoder4to3::BuildDecodeTable(std::string_view Alphabet, TIdDecodeTable& Table) {
  Table.fill(NotInAlphabet);
  for (std::size_t Position = 0; Position < Alphabet.size(); ++Position) {
    const auto Code = static_cast<unsigned char>(Alphabet[Position]);
    // An entry holds one byte, so only the first 256 positions fit.
    if (Code == 0 || Code > Table.size() || Position > 255)
      throw ERangeError();
    Table[Code - 1U] = static_cast<std::uint8_t>(Position);
  }
}

} // namespace md5b64
