// SPDX-License-Identifier: MIT
// General routines the coders rely on: text splitting, 32-bit rotation and a read-only
// memory stream.
#ifndef MD5B64_PLATFORM_IDGLOBAL_H
#define MD5B64_PLATFORM_IDGLOBAL_H

#include "md5b64/Export.h"

#include "platform/Streams.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace md5b64 {

/// A substring search: 1-based position of Sub in Text, or 0.
using TSearchText = std::size_t (*)(std::string_view Sub, std::string_view Text);

/// The search SplitHead uses. Module start-up chooses it: a plain byte search when the
/// system code page has no lead bytes, the multibyte-aware one otherwise.
extern MD5B64_API TSearchText SearchText;

/// Plain byte search; both texts count only up to their first zero byte, and an empty
/// text or Sub finds nothing.
MD5B64_API std::size_t PlainSearchText(std::string_view Sub, std::string_view Text);
/// Multibyte-aware search with the system code page's lead bytes.
MD5B64_API std::size_t MultiByteSearchText(std::string_view Sub, std::string_view Text);

/// Start-up step of IdGlobal: chooses SearchText.
MD5B64_API void InitializeIdGlobal();
/// Shutdown step of IdGlobal: nothing is left to release.
MD5B64_API void FinalizeIdGlobal();

/// Returns the part of Text before the first Delimiter, found with SearchText; with Remove
/// on, Text keeps only what follows that Delimiter. Without a Delimiter the head is the whole
/// text (and Text becomes empty when Remove is on). CaseSensitive off compares ASCII
/// letters without regard to case.
MD5B64_API std::string SplitHead(std::string& Text, std::string_view Delimiter, bool Remove = true,
                                 bool CaseSensitive = true);

/// Cuts Text at the 1-based position Pos of a delimiter DelimiterLength bytes long and returns
/// the part before it; Pos 0 means no delimiter, and the head is then the whole text. With
/// Remove on, Text keeps only what follows the delimiter (nothing when there is none).
MD5B64_API std::string CutAtDelimiter(std::string& Text, std::size_t Pos,
                                      std::size_t DelimiterLength, bool Remove);

/// Value rotated left by Count bits, Count taken modulo 32.
constexpr std::uint32_t RotateLeft32(std::uint32_t Value, unsigned Count) noexcept {
  return std::rotl(Value, static_cast<int>(Count & 31U));
}

/// A stream that shows bytes it does not own and never changes them: writing stores
/// nothing and reports 0 bytes written.
class MD5B64_API TIdReadMemoryStream final : public TCustomMemoryStream {
public:
  TIdReadMemoryStream() = default;
  TIdReadMemoryStream(const void* Ptr, std::int64_t Length) { AttachText(Ptr, Length); }

  /// Shows exactly Length bytes at Ptr, with the position at 0.
  void AttachText(const void* Ptr, std::int64_t Length) {
    SetPointer(Ptr, Length);
    Seek(0, TSeekOrigin::soBeginning);
  }
  std::int32_t Write(const void*, std::int32_t) override { return 0; }
};

} // namespace md5b64

#endif
