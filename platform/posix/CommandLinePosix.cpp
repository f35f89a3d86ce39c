// SPDX-License-Identifier: MIT
// POSIX hands the arguments over already split: they are taken byte for byte.
#include "platform/internal/OsCommandLine.h"

namespace md5b64 {

std::string OsParamStr(int Index, const TProgramArguments& Arguments) {
  if (Index < 0 || Index >= Arguments.Count || Arguments.Values == nullptr)
    return {};
  const char* Argument = Arguments.Values[Index];
  return Argument == nullptr ? std::string() : std::string(Argument);
}

} // namespace md5b64
