// SPDX-License-Identifier: MIT
// Ordered lists of texts: the abstract TStrings and the unsorted TStringList behind it.
#ifndef MD5B64_PLATFORM_STRINGLIST_H
#define MD5B64_PLATFORM_STRINGLIST_H

#include "md5b64/Export.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace md5b64 {

/// An ordered list of texts. Indices count from 0; an index outside the list raises
/// EListError.
class MD5B64_API TStrings {
public:
  TStrings() = default;
  TStrings(const TStrings&) = default;
  TStrings& operator=(const TStrings&) = default;
  virtual ~TStrings() = default;

  virtual std::size_t Count() const noexcept = 0;
  /// The text at Index.
  virtual const std::string& Strings(std::size_t Index) const = 0;
  /// Appends S at the end and returns its index.
  virtual std::size_t Add(std::string S) = 0;
  /// Removes the text at Index.
  virtual void Delete(std::size_t Index) = 0;
  virtual void Clear() noexcept = 0;

  bool IsEmpty() const noexcept { return Count() == 0; }
};

/// TStrings kept in the order of adding. Removing from the front is cheap, which the
/// coders' output queues rely on: the texts before FHead are gone, and their places are
/// given back when the list empties or they outnumber the texts still held. The operations
/// are defined here so that a caller that holds a TStringList itself (a coder's queue) gets
/// them inline.
class MD5B64_API TStringList final : public TStrings {
public:
  std::size_t Count() const noexcept override { return FItems.size() - FHead; }
  const std::string& Strings(std::size_t Index) const override {
    CheckIndex(Index);
    return FItems[FHead + Index];
  }
  std::size_t Add(std::string S) override {
    FItems.push_back(std::move(S));
    return Count() - 1;
  }
  void Delete(std::size_t Index) override {
    CheckIndex(Index);
    if (Index > 0) {
      FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(FHead + Index));
      return;
    }
    // The text's bytes go now; its place goes with the others'.
    std::string().swap(FItems[FHead]);
    if (++FHead == FItems.size())
      Clear();
    else if (FHead >= 16 && 2 * FHead >= FItems.size())
      Compact();
  }
  void Clear() noexcept override {
    FItems.clear();
    FHead = 0;
  }

  /// Removes the text at Index and returns it without copying its bytes.
  std::string Extract(std::size_t Index) {
    CheckIndex(Index);
    std::string S = std::move(FItems[FHead + Index]);
    Delete(Index);
    return S;
  }

private:
  void CheckIndex(std::size_t Index) const {
    if (Index >= Count())
      RaiseIndexError(Index);
  }
  [[noreturn]] static void RaiseIndexError(std::size_t Index);
  // Gives back the places of the texts removed from the front.
  void Compact() noexcept;

  std::vector<std::string> FItems;
  std::size_t FHead = 0;
};

} // namespace md5b64

#endif
