#include "coders/IdCoderMIME.h"

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

TIdEncoderMIME::TIdEncoderMIME(TComponent* AOwner) : TIdEncoder3to4(AOwner) {
  FCodingTable = MimeAlphabet;
  FFillChar = '=';
}

TIdDecoderMIME::TIdDecoderMIME(TComponent* AOwner) : TIdDecoder4to3(AOwner) {
  FDecodeTable = MimeDecodeTable;
  FFillChar = '=';
}

} // namespace md5b64
