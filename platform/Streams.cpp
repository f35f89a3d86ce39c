// SPDX-License-Identifier: MIT
#include "platform/Streams.h"

#include "platform/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace md5b64 {

std::int64_t TStream::Size() {
  const std::int64_t Pos = Seek(0, TSeekOrigin::soCurrent);
  const std::int64_t End = Seek(0, TSeekOrigin::soEnd);
  Seek(Pos, TSeekOrigin::soBeginning);
  return End;
}

void TStream::ReadBuffer(void* Buffer, std::int32_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count)
    throw EReadError();
}

void TStream::WriteBuffer(const void* Buffer, std::int32_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count)
    throw EWriteError();
}

std::int32_t TCustomMemoryStream::Read(void* Buffer, std::int32_t Count) {
  if (Count <= 0 || FPosition < 0 || FPosition >= FSize)
    return 0;
  const std::int64_t Moved = std::min<std::int64_t>(Count, FSize - FPosition);
  std::memcpy(Buffer, static_cast<const unsigned char*>(FMemory) + FPosition,
              static_cast<std::size_t>(Moved));
  FPosition += Moved;
  return static_cast<std::int32_t>(Moved);
}

std::int32_t TMemoryStream::Write(const void* Buffer, std::int32_t Count) {
  const std::int64_t Pos = Position();
  if (Count <= 0 || Pos < 0)
    return 0;
  const std::int64_t End = Pos + Count;
  if (End > static_cast<std::int64_t>(FBuffer.size()))
    FBuffer.resize(static_cast<std::size_t>(End));
  std::memcpy(FBuffer.data() + Pos, Buffer, static_cast<std::size_t>(Count));
  SetPointer(FBuffer.data(), static_cast<std::int64_t>(FBuffer.size()));
  Seek(End, TSeekOrigin::soBeginning);
  return Count;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
  if (NewSize < 0)
    throw ERangeError();
  FBuffer.resize(static_cast<std::size_t>(NewSize));
  SetPointer(FBuffer.data(), NewSize);
  if (Position() > NewSize)
    Seek(NewSize, TSeekOrigin::soBeginning);
}

void TMemoryStream::Clear() {
  SetSize(0);
  Seek(0, TSeekOrigin::soBeginning);
}

} // namespace md5b64
