// SPDX-License-Identifier: MIT
#include "platform/CodePage.h"

#include "platform/internal/OsCodePage.h"

namespace md5b64 {

std::string_view UpToFirstZero(std::string_view Text) noexcept {
  const std::size_t Zero = Text.find('\0');
  return Zero == std::string_view::npos ? Text : Text.substr(0, Zero);
}

std::size_t MultiBytePos(std::string_view Sub, std::string_view Text,
                         TLeadBytePredicate IsLeadByte) noexcept {
  Sub = UpToFirstZero(Sub);
  Text = UpToFirstZero(Text);
  if (Sub.empty() || Text.empty() || Sub.size() > Text.size())
    return 0;
  const std::size_t Last = Text.size() - Sub.size();
  std::size_t I = 0;
  while (I <= Last) {
    if (Text.compare(I, Sub.size(), Sub) == 0)
      return I + 1;
    // A lead byte and its trail byte are one character; a lead byte at the very end has
    // no trail and is stepped alone.
    I += (IsLeadByte(static_cast<unsigned char>(Text[I])) && I + 1 < Text.size()) ? 2U : 1U;
  }
  return 0;
}

std::size_t AnsiPos(std::string_view Sub, std::string_view Text) noexcept {
  return MultiBytePos(Sub, Text, &OsIsLeadByte);
}

} // namespace md5b64
