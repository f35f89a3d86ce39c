// SPDX-License-Identifier: MIT
// md5b64: prints the Base64 form of the MD5 digest of its first argument.
#include "front_end/DigestPrinter.h"

#ifdef _WIN32
extern "C" {
// MinGW's C runtime reads this before main: 0 keeps it from expanding * and ? into file
// names when it builds argv. The argument is split from the command line itself anyway,
// but argv is still built, and must not touch the file system for a pattern.
int _dowildcard = 0;
}
#endif

int main(int argc, char** argv) {
  return md5b64::RunDigestPrinter(argc, argv);
}
