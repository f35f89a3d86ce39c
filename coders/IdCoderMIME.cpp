#include "coders/IdCoderMIME.h"

namespace md5b64 {

std::string MimeAlphabet(MimeAlphabetChars);

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

TIdEncoderMIME::TIdEncoderMIME(TComponent* Owner) : TIdEncoder3to4(Owner) {
  FCodingTable = MimeAlphabet;
  FFillChar = '=';
}

TIdDecoderMIME::TIdDecoderMIME(TComponent* Owner) : TIdDecoder4to3(Owner) {
  FDecodeTable = MimeDecodeTable;
  FFillChar = '=';
}

} // namespace md5b64
