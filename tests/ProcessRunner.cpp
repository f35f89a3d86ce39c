// SPDX-License-Identifier: MIT
#include "ProcessRunner.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/personality.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace md5b64::test {

namespace {

std::string ReadAll(int Fd) {
  std::string Bytes;
  char Buffer[65536];
  for (;;) {
    const ssize_t Got = ::read(Fd, Buffer, sizeof Buffer);
    if (Got > 0)
      Bytes.append(Buffer, static_cast<std::size_t>(Got));
    else if (Got < 0 && errno == EINTR)
      continue;
    else
      return Bytes; // end of file, or EIO once a terminal's other side has closed
  }
}

void Check(bool Ok, const char* What) {
  if (!Ok)
    throw std::runtime_error(std::string(What) + " failed");
}

} // namespace

TRunResult RunProcess(const std::string& Program, const std::vector<std::string>& Args,
                      TStdOutTarget Target, long FileSizeLimit, long StackLimit) {
  int OutPipe[2] = {-1, -1};
  int ErrPipe[2] = {-1, -1};
  int Terminal = -1;
  std::string TerminalName;
  char FileName[] = "/tmp/md5b64-test-XXXXXX";
  int FileFd = -1;

  Check(::pipe(ErrPipe) == 0, "pipe");
  switch (Target) {
  case TStdOutTarget::Pipe:
  case TStdOutTarget::BrokenPipe:
    Check(::pipe(OutPipe) == 0, "pipe");
    if (Target == TStdOutTarget::BrokenPipe) {
      ::close(OutPipe[0]);
      OutPipe[0] = -1;
    }
    break;
  case TStdOutTarget::File:
  case TStdOutTarget::SizeLimited:
    FileFd = ::mkstemp(FileName);
    Check(FileFd >= 0, "mkstemp");
    break;
  case TStdOutTarget::Terminal: {
    Terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    Check(Terminal >= 0 && ::grantpt(Terminal) == 0 && ::unlockpt(Terminal) == 0, "openpt");
    TerminalName = ::ptsname(Terminal);
    break;
  }
  default:
    break;
  }

  std::vector<char*> Argv;
  Argv.push_back(const_cast<char*>(Program.c_str()));
  for (const std::string& Arg : Args)
    Argv.push_back(const_cast<char*>(Arg.c_str()));
  Argv.push_back(nullptr);

  const pid_t Child = ::fork();
  Check(Child >= 0, "fork");
  if (Child == 0) {
    ::dup2(ErrPipe[1], 2);
    int Out = -1;
    switch (Target) {
    case TStdOutTarget::Pipe:
    case TStdOutTarget::BrokenPipe:
      Out = OutPipe[1];
      break;
    case TStdOutTarget::File:
    case TStdOutTarget::SizeLimited:
      Out = FileFd;
      break;
    case TStdOutTarget::Terminal: {
      Out = ::open(TerminalName.c_str(), O_RDWR | O_NOCTTY);
      termios Mode;
      if (Out >= 0 && ::tcgetattr(Out, &Mode) == 0) {
        ::cfmakeraw(&Mode);
        ::tcsetattr(Out, TCSANOW, &Mode);
      }
      break;
    }
    case TStdOutTarget::DevFull:
      Out = ::open("/dev/full", O_WRONLY);
      break;
    case TStdOutTarget::Closed:
      break;
    }
    if (Out >= 0)
      ::dup2(Out, 1);
    else
      ::close(1);
    if (Target == TStdOutTarget::SizeLimited) {
      const rlimit Limit{static_cast<rlim_t>(FileSizeLimit), static_cast<rlim_t>(FileSizeLimit)};
      ::setrlimit(RLIMIT_FSIZE, &Limit);
      ::signal(SIGXFSZ, SIG_IGN);
    }
    ::signal(SIGPIPE, SIG_DFL);
    for (int Fd = 3; Fd < 64; ++Fd)
      ::close(Fd);
    if (StackLimit > 0) {
      const rlimit Limit{static_cast<rlim_t>(StackLimit), static_cast<rlim_t>(StackLimit)};
      ::setrlimit(RLIMIT_STACK, &Limit);
      ::personality(ADDR_NO_RANDOMIZE);
      char* NoEnvironment[] = {nullptr};
      ::execve(Program.c_str(), Argv.data(), NoEnvironment);
    } else {
      ::execv(Program.c_str(), Argv.data());
    }
    ::_exit(127);
  }

  ::close(ErrPipe[1]);
  TRunResult Result;
  if (OutPipe[1] >= 0)
    ::close(OutPipe[1]);
  if (OutPipe[0] >= 0) {
    Result.StdOut = ReadAll(OutPipe[0]);
    ::close(OutPipe[0]);
  }
  Result.StdErr = ReadAll(ErrPipe[0]);
  ::close(ErrPipe[0]);
  int Status = 0;
  while (::waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
  }
  if (Terminal >= 0) {
    // The child has ended, so everything it wrote is waiting on our side.
    const int Flags = ::fcntl(Terminal, F_GETFL);
    ::fcntl(Terminal, F_SETFL, Flags | O_NONBLOCK);
    Result.StdOut = ReadAll(Terminal);
    ::close(Terminal);
  }
  if (FileFd >= 0) {
    ::lseek(FileFd, 0, SEEK_SET);
    Result.StdOut = ReadAll(FileFd);
    ::close(FileFd);
    ::unlink(FileName);
  }
  if (WIFEXITED(Status))
    Result.ExitStatus = WEXITSTATUS(Status);
  else if (WIFSIGNALED(Status))
    Result.Signal = WTERMSIG(Status);
  return Result;
}

} // namespace md5b64::test
