// SPDX-License-Identifier: MIT
#include "platform/IdGlobal.h"

#include "platform/CodePage.h"
#include "platform/internal/OsCodePage.h"

#include <algorithm>

namespace md5b64 {

TSearchText SearchText = &PlainSearchText;

std::size_t PlainSearchText(std::string_view Sub, std::string_view Text) {
  Sub = UpToFirstZero(Sub);
  Text = UpToFirstZero(Text);
  if (Sub.empty() || Text.empty())
    return 0;
  const std::size_t At = Text.find(Sub);
  return At == std::string_view::npos ? 0 : At + 1;
}

std::size_t MultiByteSearchText(std::string_view Sub, std::string_view Text) {
  return AnsiPos(Sub, Text);
}

void InitializeIdGlobal() {
  SearchText = OsHasLeadBytes() ? &MultiByteSearchText : &PlainSearchText;
}

void FinalizeIdGlobal() {}

namespace {

std::string UpperAscii(std::string_view Text) {
  std::string Upper(Text);
  std::transform(Upper.begin(), Upper.end(), Upper.begin(),
                 [](char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 32) : C; });
  return Upper;
}

} // namespace

std::string SplitHead(std::string& Text, std::string_view Delimiter, bool Remove,
                      bool CaseSensitive) {
  const std::size_t Pos = CaseSensitive ? SearchText(Delimiter, Text)
                                        : SearchText(UpperAscii(Delimiter), UpperAscii(Text));
  return CutAtDelimiter(Text, Pos, Delimiter.size(), Remove);
}

std::string CutAtDelimiter(std::string& Text, std::size_t Pos, std::size_t DelimiterLength,
                           bool Remove) {
  if (Pos == 0) {
    if (!Remove)
      return Text;
    std::string Head = std::move(Text);
    Text.clear();
    return Head;
  }
  std::string Head = Text.substr(0, Pos - 1);
  if (Remove)
    Text.erase(0, Pos - 1 + DelimiterLength);
  return Head;
}

} // namespace md5b64
