// SPDX-License-Identifier: MIT
// What ParamStr needs of the operating system; one implementation per OS.
#ifndef MD5B64_PLATFORM_INTERNAL_OSCOMMANDLINE_H
#define MD5B64_PLATFORM_INTERNAL_OSCOMMANDLINE_H

#include "md5b64/Export.h"

#include <string>

namespace md5b64 {

/// The arguments as main received them (argv); Values may be null.
struct MD5B64_API TProgramArguments {
  int Count = 0;
  char** Values = nullptr;
};

/// Argument Index of the program, 0 being its name; the empty text when there is none.
/// Where the system delivers the arguments split, they come from Arguments; where it hands
/// over one command line, that line is split and Arguments is not used.
MD5B64_API std::string OsParamStr(int Index, const TProgramArguments& Arguments);

} // namespace md5b64

#endif
