// SPDX-License-Identifier: MIT
// Windows hands a program its command line as one string; the arguments are split from it
// here, by the same rules on every run, rather than by the C runtime.
#include "platform/CommandLine.h"
#include "platform/internal/OsCodePage.h"
#include "platform/internal/OsCommandLine.h"

#include <windows.h>

namespace md5b64 {

std::string OsParamStr(int Index, const TProgramArguments&) {
  // The C runtime's argv is its own split of the command line (with its own quoting rules,
  // and wildcard expansion where enabled), so it is not used. GetCommandLineA gives the
  // line in the ANSI code page, the same page whose lead bytes step the characters.
  const char* Line = GetCommandLineA();
  if (Line == nullptr)
    return {};
  return GetParamFromCommandLine(Line, Index, &OsIsLeadByte);
}

} // namespace md5b64
