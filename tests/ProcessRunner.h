// SPDX-License-Identifier: MIT
// Runs a program as a child process with its standard output sent to a chosen place, and
// collects what it wrote and how it ended. POSIX only.
#ifndef MD5B64_TESTS_PROCESSRUNNER_H
#define MD5B64_TESTS_PROCESSRUNNER_H

#include <string>
#include <vector>

namespace md5b64::test {

enum class TStdOutTarget {
  Pipe,        // a pipe the runner reads
  File,        // a regular file, read back afterwards
  Terminal,    // a pseudo-terminal in raw mode
  Closed,      // descriptor 1 not open
  DevFull,     // /dev/full: every write fails with ENOSPC
  SizeLimited, // a regular file under a file-size limit, with SIGXFSZ ignored
  BrokenPipe,  // a pipe whose reading end is already closed
};

struct TRunResult {
  std::string StdOut;
  std::string StdErr;
  int ExitStatus = -1; // -1 when the process ended by a signal
  int Signal = 0;
};

/// Runs Program with Args (not including the program's name) and waits for it.
/// FileSizeLimit applies to SizeLimited only. A StackLimit (bytes, 0 for none) runs the
/// child with that stack size, with address space randomisation off and an empty
/// environment, so that the room it leaves is the same on every run.
TRunResult RunProcess(const std::string& Program, const std::vector<std::string>& Args,
                      TStdOutTarget Target = TStdOutTarget::Pipe, long FileSizeLimit = 0,
                      long StackLimit = 0);

} // namespace md5b64::test

#endif
