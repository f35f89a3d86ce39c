// SPDX-License-Identifier: MIT
// Counts the blocks that the global operator new hands out and operator delete takes back,
// so that a test can tell whether a piece of code frees all it allocates.
#ifndef MD5B64_TESTS_ALLOCATIONCOUNTER_H
#define MD5B64_TESTS_ALLOCATIONCOUNTER_H

#include <cstdint>

namespace md5b64::test {

/// Blocks allocated through the global operator new and not yet freed, process-wide.
std::int64_t LiveAllocations() noexcept;

} // namespace md5b64::test

#endif
