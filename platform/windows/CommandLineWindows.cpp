// Windows hands a program its command line as one string; the arguments are split from it
// here, by the same rules on every run, rather than by the C runtime.
#include "platform/CommandLine.h"

#include <windows.h>

namespace md5b64 {

void SetProgramArguments(int, char**) noexcept {
  // The C runtime's argv is its own split of the command line (with its own quoting rules,
  // and wildcard expansion where enabled); ParamStr never uses it.
}

std::string ParamStr(int Index) {
  // GetCommandLineA gives the line in the ANSI code page, the same page whose lead bytes
  // step the characters.
  const char* Line = GetCommandLineA();
  if (Line == nullptr)
    return {};
  return GetParamFromCommandLine(Line, Index, &SystemIsLeadByte);
}

} // namespace md5b64
