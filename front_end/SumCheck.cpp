// SPDX-License-Identifier: MIT
#include "front_end/SumCheck.h"

#include "front_end/SumDigest.h"
#include "front_end/SumNames.h"

namespace md5b64 {

namespace {

bool IsBlank(char Character) noexcept {
  return Character == ' ' || Character == '\t';
}

bool IsHex(std::string_view Text) noexcept {
  return Text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

std::optional<std::string> NameOf(std::string_view Text, bool Escaped) {
  if (Escaped)
    return UnescapeName(Text);
  return std::string(Text);
}

} // namespace

bool IsDigestSyntax(std::string_view Text) noexcept {
  TDigestBytes Digest;
  return (Text.size() == 32 || Text.size() == 24) && DigestFromText(Text, Digest);
}

bool IsETagSyntax(std::string_view Text) noexcept {
  if (Text.size() < 32 || !IsHex(Text.substr(0, 32)))
    return false;
  if (Text.size() == 32)
    return true;
  const std::string_view Count = Text.substr(33);
  return Text[32] == '-' && !Count.empty() && Count[0] != '0' && Count.size() <= 20 &&
         Count.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<TCheckLine> TCheckLineReader::Read(std::string_view Line) {
  if (Line.find('\0') != std::string_view::npos)
    return std::nullopt;
  std::size_t Index = 0;
  while (Index < Line.size() && IsBlank(Line[Index]))
    ++Index;
  bool Escaped = false;
  if (Index < Line.size() && Line[Index] == '\\') {
    Escaped = true;
    ++Index;
  }
  std::string_view Rest = Line.substr(Index);

  // The tagged form: "MD5 (NAME) = DIGEST", the space before "(" optional. The name ends
  // at the last ")", so a name may hold one.
  if (Rest.substr(0, 3) == "MD5") {
    Rest.remove_prefix(3);
    if (!Rest.empty() && Rest[0] == ' ')
      Rest.remove_prefix(1);
    if (Rest.empty() || Rest[0] != '(')
      return std::nullopt;
    Rest.remove_prefix(1);
    const std::size_t Close = Rest.rfind(')');
    if (Close == std::string_view::npos)
      return std::nullopt;
    std::optional<std::string> Name = NameOf(Rest.substr(0, Close), Escaped);
    std::size_t After = Close + 1;
    while (After < Rest.size() && IsBlank(Rest[After]))
      ++After;
    if (After == Rest.size() || Rest[After] != '=')
      return std::nullopt;
    ++After;
    while (After < Rest.size() && IsBlank(Rest[After]))
      ++After;
    const std::string_view Digest = Rest.substr(After);
    if (!Name || !FSyntax(Digest))
      return std::nullopt;
    return TCheckLine{std::string(Digest), std::move(*Name)};
  }

  // "DIGEST", one blank, then the marker (" " or "*") and the name; or, in a list whose
  // lines have no marker, the name right after the blank.
  std::size_t End = 0;
  while (End < Rest.size() && !IsBlank(Rest[End]))
    ++End;
  // At least the blank, a marker and a name of one character (or, with no markers, a name
  // of two) must follow, as md5sum asks.
  if (Rest.size() - End < 3)
    return std::nullopt;
  const std::string_view Digest = Rest.substr(0, End);
  if (!FSyntax(Digest))
    return std::nullopt;
  std::string_view NameText = Rest.substr(End + 1);
  const bool HasMarker = NameText.size() > 1 && (NameText[0] == ' ' || NameText[0] == '*');
  if (!HasMarker || FSeparator == TSeparator::SingleSpace) {
    if (FSeparator == TSeparator::Marker)
      return std::nullopt;
    FSeparator = TSeparator::SingleSpace;
  } else {
    FSeparator = TSeparator::Marker;
    NameText.remove_prefix(1);
  }
  if (NameText.empty())
    return std::nullopt;
  std::optional<std::string> Name = NameOf(NameText, Escaped);
  if (!Name)
    return std::nullopt;
  return TCheckLine{std::string(Digest), std::move(*Name)};
}

} // namespace md5b64
