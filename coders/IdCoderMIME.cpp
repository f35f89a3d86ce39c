// SPDX-License-Identifier: MIT
#include "coders/IdCoderMIME.h"

#include "platform/ResStrings.h"

namespace md5b64 {

constinit TFixedText<MimeAlphabetChars.size()> MimeAlphabet(MimeAlphabetChars);

constinit TIdDecodeTable MimeDecodeTable = [] {
  TIdDecodeTable Table;
  Table.fill(TIdDecoder4to3::NotInAlphabet);
  return Table;
}();

void InitializeIdCoderMIME() {
  // The alphabet holds its value from program start; setting it again lets a process that
  // shut the module down start it once more.
  MimeAlphabet = MimeAlphabetChars;
  TIdDecoder4to3::BuildDecodeTable(MimeAlphabet, MimeDecodeTable);
}

void FinalizeIdCoderMIME() {
  MimeAlphabet.clear();
}

// A coder made before start-up would copy empty tables and reject every text with a
// misleading message; it is refused instead, saying why.
[[noreturn]] static void RaiseNotStarted(std::string_view ClassName) {
  throw EIdException(FormatResString(TResString::CodingNotStarted, {ClassName}));
}

TIdEncoderMIME::TIdEncoderMIME(TComponent* Owner) : TIdEncoder3to4(Owner) {
  if (MimeAlphabet.empty())
    RaiseNotStarted("TIdEncoderMIME");
  FCodingTable = MimeAlphabet;
  FFillChar = '=';
}

TIdDecoderMIME::TIdDecoderMIME(TComponent* Owner) : TIdDecoder4to3(Owner) {
  // Shutdown leaves the table built, so only a table never built is refused.
  if (MimeDecodeTable[static_cast<std::size_t>(MimeAlphabetChars[0]) - 1] ==
      TIdDecoder4to3::NotInAlphabet)
    RaiseNotStarted("TIdDecoderMIME");
  FDecodeTable = MimeDecodeTable;
  FFillChar = '=';
}

} // namespace md5b64
