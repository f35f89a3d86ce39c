// The runtime layer: searches and splitting, rotation, lists, streams, error classes,
// module sequencing and the failure report's format.
#include "TestUtil.h"
#include "platform/CodePage.h"
#include "platform/IdGlobal.h"
#include "platform/Modules.h"
#include "platform/Runtime.h"
#include "platform/Streams.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(PlatformTest, SearchesStopAtZeroAndFindNothingInEmptyTexts) {
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

TEST(PlatformTest, MultiByteSearchNeverMatchesOnATrailByte) {
  // 0x83 0x5C is one character whose trail byte is "\".
  const std::string Text = "a\x83\x5C\\b";
  EXPECT_EQ(PlainSearchText("\\", Text), 3U);
  EXPECT_EQ(MultiBytePos("\\", Text, &FakeLeadByte), 4U);
  EXPECT_EQ(MultiBytePos("\x83\x5C", Text, &FakeLeadByte), 2U);
  // A lead byte at the very end stands alone.
  EXPECT_EQ(MultiBytePos("\x83", "ab\x83", &FakeLeadByte), 3U);
}

TEST(PlatformTest, SplitHead) {
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

TEST(PlatformTest, SearchTextIsChosenAtStartUp) {
  InitializeIdGlobal();
  EXPECT_EQ(SearchText, SystemHasLeadBytes() ? &MultiByteSearchText : &PlainSearchText);
}

TEST(PlatformTest, RotateLeft32TakesTheCountModulo32) {
  EXPECT_EQ(RotateLeft32(0x80000001U, 1), 0x00000003U);
  EXPECT_EQ(RotateLeft32(0x12345678U, 0), 0x12345678U);
  EXPECT_EQ(RotateLeft32(0x12345678U, 32), 0x12345678U);
  EXPECT_EQ(RotateLeft32(0x12345678U, 36), 0x23456781U);
  for (unsigned Count = 3; Count <= 23; ++Count)
    EXPECT_EQ(RotateLeft32(0xDEADBEEFU, Count),
              (0xDEADBEEFU << Count) | (0xDEADBEEFU >> (32 - Count)));
}

TEST(PlatformTest, StringListKeepsOrderAndChecksIndices) {
  TStringList List;
  EXPECT_EQ(List.Add("a"), 0U);
  EXPECT_EQ(List.Add("b"), 1U);
  List.Add("c");
  List.Delete(1);
  EXPECT_EQ(List.Strings(1), "c");
  EXPECT_EQ(List.Extract(0), "a");
  EXPECT_EQ(List.Count(), 1U);
  try {
    List.Strings(5);
    ADD_FAILURE() << "index 5 accepted";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (5)");
  }
  EXPECT_THROW(List.Delete(1), EListError);
  List.Clear();
  EXPECT_TRUE(List.IsEmpty());
}

TEST(PlatformTest, MemoryStreamGrowsAndSeeks) {
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

TEST(PlatformTest, ErrorClassesCarryTheirNamesAndMessages) {
  struct TCase {
    const Exception& Error;
    const char* ClassName;
    const char* Message;
  };
  const ERangeError Range;
  const EReadError Read;
  const EWriteError Write;
  const EAbstractError Abstract;
  const EOutOfMemory Memory;
  const EInOutError Io(105);
  const TCase Cases[] = {
      {Range, "ERangeError", "Range check error"},  {Read, "EReadError", "Stream read error"},
      {Write, "EWriteError", "Stream write error"}, {Abstract, "EAbstractError", "Abstract Error"},
      {Memory, "EOutOfMemory", "Out of memory"},    {Io, "EInOutError", "I/O error 105"},
  };
  for (const TCase& Case : Cases) {
    EXPECT_STREQ(Case.Error.ClassName(), Case.ClassName);
    EXPECT_EQ(Case.Error.Message(), Case.Message);
    EXPECT_STREQ(Case.Error.what(), Case.Message);
    EXPECT_NE(Case.Error.ExceptAddr(), nullptr);
  }
  EXPECT_EQ(Io.ErrorCode(), 105);
}

TEST(PlatformTest, FailureReportFormat) {
  EXPECT_EQ(FormatFailureReport("EInOutError", "md5b64", 0x1A2B, "I/O error 105"),
            "Exception EInOutError in module md5b64 at 00001A2B.\nI/O error 105.\r\n");
  EXPECT_EQ(FormatFailureReport("EIdException", "md5b64.exe", 0xFFFFFFFF, "Uneven size in Encode."),
            "Exception EIdException in module md5b64.exe at FFFFFFFF.\nUneven size in Encode.\r\n");
  EXPECT_EQ(FormatFailureReport("Exception", "m", 0, ""),
            "Exception Exception in module m at 00000000.\n\r\n");
}

TEST(PlatformTest, DescribeFailureNamesTheClass) {
  const auto ReportOf = [](auto Error) { return DescribeFailure(std::make_exception_ptr(Error)); };
  EXPECT_TRUE(ReportOf(ERangeError()).starts_with("Exception ERangeError in module "));
  EXPECT_TRUE(ReportOf(ERangeError()).ends_with(".\nRange check error.\r\n"));
  EXPECT_TRUE(ReportOf(std::bad_alloc()).starts_with("Exception EOutOfMemory in module "));
  EXPECT_TRUE(ReportOf(std::bad_alloc()).ends_with("\nOut of memory.\r\n"));
}

// Module steps that log what runs, for sequencing tests.
std::vector<std::string> Log;
bool FailSecond = false;
void InitA() {
  Log.push_back("+A");
}
void FinA() {
  Log.push_back("-A");
}
void InitB() {
  if (FailSecond)
    throw test::ETestFailure();
  Log.push_back("+B");
}
void FinB() {
  Log.push_back("-B");
}
void InitC() {
  Log.push_back("+C");
}

constexpr TModuleStep LoggedSteps[] = {
    {"A", &InitA, &FinA}, {"B", &InitB, &FinB}, {"C", &InitC, nullptr}};

TEST(PlatformTest, ModulesStartOnceInOrderAndStopInReverse) {
  Log.clear();
  FailSecond = false;
  {
    TModuleSequence Modules(LoggedSteps);
    Modules.Start();
    Modules.Start();
    EXPECT_EQ(Modules.StartedCount(), 3U);
    Modules.Stop();
    Modules.Stop();
    EXPECT_EQ(Modules.StartedCount(), 0U);
  }
  EXPECT_EQ(Log, (std::vector<std::string>{"+A", "+B", "+C", "-B", "-A"}));

  Log.clear();
  {
    TModuleSequence Forgotten(LoggedSteps);
    Forgotten.Start();
  }
  EXPECT_EQ(Log, (std::vector<std::string>{"+A", "+B", "+C", "-B", "-A"}));
}

TEST(PlatformTest, FailingStartUpStopsTheModulesAlreadyStarted) {
  Log.clear();
  FailSecond = true;
  TModuleSequence Modules(LoggedSteps);
  EXPECT_THROW(Modules.Start(), test::ETestFailure);
  EXPECT_EQ(Modules.StartedCount(), 0U);
  EXPECT_EQ(Log, (std::vector<std::string>{"+A", "-A"}));
  FailSecond = false;
}

} // namespace
} // namespace md5b64
