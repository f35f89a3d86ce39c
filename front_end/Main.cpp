// md5b64: prints the Base64 form of the MD5 digest of its first argument.
#include "front_end/DigestPrinter.h"

int main(int argc, char** argv) {
  return md5b64::RunDigestPrinter(argc, argv);
}
