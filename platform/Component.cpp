// SPDX-License-Identifier: MIT
#include "platform/Component.h"

#include "platform/SysUtils.h"

#include <algorithm>

namespace md5b64 {

TComponent::TComponent(TComponent* Owner) : FOwner(Owner) {
  if (FOwner != nullptr)
    FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() {
  // Owned components remove themselves from FComponents as they go, so take from the back.
  while (!FComponents.empty()) {
    TComponent* Child = FComponents.back();
    FComponents.pop_back();
    Child->FOwner = nullptr;
    delete Child;
  }
  if (FOwner != nullptr) {
    auto& Siblings = FOwner->FComponents;
    Siblings.erase(std::remove(Siblings.begin(), Siblings.end(), this), Siblings.end());
  }
}

TComponent* TComponent::Components(std::size_t Index) const {
  if (Index >= FComponents.size())
    throw EListError(static_cast<long long>(Index));
  return FComponents[Index];
}

} // namespace md5b64
