// The Base64 encoding path on arbitrary bytes, checked against a plain formulation of RFC 4648,
// section 4, written here: EncodeText, EncodeGroup, alphabets too short for their indices, and
// EncodeStream with every kind of limit on streams at every position, inside and outside.
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

enum class TOutcome { Text, Uneven, Range, Read };

template <class TBody> TOutcome Outcome(TBody Body, std::string& Text) {
  try {
    Text = Body();
    return TOutcome::Text;
  } catch (const EIdException& E) {
    MD5B64_FUZZ_CHECK(E.Message() == "Uneven size in Encode.");
    return TOutcome::Uneven;
  } catch (const ERangeError& E) {
    MD5B64_FUZZ_CHECK(E.Message() == "Range check error");
    return TOutcome::Range;
  } catch (const EReadError& E) {
    MD5B64_FUZZ_CHECK(E.Message() == "Stream read error");
    return TOutcome::Read;
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
  const fuzz::TExactBytes Exact(Input.ConsumeRemainingBytesAsString());
  const std::string_view Bytes = Exact.View();

  CheckEncodeText(Bytes, Fill);
  CheckShortTable(Bytes, Table, Fill);
  // Any position from 4 before the start to 4 past the end.
  const auto Length = static_cast<std::int64_t>(Bytes.size());
  CheckStream(Bytes, Owned, Offset % (Length + 9) - 4, Limit);
  return 0;
}
