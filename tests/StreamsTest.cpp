// SPDX-License-Identifier: MIT
// The growable memory stream: writing, seeking, reading and resizing.
#include "platform/Streams.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace md5b64 {
namespace {

TEST(StreamsTest, MemoryStreamGrowsAndSeeks) {
  TMemoryStream Stream;
  Stream.WriteBuffer("hello", 5);
  EXPECT_EQ(Stream.Size(), 5);
  Stream.Seek(-2, TSeekOrigin::soEnd);
  Stream.WriteBuffer("p!!", 3);
  EXPECT_EQ(Stream.Bytes(), "help!!");
  Stream.SetPosition(0);
  char Buffer[6];
  Stream.ReadBuffer(Buffer, 6);
  EXPECT_EQ(std::string(Buffer, 6), "help!!");
  EXPECT_THROW(Stream.ReadBuffer(Buffer, 1), EReadError);
  // Positions before the start or past the end read nothing.
  Stream.SetPosition(-4);
  EXPECT_EQ(Stream.Read(Buffer, 4), 0);
  Stream.SetPosition(100);
  EXPECT_EQ(Stream.Read(Buffer, 4), 0);
  Stream.SetSize(2);
  EXPECT_EQ(Stream.Position(), 2);
  EXPECT_EQ(Stream.Bytes(), "he");
  EXPECT_THROW(Stream.SetSize(-1), ERangeError);
}

} // namespace
} // namespace md5b64
