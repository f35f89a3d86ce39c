#include "platform/StringList.h"

#include "platform/SysUtils.h"

#include <iterator>
#include <utility>

namespace md5b64 {

void TStringList::CheckIndex(std::size_t Index) const {
  if (Index >= FItems.size())
    throw EListError(static_cast<long long>(Index));
}

const std::string& TStringList::Strings(std::size_t Index) const {
  CheckIndex(Index);
  return FItems[Index];
}

std::size_t TStringList::Add(std::string S) {
  FItems.push_back(std::move(S));
  return FItems.size() - 1;
}

void TStringList::Delete(std::size_t Index) {
  CheckIndex(Index);
  if (Index == 0)
    FItems.pop_front();
  else
    FItems.erase(std::next(FItems.begin(), static_cast<std::ptrdiff_t>(Index)));
}

std::string TStringList::Extract(std::size_t Index) {
  CheckIndex(Index);
  std::string S = std::move(FItems[Index]);
  Delete(Index);
  return S;
}

} // namespace md5b64
