// SPDX-License-Identifier: MIT
// The splitting routines on arbitrary bytes, each held against a second, plainer formulation
// written here: the one-string command-line splitter, the multibyte-aware and the plain
// searches, SplitAt and SplitHead. The texts sit in blocks of their exact size, so any read
// past their end stops the run.
#include "FuzzCheck.h"
#include "front_end/DigestPrinter.h"
#include "platform/CodePage.h"
#include "platform/CommandLine.h"
#include "platform/IdGlobal.h"
#include "platform/internal/OsCodePage.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace md5b64;
using fuzz::TExactBytes;

bool NoLeadBytes(unsigned char) {
  return false;
}
// Every byte from 0x81 on opens a double-byte character, as in the Chinese code pages.
bool WideLeadBytes(unsigned char Byte) {
  return Byte >= 0x81 && Byte <= 0xFE;
}
// The lead bytes of the Japanese code page.
bool JapaneseLeadBytes(unsigned char Byte) {
  return (Byte >= 0x81 && Byte <= 0x9F) || (Byte >= 0xE0 && Byte <= 0xFC);
}

constexpr TLeadBytePredicate LeadByteSets[] = {&NoLeadBytes, &WideLeadBytes, &JapaneseLeadBytes};

// The text up to its first zero byte, cut into characters: a lead byte and the byte after it
// are one character, except at the very end.
std::vector<std::string_view> Characters(std::string_view Text, TLeadBytePredicate IsLeadByte) {
  Text = Text.substr(0, Text.find('\0'));
  std::vector<std::string_view> Chars;
  for (std::size_t At = 0; At < Text.size();) {
    const bool Pair = IsLeadByte(static_cast<unsigned char>(Text[At])) && At + 1 < Text.size();
    Chars.push_back(Text.substr(At, Pair ? 2 : 1));
    At += Chars.back().size();
  }
  return Chars;
}

bool IsBlank(std::string_view Char) {
  return Char.size() == 1 && static_cast<unsigned char>(Char[0]) <= 32;
}

// All pieces of a command line at once. Blanks (bytes 1 to 32) and pairs of double quotes
// before a piece are passed over; a piece collects characters up to a blank outside quotes,
// and every double quote flips "inside" without being kept.
std::vector<std::string> ReferencePieces(std::string_view Line, TLeadBytePredicate IsLeadByte) {
  const std::vector<std::string_view> Chars = Characters(Line, IsLeadByte);
  std::vector<std::string> Pieces;
  std::size_t I = 0;
  for (;;) {
    for (;;) {
      while (I < Chars.size() && IsBlank(Chars[I]))
        ++I;
      if (I + 1 < Chars.size() && Chars[I] == "\"" && Chars[I + 1] == "\"")
        I += 2;
      else
        break;
    }
    if (I == Chars.size())
      return Pieces;
    std::string Piece;
    bool Inside = false;
    for (; I < Chars.size() && (Inside || !IsBlank(Chars[I])); ++I) {
      if (Chars[I] == "\"")
        Inside = !Inside;
      else
        Piece.append(Chars[I]);
    }
    Pieces.push_back(Piece);
  }
}

// 1-based position of the first character of Text at which Sub begins, or 0; both texts end
// at their first zero byte, and an empty one finds nothing.
std::size_t ReferencePos(std::string_view Sub, std::string_view Text,
                         TLeadBytePredicate IsLeadByte) {
  Sub = Sub.substr(0, Sub.find('\0'));
  Text = Text.substr(0, Text.find('\0'));
  if (Sub.empty())
    return 0;
  std::size_t At = 0;
  for (const std::string_view Char : Characters(Text, IsLeadByte)) {
    if (Text.substr(At).starts_with(Sub))
      return At + 1;
    At += Char.size();
  }
  return 0;
}

char UpperAscii(char C) {
  return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C;
}

std::string Upper(std::string_view Text) {
  std::string Result;
  for (const char C : Text)
    Result.push_back(UpperAscii(C));
  return Result;
}

struct TCut {
  std::string Head;
  std::string Rest;
};

// The head before the delimiter found at Pos, and the text left behind.
TCut ReferenceCut(std::string_view Text, std::size_t Pos, std::size_t DelimLength, bool Remove) {
  if (Pos == 0)
    return {std::string(Text), Remove ? std::string() : std::string(Text)};
  const std::string Head(Text.substr(0, Pos - 1));
  if (!Remove)
    return {Head, std::string(Text)};
  // A delimiter with a zero byte matches only up to it but is removed whole: the text then
  // loses at most all it has.
  return {Head, std::string(Text.substr(std::min(Pos - 1 + DelimLength, Text.size())))};
}

void CheckCommandLine(std::string_view Line, TLeadBytePredicate IsLeadByte) {
  const std::vector<std::string> Pieces = ReferencePieces(Line, IsLeadByte);
  for (int Index = -1; Index <= static_cast<int>(Pieces.size()) + 1; ++Index) {
    const std::string Expected = Index >= 0 && Index < static_cast<int>(Pieces.size())
                                     ? Pieces[static_cast<std::size_t>(Index)]
                                     : std::string();
    MD5B64_FUZZ_CHECK(GetParamFromCommandLine(Line, Index, IsLeadByte) == Expected);
  }
}

void CheckSearches(std::string_view Sub, std::string_view Text, TLeadBytePredicate IsLeadByte) {
  MD5B64_FUZZ_CHECK(MultiBytePos(Sub, Text, IsLeadByte) == ReferencePos(Sub, Text, IsLeadByte));
  MD5B64_FUZZ_CHECK(PlainSearchText(Sub, Text) == ReferencePos(Sub, Text, &NoLeadBytes));
}

void CheckSplitAt(std::string_view Text, std::string_view Delim, bool Remove) {
  std::size_t Pos;
  if (Delim == std::string_view("\0", 1))
    Pos = Text.find('\0') == std::string_view::npos ? 0 : Text.find('\0') + 1;
  else
    Pos = ReferencePos(Delim, Text, &OsIsLeadByte);
  const TCut Expected = ReferenceCut(Text, Pos, Delim.size(), Remove);
  std::string Changed(Text);
  MD5B64_FUZZ_CHECK(SplitAt(Changed, Delim, Remove) == Expected.Head);
  MD5B64_FUZZ_CHECK(Changed == Expected.Rest);
}

void CheckSplitHead(std::string_view Text, std::string_view Delim, bool Remove,
                    bool CaseSensitive) {
  const TLeadBytePredicate IsLeadByte =
      SearchText == &MultiByteSearchText ? &OsIsLeadByte : &NoLeadBytes;
  const std::size_t Pos = CaseSensitive ? ReferencePos(Delim, Text, IsLeadByte)
                                        : ReferencePos(Upper(Delim), Upper(Text), IsLeadByte);
  const TCut Expected = ReferenceCut(Text, Pos, Delim.size(), Remove);
  std::string Changed(Text);
  MD5B64_FUZZ_CHECK(SplitHead(Changed, Delim, Remove, CaseSensitive) == Expected.Head);
  MD5B64_FUZZ_CHECK(Changed == Expected.Rest);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitializeIdGlobal();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  FuzzedDataProvider Input(Data, Size);
  const TLeadBytePredicate IsLeadByte =
      LeadByteSets[Input.ConsumeIntegralInRange<std::size_t>(0, std::size(LeadByteSets) - 1)];
  const bool Remove = Input.ConsumeBool();
  const bool CaseSensitive = Input.ConsumeBool();
  // Mostly short delimiters, as they are used; the one-byte zero has its own path in SplitAt.
  const TExactBytes Delim(
      Input.ConsumeIntegralInRange<int>(0, 3) == 0
          ? std::string(1, '\0')
          : Input.ConsumeBytesAsString(Input.ConsumeIntegralInRange<std::size_t>(0, 4)));
  const TExactBytes Text(Input.ConsumeRemainingBytesAsString());

  CheckCommandLine(Text.View(), IsLeadByte);
  CheckSearches(Delim.View(), Text.View(), IsLeadByte);
  CheckSplitAt(Text.View(), Delim.View(), Remove);
  CheckSplitHead(Text.View(), Delim.View(), Remove, CaseSensitive);
  return 0;
}
