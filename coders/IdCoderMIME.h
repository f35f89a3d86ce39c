// SPDX-License-Identifier: MIT
// IdCoderMIME: Base64 with the MIME alphabet and "=" as pad character (RFC 4648, section 4).
#ifndef MD5B64_CODERS_IDCODERMIME_H
#define MD5B64_CODERS_IDCODERMIME_H

#include "md5b64/Export.h"

#include "coders/IdCoder3to4.h"
#include "platform/FixedText.h"

#include <string>
#include <string_view>

namespace md5b64 {

/// The 64 characters of the MIME alphabet.
inline constexpr std::string_view MimeAlphabetChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

/// The process-wide MIME alphabet; emptied by the module's shutdown step. Held in place and
/// set at compile time, so that nothing is allocated before main.
extern MD5B64_API constinit TFixedText<MimeAlphabetChars.size()> MimeAlphabet;

/// The reverse table of MimeAlphabet, built by the module's start-up step and kept from
/// then on. Before start-up every entry is NotInAlphabet, so nothing decodes.
extern MD5B64_API TIdDecodeTable MimeDecodeTable;

/// Start-up step of IdCoderMIME: sets MimeAlphabet and builds MimeDecodeTable from it.
MD5B64_API void InitializeIdCoderMIME();
/// Shutdown step of IdCoderMIME: empties MimeAlphabet and leaves MimeDecodeTable alone.
MD5B64_API void FinalizeIdCoderMIME();

/// The Base64 encoder: CodingTable is a copy of MimeAlphabet and FillChar is "=".
class MD5B64_API TIdEncoderMIME : public TIdEncoder3to4 {
public:
  explicit TIdEncoderMIME(TComponent* Owner = nullptr);
};

/// The Base64 decoder: DecodeTable is a copy of MimeDecodeTable and FillChar is "=".
class MD5B64_API TIdDecoderMIME : public TIdDecoder4to3 {
public:
  explicit TIdDecoderMIME(TComponent* Owner = nullptr);
};

} // namespace md5b64

#endif
