// SPDX-License-Identifier: MIT
// The test vectors of RFC 4648, section 10, for the encoder's and the decoder's tests.
#ifndef MD5B64_TESTS_RFC4648VECTORS_H
#define MD5B64_TESTS_RFC4648VECTORS_H

namespace md5b64::test {

struct TRfc4648Vector {
  const char* Bytes;
  const char* Encoded;
};

inline constexpr TRfc4648Vector Rfc4648Vectors[] = {
    {"", ""},
    {"f", "Zg=="},
    {"fo", "Zm8="},
    {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="},
    {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
};

} // namespace md5b64::test

#endif
