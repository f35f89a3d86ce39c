// Uses the installed coding library: prints the Base64 form of a text, then the Base64 form
// of the text's MD5 digest, each on a line of its own.
#include "coders/CodingModules.h"
#include "coders/IdCoderMIME.h"
#include "coders/IdCoderMessageDigest.h"
#include "platform/Modules.h"

#include <exception>
#include <iostream>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
  const std::string_view Text = argc > 1 ? argv[1] : "abc";
  try {
    // The coders rely on process-wide tables that the library's modules set up.
    md5b64::TModuleSequence Modules(md5b64::CodingModules());
    Modules.Start();
    {
      md5b64::TIdEncoderMIME Encoder;
      std::cout << Encoder.EncodeText(Text) << '\n';

      md5b64::TIdCoderMD5 Coder;
      Coder.Reset();
      Coder.FeedText(Text);
      // FinishInput returns the entry "0;" followed by the 16 digest bytes.
      const std::string Entry = Coder.FinishInput();
      std::cout << Encoder.EncodeText(std::string_view(Entry).substr(2)) << '\n';
    }
    Modules.Stop();
  } catch (const std::exception& E) {
    std::cerr << "md5b64_example: " << E.what() << '\n';
    return 1;
  }
  return std::cout.flush() ? 0 : 1;
}
