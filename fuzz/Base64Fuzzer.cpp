// SPDX-License-Identifier: MIT
// The Base64 coding paths on arbitrary bytes, checked against plain formulations of RFC 4648,
// section 4, written here. Encoding: EncodeText, EncodeGroup, alphabets too short for their
// indices, and EncodeStream with every kind of limit on streams at every position. Decoding:
// what was encoded decodes back to it, with the MIME alphabet and with any other; arbitrary
// text either decodes to the right bytes or raises the documented error and writes nothing;
// BuildDecodeTable on any alphabet.
#include "FuzzCheck.h"
#include "coders/IdCoderMIME.h"
#include "platform/IdGlobal.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

using namespace md5b64;

// Every 24 bits of input as four 6-bit values, most significant first; a final group of one or
// two bytes is filled with zero bits, and the values past its data become pad characters.
// MaxIndex receives the largest value looked up, pad positions included (as zero-filled).
std::string Reference(std::string_view Bytes, std::string_view Table, char Pad,
                      unsigned& MaxIndex) {
  std::string Text;
  MaxIndex = 0;
  for (std::size_t At = 0; At < Bytes.size(); At += 3) {
    const std::size_t Have = std::min<std::size_t>(3, Bytes.size() - At);
    std::uint32_t Group = 0;
    for (std::size_t K = 0; K < 3; ++K) {
      const std::uint32_t Byte = K < Have ? static_cast<unsigned char>(Bytes[At + K]) : 0;
      Group = (Group << 8) | Byte;
    }
    for (std::size_t K = 0; K < 4; ++K) {
      const unsigned Index = (Group >> (18 - 6 * K)) & 63U;
      MaxIndex = std::max(MaxIndex, Index);
      // One byte of data gives two characters, two bytes three.
      if (K <= Have)
        Text.push_back(Index < Table.size() ? Table[Index] : '?');
      else
        Text.push_back(Pad);
    }
  }
  return Text;
}

// A three-to-four encoder with any alphabet, however short.
class TAnyTableEncoder : public TIdEncoder3to4 {
public:
  explicit TAnyTableEncoder(std::string Table) { FCodingTable = std::move(Table); }
};

enum class TOutcome { Text, Uneven, Range, Read, Write, BadText };

template <class TBody> TOutcome Outcome(TBody Body, std::string& Text) {
  try {
    Text = Body();
    return TOutcome::Text;
  } catch (const EIdException& E) {
    if (E.Message() == "Uneven size in Encode.")
      return TOutcome::Uneven;
    Text = E.Message();
    return TOutcome::BadText;
  } catch (const ERangeError& E) {
    MD5B64_FUZZ_CHECK(E.Message() == "Range check error");
    return TOutcome::Range;
  } catch (const EReadError& E) {
    MD5B64_FUZZ_CHECK(E.Message() == "Stream read error");
    return TOutcome::Read;
  } catch (const EWriteError& E) {
    MD5B64_FUZZ_CHECK(E.Message() == "Stream write error");
    return TOutcome::Write;
  }
}

void CheckEncodeText(std::string_view Bytes, char Fill) {
  TIdEncoderMIME Encoder;
  Encoder.SetFillChar(Fill);
  unsigned MaxIndex;
  const std::string Expected = Reference(Bytes, MimeAlphabet, Fill, MaxIndex);
  const std::string Text = Encoder.EncodeText(Bytes);
  MD5B64_FUZZ_CHECK(Text == Expected);
  MD5B64_FUZZ_CHECK(Text.size() == (Bytes.size() + 2) / 3 * 4);
  if (Bytes.size() >= 3) {
    const std::array<char, 4> Group = Encoder.EncodeGroup(static_cast<std::uint8_t>(Bytes[0]),
                                                          static_cast<std::uint8_t>(Bytes[1]),
                                                          static_cast<std::uint8_t>(Bytes[2]));
    MD5B64_FUZZ_CHECK(std::string_view(Group.data(), 4) == std::string_view(Expected).substr(0, 4));
  }
}

void CheckShortTable(std::string_view Bytes, const std::string& Table, char Fill) {
  TAnyTableEncoder Encoder(Table);
  Encoder.SetFillChar(Fill);
  unsigned MaxIndex;
  const std::string Expected = Reference(Bytes, Table, Fill, MaxIndex);
  std::string Text;
  const TOutcome Got = Outcome([&] { return Encoder.EncodeText(Bytes); }, Text);
  if (Bytes.empty() || MaxIndex < Table.size()) {
    MD5B64_FUZZ_CHECK(Got == TOutcome::Text && Text == Expected);
  } else {
    MD5B64_FUZZ_CHECK(Got == TOutcome::Range);
  }
}

// A stream over Bytes: the read-only view, or a memory stream that holds a copy.
void CheckStream(std::string_view Bytes, bool Owned, std::int64_t Position, std::int32_t Limit) {
  TIdReadMemoryStream View;
  TMemoryStream Copy;
  TStream* Stream = &View;
  if (Owned) {
    Copy.WriteBuffer(Bytes.data(), static_cast<std::int32_t>(Bytes.size()));
    Stream = &Copy;
  } else {
    View.AttachText(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    // The view stores nothing.
    MD5B64_FUZZ_CHECK(View.Write("x", 1) == 0);
  }
  Stream->SetPosition(Position);

  // The order of the checks: the limit's evenness, then its sign, then what the stream holds.
  const std::int64_t Size = static_cast<std::int64_t>(Bytes.size());
  const std::int64_t Available = Size - Position;
  TOutcome Expected = TOutcome::Text;
  std::int64_t Count = 0;
  if (Limit != TIdEncoder::NoLimit && Limit % 3 > 0)
    Expected = TOutcome::Uneven;
  else if (Limit < 0 || Available < 0)
    Expected = TOutcome::Range;
  else {
    Count = std::min<std::int64_t>(Limit, Available);
    // Before the start a memory stream reads nothing, fewer bytes than it reports.
    if (Count > 0 && Position < 0)
      Expected = TOutcome::Read;
  }

  TIdEncoderMIME Encoder;
  std::string Text;
  const TOutcome Got = Outcome([&] { return Encoder.EncodeStream(*Stream, Limit); }, Text);
  MD5B64_FUZZ_CHECK(Got == Expected);
  if (Got == TOutcome::Text) {
    unsigned MaxIndex;
    // Nothing is read when there is nothing to encode, wherever the position stands.
    const std::string_view Read = Count == 0 ? std::string_view()
                                             : Bytes.substr(static_cast<std::size_t>(Position),
                                                            static_cast<std::size_t>(Count));
    MD5B64_FUZZ_CHECK(Text == Reference(Read, MimeAlphabet, '=', MaxIndex));
    MD5B64_FUZZ_CHECK(Stream->Position() == Position + Count);
  } else {
    MD5B64_FUZZ_CHECK(Stream->Position() == Position);
  }
}

// Decoding, one group of four characters after the other: codes must lie from 1 to 127; a
// pad in the fourth place, or in the third and fourth, ends the bytes of its group; any
// other character must be in the alphabet. Returns the bytes, or the error that the first
// fault raises with its message.
TOutcome ReferenceDecode(std::string_view Text, const TIdDecodeTable& Table, char Pad,
                         std::string& Result) {
  std::string Bytes;
  for (std::size_t At = 0; At < Text.size(); At += 4) {
    if (Text.size() - At < 4)
      return TOutcome::Range;
    std::uint32_t Values[4] = {};
    std::size_t Carried = 3;
    for (std::size_t K = 0; K < 4 && Carried == 3; ++K) {
      const auto Code = static_cast<unsigned char>(Text[At + K]);
      if (Code == 0 || Code > 127)
        return TOutcome::Range;
      if (K == 2 && Text[At + K] == Pad) {
        const auto Next = static_cast<unsigned char>(Text[At + 3]);
        if (Next == 0 || Next > 127)
          return TOutcome::Range;
        if (Text[At + 3] != Pad) {
          Result = "Pad character at position " + std::to_string(At + 3) +
                   " is not followed by another pad.";
          return TOutcome::BadText;
        }
        Carried = 1;
      } else if (K == 3 && Text[At + K] == Pad) {
        Carried = 2;
      } else if (Table[Code - 1] == TIdDecoder4to3::NotInAlphabet) {
        Result = "Character with code " + std::to_string(Code) + " at position " +
                 std::to_string(At + K + 1) + " is not in the coding alphabet.";
        return TOutcome::BadText;
      } else {
        Values[K] = Table[Code - 1];
      }
    }
    const std::uint32_t Group = Values[0] << 18 | Values[1] << 12 | Values[2] << 6 | Values[3];
    const char Three[3] = {static_cast<char>(Group >> 16), static_cast<char>(Group >> 8),
                           static_cast<char>(Group)};
    Bytes.append(Three, Carried);
  }
  Result = Bytes;
  return TOutcome::Text;
}

// A three-to-four decoder with the reverse table of any alphabet.
class TAnyTableDecoder : public TIdDecoder4to3 {
public:
  explicit TAnyTableDecoder(std::string_view Alphabet) { BuildDecodeTable(Alphabet, FDecodeTable); }
};

// Decodes Text into a memory stream that already holds bytes and stands at Position: the
// decoded bytes land there in one write, and a failure leaves the stream as it was. A
// read-only view as destination takes nothing, which is the write error.
void CheckDecode(TIdDecoder4to3& Decoder, std::string_view Text, std::string_view Before,
                 std::int64_t Position) {
  std::string ExpectedText;
  const TOutcome Expected =
      ReferenceDecode(Text, Decoder.DecodeTable(), Decoder.FillChar(), ExpectedText);

  TMemoryStream Dest;
  Dest.WriteBuffer(Before.data(), static_cast<std::int32_t>(Before.size()));
  Dest.SetPosition(Position);
  std::string Got;
  const TOutcome Decoding = Outcome(
      [&] {
        Decoder.DecodeToStream(Text, Dest);
        return std::string();
      },
      Got);
  MD5B64_FUZZ_CHECK(Decoding == Expected);
  if (Expected == TOutcome::BadText)
    MD5B64_FUZZ_CHECK(Got == ExpectedText);
  std::string After(Before);
  if (Expected == TOutcome::Text && !ExpectedText.empty()) {
    const auto At = static_cast<std::size_t>(Position);
    After.resize(std::max(After.size(), At + ExpectedText.size()), '\0');
    After.replace(At, ExpectedText.size(), ExpectedText);
  }
  MD5B64_FUZZ_CHECK(Dest.Bytes() == After);
  MD5B64_FUZZ_CHECK(
      Dest.Position() ==
      Position + static_cast<std::int64_t>(Expected == TOutcome::Text ? ExpectedText.size() : 0));

  std::string Decoded;
  MD5B64_FUZZ_CHECK(Outcome([&] { return Decoder.DecodeText(Text); }, Decoded) == Expected);
  if (Expected == TOutcome::Text)
    MD5B64_FUZZ_CHECK(Decoded == ExpectedText);

  TIdReadMemoryStream View;
  View.AttachText(Before.data(), static_cast<std::int64_t>(Before.size()));
  const TOutcome ToView = Outcome(
      [&] {
        Decoder.DecodeToStream(Text, View);
        return std::string();
      },
      Got);
  MD5B64_FUZZ_CHECK(
      ToView == (Expected == TOutcome::Text && !ExpectedText.empty() ? TOutcome::Write : Expected));
}

// An alphabet of 64 distinct characters from 1 to 127 without the pad, drawn from the input.
std::string DrawAlphabet(FuzzedDataProvider& Input, char Pad) {
  std::string Codes;
  for (int Code = 1; Code <= 127; ++Code)
    if (static_cast<char>(Code) != Pad)
      Codes.push_back(static_cast<char>(Code));
  for (std::size_t I = 0; I < 64; ++I)
    std::swap(Codes[I], Codes[Input.ConsumeIntegralInRange<std::size_t>(I, Codes.size() - 1)]);
  return Codes.substr(0, 64);
}

void CheckDecoding(FuzzedDataProvider& Input, std::string_view Bytes, std::string_view Alphabet,
                   char Fill) {
  // What was encoded comes back, with the MIME alphabet and with one drawn from the input.
  TIdEncoderMIME Encoder;
  TIdDecoderMIME Decoder;
  const std::string Encoded = Encoder.EncodeText(Bytes);
  MD5B64_FUZZ_CHECK(Decoder.DecodeText(Encoded) == Bytes);
  const char Pad = Input.ConsumeBool() ? '=' : '.';
  const std::string Drawn = DrawAlphabet(Input, Pad);
  TAnyTableEncoder AnyEncoder(Drawn);
  TAnyTableDecoder AnyDecoder(Drawn);
  AnyEncoder.SetFillChar(Pad);
  AnyDecoder.SetFillChar(Pad);
  MD5B64_FUZZ_CHECK(AnyDecoder.DecodeText(AnyEncoder.EncodeText(Bytes)) == Bytes);

  // Arbitrary text, and encoded text with one character changed, with any pad character.
  const std::string Before =
      Input.ConsumeBytesAsString(Input.ConsumeIntegralInRange<std::size_t>(0, 8));
  const auto Position =
      Input.ConsumeIntegralInRange<std::int64_t>(0, static_cast<std::int64_t>(Before.size()));
  Decoder.SetFillChar(Fill);
  CheckDecode(Decoder, Bytes, Before, Position);
  std::string Changed = Encoded;
  if (!Changed.empty())
    Changed[Input.ConsumeIntegralInRange<std::size_t>(0, Changed.size() - 1)] =
        static_cast<char>(Input.ConsumeIntegral<std::uint8_t>());
  Decoder.SetFillChar('=');
  CheckDecode(Decoder, Changed, Before, Position);

  // The reverse table of any alphabet: every entry 255, then each character's last
  // position; a code outside 1 to 127 or a position past 255 stops the build there.
  TIdDecodeTable Expected;
  Expected.fill(TIdDecoder4to3::NotInAlphabet);
  bool Refused = false;
  for (std::size_t I = 0; I < Alphabet.size() && !Refused; ++I) {
    const auto Code = static_cast<unsigned char>(Alphabet[I]);
    if (Code == 0 || Code > 127 || I > 255)
      Refused = true;
    else
      Expected[Code - 1] = static_cast<std::uint8_t>(I);
  }
  TIdDecodeTable Table;
  Table.fill(7);
  bool Raised = false;
  try {
    TIdDecoder4to3::BuildDecodeTable(Alphabet, Table);
  } catch (const ERangeError&) {
    Raised = true;
  }
  MD5B64_FUZZ_CHECK(Raised == Refused);
  MD5B64_FUZZ_CHECK(Table == Expected);
  if (!Raised) {
    TAnyTableDecoder Any(Alphabet);
    Any.SetFillChar(Fill);
    CheckDecode(Any, Bytes, Before, Position);
  }
}

std::int32_t ChooseLimit(FuzzedDataProvider& Input) {
  switch (Input.ConsumeIntegralInRange<int>(0, 5)) {
  case 0:
    return TIdEncoder::NoLimit;
  case 1:
    return 3 * Input.ConsumeIntegralInRange<std::int32_t>(0, 200);
  case 2:
    return Input.ConsumeIntegralInRange<std::int32_t>(0, 600);
  case 3:
    return -Input.ConsumeIntegralInRange<std::int32_t>(1, 7);
  case 4:
    return std::numeric_limits<std::int32_t>::min();
  default:
    return Input.ConsumeIntegral<std::int32_t>();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  FuzzedDataProvider Input(Data, Size);
  const char Fill =
      Input.ConsumeBool() ? '=' : static_cast<char>(Input.ConsumeIntegral<std::uint8_t>());
  const std::string Table =
      Input.ConsumeBytesAsString(Input.ConsumeIntegralInRange<std::size_t>(0, 70));
  const bool Owned = Input.ConsumeBool();
  const std::int32_t Limit = ChooseLimit(Input);
  const auto Offset = Input.ConsumeIntegral<std::uint16_t>();
  const std::string Alphabet =
      Input.ConsumeBytesAsString(Input.ConsumeIntegralInRange<std::size_t>(0, 300));
  // The bytes to code, and to decode as they stand, take the rest of the input but for the
  // few bytes that the decoding checks draw from its end.
  const fuzz::TExactBytes Exact(Input.ConsumeBytesAsString(
      Input.remaining_bytes() > 80 ? Input.remaining_bytes() - 80 : Input.remaining_bytes() / 2));
  const std::string_view Bytes = Exact.View();

  CheckEncodeText(Bytes, Fill);
  CheckShortTable(Bytes, Table, Fill);
  // Any position from 4 before the start to 4 past the end.
  const auto Length = static_cast<std::int64_t>(Bytes.size());
  CheckStream(Bytes, Owned, Offset % (Length + 9) - 4, Limit);
  CheckDecoding(Input, Bytes, Alphabet, Fill);
  return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Builds MimeDecodeTable, as the program's start-up does.
  InitializeIdCoderMIME();
  return 0;
}
