// Collections: an ordered list of items of one class, which the collection creates and owns.
#ifndef MD5B64_PLATFORM_COLLECTION_H
#define MD5B64_PLATFORM_COLLECTION_H

#include <concepts>
#include <cstddef>
#include <memory>
#include <vector>

namespace md5b64 {

class TCollection;

/// One item of a TCollection. Items are created empty by their collection's Add and are
/// freed with it (or by its Delete or Clear); an item made outside a collection belongs to
/// no collection.
class TCollectionItem {
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

/// A class reference for collection items: it creates a new, empty item of its class.
class TCollectionItemClass final {
public:
  /// The reference to item class T.
  template <std::derived_from<TCollectionItem> T>
  static constexpr TCollectionItemClass Of() noexcept {
    return TCollectionItemClass(&CreateItem<T>);
  }

  /// A new item of the class, with default values.
  std::unique_ptr<TCollectionItem> Create() const { return FCreate(); }

  friend bool operator==(const TCollectionItemClass&, const TCollectionItemClass&) = default;

private:
  using TFactory = std::unique_ptr<TCollectionItem> (*)();

  template <class T> static std::unique_ptr<TCollectionItem> CreateItem() {
    return std::make_unique<T>();
  }

  constexpr explicit TCollectionItemClass(TFactory Factory) noexcept : FCreate(Factory) {}

  TFactory FCreate;
};

/// An ordered list of items of one item class, kept in the order of adding. The collection
/// owns its items and frees them with itself. Indices count from 0; an index outside the
/// list raises EListError.
class TCollection {
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
