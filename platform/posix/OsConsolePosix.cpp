#include "platform/internal/OsConsole.h"

#include <cerrno>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace md5b64 {

namespace {

int WriteAll(int Fd, const char* Data, std::size_t Count) noexcept {
  while (Count > 0) {
    const ssize_t Written = ::write(Fd, Data, Count);
    if (Written > 0) {
      Data += Written;
      Count -= static_cast<std::size_t>(Written);
      continue;
    }
    if (Written < 0 && errno == EINTR)
      continue;
    if (Written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // A non-blocking descriptor handed to us: wait until it takes more.
      pollfd Wait{Fd, POLLOUT, 0};
      if (::poll(&Wait, 1, -1) >= 0 || errno == EINTR)
        continue;
    }
    return Written < 0 ? errno : EIO;
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

} // namespace md5b64
