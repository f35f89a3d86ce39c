// SPDX-License-Identifier: MIT
// The lines of a checksum list: which digest they give for which name.
#ifndef MD5B64_FRONT_END_SUMCHECK_H
#define MD5B64_FRONT_END_SUMCHECK_H

#include <optional>
#include <string>
#include <string_view>

namespace md5b64 {

/// What a list line says: the digest as written and the (unescaped) name.
struct TCheckLine {
  std::string Digest;
  std::string Name;
};

/// Tells whether Text has the form of a digest for the list at hand: 32 hex digits or 24
/// Base64 characters, or with ETags an ETag (32 hex digits, optionally "-" and a count).
using TDigestSyntax = bool (*)(std::string_view Text);

/// Reads lists line by line. One reader serves a whole run: once a line has shown whether
/// untagged lines put one space or a space and a marker between digest and name, later
/// lines must do the same, so that a name cannot gain or lose a leading space or "*".
class TCheckLineReader {
public:
  explicit TCheckLineReader(TDigestSyntax Syntax) noexcept : FSyntax(Syntax) {}

  /// Line without its line end (LF, or CR LF). Nothing when it is not well formed: it must
  /// be "DIGEST  NAME", "DIGEST *NAME" or "MD5 (NAME) = DIGEST", preceded by "\" when the
  /// name is escaped, after any spaces and tabs.
  std::optional<TCheckLine> Read(std::string_view Line);

private:
  enum class TSeparator { Unknown, Marker, SingleSpace };
  TDigestSyntax FSyntax;
  TSeparator FSeparator = TSeparator::Unknown;
};

/// The digest syntaxes of the two kinds of list.
bool IsDigestSyntax(std::string_view Text) noexcept;
bool IsETagSyntax(std::string_view Text) noexcept;

} // namespace md5b64

#endif
