// SPDX-License-Identifier: MIT
#include "platform/Collection.h"

#include "platform/SysUtils.h"

#include <algorithm>
#include <iterator>

namespace md5b64 {

std::size_t TCollectionItem::Index() const {
  if (FCollection == nullptr)
    throw EListError(-1);
  const auto& Items = FCollection->FItems;
  const auto At = std::find_if(Items.begin(), Items.end(),
                               [this](const auto& Item) { return Item.get() == this; });
  return static_cast<std::size_t>(std::distance(Items.begin(), At));
}

TCollection::~TCollection() {
  Clear();
}

void TCollection::CheckIndex(std::size_t Index) const {
  if (Index >= FItems.size())
    throw EListError(static_cast<long long>(Index));
}

TCollectionItem& TCollection::Items(std::size_t Index) const {
  CheckIndex(Index);
  return *FItems[Index];
}

TCollectionItem& TCollection::Add() {
  std::unique_ptr<TCollectionItem> Item = FItemClass.Create();
  Item->FCollection = this;
  FItems.push_back(std::move(Item));
  return *FItems.back();
}

void TCollection::Delete(std::size_t Index) {
  CheckIndex(Index);
  FItems.erase(std::next(FItems.begin(), static_cast<std::ptrdiff_t>(Index)));
}

void TCollection::Clear() noexcept {
  FItems.clear();
}

} // namespace md5b64
