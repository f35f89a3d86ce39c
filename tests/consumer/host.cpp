// SPDX-License-Identifier: MIT
// A program of a host project: prints the library's version, then the Base64 form of the
// MD5 digest of its argument.
#include "coders/CodingModules.h"
#include "coders/IdCoderMIME.h"
#include "coders/IdCoderMessageDigest.h"
#include "md5b64/Version.h"
#include "platform/Modules.h"

#include <iostream>
#include <string>
#include <string_view>

static_assert(MD5B64_VERSION >= 10000, "md5b64 1.0 or later");

// The library's include path gives its public headers and nothing else of its tree.
#if !__has_include("coders/IdCoderMIME.h") || !__has_include("platform/Modules.h")
#error "the public headers are missing from md5b64::coders' include path"
#endif
#if __has_include("coders/internal/Md2Transform.h") || __has_include("front_end/DigestPrinter.h")
#error "md5b64::coders' include path reaches its internal headers or its program's"
#endif
#if __has_include("tests/TestUtil.h") || __has_include("bench/BenchInputs.h")
#error "md5b64::coders' include path is its source root"
#endif

int main(int argc, char** argv) {
  const std::string_view Text = argc > 1 ? argv[1] : "abc";
  md5b64::TModuleSequence Modules(md5b64::CodingModules());
  Modules.Start();
  md5b64::TIdCoderMD5 Coder;
  Coder.Reset();
  Coder.FeedText(Text);
  // FinishInput returns the entry "0;" followed by the 16 digest bytes.
  const std::string Entry = Coder.FinishInput();
  std::cout << MD5B64_VERSION_STRING << '\n'
            << md5b64::TIdEncoderMIME().EncodeText(std::string_view(Entry).substr(2)) << '\n';
  Modules.Stop();
  return std::cout.flush() ? 0 : 1;
}
