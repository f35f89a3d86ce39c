// SPDX-License-Identifier: MIT
// CodingResult: what the text codings (hex, the Base64 forms) report when they do not throw,
// and the error they throw otherwise.
#ifndef MD5B64_CODERS_CODINGRESULT_H
#define MD5B64_CODERS_CODINGRESULT_H

#include "coders/IdCoder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace md5b64 {

/// Why a text could not be coded. Positions are byte offsets into the input text.
enum class TCodingError : std::uint8_t {
  None,
  /// A character outside the coding's alphabet (whitespace included where it is not allowed).
  InvalidCharacter,
  /// The text ends inside a group: an odd number of hex digits, a lone last Base64 character,
  /// or a group without the padding the form requires.
  Truncated,
  /// A pad character where none may stand, or data after the pads.
  MisplacedPad,
  /// The bits after the last whole byte of a Base64 text are not all zero: another text
  /// decodes to the same bytes, and a strict decoder accepts only the canonical one.
  NonCanonical,
  /// The caller's buffer is smaller than the result.
  BufferTooSmall,
};

/// The outcome of a non-throwing coding call: the error and where it stands, or success and
/// the number of bytes or characters written.
struct TCodingResult {
  TCodingError Error = TCodingError::None;
  /// Offset into the input of the first offending character (or its end for Truncated);
  /// for BufferTooSmall, the size the buffer needs.
  std::size_t Position = 0;
  /// Bytes or characters written on success.
  std::size_t Size = 0;

  bool Ok() const noexcept { return Error == TCodingError::None; }
  explicit operator bool() const noexcept { return Ok(); }
};

/// A short English name of the error kind ("invalid character", ...).
const char* CodingErrorName(TCodingError Error) noexcept;

/// Raised by the throwing forms; carries the kind and position as well as the message.
class EIdCodingError : public EIdException {
public:
  EIdCodingError(TCodingError Kind, std::size_t Position, std::string Message)
      : EIdException(std::move(Message)), FKind(Kind), FPosition(Position) {}
  const char* ClassName() const noexcept override { return "EIdCodingError"; }

  TCodingError Kind() const noexcept { return FKind; }
  std::size_t Position() const noexcept { return FPosition; }

private:
  TCodingError FKind;
  std::size_t FPosition;
};

/// Raises EIdCodingError for the failed Result, with a message naming the kind, the coding
/// (Coding, such as "hex") and the position or, for BufferTooSmall, the size needed.
[[noreturn]] void RaiseCodingError(const TCodingResult& Result, std::string_view Coding);

} // namespace md5b64

#endif
