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

/// Returns the part of AText before the first Delim, found with SearchText; with ARemove
/// on, AText keeps only what follows that Delim. Without a Delim the head is the whole
/// text (and AText becomes empty when ARemove is on). ACaseSensitive off compares ASCII
/// letters without regard to case.
MD5B64_API std::string SplitHead(std::string& AText, std::string_view Delim, bool ARemove = true,
                                 bool ACaseSensitive = true);

/// Cuts AText at the 1-based position Pos of a delimiter DelimLength bytes long and returns
/// the part before it; Pos 0 means no delimiter, and the head is then the whole text. With
/// ARemove on, AText keeps only what follows the delimiter (nothing when there is none).
MD5B64_API std::string CutAtDelimiter(std::string& AText, std::size_t Pos, std::size_t DelimLength,
                                      bool ARemove);

/// Value rotated left by Count bits, Count taken modulo 32.
constexpr std::uint32_t RotateLeft32(std::uint32_t Value, unsigned Count) noexcept {
  return std::rotl(Value, static_cast<int>(Count & 31U));
}

/// A stream that shows bytes it does not own and never changes them: writing stores
/// nothing and reports 0 bytes written.
class MD5B64_API TIdReadMemoryStream : public TCustomMemoryStream {
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
