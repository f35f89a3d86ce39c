// SPDX-License-Identifier: MIT
#include "front_end/SumOutput.h"

#include "platform/internal/OsConsole.h"

#include <cerrno>

namespace md5b64 {

namespace {

// Large enough that a long listing goes out in few writes.
constexpr std::size_t BufferSize = 64 * 1024;

} // namespace

TSumOutput::TSumOutput() {
  bool IsCharDevice = false;
  if (OsOpenStdOut(IsCharDevice) != 0)
    FError = EBADF;
  FLineBuffered = IsCharDevice;
  FBuffer.reserve(BufferSize);
}

void TSumOutput::Write(std::string_view Text) {
  if (FError != 0)
    return;
  if (FBuffer.size() + Text.size() > BufferSize)
    Flush();
  if (Text.size() >= BufferSize) {
    FError = OsWriteStdOut(Text.data(), Text.size());
    return;
  }
  FBuffer += Text;
}

void TSumOutput::EndLine(char Delimiter) {
  Write(std::string_view(&Delimiter, 1));
  if (FLineBuffered)
    Flush();
}

void TSumOutput::Flush() {
  if (FError == 0 && !FBuffer.empty())
    FError = OsWriteStdOut(FBuffer.data(), FBuffer.size());
  FBuffer.clear();
}

int TSumOutput::Close() {
  Flush();
  return FError;
}

void ReportError(std::string_view Message) {
  std::string Line = "md5b64sum: ";
  Line += Message;
  Line += '\n';
  // Nothing is left to tell a failure of standard error to.
  static_cast<void>(OsWriteStdErr(Line.data(), Line.size()));
}

} // namespace md5b64
