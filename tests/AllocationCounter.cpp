// SPDX-License-Identifier: MIT
// Replaces the global operator new and delete of the test executable with counting ones.
// The array, nothrow and sized forms of the standard library forward to these two.
#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::int64_t> Live{0};

} // namespace

namespace md5b64::test {

std::int64_t LiveAllocations() noexcept {
  return Live.load();
}

} // namespace md5b64::test

void* operator new(std::size_t Size) {
  // A request for 0 bytes must still give a distinct block.
  void* Block = std::malloc(Size == 0 ? 1 : Size);
  if (Block == nullptr)
    throw std::bad_alloc();
  ++Live;
  return Block;
}

void operator delete(void* Block) noexcept {
  if (Block == nullptr)
    return;
  --Live;
  std::free(Block);
}

void operator delete(void* Block, std::size_t) noexcept {
  ::operator delete(Block);
}
