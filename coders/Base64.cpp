// SPDX-License-Identifier: MIT
// Base64: one encoder and one decoder for every form, on the bulk group coders.
#include "coders/Base64.h"

#include "coders/internal/Base64Blocks.h"

#include <algorithm>
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
  if (Groups > NoSize / 4)
    return NoSize;
  std::size_t Chars = 4 * Groups;
  const std::size_t Tail = Rest == 0 ? 0 : Form.Padding ? 4 : Rest + 1;
  if (Tail > NoSize - Chars)
    return NoSize;
  Chars += Tail;
  if (Form.LineLength == 0 || Chars == 0)
    return Chars;
  const std::size_t Breaks = (Chars - 1) / Form.LineLength;
  if (Breaks > (NoSize - Chars) / 2)
    return NoSize;
  return Chars + 2 * Breaks;
}

// The two characters of every 12-bit value: two look-ups for a group instead of four.
using TPairTable = std::array<std::array<char, 2>, 4096>;

constexpr TPairTable MakePairTable(std::string_view Chars) {
  TPairTable Table{};
  for (std::size_t Value = 0; Value < Table.size(); ++Value)
    Table[Value] = {Chars[Value >> 6], Chars[Value & 63U]};
  return Table;
}

constexpr TPairTable StandardPairs = MakePairTable(StandardChars);
constexpr TPairTable UrlPairs = MakePairTable(UrlChars);

// Below this many bytes the groups are coded here, one at a time.
constexpr std::size_t ShortBytes = 48;

// Encodes Bytes on one line at Out, which has room for all of it; returns its length.
std::size_t EncodeLine(const char* Table, const unsigned char* In, std::size_t Count, bool Padding,
                       char* Out) noexcept {
  const std::size_t Whole = Count / 3 * 3;
  if (Count >= ShortBytes) {
    internal::EncodeGroups(Table, In, Count, Out);
  } else {
    // A digest or a key: the vector coder's tables would cost more than they save.
    const TPairTable& Pairs = Table == UrlChars.data() ? UrlPairs : StandardPairs;
    for (std::size_t At = 0; At < Whole; At += 3, Out += 4) {
      const std::uint32_t Bits = (static_cast<std::uint32_t>(In[At]) << 16) |
                                 (static_cast<std::uint32_t>(In[At + 1]) << 8) | In[At + 2];
      std::memcpy(Out, Pairs[Bits >> 12].data(), 2);
      std::memcpy(Out + 2, Pairs[Bits & 4095U].data(), 2);
    }
    Out -= Whole / 3 * 4;
  }
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
  // Wrapped: pieces are coded on one line into a buffer of our own, in bulk, and copied out
  // a line at a time. Coding each line where it goes would call the bulk coder for every 57
  // bytes, where it spends a good part of its time starting up and finishing off.
  constexpr std::size_t PieceBytes = 3 * 1024;
  char Piece[PieceBytes / 3 * 4 + 4];
  const unsigned char* In = Bytes.data();
  std::size_t Left = Bytes.size(), Column = 0;
  while (Left > 0) {
    // The last piece takes the final group with its pads.
    const std::size_t Take = Left <= PieceBytes + 2 ? Left : PieceBytes;
    const std::size_t Chars = EncodeLine(Table, In, Take, Form.Padding, Piece);
    In += Take;
    Left -= Take;
    for (std::size_t At = 0; At < Chars;) {
      if (Column == Line) {
        *Out++ = '\r';
        *Out++ = '\n';
        Column = 0;
      }
      const std::size_t Run = std::min(Chars - At, Line - Column);
      std::memcpy(Out, Piece + At, Run);
      Out += Run;
      At += Run;
      Column += Run;
    }
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

  // Text laid out in the form's lines, whole groups to a line, goes a few dozen lines at a
  // time: gathered without their line breaks, then one call of the bulk decoder. A call per
  // line would spend about as long setting the decoder up as decoding.
  const std::size_t Layout = Form.LineLength;
  const bool Gather = Layout != 0 && Layout % 4 == 0 && Layout <= 1024;
  char Gathered[4096];

  while (Pos < End) {
    if (Gather && Quantum == 0 && Pads == 0 && !Overflow &&
        (Strict ? Column == 0
                : Pos == 0 || (Pos >= 2 && In[Pos - 2] == '\r' && In[Pos - 1] == '\n'))) {
      const std::size_t Stride = Layout + 2;
      const std::size_t Most =
          std::min(sizeof Gathered / Layout, (Room - Written) / (Layout / 4 * 3));
      std::size_t Lines = 0;
      // Each line is followed by CR LF and by more text, as the encoder writes it.
      for (const char* At = In + Pos; Lines < Most && Pos + (Lines + 1) * Stride < End;
           ++Lines, At += Stride) {
        if (At[Layout] != '\r' || At[Layout + 1] != '\n')
          break;
        std::memcpy(Gathered + Lines * Layout, At, Layout);
      }
      if (Lines > 0) {
        const std::size_t Done =
            internal::DecodeGroups(Table.data(), Gathered, Lines * Layout, Out + Written);
        // Only whole lines count: the rest of a line with something else in it is decoded
        // again below, where the fault is found.
        const std::size_t Whole = Done / Layout;
        Pos += Whole * Stride;
        Written += Whole * (Layout / 4 * 3);
        Needed += Whole * (Layout / 4 * 3);
        if (Whole == Lines)
          continue;
      }
    }
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
      // A break that ends the text, whole or not, stands after the last line.
      if (Pos + 2 >= End)
        return Fail(TCodingError::MisplacedLineBreak, Pos);
      if (In[Pos + 1] != '\n')
        return Fail(TCodingError::MisplacedLineBreak, Pos + 1);
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
      // The whole run, so that the bulk decoder is called again once, on the next data.
      while (++Pos < End && IsAsciiWhitespace(static_cast<unsigned char>(In[Pos])))
        ;
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
  // One line, as for a digest: straight to the coder.
  if (Form.LineLength == 0)
    EncodeLine(Base64AlphabetChars(Form.Alphabet).data(), Bytes.data(), Bytes.size(), Form.Padding,
               Out.data());
  else
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
