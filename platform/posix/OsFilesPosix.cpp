// SPDX-License-Identifier: MIT
// Reading files through the POSIX descriptors.
#include "platform/internal/OsFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace md5b64 {

void OsUseBinaryStdio() noexcept {}

int OsOpenInputFile(const std::string& Name, TOsInputFile& File) noexcept {
  int Descriptor;
  do {
    Descriptor = ::open(Name.c_str(), O_RDONLY | O_CLOEXEC);
  } while (Descriptor < 0 && errno == EINTR);
  if (Descriptor < 0)
    return errno;
  File.FDescriptor = Descriptor;
  File.FOwned = true;
  return 0;
}

TOsInputFile OsStdInFile() noexcept {
  return TOsInputFile{STDIN_FILENO, false};
}

int OsReadInputFile(TOsInputFile& File, char* Data, std::size_t Count, std::size_t& Got) noexcept {
  for (;;) {
    const ssize_t Read = ::read(File.FDescriptor, Data, Count);
    if (Read >= 0) {
      Got = static_cast<std::size_t>(Read);
      return 0;
    }
    if (errno != EINTR)
      return errno;
  }
}

void OsCloseInputFile(TOsInputFile& File) noexcept {
  if (File.FOwned && File.FDescriptor >= 0)
    ::close(File.FDescriptor);
  File = {};
}

std::string OsErrorText(int Error) {
  // strerror's text is the same in every thread of glibc for a known number; an unknown
  // one still gets a text of its own.
  return std::strerror(Error);
}

} // namespace md5b64
