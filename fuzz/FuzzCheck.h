// SPDX-License-Identifier: MIT
// What the fuzzers share: a check that ends the run with a message, which libFuzzer then
// records as a crash with the input that caused it, and bytes in a block of their exact size.
#ifndef MD5B64_FUZZ_FUZZCHECK_H
#define MD5B64_FUZZ_FUZZCHECK_H

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace md5b64::fuzz {

[[noreturn]] inline void Fail(const char* What, const char* File, int Line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", File, Line, What);
  std::abort();
}

/// A copy of some bytes in a heap block of exactly their size, so that the address sanitizer
/// catches a read one byte past the end (a std::string may have room behind its bytes).
class TExactBytes {
public:
  explicit TExactBytes(std::string_view Bytes)
      : FBytes(new char[Bytes.size() == 0 ? 1 : Bytes.size()]), FSize(Bytes.size()) {
    if (FSize != 0)
      std::memcpy(FBytes.get(), Bytes.data(), FSize);
  }
  std::string_view View() const noexcept { return {FBytes.get(), FSize}; }

private:
  std::unique_ptr<char[]> FBytes;
  std::size_t FSize;
};

} // namespace md5b64::fuzz

#define MD5B64_FUZZ_CHECK(Condition)                                                               \
  ((Condition) ? static_cast<void>(0) : ::md5b64::fuzz::Fail(#Condition, __FILE__, __LINE__))

#endif
