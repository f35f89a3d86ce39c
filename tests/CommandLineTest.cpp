// SPDX-License-Identifier: MIT
// Splitting a command line that arrives as one string, and SplitAt.
#include "platform/CommandLine.h"
#include "front_end/DigestPrinter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace md5b64 {
namespace {

using namespace std::string_literals;

bool NoLeadByte(unsigned char) {
  return false;
}
bool FakeLeadByte(unsigned char B) {
  return B >= 0x81 && B <= 0x9F;
}

struct TLineCase {
  std::string Line;
  std::vector<std::string> Pieces; // pieces 0, 1, 2, ... that the line yields
};

TEST(CommandLineTest, PiecesOfOneStringCommandLines) {
  const std::vector<TLineCase> Cases = {
      {"prog abc", {"prog", "abc"}},
      {"prog   abc  def", {"prog", "abc", "def"}},
      {"  prog abc", {"prog", "abc"}},
      {"prog \"a b\"", {"prog", "a b"}},
      {"prog a\"b c\"d", {"prog", "ab cd"}},
      {"prog \"unterminated quote", {"prog", "unterminated quote"}},
      {"prog \"\" abc", {"prog", "abc"}},
      {"prog \"\"", {"prog"}},
      {"prog \"\"\"\" \"\" abc", {"prog", "abc"}},
      {"prog \"\"abc", {"prog", "abc"}},
      {"prog a\"\"b", {"prog", "ab"}},
      {"prog\tabc\x01"
       "def\x1F"
       "ghi\x20jkl",
       {"prog", "abc", "def", "ghi", "jkl"}},
      {"prog \"tab\there\"", {"prog", "tab\there"}},
      {"prog back\\slash \\\"x\\\"", {"prog", "back\\slash", "\\x\\"}},
      {"prog a*b ?", {"prog", "a*b", "?"}},
      {"prog \xE9t\xE9", {"prog", "\xE9t\xE9"}},
      {"prog abc\0def"s, {"prog", "abc"}},
      {"", {}},
      {"   ", {}},
  };
  for (const TLineCase& Case : Cases) {
    SCOPED_TRACE(Case.Line);
    for (std::size_t I = 0; I <= Case.Pieces.size(); ++I) {
      const std::string Expected = I < Case.Pieces.size() ? Case.Pieces[I] : "";
      EXPECT_EQ(GetParamFromCommandLine(Case.Line, static_cast<int>(I), &NoLeadByte), Expected)
          << "piece " << I;
    }
  }
  EXPECT_EQ(GetParamFromCommandLine("prog abc", -1, &NoLeadByte), "");
}

TEST(CommandLineTest, DoubleByteCharactersAreNeverSplit) {
  // 0x81 0x20 is one character: its trail byte is no separator, and 0x81 0x22 no quote.
  const std::string Line = "prog a\x81 b \x81\"c d";
  EXPECT_EQ(GetParamFromCommandLine(Line, 1, &FakeLeadByte), "a\x81 b");
  EXPECT_EQ(GetParamFromCommandLine(Line, 2, &FakeLeadByte), "\x81\"c");
  EXPECT_EQ(GetParamFromCommandLine(Line, 1, &NoLeadByte), "a\x81");
  // A lead byte as the last byte stands alone.
  EXPECT_EQ(GetParamFromCommandLine("prog x\x81", 1, &FakeLeadByte), "x\x81");
}

TEST(CommandLineTest, SplitAt) {
  struct TCase {
    std::string Text, Delim;
    bool Remove;
    std::string Head, Left;
  };
  const TCase Cases[] = {
      {"0;" + "\x01;\0\xFF"s, ";", true, "0", "\x01;\0\xFF"s},
      {"0;digest", ";", false, "0", "0;digest"},
      {"no delimiter", ";", true, "no delimiter", ""},
      {"no delimiter", ";", false, "no delimiter", "no delimiter"},
      {"ab\0cd"s, "\0"s, true, "ab", "cd"},
      {"ab\0;cd"s, ";", true, "ab\0;cd"s, ""}, // the search stops at the zero byte
      {"abc", "", true, "abc", ""},
      {"key=>value", "=>", true, "key", "value"},
  };
  for (const TCase& Case : Cases) {
    std::string Text = Case.Text;
    EXPECT_EQ(SplitAt(Text, Case.Delim, Case.Remove), Case.Head);
    EXPECT_EQ(Text, Case.Left);
  }
}

} // namespace
} // namespace md5b64
