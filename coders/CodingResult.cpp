// SPDX-License-Identifier: MIT
// CodingResult: the names of the coding error kinds.
#include "coders/CodingResult.h"

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
  case TCodingError::MisplacedLineBreak:
    return "misplaced line break";
  }
  return "unknown error";
}

} // namespace md5b64
