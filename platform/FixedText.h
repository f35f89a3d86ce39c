// SPDX-License-Identifier: MIT
// A short text held in place: a process-wide text that needs no allocation, so that it is
// set before main without anything that could fail.
#ifndef MD5B64_PLATFORM_FIXEDTEXT_H
#define MD5B64_PLATFORM_FIXEDTEXT_H

#include "platform/SysUtils.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace md5b64 {

/// Up to Capacity bytes of text in the object itself. It reads as a std::string_view and
/// keeps the few std::string members its users call (empty, size, data, clear);
/// assigning a longer text raises ERangeError and leaves the text as it was.
template <std::size_t Capacity> class TFixedText {
public:
  constexpr TFixedText() noexcept = default;
  constexpr TFixedText(std::string_view Text) { Assign(Text); }
  constexpr TFixedText& operator=(std::string_view Text) {
    Assign(Text);
    return *this;
  }

  constexpr operator std::string_view() const noexcept { return {FText.data(), FSize}; }
  constexpr const char* data() const noexcept { return FText.data(); }
  constexpr std::size_t size() const noexcept { return FSize; }
  constexpr bool empty() const noexcept { return FSize == 0; }
  constexpr void clear() noexcept { FSize = 0; }

  friend constexpr bool operator==(const TFixedText& Left, std::string_view Right) noexcept {
    return std::string_view(Left) == Right;
  }

private:
  constexpr void Assign(std::string_view Text) {
    if (Text.size() > Capacity)
      throw ERangeError();
    for (std::size_t At = 0; At < Text.size(); ++At)
      FText[At] = Text[At];
    FSize = Text.size();
  }

  std::array<char, Capacity> FText{};
  std::size_t FSize = 0;
};

} // namespace md5b64

#endif
