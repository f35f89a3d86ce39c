// IdCoderMIME: Base64 with the MIME alphabet and "=" as pad character (RFC 4648, section 4).
#ifndef MD5B64_CODERS_IDCODERMIME_H
#define MD5B64_CODERS_IDCODERMIME_H

#include "coders/IdCoder3to4.h"

#include <string>
#include <string_view>

namespace md5b64 {

/// The 64 characters of the MIME alphabet.
inline constexpr std::string_view MimeAlphabetChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

/// The process-wide MIME alphabet; emptied by the module's shutdown step.
extern std::string MimeAlphabet;

/// Start-up step of IdCoderMIME.
void InitializeIdCoderMIME();
/// Shutdown step of IdCoderMIME: empties MimeAlphabet.
void FinalizeIdCoderMIME();

/// The Base64 encoder: CodingTable is a copy of MimeAlphabet and FillChar is "=".
class TIdEncoderMIME : public TIdEncoder3to4 {
public:
  explicit TIdEncoderMIME(TComponent* AOwner = nullptr);
};

} // namespace md5b64

#endif
