// SPDX-License-Identifier: MIT
// Every Base64 form on arbitrary bytes and texts, against plain formulations written here:
// an encoder that takes the bits six at a time and breaks the lines afterwards, the
// "forgiving-base64 decode" algorithm step by step, and strict decoding as "the text the
// encoder writes for the bytes the forgiving decoder finds".
#include "FuzzCheck.h"
#include "coders/Base64.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace md5b64;
using TBytes = std::vector<std::uint8_t>;

std::string_view CharsOf(TBase64Alphabet Alphabet) {
  return Alphabet == TBase64Alphabet::Url
             ? "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"
             : "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string ReferenceEncode(const TBytes& Bytes, const TBase64Options& Form) {
  const std::string_view Chars = CharsOf(Form.Alphabet);
  std::string Line;
  std::uint32_t Bits = 0;
  int Held = 0;
  for (const std::uint8_t Byte : Bytes) {
    Bits = (Bits << 8) | Byte;
    Held += 8;
    while (Held >= 6) {
      Held -= 6;
      Line.push_back(Chars[(Bits >> Held) & 63U]);
    }
  }
  if (Held > 0)
    Line.push_back(Chars[(Bits << (6 - Held)) & 63U]);
  while (Form.Padding && Line.size() % 4 != 0)
    Line.push_back('=');
  if (Form.LineLength == 0)
    return Line;
  std::string Text;
  for (std::size_t At = 0; At < Line.size(); At += Form.LineLength) {
    if (At != 0)
      Text += "\r\n";
    Text += Line.substr(At, Form.LineLength);
  }
  return Text;
}

bool IsWhitespace(char C) {
  return C == ' ' || C == '\t' || C == '\n' || C == '\r' || C == '\f';
}

// WHATWG's forgiving-base64 decode, step by step.
std::optional<TBytes> ReferenceForgiving(std::string_view Text, TBase64Alphabet Alphabet) {
  std::string Data;
  for (const char C : Text)
    if (!IsWhitespace(C))
      Data.push_back(C);
  if (Data.size() % 4 == 0 && !Data.empty() && Data.back() == '=') {
    Data.pop_back();
    if (!Data.empty() && Data.back() == '=')
      Data.pop_back();
  }
  if (Data.size() % 4 == 1)
    return std::nullopt;
  const std::string_view Chars = CharsOf(Alphabet);
  TBytes Bytes;
  std::uint32_t Bits = 0;
  int Held = 0;
  for (const char C : Data) {
    const std::size_t Value = Chars.find(C);
    if (Value == std::string_view::npos)
      return std::nullopt;
    Bits = (Bits << 6) | static_cast<std::uint32_t>(Value);
    Held += 6;
    if (Held >= 8) {
      Held -= 8;
      Bytes.push_back(static_cast<std::uint8_t>(Bits >> Held));
    }
  }
  return Bytes;
}

std::optional<TBytes> ReferenceStrict(std::string_view Text, const TBase64Options& Form) {
  for (const char C : Text)
    if (C == ' ' || C == '\t' || C == '\f')
      return std::nullopt;
  std::optional<TBytes> Bytes = ReferenceForgiving(Text, Form.Alphabet);
  if (!Bytes || ReferenceEncode(*Bytes, Form) != Text)
    return std::nullopt;
  return Bytes;
}

// A fault must stand where its kind says: on a character that is not in the alphabet, on a
// pad or a character after the pads, at the end for a truncated text.
void CheckFault(std::string_view Text, const TCodingResult& Result, const TBase64Options& Form) {
  const std::string_view Chars = CharsOf(Form.Alphabet);
  switch (Result.Error) {
  case TCodingError::Truncated:
    MD5B64_FUZZ_CHECK(Result.Position == Text.size());
    break;
  case TCodingError::InvalidCharacter:
    MD5B64_FUZZ_CHECK(Result.Position < Text.size());
    MD5B64_FUZZ_CHECK(Chars.find(Text[Result.Position]) == std::string_view::npos &&
                      Text[Result.Position] != '=');
    break;
  case TCodingError::MisplacedPad:
    MD5B64_FUZZ_CHECK(Result.Position < Text.size());
    MD5B64_FUZZ_CHECK(Text[Result.Position] == '=' ||
                      Chars.find(Text[Result.Position]) != std::string_view::npos);
    break;
  case TCodingError::NonCanonical:
    MD5B64_FUZZ_CHECK(Result.Position < Text.size());
    MD5B64_FUZZ_CHECK(Chars.find(Text[Result.Position]) != std::string_view::npos);
    break;
  case TCodingError::MisplacedLineBreak:
    MD5B64_FUZZ_CHECK(Form.LineLength != 0 && Result.Position < Text.size());
    break;
  default:
    fuzz::Fail("an unexpected kind of fault", __FILE__, __LINE__);
  }
}

void CheckDecode(std::string_view Text, const TBase64Options& Form, TBase64Strictness Strictness,
                 std::size_t Room) {
  const fuzz::TExactBytes Exact(Text);
  const std::optional<TBytes> Expected = Strictness == TBase64Strictness::Strict
                                             ? ReferenceStrict(Text, Form)
                                             : ReferenceForgiving(Text, Form.Alphabet);
  TBytes Bytes;
  const TCodingResult Result = TryBase64Decode(Exact.View(), Bytes, Form, Strictness);
  MD5B64_FUZZ_CHECK(Result.Ok() == Expected.has_value());
  if (!Result) {
    MD5B64_FUZZ_CHECK(Bytes.empty());
    CheckFault(Text, Result, Form);
  } else {
    MD5B64_FUZZ_CHECK(Bytes == *Expected && Result.Size == Bytes.size());
    MD5B64_FUZZ_CHECK(Bytes.size() <= Base64DecodedMaxSize(Text.size()));
  }
  // Into a buffer of some size, exactly as large as it says it is.
  std::unique_ptr<std::uint8_t[]> Buffer(new std::uint8_t[Room + 1]);
  const TCodingResult Into =
      TryBase64DecodeInto(Exact.View(), {Buffer.get(), Room}, Form, Strictness);
  if (!Result) {
    MD5B64_FUZZ_CHECK(Into.Error == Result.Error && Into.Position == Result.Position);
  } else if (Room < Bytes.size()) {
    MD5B64_FUZZ_CHECK(Into.Error == TCodingError::BufferTooSmall && Into.Position == Bytes.size());
  } else {
    MD5B64_FUZZ_CHECK(Into.Ok() && Into.Size == Bytes.size());
    MD5B64_FUZZ_CHECK(std::equal(Bytes.begin(), Bytes.end(), Buffer.get()));
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  FuzzedDataProvider Provider(Data, Size);
  TBase64Options Form;
  Form.Alphabet = Provider.ConsumeBool() ? TBase64Alphabet::Url : TBase64Alphabet::Standard;
  Form.Padding = Provider.ConsumeBool();
  switch (Provider.ConsumeIntegralInRange<int>(0, 3)) {
  case 0:
    Form.LineLength = 0;
    break;
  case 1:
    Form.LineLength = Base64MimeLineLength;
    break;
  default:
    Form.LineLength = Provider.ConsumeIntegralInRange<std::size_t>(1, 100);
    break;
  }
  const auto Room = Provider.ConsumeIntegralInRange<std::size_t>(0, 4096);
  const std::string Rest = Provider.ConsumeRemainingBytesAsString();

  // The rest as bytes: encoded as the reference does it, into a string and into a buffer,
  // and back in both strictnesses.
  const TBytes Bytes(Rest.begin(), Rest.end());
  const std::string Text = Base64Encode(Bytes, Form);
  MD5B64_FUZZ_CHECK(Text == ReferenceEncode(Bytes, Form));
  MD5B64_FUZZ_CHECK(Base64EncodedSize(Bytes.size(), Form) == Text.size());
  std::unique_ptr<char[]> Out(new char[Room + 1]);
  const TCodingResult Encoded = TryBase64EncodeInto(Bytes, {Out.get(), Room}, Form);
  if (Room < Text.size()) {
    MD5B64_FUZZ_CHECK(Encoded.Error == TCodingError::BufferTooSmall &&
                      Encoded.Position == Text.size());
  } else {
    MD5B64_FUZZ_CHECK(Encoded.Ok() && std::string_view(Out.get(), Encoded.Size) == Text);
  }
  MD5B64_FUZZ_CHECK(Base64Decode(Text, Form) == Bytes);
  MD5B64_FUZZ_CHECK(Base64Decode(Text, Form, TBase64Strictness::Forgiving) == Bytes);

  // The rest as text, in both strictnesses.
  CheckDecode(Rest, Form, TBase64Strictness::Strict, Room);
  CheckDecode(Rest, Form, TBase64Strictness::Forgiving, Room);
  return 0;
}
