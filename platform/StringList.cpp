// SPDX-License-Identifier: MIT
#include "platform/StringList.h"

#include "platform/SysUtils.h"

namespace md5b64 {

void TStringList::RaiseIndexError(std::size_t Index) {
  throw EListError(static_cast<long long>(Index));
}

void TStringList::Compact() noexcept {
  FItems.erase(FItems.begin(), FItems.begin() + static_cast<std::ptrdiff_t>(FHead));
  FHead = 0;
}

} // namespace md5b64
