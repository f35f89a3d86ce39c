// SPDX-License-Identifier: MIT
// Reading files through the C runtime's descriptors in binary mode. Names are the bytes of
// the command line in the ANSI code page, as the runtime's narrow functions take them.
#include "platform/internal/OsFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace md5b64 {

void OsUseBinaryStdio() noexcept {
  // Text mode would turn CR LF into LF on input and stop at a Ctrl-Z byte.
  _setmode(0, _O_BINARY);
  _setmode(1, _O_BINARY);
}

int OsOpenInputFile(const std::string& Name, TOsInputFile& File) noexcept {
  // Windows refuses to open a directory with "Permission denied"; the name is looked at
  // first so that the reason reads as it does elsewhere.
  struct _stat64 Info;
  if (_stat64(Name.c_str(), &Info) == 0 && (Info.st_mode & _S_IFDIR) != 0)
    return EISDIR;
  const int Descriptor = _open(Name.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (Descriptor < 0)
    return errno;
  File.FDescriptor = Descriptor;
  File.FOwned = true;
  return 0;
}

TOsInputFile OsStdInFile() noexcept {
  return TOsInputFile{0, false};
}

int OsReadInputFile(TOsInputFile& File, char* Data, std::size_t Count, std::size_t& Got) noexcept {
  // _read takes an unsigned int count.
  const unsigned Chunk = Count > 0x40000000u ? 0x40000000u : static_cast<unsigned>(Count);
  const int Read = _read(File.FDescriptor, Data, Chunk);
  if (Read < 0)
    return errno;
  Got = static_cast<std::size_t>(Read);
  return 0;
}

void OsCloseInputFile(TOsInputFile& File) noexcept {
  if (File.FOwned && File.FDescriptor >= 0)
    _close(File.FDescriptor);
  File = {};
}

std::string OsErrorText(int Error) {
  return std::strerror(Error);
}

} // namespace md5b64
