// SPDX-License-Identifier: MIT
// CodingResult: the names of the coding error kinds, and the error raised for them.
#include "coders/CodingResult.h"

#include <string>

namespace md5b64 {

const char* CodingErrorName(TCodingError Error) noexcept {
  switch (Error) {
  case TCodingError::None:
    return "no error";
  case TCodingError::InvalidCharacter:
    return "invalid character";
  case TCodingError::Truncated:
    return "truncated text";
  case TCodingError::MisplacedPad:
    return "misplaced pad";
  case TCodingError::NonCanonical:
    return "non-canonical text";
  case TCodingError::BufferTooSmall:
    return "buffer too small";
  }
  return "unknown error";
}

void RaiseCodingError(const TCodingResult& Result, std::string_view Coding) {
  // "Invalid character at position 5 of the hex text.", "Buffer too small for hex: 32 needed."
  std::string Message = CodingErrorName(Result.Error);
  Message[0] = static_cast<char>(Message[0] - 'a' + 'A');
  if (Result.Error == TCodingError::BufferTooSmall)
    Message += " for " + std::string(Coding) + ": " + std::to_string(Result.Position) + " needed.";
  else
    Message += " at position " + std::to_string(Result.Position) + " of the " +
               std::string(Coding) + " text.";
  throw EIdCodingError(Result.Error, Result.Position, std::move(Message));
}

} // namespace md5b64
