// SPDX-License-Identifier: MIT
// Component base: an object created with an optional owner, which frees what it owns.
#ifndef MD5B64_PLATFORM_COMPONENT_H
#define MD5B64_PLATFORM_COMPONENT_H

#include "md5b64/Export.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace md5b64 {

/// Base of the coders, encoders and decoders. A component created with an owner is
/// destroyed by that owner unless it is destroyed first, in which case it leaves the
/// owner's list. A component created with no owner is destroyed by whoever created it.
/// A smart pointer that holds an owned component must give it up (release) before the owner
/// goes, or the component would be freed twice.
class MD5B64_API TComponent {
public:
  explicit TComponent(TComponent* Owner = nullptr);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  virtual ~TComponent();

  TComponent* Owner() const noexcept { return FOwner; }
  std::size_t ComponentCount() const noexcept { return FComponents.size(); }
  TComponent* Components(std::size_t Index) const;

  /// Runs just before the object is destroyed through FreeAndNil; may raise, and the
  /// object is destroyed all the same.
  virtual void BeforeDestruction() {}

private:
  TComponent* FOwner;
  std::vector<TComponent*> FComponents;
};

/// The common base of the coding library's components; it adds nothing.
class MD5B64_API TIdBaseComponent : public TComponent {
public:
  using TComponent::TComponent;
};

/// Empties Holder first, then runs BeforeDestruction and destroys the object. A failure
/// raised by BeforeDestruction reaches the caller after the object is gone.
template <class T> void FreeAndNil(std::unique_ptr<T>& Holder) {
  std::unique_ptr<T> Object = std::move(Holder);
  if (Object)
    Object->BeforeDestruction();
}

} // namespace md5b64

#endif
