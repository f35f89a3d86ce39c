// SPDX-License-Identifier: MIT
// The buffered text channel on standard output.
#ifndef MD5B64_PLATFORM_CONSOLE_H
#define MD5B64_PLATFORM_CONSOLE_H

#include "md5b64/Export.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace md5b64 {

/// Standard output as a buffered channel. It opens on first use and collects bytes in a
/// 128-byte buffer, handed to the system each time it fills. A flush request writes at once
/// only on a character device (a console); elsewhere the bytes wait for Close. The first
/// error of a write, flush or close is recorded, and later writes are skipped until the
/// error is taken.
class MD5B64_API TStdOutChannel final {
public:
  static constexpr std::size_t BufferSize = 128;

  void Write(std::string_view Bytes) noexcept;
  /// Writes the buffer at once when standard output is a character device.
  void Flush() noexcept;
  /// Writes the buffer whatever standard output is.
  void FlushAll() noexcept;
  /// Writes what is buffered; the channel opens again on its next use.
  void Close() noexcept;
  /// Writes what is buffered and closes the standard output handle itself, as a program
  /// does at its end. An error the system reports at that close is recorded like a
  /// write's; later use of the channel fails as on a closed output.
  void Shutdown() noexcept;
  /// Returns the recorded error number (0 for none) and clears it.
  int TakeIOResult() noexcept;
  /// The output check: raises the recorded error as EInOutError and clears it.
  void CheckOutput();

  std::size_t Buffered() const noexcept { return FFill; }

private:
  bool EnsureOpen() noexcept;
  void WriteBuffer() noexcept;

  std::array<char, BufferSize> FBuffer{};
  std::size_t FFill = 0;
  bool FOpen = false;
  bool FIsCharDevice = false;
  int FError = 0;
};

/// The process's one standard output channel.
MD5B64_API TStdOutChannel& StdOut() noexcept;

} // namespace md5b64

#endif
