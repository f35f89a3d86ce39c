#include "platform/IdGlobal.h"

#include "platform/CodePage.h"

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
  SearchText = SystemHasLeadBytes() ? &MultiByteSearchText : &PlainSearchText;
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

std::string SplitHead(std::string& AText, std::string_view Delim, bool ARemove,
                      bool ACaseSensitive) {
  const std::size_t Pos =
      ACaseSensitive ? SearchText(Delim, AText) : SearchText(UpperAscii(Delim), UpperAscii(AText));
  return CutAtDelimiter(AText, Pos, Delim.size(), ARemove);
}

std::string CutAtDelimiter(std::string& AText, std::size_t Pos, std::size_t DelimLength,
                           bool ARemove) {
  if (Pos == 0) {
    if (!ARemove)
      return AText;
    std::string Head = std::move(AText);
    AText.clear();
    return Head;
  }
  std::string Head = AText.substr(0, Pos - 1);
  if (ARemove)
    AText.erase(0, Pos - 1 + DelimLength);
  return Head;
}

} // namespace md5b64
