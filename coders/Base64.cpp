// SPDX-License-Identifier: MIT
// Base64: one encoder and one decoder for every form, on the bulk group coders.
#include "coders/Base64.h"

#include "coders/internal/Base64Blocks.h"

#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace md5b64 {

namespace {

constexpr std::string_view StandardChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view UrlChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

constexpr std::uint8_t NotInAlphabet = 255;

// The reverse table in the bulk decoder's layout: entry code - 1 for the codes 1 to 127.
// The pad has no entry, so the bulk decoder stops before a padded group.
using TReverseTable = std::array<std::uint8_t, 127>;

constexpr TReverseTable MakeReverseTable(std::string_view Chars) {
  TReverseTable Table{};
  for (auto& Entry : Table)
    Entry = NotInAlphabet;
  for (std::size_t Value = 0; Value < Chars.size(); ++Value)
    Table[static_cast<unsigned char>(Chars[Value]) - 1U] = static_cast<std::uint8_t>(Value);
  return Table;
}

constexpr TReverseTable StandardReverse = MakeReverseTable(StandardChars);
constexpr TReverseTable UrlReverse = MakeReverseTable(UrlChars);

const TReverseTable& ReverseTableOf(TBase64Alphabet Alphabet) noexcept {
  return Alphabet == TBase64Alphabet::Url ? UrlReverse : StandardReverse;
}

constexpr std::size_t NoSize = std::numeric_limits<std::size_t>::max();

// The characters ByteCount bytes take in Form, or NoSize when that does not fit.
std::size_t EncodedSizeOrNone(std::size_t ByteCount, const TBase64Options& Form) noexcept {
  const std::size_t Groups = ByteCount / 3, Rest = ByteCount % 3;
  if (Groups > (NoSize - 4) / 4)
    return NoSize;
  std::size_t Chars = 4 * Groups;
  if (Rest != 0)
    Chars += Form.Padding ? 4 : Rest + 1;
  if (Form.LineLength == 0 || Chars == 0)
    return Chars;
  const std::size_t Breaks = (Chars - 1) / Form.LineLength;
  if (Breaks > (NoSize - Chars) / 2)
    return NoSize;
  return Chars + 2 * Breaks;
}

// Encodes Bytes on one line at Out, which has room for all of it; returns its length.
std::size_t EncodeLine(const char* Table, const unsigned char* In, std::size_t Count, bool Padding,
                       char* Out) noexcept {
  internal::EncodeGroups(Table, In, Count, Out);
  const std::size_t Whole = Count / 3 * 3;
  char* End = Out + Whole / 3 * 4;
  // RFC 4648, section 4: the final quantum of one or two bytes is padded to four characters.
  switch (Count - Whole) {
  case 1: {
    const unsigned B0 = In[Whole];
    *End++ = Table[B0 >> 2];
    *End++ = Table[(B0 & 3U) << 4];
    if (Padding) {
      *End++ = '=';
      *End++ = '=';
    }
    break;
  }
  case 2: {
    const unsigned B0 = In[Whole], B1 = In[Whole + 1];
    *End++ = Table[B0 >> 2];
    *End++ = Table[((B0 & 3U) << 4) | (B1 >> 4)];
    *End++ = Table[(B1 & 15U) << 2];
    if (Padding)
      *End++ = '=';
    break;
  }
  default:
    break;
  }
  return static_cast<std::size_t>(End - Out);
}

// Encodes into Out, which has room for exactly Size characters (from EncodedSizeOrNone).
void EncodeAll(std::span<const std::uint8_t> Bytes, const TBase64Options& Form, char* Out,
               std::size_t Size) noexcept {
  const char* Table = Base64AlphabetChars(Form.Alphabet).data();
  const std::size_t Line = Form.LineLength;
  if (Line == 0 || Size <= Line) {
    EncodeLine(Table, Bytes.data(), Bytes.size(), Form.Padding, Out);
    return;
  }
  if (Line % 4 == 0) {
    // Whole groups to a line: each line is coded where it goes.
    const std::size_t LineBytes = Line / 4 * 3;
    const unsigned char* In = Bytes.data();
    std::size_t Left = Bytes.size();
    while (Left > LineBytes) {
      internal::EncodeGroups(Table, In, LineBytes, Out);
      Out += Line;
      *Out++ = '\r';
      *Out++ = '\n';
      In += LineBytes;
      Left -= LineBytes;
    }
    EncodeLine(Table, In, Left, Form.Padding, Out);
    return;
  }
  // Groups cross the lines: code everything on one line, then move the lines apart from the
  // last one back, each to a place at or after where it stands.
  const std::size_t Chars = EncodeLine(Table, Bytes.data(), Bytes.size(), Form.Padding, Out);
  const std::size_t Breaks = (Chars - 1) / Line;
  for (std::size_t K = Breaks; K > 0; --K) {
    const std::size_t From = K * Line, To = K * (Line + 2);
    std::memmove(Out + To, Out + From, K == Breaks ? Chars - From : Line);
    Out[To - 2] = '\r';
    Out[To - 1] = '\n';
  }
}

bool IsAsciiWhitespace(unsigned char C) noexcept {
  return C == ' ' || C == '\t' || C == '\n' || C == '\r' || C == '\f';
}

// The one decoder of every form. Runs of plain groups go through the bulk decoder; a checked
// step takes one character at a time where whitespace, line breaks, pads or faults are, and
// until the next group starts. When Out runs out, the decoder goes on counting, so that the
// size needed can be told.
TCodingResult DecodeAll(std::string_view Text, std::uint8_t* Out, std::size_t Room,
                        const TBase64Options& Form, TBase64Strictness Strictness) noexcept {
  const TReverseTable& Table = ReverseTableOf(Form.Alphabet);
  const bool Strict = Strictness == TBase64Strictness::Strict;
  const std::size_t Line = Strict ? Form.LineLength : 0;
  const char* In = Text.data();
  const std::size_t End = Text.size();

  std::size_t Pos = 0, Written = 0, Needed = 0;
  bool Overflow = false;
  // The quantum being gathered: its characters' bits and how many there are.
  std::uint32_t Bits = 0;
  std::size_t Quantum = 0;
  // The pads seen and the number the last group needs; where its last character stands.
  std::size_t Pads = 0, PadsNeeded = 0, LastData = 0;
  // Characters on the current line, for the strict wrapped forms.
  std::size_t Column = 0;

  const auto Fail = [](TCodingError Kind, std::size_t At) noexcept {
    return TCodingResult{Kind, At, 0};
  };
  const auto Put = [&](std::uint8_t Byte) noexcept {
    if (!Overflow && Written < Room)
      Out[Written++] = Byte;
    else
      Overflow = true;
    ++Needed;
  };

  while (Pos < End) {
    if (Quantum == 0 && Pads == 0 && !Overflow) {
      std::size_t Limit = End - Pos;
      if (Line != 0 && Line - Column < Limit)
        Limit = Line - Column;
      // The bulk decoder writes three bytes for every group it may take.
      if ((Room - Written) / 3 < Limit / 4)
        Limit = (Room - Written) / 3 * 4;
      if (Limit >= 4) {
        const std::size_t Done =
            internal::DecodeGroups(Table.data(), In + Pos, Limit, Out + Written);
        Pos += Done;
        Column += Done;
        Written += Done / 4 * 3;
        Needed += Done / 4 * 3;
        if (Pos == End)
          break;
      }
    }
    if (Line != 0 && Column == Line) {
      // Strict and wrapped: CR LF stands here, and more text after it.
      if (In[Pos] != '\r')
        return Fail(TCodingError::MisplacedLineBreak, Pos);
      if (Pos + 1 == End || In[Pos + 1] != '\n')
        return Fail(TCodingError::MisplacedLineBreak, Pos + 1);
      if (Pos + 2 == End)
        return Fail(TCodingError::MisplacedLineBreak, Pos);
      Pos += 2;
      Column = 0;
      continue;
    }
    const auto C = static_cast<unsigned char>(In[Pos]);
    const std::uint8_t Value = C - 1U < 127U ? Table[C - 1U] : NotInAlphabet;
    if (Value < 64) {
      if (Pads != 0)
        return Fail(TCodingError::MisplacedPad, Pos);
      Bits = (Bits << 6) | Value;
      LastData = Pos;
      if (++Quantum == 4) {
        Put(static_cast<std::uint8_t>(Bits >> 16));
        Put(static_cast<std::uint8_t>(Bits >> 8));
        Put(static_cast<std::uint8_t>(Bits));
        Bits = 0;
        Quantum = 0;
      }
    } else if (C == '=') {
      if (Strict && !Form.Padding)
        return Fail(TCodingError::MisplacedPad, Pos);
      if (Pads == 0) {
        // RFC 4648, section 4: one pad after three characters, two after two.
        if (Quantum < 2)
          return Fail(TCodingError::MisplacedPad, Pos);
        PadsNeeded = 4 - Quantum;
      } else if (Pads == PadsNeeded) {
        return Fail(TCodingError::MisplacedPad, Pos);
      }
      ++Pads;
    } else if (!Strict && IsAsciiWhitespace(C)) {
      ++Pos;
      continue;
    } else if (Line != 0 && (C == '\r' || C == '\n')) {
      return Fail(TCodingError::MisplacedLineBreak, Pos);
    } else {
      return Fail(TCodingError::InvalidCharacter, Pos);
    }
    ++Pos;
    ++Column;
  }

  if (Pads != 0 && Pads < PadsNeeded)
    return Fail(TCodingError::Truncated, End);
  if (Quantum == 1)
    return Fail(TCodingError::Truncated, End);
  if (Quantum > 1) {
    if (Strict && Form.Padding && Pads == 0)
      return Fail(TCodingError::Truncated, End);
    // Two characters carry one byte and four spare bits, three carry two and two spare bits.
    const std::size_t Spare = Quantum == 2 ? 4 : 2;
    if (Strict && (Bits & ((1U << Spare) - 1U)) != 0)
      return Fail(TCodingError::NonCanonical, LastData);
    Bits >>= Spare;
    if (Quantum == 3)
      Put(static_cast<std::uint8_t>(Bits >> 8));
    Put(static_cast<std::uint8_t>(Bits));
  }
  if (Overflow)
    return Fail(TCodingError::BufferTooSmall, Needed);
  return TCodingResult{TCodingError::None, 0, Written};
}

[[noreturn]] void Raise(const TCodingResult& Result) {
  std::string Message = CodingErrorName(Result.Error);
  if (Result.Error == TCodingError::BufferTooSmall)
    Message += " for Base64: " + std::to_string(Result.Position) + " needed";
  else
    Message += " at position " + std::to_string(Result.Position) + " of the Base64 text";
  Message[0] = static_cast<char>(Message[0] - 'a' + 'A');
  Message += '.';
  throw EIdCodingError(Result.Error, Result.Position, std::move(Message));
}

} // namespace

std::string_view Base64AlphabetChars(TBase64Alphabet Alphabet) noexcept {
  return Alphabet == TBase64Alphabet::Url ? UrlChars : StandardChars;
}

std::size_t Base64EncodedSize(std::size_t ByteCount, const TBase64Options& Form) {
  const std::size_t Size = EncodedSizeOrNone(ByteCount, Form);
  if (Size == NoSize)
    throw std::length_error("The Base64 form of the bytes does not fit in memory.");
  return Size;
}

std::string Base64Encode(std::span<const std::uint8_t> Bytes, const TBase64Options& Form) {
  const std::size_t Size = Base64EncodedSize(Bytes.size(), Form);
  std::string Text;
  // Every character is written by the encoder; C++23's resize_and_overwrite would spare the
  // zeros.
  Text.resize(Size);
  EncodeAll(Bytes, Form, Text.data(), Size);
  return Text;
}

std::string Base64Encode(std::string_view Text, const TBase64Options& Form) {
  return Base64Encode(std::span(reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size()),
                      Form);
}

std::size_t Base64EncodeInto(std::span<const std::uint8_t> Bytes, std::span<char> Out,
                             const TBase64Options& Form) {
  const TCodingResult Result = TryBase64EncodeInto(Bytes, Out, Form);
  if (!Result)
    Raise(Result);
  return Result.Size;
}

TCodingResult TryBase64EncodeInto(std::span<const std::uint8_t> Bytes, std::span<char> Out,
                                  const TBase64Options& Form) noexcept {
  const std::size_t Size = EncodedSizeOrNone(Bytes.size(), Form);
  if (Size == NoSize || Size > Out.size())
    return TCodingResult{TCodingError::BufferTooSmall, Size, 0};
  EncodeAll(Bytes, Form, Out.data(), Size);
  return TCodingResult{TCodingError::None, 0, Size};
}

std::size_t Base64DecodedMaxSize(std::size_t TextSize) noexcept {
  // Two characters make one byte and three make two; one makes none.
  const std::size_t Rest = TextSize % 4;
  return TextSize / 4 * 3 + (Rest == 0 ? 0 : Rest - 1);
}

std::vector<std::uint8_t> Base64Decode(std::string_view Text, const TBase64Options& Form,
                                       TBase64Strictness Strictness) {
  std::vector<std::uint8_t> Bytes;
  const TCodingResult Result = TryBase64Decode(Text, Bytes, Form, Strictness);
  if (!Result)
    Raise(Result);
  return Bytes;
}

std::size_t Base64DecodeInto(std::string_view Text, std::span<std::uint8_t> Out,
                             const TBase64Options& Form, TBase64Strictness Strictness) {
  const TCodingResult Result = TryBase64DecodeInto(Text, Out, Form, Strictness);
  if (!Result)
    Raise(Result);
  return Result.Size;
}

TCodingResult TryBase64DecodeInto(std::string_view Text, std::span<std::uint8_t> Out,
                                  const TBase64Options& Form,
                                  TBase64Strictness Strictness) noexcept {
  return DecodeAll(Text, Out.data(), Out.size(), Form, Strictness);
}

TCodingResult TryBase64Decode(std::string_view Text, std::vector<std::uint8_t>& Out,
                              const TBase64Options& Form, TBase64Strictness Strictness) {
  Out.resize(Base64DecodedMaxSize(Text.size()));
  const TCodingResult Result = DecodeAll(Text, Out.data(), Out.size(), Form, Strictness);
  Out.resize(Result ? Result.Size : 0);
  return Result;
}

} // namespace md5b64
