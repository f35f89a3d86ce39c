#include "coders/IdCoderMIME.h"

namespace md5b64 {

std::string MimeAlphabet(MimeAlphabetChars);

void InitializeIdCoderMIME() {
  // The alphabet holds its value from program start; setting it again lets a process that
  // shut the module down start it once more.
  MimeAlphabet = MimeAlphabetChars;
}

void FinalizeIdCoderMIME() {
  MimeAlphabet.clear();
}

TIdEncoderMIME::TIdEncoderMIME(TComponent* AOwner) : TIdEncoder3to4(AOwner) {
  FCodingTable = MimeAlphabet;
  FFillChar = '=';
}

} // namespace md5b64
