#include "platform/ResStrings.h"

#include <array>
#include <cstddef>

namespace md5b64 {

namespace {

constexpr std::array<const char*, 14> StringTable = {
    "Range check error",
    "Stream read error",
    "Stream write error",
    "Abstract Error",
    "Out of memory",
    "I/O error %d",
    "Uneven size in Encode.",
    "List index out of bounds (%d)",
    "Character with code %s at position %s is not in the coding alphabet.",
    "Pad character at position %s is not followed by another pad.",
    "The coder registry has not been created.",
    "The coder registry entry has no coder class.",
    "No coder is registered as \"%s\" with direction %s.",
    "The coding modules are not started: %s needs the tables their start-up builds.",
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

std::string FormatResString(TResString Id, std::initializer_list<std::string_view> Args) {
  std::string Text = LoadResString(Id);
  std::size_t From = 0;
  for (const std::string_view Arg : Args) {
    const std::size_t At = Text.find("%s", From);
    if (At == std::string::npos)
      break;
    Text.replace(At, 2, Arg);
    // An argument that itself holds "%s" is not formatted again.
    From = At + Arg.size();
  }
  return Text;
}

} // namespace md5b64
