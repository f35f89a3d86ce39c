#include "platform/ResStrings.h"

#include <array>
#include <cstddef>

namespace md5b64 {

namespace {

constexpr std::array<const char*, 8> StringTable = {
    "Range check error",      "Stream read error",
    "Stream write error",     "Abstract Error",
    "Out of memory",          "I/O error %d",
    "Uneven size in Encode.", "List index out of bounds (%d)",
};

} // namespace

const char* LoadResString(TResString Id) {
  return StringTable[static_cast<std::size_t>(Id)];
}

std::string FormatResString(TResString Id, long long Number) {
  std::string Text = LoadResString(Id);
  const std::size_t At = Text.find("%d");
  if (At != std::string::npos)
    Text.replace(At, 2, std::to_string(Number));
  return Text;
}

} // namespace md5b64
