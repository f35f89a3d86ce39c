// SPDX-License-Identifier: MIT
#include "platform/Console.h"

#include "platform/SysUtils.h"
#include "platform/internal/OsConsole.h"

#include <algorithm>
#include <cstring>

namespace md5b64 {

bool TStdOutChannel::EnsureOpen() noexcept {
  if (FError != 0)
    return false;
  if (!FOpen) {
    FError = OsOpenStdOut(FIsCharDevice);
    FOpen = FError == 0;
  }
  return FOpen;
}

void TStdOutChannel::WriteBuffer() noexcept {
  if (FFill == 0)
    return;
  const int Error = OsWriteStdOut(FBuffer.data(), FFill);
  // Bytes the system refused are not offered again: the error stands for them.
  FFill = 0;
  if (Error != 0)
    FError = Error;
}

void TStdOutChannel::Write(std::string_view Bytes) noexcept {
  if (!EnsureOpen())
    return;
  while (!Bytes.empty()) {
    const std::size_t Room = BufferSize - FFill;
    const std::size_t Taken = std::min(Room, Bytes.size());
    std::memcpy(FBuffer.data() + FFill, Bytes.data(), Taken);
    FFill += Taken;
    Bytes.remove_prefix(Taken);
    if (FFill == BufferSize) {
      WriteBuffer();
      if (FError != 0)
        return;
    }
  }
}

void TStdOutChannel::Flush() noexcept {
  if (EnsureOpen() && FIsCharDevice)
    WriteBuffer();
}

void TStdOutChannel::FlushAll() noexcept {
  if (EnsureOpen())
    WriteBuffer();
}

void TStdOutChannel::Close() noexcept {
  if (FOpen && FError == 0)
    WriteBuffer();
  FFill = 0;
  FOpen = false;
}

void TStdOutChannel::Shutdown() noexcept {
  Close();
  const int Error = OsCloseStdOut();
  // The first error stands: a failed write is not hidden behind the close's answer.
  if (FError == 0)
    FError = Error;
}

int TStdOutChannel::TakeIOResult() noexcept {
  const int Error = FError;
  FError = 0;
  return Error;
}

void TStdOutChannel::CheckOutput() {
  if (const int Error = TakeIOResult(); Error != 0)
    throw EInOutError(Error);
}

TStdOutChannel& StdOut() noexcept {
  static TStdOutChannel Channel;
  return Channel;
}

} // namespace md5b64
