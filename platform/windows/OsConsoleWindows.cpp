// SPDX-License-Identifier: MIT
// The standard handles through WriteFile: the bytes go out exactly as given, with none of
// the C runtime's text-mode translation of LF into CR LF.
#include "platform/internal/OsConsole.h"

#include <windows.h>

#include <algorithm>

namespace md5b64 {

namespace {

bool IsValid(HANDLE Handle) noexcept {
  return Handle != nullptr && Handle != INVALID_HANDLE_VALUE;
}

int WriteAll(DWORD Which, const char* Data, std::size_t Count) noexcept {
  const HANDLE Handle = GetStdHandle(Which);
  if (!IsValid(Handle))
    return ERROR_INVALID_HANDLE;
  while (Count > 0) {
    const DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Count, 0x10000000));
    DWORD Written = 0;
    if (!WriteFile(Handle, Data, Chunk, &Written, nullptr)) {
      const DWORD Error = GetLastError();
      return Error != ERROR_SUCCESS ? static_cast<int>(Error) : ERROR_WRITE_FAULT;
    }
    // A write that succeeds without taking a byte would repeat for ever (a non-blocking
    // pipe that is full); it is a failure like any other.
    if (Written == 0)
      return ERROR_WRITE_FAULT;
    Data += Written;
    Count -= Written;
  }
  return 0;
}

} // namespace

int OsOpenStdOut(bool& IsCharDevice) noexcept {
  const HANDLE Handle = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!IsValid(Handle))
    return ErrorFileNotOpenForOutput;
  // FILE_TYPE_UNKNOWN is also the answer for a valid handle of no known type; only a
  // failing call sets an error.
  SetLastError(NO_ERROR);
  const DWORD Type = GetFileType(Handle);
  if (Type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR)
    return ErrorFileNotOpenForOutput;
  IsCharDevice = Type == FILE_TYPE_CHAR;
  return 0;
}

int OsWriteStdOut(const char* Data, std::size_t Count) noexcept {
  return WriteAll(STD_OUTPUT_HANDLE, Data, Count);
}

int OsWriteStdErr(const char* Data, std::size_t Count) noexcept {
  return WriteAll(STD_ERROR_HANDLE, Data, Count);
}

int OsCloseStdOut() noexcept {
  // A file on a network share may report a held-back write error only at the close.
  const HANDLE Handle = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!IsValid(Handle))
    return 0;
  SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
  if (CloseHandle(Handle))
    return 0;
  const DWORD Error = GetLastError();
  return Error != ERROR_SUCCESS ? static_cast<int>(Error) : ERROR_WRITE_FAULT;
}

} // namespace md5b64
