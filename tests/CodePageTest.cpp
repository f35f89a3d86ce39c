// SPDX-License-Identifier: MIT
// The multibyte-aware search against the plain one, and its stepping over double-byte characters.
#include "platform/CodePage.h"
#include "platform/IdGlobal.h"

#include <gtest/gtest.h>

#include <string>

namespace md5b64 {
namespace {

using namespace std::string_literals;

// A double-byte code page in the manner of Shift JIS: 0x81-0x9F and 0xE0-0xFC lead.
bool FakeLeadByte(unsigned char B) {
  return (B >= 0x81 && B <= 0x9F) || (B >= 0xE0 && B <= 0xFC);
}
bool NoLeadByte(unsigned char) {
  return false;
}

TEST(CodePageTest, SearchesStopAtZeroAndFindNothingInEmptyTexts) {
  struct TCase {
    std::string Sub, Text;
    std::size_t Pos;
  };
  const TCase Cases[] = {
      {";", "0;abc", 2},   {"bc", "abcbc", 2}, {"x", "abc", 0},
      {"", "abc", 0},      {"a", "", 0},       {";", "ab\0;"s, 0},
      {"b\0z"s, "abc", 2}, {"abcd", "abc", 0}, {"\0"s, "a\0b"s, 0},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Sub + " in " + Case.Text);
    EXPECT_EQ(PlainSearchText(Case.Sub, Case.Text), Case.Pos);
    EXPECT_EQ(MultiBytePos(Case.Sub, Case.Text, &NoLeadByte), Case.Pos);
    EXPECT_EQ(MultiBytePos(Case.Sub, Case.Text, &FakeLeadByte), Case.Pos);
  }
}

TEST(CodePageTest, MultiByteSearchNeverMatchesOnATrailByte) {
  // 0x83 0x5C is one character whose trail byte is "\".
  const std::string Text = "a\x83\x5C\\b";
  EXPECT_EQ(PlainSearchText("\\", Text), 3U);
  EXPECT_EQ(MultiBytePos("\\", Text, &FakeLeadByte), 4U);
  EXPECT_EQ(MultiBytePos("\x83\x5C", Text, &FakeLeadByte), 2U);
  // A lead byte at the very end stands alone.
  EXPECT_EQ(MultiBytePos("\x83", "ab\x83", &FakeLeadByte), 3U);
}

} // namespace
} // namespace md5b64
