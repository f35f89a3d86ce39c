// SPDX-License-Identifier: MIT
#include "platform/internal/OsConsole.h"

#include <cerrno>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace md5b64 {

namespace {

// Times in a row that a descriptor which poll reports writable may still refuse with
// EAGAIN before the refusal is taken as the answer: some drivers report ready and never are.
constexpr int MaxRefusalsWhenReady = 100;

int WriteAll(int Fd, const char* Data, std::size_t Count) noexcept {
  int Refusals = 0;
  while (Count > 0) {
    const ssize_t Written = ::write(Fd, Data, Count);
    if (Written > 0) {
      // A count beyond what was asked cannot be true: stepping by it would leave the data.
      if (static_cast<std::size_t>(Written) > Count)
        return EIO;
      Data += Written;
      Count -= static_cast<std::size_t>(Written);
      Refusals = 0;
      continue;
    }
    // Nothing taken and no error: the device is full, as coreutils reports it.
    if (Written == 0)
      return ENOSPC;
    const int Error = errno;
    if (Error == EINTR)
      continue;
    if ((Error == EAGAIN || Error == EWOULDBLOCK) && ++Refusals <= MaxRefusalsWhenReady) {
      // A non-blocking descriptor handed to us: wait until it takes more. A failing wait
      // leaves the write's error as the one to report.
      pollfd Wait{Fd, POLLOUT, 0};
      if (::poll(&Wait, 1, -1) >= 0 || errno == EINTR)
        continue;
    }
    return Error;
  }
  return 0;
}

} // namespace

int OsOpenStdOut(bool& IsCharDevice) noexcept {
  struct stat Info;
  if (::fstat(STDOUT_FILENO, &Info) != 0)
    return ErrorFileNotOpenForOutput;
  IsCharDevice = S_ISCHR(Info.st_mode);
  return 0;
}

int OsWriteStdOut(const char* Data, std::size_t Count) noexcept {
  return WriteAll(STDOUT_FILENO, Data, Count);
}

int OsWriteStdErr(const char* Data, std::size_t Count) noexcept {
  return WriteAll(STDERR_FILENO, Data, Count);
}

int OsCloseStdOut() noexcept {
  // Network and user-space file systems may hold back a write error until the close. A
  // descriptor that was never open has nothing to report.
  if (::close(STDOUT_FILENO) == 0 || errno == EBADF)
    return 0;
  return errno;
}

} // namespace md5b64
