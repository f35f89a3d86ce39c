// SPDX-License-Identifier: MIT
#include "platform/ResStrings.h"

#include <cstddef>

namespace md5b64 {

namespace {

constexpr const char* StringTable[] = {
#define MD5B64_RES_STRING_TEXT(Id, Text) Text,
    MD5B64_RES_STRINGS(MD5B64_RES_STRING_TEXT)
#undef MD5B64_RES_STRING_TEXT
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
