// POSIX hands the arguments over already split: they are taken byte for byte.
#include "platform/CommandLine.h"

namespace md5b64 {

namespace {

int ArgumentCount = 0;
char** Arguments = nullptr;

} // namespace

void SetProgramArguments(int ArgCount, char** Args) noexcept {
  ArgumentCount = ArgCount;
  Arguments = Args;
}

std::string ParamStr(int Index) {
  if (Index < 0 || Index >= ArgumentCount || Arguments == nullptr || Arguments[Index] == nullptr)
    return {};
  return Arguments[Index];
}

} // namespace md5b64
