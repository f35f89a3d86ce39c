// SPDX-License-Identifier: MIT
// Reading named files and standard input as bytes, and the system's words for an error.
#ifndef MD5B64_PLATFORM_INTERNAL_OSFILES_H
#define MD5B64_PLATFORM_INTERNAL_OSFILES_H

#include <cstddef>
#include <string>

namespace md5b64 {

/// A file open for reading. Standard input is one too, but is never closed.
struct TOsInputFile {
  int FDescriptor = -1;
  bool FOwned = false;
};

/// Puts standard input and standard output in binary mode, where the system has another.
void OsUseBinaryStdio() noexcept;
/// Opens Name (bytes as the command line gave them) for reading. Returns 0 or the error
/// number; a directory is refused with the number that reads "Is a directory".
int OsOpenInputFile(const std::string& Name, TOsInputFile& File) noexcept;
/// Standard input, already open.
TOsInputFile OsStdInFile() noexcept;
/// Reads up to Count bytes into Data; Got 0 at the end of the file. Returns 0 or the error
/// number.
int OsReadInputFile(TOsInputFile& File, char* Data, std::size_t Count, std::size_t& Got) noexcept;
/// Closes a file opened by OsOpenInputFile; standard input stays open.
void OsCloseInputFile(TOsInputFile& File) noexcept;
/// The system's text for an error number, e.g. "No such file or directory".
std::string OsErrorText(int Error);

} // namespace md5b64

#endif
