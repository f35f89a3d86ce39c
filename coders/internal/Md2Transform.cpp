// SPDX-License-Identifier: MIT
#include "coders/internal/Md2Transform.h"

#include "coders/IdCoderMessageDigest.h"

#include <cstddef>

namespace md5b64::internal {

namespace {

// Each step of a round is Xk ^= S[T], T = Xk: a chain of 864 dependent look-ups a block,
// each a load and an exclusive-or. Two steps in a row give
//   T' = X(k+1) ^ S[Xk ^ S[T]],
// and S[Xk ^ S[T]] is one entry of a table over the pairs (Xk, T). With it the chain holds
// one load and one exclusive-or for every two steps; the first step's own result,
// Xk ^ S[T], comes from a look-up beside the chain.
struct TPairTable {
  alignas(64) std::uint8_t Entries[256 * 256];

  TPairTable() noexcept {
    for (std::size_t A = 0; A < 256; ++A)
      for (std::size_t T = 0; T < 256; ++T)
        Entries[A * 256 + T] = PiSubstitution[A ^ PiSubstitution[T]];
  }
};

// Built on first use, so that a program that never digests with MD2 does not pay for it.
const std::uint8_t* PairTable() noexcept {
  static const TPairTable Table;
  return Table.Entries;
}

#if defined(__GNUC__) || defined(__clang__)
// Keeps Value whole in a register at this point. Without it the compiler narrows the
// chain's exclusive-or to a byte and widens it again (one more operation on every link),
// or adds the table's address to T on the chain instead of to the row beside it.
template <class T> inline void KeepWhole(T& Value) noexcept {
  __asm__("" : "+r"(Value));
}
inline void Prefetch(const void* Address) noexcept {
  __builtin_prefetch(Address);
}
#else
template <class T> inline void KeepWhole(T&) noexcept {}
inline void Prefetch(const void*) noexcept {}
#endif

// The 64 KiB table does not stay in a 32 or 48 KiB first-level cache. The row that the
// pair at place k uses in the next round is known as soon as this round has made Xk: its
// four cache lines are fetched then, a round ahead.
inline void PrefetchRow(const std::uint8_t* Table, std::size_t Value) noexcept {
  const std::uint8_t* Row = Table + (Value << 8);
  Prefetch(Row);
  Prefetch(Row + 64);
  Prefetch(Row + 128);
  Prefetch(Row + 192);
}

// Steps k and k + 1 of a round; T enters as the T of step k and leaves as Xk+1's new value.
inline void PairStep(const std::uint8_t* Table, std::uint8_t* X, std::size_t& T) noexcept {
  const std::size_t X0 = X[0];
  const std::size_t X1 = X[1];
  const std::uint8_t* Row = Table + (X0 << 8);
  KeepWhole(Row);
  const std::size_t First = X0 ^ PiSubstitution[T];
  X[0] = static_cast<std::uint8_t>(First);
  PrefetchRow(Table, First);
  std::size_t Looked = Row[T];
  KeepWhole(Looked);
  T = X1 ^ Looked;
  X[1] = static_cast<std::uint8_t>(T);
}

} // namespace

void Md2TransformPortable(std::array<std::uint8_t, 48>& X, const std::uint8_t* Block) noexcept {
  for (std::size_t J = 0; J < 16; ++J) {
    X[16 + J] = Block[J];
    X[32 + J] = static_cast<std::uint8_t>(Block[J] ^ X[J]);
  }
  std::uint8_t T = 0;
  for (std::uint8_t Round = 0; Round < 18; ++Round) {
    for (std::uint8_t& Byte : X) {
      Byte ^= PiSubstitution[T];
      T = Byte;
    }
    T = static_cast<std::uint8_t>(T + Round);
  }
}

void Md2Transform(std::array<std::uint8_t, 48>& X, const std::uint8_t* Block) noexcept {
  const std::uint8_t* Table = PairTable();
  for (std::size_t J = 0; J < 16; ++J) {
    X[16 + J] = Block[J];
    X[32 + J] = static_cast<std::uint8_t>(Block[J] ^ X[J]);
  }
  // The first round's rows: those of the state came with the last block's last round.
  for (std::size_t K = 16; K < 48; K += 2)
    PrefetchRow(Table, X[K]);
  std::size_t T = 0;
  for (std::size_t Round = 0; Round < 18; ++Round) {
    std::uint8_t* P = X.data();
    // Unknown to the compiler as the same place each round, the bytes stay in memory: held
    // in registers across the rounds, 48 of them would spill.
    KeepWhole(P);
    for (std::size_t K = 0; K < 48; K += 8) {
      PairStep(Table, P + K, T);
      PairStep(Table, P + K + 2, T);
      PairStep(Table, P + K + 4, T);
      PairStep(Table, P + K + 6, T);
    }
    T = (T + Round) & 0xFFU;
  }
}

} // namespace md5b64::internal
