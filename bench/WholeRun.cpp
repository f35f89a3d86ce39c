// Runs two programs alternately with the same argument, standard output to /dev/null, and
// prints each one's median wall time and peak memory, and the ratios of the first to the
// second. Usage: md5b64_whole_run RUNS ARGUMENT PROGRAM BASELINE
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct TRun {
  double WallMs;
  long PeakKiB;
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
  const double Ms = (End.tv_sec - Start.tv_sec) * 1e3 + (End.tv_nsec - Start.tv_nsec) / 1e6;
  return {Ms, Usage.ru_maxrss};
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
  std::vector<double> Wall[2];
  std::vector<long> Peak[2];
  // Alternate, so that a slow spell of the machine falls on both alike.
  for (int I = 0; I < Runs; ++I) {
    for (int P = 0; P < 2; ++P) {
      const TRun Run = RunOnce(Programs[(P + I) % 2], Argument);
      const int Which = (P + I) % 2;
      Wall[Which].push_back(Run.WallMs);
      Peak[Which].push_back(Run.PeakKiB);
    }
  }
  const double W0 = Median(Wall[0]), W1 = Median(Wall[1]);
  const long M0 = *std::max_element(Peak[0].begin(), Peak[0].end());
  const long M1 = *std::max_element(Peak[1].begin(), Peak[1].end());
  std::printf("| program | median wall time | peak memory |\n|---|---|---|\n");
  std::printf("| %s | %.3f ms | %ld KiB |\n", Programs[0], W0, M0);
  std::printf("| %s | %.3f ms | %ld KiB |\n", Programs[1], W1, M1);
  std::printf("| ratio | %.2fx | %.2fx |\n", W0 / W1, static_cast<double>(M0) / M1);
  std::printf("(%d alternating runs each, argument \"%s\")\n", Runs, Argument);
  return 0;
}
