// SPDX-License-Identifier: MIT
// Byte streams: the abstract TStream, streams over a block of memory, and a growable one.
#ifndef MD5B64_PLATFORM_STREAMS_H
#define MD5B64_PLATFORM_STREAMS_H

#include "md5b64/Export.h"

#include <cstdint>
#include <string>

namespace md5b64 {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

/// A sequence of bytes with a current position. Read and Write move at most Count bytes
/// and return how many they moved; ReadBuffer and WriteBuffer insist on all of them.
class MD5B64_API TStream {
public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream() = default;

  virtual std::int32_t Read(void* Buffer, std::int32_t Count) = 0;
  virtual std::int32_t Write(const void* Buffer, std::int32_t Count) = 0;
  /// Moves the position and returns the new one.
  virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;
  virtual std::int64_t Size();

  std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(std::int64_t Value) { Seek(Value, TSeekOrigin::soBeginning); }

  /// Reads exactly Count bytes; raises EReadError when fewer arrive.
  void ReadBuffer(void* Buffer, std::int32_t Count);
  /// Writes exactly Count bytes; raises EWriteError when fewer are taken.
  void WriteBuffer(const void* Buffer, std::int32_t Count);
};

/// A stream over a block of memory with a size and a position. The position may be set
/// anywhere; reading past the end or before the start yields nothing.
class MD5B64_API TCustomMemoryStream : public TStream {
public:
  std::int32_t Read(void* Buffer, std::int32_t Count) override;
  // Inline, so that a caller that knows the exact class reaches them without a call.
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override {
    switch (Origin) {
    case TSeekOrigin::soBeginning:
      FPosition = Offset;
      break;
    case TSeekOrigin::soCurrent:
      FPosition += Offset;
      break;
    case TSeekOrigin::soEnd:
      FPosition = FSize + Offset;
      break;
    }
    return FPosition;
  }
  std::int64_t Size() override { return FSize; }
  const void* Memory() const noexcept { return FMemory; }

protected:
  /// Shows Size bytes at Ptr; the position is left as it is.
  void SetPointer(const void* Ptr, std::int64_t Size) noexcept {
    FMemory = Ptr;
    FSize = Size;
  }

private:
  const void* FMemory = nullptr;
  std::int64_t FSize = 0;
  std::int64_t FPosition = 0;
};

/// A memory stream that owns its bytes and grows as it is written.
class MD5B64_API TMemoryStream : public TCustomMemoryStream {
public:
  std::int32_t Write(const void* Buffer, std::int32_t Count) override;
  /// Sets the size, keeping the bytes that remain; the position is kept within it.
  void SetSize(std::int64_t NewSize);
  void Clear();
  /// The bytes held, as a text.
  const std::string& Bytes() const noexcept { return FBuffer; }

private:
  std::string FBuffer;
};

} // namespace md5b64

#endif
