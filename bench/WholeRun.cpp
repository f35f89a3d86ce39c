// SPDX-License-Identifier: MIT
// Runs two programs alternately with the same argument, standard output to /dev/null, and
// prints each one's median wall time and peak memory, and the ratios of the first to the
// second. Usage: md5b64_whole_run RUNS ARGUMENT PROGRAM BASELINE
//
// Peak memory is not taken from wait4: a child started by posix_spawn shares this process's
// memory until it executes, and its maximum resident size starts from ours. A few separate
// runs under ptrace stop each program as it exits and read the high-water mark of its own
// memory from /proc instead.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct TRun {
  double WallMs;
  // User and system time of the child alone: less disturbed by other work on the machine.
  double CpuMs;
};

TRun RunOnce(const char* Program, const char* Argument) {
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
  char* Args[] = {const_cast<char*>(Program), const_cast<char*>(Argument), nullptr};
  timespec Start{}, End{};
  clock_gettime(CLOCK_MONOTONIC, &Start);
  pid_t Child = 0;
  const int Error = posix_spawn(&Child, Program, &Actions, nullptr, Args, environ);
  posix_spawn_file_actions_destroy(&Actions);
  if (Error != 0) {
    std::fprintf(stderr, "cannot start %s: %s\n", Program, std::strerror(Error));
    std::exit(2);
  }
  int Status = 0;
  rusage Usage{};
  while (wait4(Child, &Status, 0, &Usage) < 0 && errno == EINTR) {
  }
  clock_gettime(CLOCK_MONOTONIC, &End);
  if (!WIFEXITED(Status) || WEXITSTATUS(Status) != 0) {
    std::fprintf(stderr, "%s failed\n", Program);
    std::exit(2);
  }
  const double Ms = static_cast<double>(End.tv_sec - Start.tv_sec) * 1e3 +
                    static_cast<double>(End.tv_nsec - Start.tv_nsec) / 1e6;
  const double Cpu = static_cast<double>(Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) * 1e3 +
                     static_cast<double>(Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e3;
  return {Ms, Cpu};
}

// VmHWM of a process, in KiB: the peak resident size of its own memory.
long PeakOf(pid_t Pid) {
  std::ifstream Status("/proc/" + std::to_string(Pid) + "/status");
  for (std::string Line; std::getline(Status, Line);)
    if (Line.rfind("VmHWM:", 0) == 0)
      return std::atol(Line.c_str() + 6);
  return -1;
}

long PeakOnce(const char* Program, const char* Argument) {
  const pid_t Child = fork();
  if (Child == 0) {
    ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    const int Null = open("/dev/null", O_WRONLY);
    dup2(Null, 1);
    char* Args[] = {const_cast<char*>(Program), const_cast<char*>(Argument), nullptr};
    execv(Program, Args);
    _exit(127);
  }
  long Peak = -1;
  int Status = 0;
  // The first stop is the exec; from there on, stop once more as the program exits.
  waitpid(Child, &Status, 0);
  ptrace(PTRACE_SETOPTIONS, Child, nullptr, PTRACE_O_TRACEEXIT);
  ptrace(PTRACE_CONT, Child, nullptr, nullptr);
  while (waitpid(Child, &Status, 0) == Child && WIFSTOPPED(Status)) {
    int Signal = 0;
    if (Status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8)))
      Peak = PeakOf(Child);
    else
      Signal = WSTOPSIG(Status);
    ptrace(PTRACE_CONT, Child, nullptr, reinterpret_cast<void*>(static_cast<long>(Signal)));
  }
  return Peak;
}

template <class T> T Median(std::vector<T> Values) {
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s RUNS ARGUMENT PROGRAM BASELINE\n", argv[0]);
    return 2;
  }
  const int Runs = std::max(1, std::atoi(argv[1]));
  const char* Argument = argv[2];
  const char* Programs[2] = {argv[3], argv[4]};
  std::vector<double> Wall[2], Cpu[2];
  long Peak[2] = {0, 0};
  // Alternate, and swap which goes first, so that a slow spell of the machine falls on both
  // alike.
  for (int I = 0; I < Runs; ++I) {
    for (int P = 0; P < 2; ++P) {
      const int Which = (P + I) % 2;
      const TRun Run = RunOnce(Programs[Which], Argument);
      Wall[Which].push_back(Run.WallMs);
      Cpu[Which].push_back(Run.CpuMs);
    }
  }
  for (int I = 0; I < 5; ++I)
    for (int P = 0; P < 2; ++P)
      Peak[P] = std::max(Peak[P], PeakOnce(Programs[P], Argument));
  const double W0 = Median(Wall[0]), W1 = Median(Wall[1]);
  const double C0 = Median(Cpu[0]), C1 = Median(Cpu[1]);
  const long M0 = Peak[0], M1 = Peak[1];
  std::printf(
      "| program | median wall time | median CPU time | peak memory |\n|---|---|---|---|\n");
  std::printf("| %s | %.3f ms | %.3f ms | %ld KiB |\n", Programs[0], W0, C0, M0);
  std::printf("| %s | %.3f ms | %.3f ms | %ld KiB |\n", Programs[1], W1, C1, M1);
  std::printf("| ratio | %.2fx | %.2fx | %.2fx |\n", W0 / W1, C0 / C1,
              static_cast<double>(M0) / static_cast<double>(M1));
  std::printf("(%d alternating runs each, argument \"%s\")\n", Runs, Argument);
  return 0;
}
