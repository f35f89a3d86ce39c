// SPDX-License-Identifier: MIT
// Splitting a text at a delimiter, the search chosen at start-up, and 32-bit rotation.
#include "platform/IdGlobal.h"
#include "platform/internal/OsCodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace md5b64 {
namespace {

using namespace std::string_literals;

TEST(IdGlobalTest, SplitHead) {
  std::string Text = "0;data;more";
  EXPECT_EQ(SplitHead(Text, ";"), "0");
  EXPECT_EQ(Text, "data;more");

  Text = "no delimiter";
  EXPECT_EQ(SplitHead(Text, ";", false), "no delimiter");
  EXPECT_EQ(Text, "no delimiter");
  EXPECT_EQ(SplitHead(Text, ";", true), "no delimiter");
  EXPECT_EQ(Text, "");

  Text = "key::value";
  EXPECT_EQ(SplitHead(Text, "::", false), "key");
  EXPECT_EQ(Text, "key::value");

  Text = "HeadXsepTail";
  EXPECT_EQ(SplitHead(Text, "xSEP", true, true), "HeadXsepTail");
  Text = "HeadXsepTail";
  EXPECT_EQ(SplitHead(Text, "xSEP", true, false), "Head");
  EXPECT_EQ(Text, "Tail");

  // Data after the delimiter may hold any byte.
  Text = "7;\0\r\n;"s;
  EXPECT_EQ(SplitHead(Text, ";"), "7");
  EXPECT_EQ(Text, "\0\r\n;"s);
}

TEST(IdGlobalTest, SearchTextIsChosenAtStartUp) {
  InitializeIdGlobal();
  EXPECT_EQ(SearchText, OsHasLeadBytes() ? &MultiByteSearchText : &PlainSearchText);
}

TEST(IdGlobalTest, RotateLeft32TakesTheCountModulo32) {
  EXPECT_EQ(RotateLeft32(0x80000001U, 1), 0x00000003U);
  EXPECT_EQ(RotateLeft32(0x12345678U, 0), 0x12345678U);
  EXPECT_EQ(RotateLeft32(0x12345678U, 32), 0x12345678U);
  EXPECT_EQ(RotateLeft32(0x12345678U, 36), 0x23456781U);
  for (unsigned Count = 3; Count <= 23; ++Count)
    EXPECT_EQ(RotateLeft32(0xDEADBEEFU, Count),
              (0xDEADBEEFU << Count) | (0xDEADBEEFU >> (32 - Count)));
}

} // namespace
} // namespace md5b64
