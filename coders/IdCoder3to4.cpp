#include "coders/IdCoder3to4.h"

#include "coders/internal/Base64Blocks.h"
#include "platform/IdGlobal.h"
#include "platform/ResStrings.h"

#include <algorithm>
#include <limits>
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

} // namespace

std::array<char, 4> TIdEncoder3to4::EncodeGroup(std::uint8_t B1, std::uint8_t B2,
                                                std::uint8_t B3) const {
  std::array<char, 4> Group;
  EncodeGroupInto<true>(FCodingTable, B1, B2, B3, Group.data());
  return Group;
}

std::string TIdEncoder3to4::EncodeStream(TStream& AStream, std::int32_t ABytes) {
  if (ABytes != NoLimit && ABytes % 3 > 0)
    throw EIdException(LoadResString(TResString::UnevenEncode));
  if (ABytes < 0)
    throw ERangeError();
  const std::int64_t Available = AStream.Size() - AStream.Position();
  if (Available < 0 || Available > std::numeric_limits<std::int32_t>::max())
    throw ERangeError();
  const std::int32_t Count = std::min(ABytes, static_cast<std::int32_t>(Available));
  if (Count == 0)
    return {};

  const auto Size = static_cast<std::size_t>(Count);
  std::string Bytes;
  const unsigned char* In;
  if (const std::int64_t Position = AStream.Position();
      typeid(AStream) == typeid(TIdReadMemoryStream) && Position >= 0) {
    // This stream shows memory that nobody changes while we read it: the bytes are used where
    // they lie, and the position moves past them as the read would move it.
    const auto& View = static_cast<const TIdReadMemoryStream&>(AStream);
    In = static_cast<const unsigned char*>(View.Memory()) + Position;
    AStream.Seek(Count, TSeekOrigin::soCurrent);
  } else {
    Bytes.resize(Size);
    AStream.ReadBuffer(Bytes.data(), Count);
    In = reinterpret_cast<const unsigned char*>(Bytes.data());
  }

  std::string Result(4 * ((Size + 2) / 3), '\0');
  if (FCodingTable.size() >= FullTableSize)
    EncodeAll<false>(FCodingTable, FFillChar, In, Size, Result.data());
  else
    EncodeAll<true>(FCodingTable, FFillChar, In, Size, Result.data());
  return Result;
}

} // namespace md5b64
