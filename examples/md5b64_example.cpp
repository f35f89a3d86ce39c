// SPDX-License-Identifier: MIT
// Uses the installed coding library: prints the Base64 form of a text, then the Base64 form
// of the text's MD5 digest, each on a line of its own.
#include "coders/CodingModules.h"
#include "coders/ContentMD5.h"
#include "coders/IdCoderMIME.h"
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

      // The Base64 of the MD5 digest takes one call, which needs no start-up.
      std::cout << md5b64::ContentMD5(Text) << '\n';
    }
    Modules.Stop();
  } catch (const std::exception& E) {
    std::cerr << "md5b64_example: " << E.what() << '\n';
    return 1;
  }
  return std::cout.flush() ? 0 : 1;
}
