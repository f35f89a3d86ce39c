// SPDX-License-Identifier: MIT
// Runs a Windows program with an exact command line and its standard output sent to a
// chosen place, and collects what it wrote and how it ended. Windows only.
#ifndef MD5B64_TESTS_WINDOWS_WINPROCESSRUNNER_H
#define MD5B64_TESTS_WINDOWS_WINPROCESSRUNNER_H

#include <string>
#include <utility>
#include <vector>

namespace md5b64::test {

enum class TWinStdOut {
  Pipe,          // an anonymous pipe the runner reads
  File,          // a temporary file, read back afterwards
  Nul,           // the NUL device, a character device
  ReadOnlyFile,  // a file handle without write access: every write is refused
  ReadOnlyNul,   // NUL without write access: a character device that refuses writes
  BrokenPipe,    // a pipe whose reading end is closed before the program starts
  NoHandle,      // no standard output handle at all (NULL)
  InvalidHandle, // INVALID_HANDLE_VALUE as the standard output handle
};

struct TWinRunOptions {
  TWinStdOut StdOut = TWinStdOut::Pipe;
  /// Variables set in the program's environment, on top of the runner's own.
  std::vector<std::pair<std::string, std::string>> Environment;
};

struct TWinRunResult {
  std::string StdOut;
  std::string StdErr;
  unsigned long ExitStatus = 0;
};

/// Starts Program in its own folder with exactly CommandLine, which includes the program's
/// name where one is wanted. The program reads the bytes in the ANSI code page, which it
/// shares with the runner. Waits for the program to end and returns its output and exit
/// status; raises std::runtime_error when it cannot be started or its output collected.
TWinRunResult RunCommandLine(const std::string& Program, const std::string& CommandLine,
                             const TWinRunOptions& Options = {});

/// Full path of a file in the folder of the running test program.
std::string SiblingPath(const std::string& FileName);

/// The ANSI code page of the runner, and so of the programs it starts.
unsigned AnsiCodePage();

} // namespace md5b64::test

#endif
