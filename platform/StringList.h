// Ordered lists of texts: the abstract TStrings and the unsorted TStringList behind it.
#ifndef MD5B64_PLATFORM_STRINGLIST_H
#define MD5B64_PLATFORM_STRINGLIST_H

#include <cstddef>
#include <deque>
#include <string>

namespace md5b64 {

/// An ordered list of texts. Indices count from 0; an index outside the list raises
/// EListError.
class TStrings {
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
/// coders' output queues rely on.
class TStringList : public TStrings {
public:
  std::size_t Count() const noexcept override { return FItems.size(); }
  const std::string& Strings(std::size_t Index) const override;
  std::size_t Add(std::string S) override;
  void Delete(std::size_t Index) override;
  void Clear() noexcept override { FItems.clear(); }

  /// Removes the text at Index and returns it without copying its bytes.
  std::string Extract(std::size_t Index);

private:
  void CheckIndex(std::size_t Index) const;

  std::deque<std::string> FItems;
};

} // namespace md5b64

#endif
