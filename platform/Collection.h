// SPDX-License-Identifier: MIT
// Collections: an ordered list of items of one class, which the collection creates and owns.
#ifndef MD5B64_PLATFORM_COLLECTION_H
#define MD5B64_PLATFORM_COLLECTION_H

#include "md5b64/Export.h"

#include <concepts>
#include <cstddef>
#include <memory>
#include <vector>

namespace md5b64 {

class TCollection;

/// One item of a TCollection. Items are created empty by their collection's Add and are
/// freed with it (or by its Delete or Clear); an item made outside a collection belongs to
/// no collection.
class MD5B64_API TCollectionItem {
public:
  TCollectionItem() = default;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;
  virtual ~TCollectionItem() = default;

  /// The collection that holds the item, or none.
  TCollection* Collection() const noexcept { return FCollection; }
  /// The item's position in its collection, from 0. Raises EListError for an item that
  /// belongs to no collection.
  std::size_t Index() const;

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
};

/// A new, empty item of class T: the factory that TCollectionItemClass::Of<T> refers to. At
/// namespace scope, since g++ keeps a member template hidden in a shared library whatever
/// its mark, and the references compare the factory's address.
template <class T> MD5B64_SHARED_ADDRESS std::unique_ptr<TCollectionItem> CreateCollectionItem() {
  return std::make_unique<T>();
}

/// A class reference for collection items: it creates a new, empty item of its class.
class MD5B64_API TCollectionItemClass final {
public:
  /// The reference to item class T.
  template <std::derived_from<TCollectionItem> T>
  static constexpr TCollectionItemClass Of() noexcept {
    return TCollectionItemClass(&CreateCollectionItem<T>);
  }

  /// A new item of the class, with default values.
  std::unique_ptr<TCollectionItem> Create() const { return FCreate(); }

  friend bool operator==(const TCollectionItemClass&, const TCollectionItemClass&) = default;

private:
  using TFactory = std::unique_ptr<TCollectionItem> (*)();

  constexpr explicit TCollectionItemClass(TFactory Factory) noexcept : FCreate(Factory) {}

  TFactory FCreate;
};

/// An ordered list of items of one item class, kept in the order of adding. The collection
/// owns its items and frees them with itself. Indices count from 0; an index outside the
/// list raises EListError.
class MD5B64_API TCollection {
public:
  explicit TCollection(TCollectionItemClass ItemClass) noexcept : FItemClass(ItemClass) {}
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;
  /// Frees every item.
  virtual ~TCollection();

  TCollectionItemClass ItemClass() const noexcept { return FItemClass; }
  std::size_t Count() const noexcept { return FItems.size(); }
  /// The item at Index.
  TCollectionItem& Items(std::size_t Index) const;

  /// Appends a new, empty item of ItemClass and returns it.
  TCollectionItem& Add();
  /// Frees the item at Index; the items after it move up by one.
  void Delete(std::size_t Index);
  /// Frees every item.
  void Clear() noexcept;

private:
  friend class TCollectionItem;
  void CheckIndex(std::size_t Index) const;

  TCollectionItemClass FItemClass;
  std::vector<std::unique_ptr<TCollectionItem>> FItems;
};

} // namespace md5b64

#endif
