// SPDX-License-Identifier: MIT
// The md5b64 program on Windows from outside: exact command lines through CreateProcessA,
// exact bytes on standard output and standard error, and the exit status, for each kind of
// standard output handle. Expected digests come from `openssl md5 -binary | base64`.
#include "WinProcessRunner.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

using test::RunCommandLine;
using test::SiblingPath;
using test::TWinRunOptions;
using test::TWinRunResult;
using test::TWinStdOut;

const std::string Program = SiblingPath("md5b64.exe");
const std::string FaultyProgram = SiblingPath("md5b64_faulty.exe");

// Windows error numbers the system gives for refused writes.
constexpr int ErrorAccessDenied = 5;
constexpr int ErrorNoData = 232; // the pipe's reading end is closed

std::string HighBytes() {
  std::string Bytes;
  for (int Byte = 0x80; Byte <= 0xFF; ++Byte)
    Bytes.push_back(static_cast<char>(Byte));
  return Bytes;
}

// The report of an error of a class with a message; the address may be any eight digits.
std::regex Report(const std::string& Module, const std::string& ClassName,
                  const std::string& Message) {
  return std::regex("Exception " + ClassName + " in module " + Module + " at [0-9A-F]{8}\\.\n" +
                    Message + "\r\n");
}

TWinRunOptions OutputTo(TWinStdOut Target) {
  TWinRunOptions Options;
  Options.StdOut = Target;
  return Options;
}

std::regex IoErrorReport(int Number) {
  return Report("md5b64\\.exe", "EInOutError", "I/O error " + std::to_string(Number) + "\\.");
}

struct TCommandLineCase {
  const char* What;
  std::string CommandLine;
  const char* Output;
};

// Program tests for one ANSI code page, which the program inherits from the runner. Bytes
// 0x80-0xFF cross CreateProcessA unchanged where the page maps each of them to a character
// of its own, as 1252 does; the test environment pins it (LC_ALL=C under wine).
template <unsigned CodePage> class TCodePageProgramTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(test::AnsiCodePage(), CodePage); }
};
using WindowsProgramTest = TCodePageProgramTest<1252>;
using WindowsProgram932Test = TCodePageProgramTest<932>;

TEST_F(WindowsProgramTest, SplitsItsOwnCommandLine) {
  const std::vector<TCommandLineCase> Cases = {
      {"plain", "md5b64.exe abc", "kAFQmDzST7DWlj99KOF/cg=="},
      {"quoted space", "md5b64.exe \"a b\"", "DMnNTdJsUTe2daDYGcuasA=="},
      {"quotes inside a piece", "md5b64.exe a\"b c\"d", "BKfZixmaqqwLO+vq4x4r/A=="},
      {"unterminated quote", "md5b64.exe \"unterminated quote", "3W01AgA00sSYpFFRQCuNPA=="},
      {"unterminated, trailing spaces", "md5b64.exe \"abc  ", "4GTrQhhLhbeBdus7okYsJA=="},
      {"tab separators", "md5b64.exe\tabc\tdef", "kAFQmDzST7DWlj99KOF/cg=="},
      {"bytes 1 to 32 separate",
       "md5b64.exe\x01\x02\n\r\x1F abc\x01"
       "def",
       "kAFQmDzST7DWlj99KOF/cg=="},
      {"bytes 1 to 32 inside quotes",
       "md5b64.exe \"a\tb\x01"
       "c\x1F"
       "d\"",
       "HmHImkjMu5ubCvOmUWzScQ=="},
      {"empty quotes, then an argument", "md5b64.exe \"\" abc", "kAFQmDzST7DWlj99KOF/cg=="},
      {"empty quotes repeated", "md5b64.exe \"\"\"\" \"\" abc", "kAFQmDzST7DWlj99KOF/cg=="},
      {"empty quotes before a piece", "md5b64.exe \"\"abc", "kAFQmDzST7DWlj99KOF/cg=="},
      {"empty quotes alone", "md5b64.exe \"\"", ""},
      {"no argument", "md5b64.exe", ""},
      {"only separators", "md5b64.exe \t  ", ""},
      {"further arguments ignored", "md5b64.exe abc def \"g h\"", "kAFQmDzST7DWlj99KOF/cg=="},
      {"no escape character", "md5b64.exe \\\"x\\\"", "/RlQPUqmXBQPxftvO6+29g=="},
      {"empty quotes inside a piece", "md5b64.exe a\"\"b", "GH70Q2Ei0cwvQNwrkvDroA=="},
      {"backslash before a quote", "md5b64.exe a\\\"b", "Kyj0bmS06EgUqo3CKrHDbQ=="},
      {"backslash closing a quoted folder", "md5b64.exe \"C:\\dir\\\" x",
       "4Y2e5Lr4/tDNDGr39SaIwg=="},
      {"single quotes do not group", "md5b64.exe 'a b'", "F2PhdHZjpmWJgsXDuO0lzQ=="},
      {"quoted program name", "\"C:\\Some Folder\\md5b64.exe\" abc", "kAFQmDzST7DWlj99KOF/cg=="},
      {"star inside", "md5b64.exe a*b", "XXSmf2oMySWw5NaRRvxXpA=="},
      {"question mark", "md5b64.exe ?", "0UV7csP7MjomcRJa7z6rXQ=="},
      {"pattern matching files", "md5b64.exe *.exe", "OxIdpNtkqlmGTp7Ub6aNCg=="},
      {"bytes above 127", "md5b64.exe \xE9t\xE9", "cLBuMIc1DIxPw/E+dBh58w=="},
      {"every byte above 127", "md5b64.exe " + HighBytes(), "FvQEFWwFAKxI76LTq8X7zw=="},
  };
  for (const TCommandLineCase& Case : Cases) {
    SCOPED_TRACE(Case.What);
    const TWinRunResult Run = RunCommandLine(Program, Case.CommandLine);
    EXPECT_EQ(Run.StdOut, Case.Output);
    EXPECT_EQ(Run.StdErr, "");
    EXPECT_EQ(Run.ExitStatus, 0U);
  }
}

TEST_F(WindowsProgramTest, PrintsTheBase64FormOfTheMd5Digest) {
  const std::pair<std::string, const char*> Cases[] = {
      {"a", "DMF1ucDxtqgxw5niaXcmYQ=="},
      {std::string(55, 'a'), "7xdytt/5oSI1hVKVStDfZQ=="},
      {std::string(56, 'a'), "OwyKxwP4KLBMbBlwBtFyGA=="},
      {std::string(64, 'a'), "AUhC1IC1cUlaSgNjeT9zZw=="},
      {std::string(32000, 'a'), "Vs2DpaaYO2tweUdF5SaqmQ=="}, // near the longest command line
  };
  for (const auto& [Argument, Output] : Cases) {
    SCOPED_TRACE(Argument.size());
    const TWinRunResult Run = RunCommandLine(Program, "md5b64.exe " + Argument);
    EXPECT_EQ(Run.StdOut, Output);
    EXPECT_EQ(Run.StdErr, "");
    EXPECT_EQ(Run.ExitStatus, 0U);
  }
}

TEST_F(WindowsProgramTest, ExactlyTwentyFourBytesToAFileAndAPipe) {
  for (const TWinStdOut Target : {TWinStdOut::File, TWinStdOut::Pipe}) {
    SCOPED_TRACE(static_cast<int>(Target));
    const TWinRunResult Run = RunCommandLine(Program, "md5b64.exe abc", OutputTo(Target));
    EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
    EXPECT_EQ(Run.StdErr, "");
    EXPECT_EQ(Run.ExitStatus, 0U);
  }
}

TEST_F(WindowsProgramTest, CharacterDeviceTakesTheOutput) {
  const TWinRunResult Run = RunCommandLine(Program, "md5b64.exe abc", OutputTo(TWinStdOut::Nul));
  EXPECT_EQ(Run.StdErr, "");
  EXPECT_EQ(Run.ExitStatus, 0U);
}

TEST_F(WindowsProgramTest, MissingStandardOutputIsReportedOnStandardError) {
  for (const TWinStdOut Target : {TWinStdOut::NoHandle, TWinStdOut::InvalidHandle}) {
    for (const char* CommandLine : {"md5b64.exe abc", "md5b64.exe"}) {
      SCOPED_TRACE(CommandLine);
      SCOPED_TRACE(static_cast<int>(Target));
      const TWinRunResult Run = RunCommandLine(Program, CommandLine, OutputTo(Target));
      EXPECT_EQ(Run.ExitStatus, 1U);
      EXPECT_TRUE(std::regex_match(Run.StdErr, IoErrorReport(105))) << Run.StdErr;
    }
  }
}

TEST_F(WindowsProgramTest, RefusedWriteIsReportedWithTheSystemsNumber) {
  // A file takes the bytes only at the end and a character device at the flush; either
  // way the refusal is a failure with status 1, never a silent success.
  struct TRefusalCase {
    TWinStdOut Target;
    int Number;
  };
  for (const TRefusalCase& Case : {TRefusalCase{TWinStdOut::ReadOnlyFile, ErrorAccessDenied},
                                   TRefusalCase{TWinStdOut::ReadOnlyNul, ErrorAccessDenied},
                                   TRefusalCase{TWinStdOut::BrokenPipe, ErrorNoData}}) {
    SCOPED_TRACE(static_cast<int>(Case.Target));
    const TWinRunResult Run = RunCommandLine(Program, "md5b64.exe abc", OutputTo(Case.Target));
    EXPECT_EQ(Run.ExitStatus, 1U);
    EXPECT_EQ(Run.StdOut, "");
    EXPECT_TRUE(std::regex_match(Run.StdErr, IoErrorReport(Case.Number))) << Run.StdErr;
  }
}

TEST_F(WindowsProgram932Test, DoubleByteCharactersArriveWhole) {
  // In code page 932 the second byte of a double-byte character may be 0x5C: "\x83\x5C"
  // and "\x95\x5C" in quotes, with the space between them, are the argument.
  const TWinRunResult Run = RunCommandLine(Program, "md5b64.exe \"\x83\x5C \x95\x5C\" x");
  EXPECT_EQ(Run.StdOut, "wdVJ9LqMS127JThWv0I8Fw==");
  EXPECT_EQ(Run.StdErr, "");
  EXPECT_EQ(Run.ExitStatus, 0U);
}

} // namespace
} // namespace md5b64

namespace md5b64 {
namespace {

TWinRunResult RunFaulty(const std::string& Fault, const std::string& Arguments) {
  TWinRunOptions Options;
  Options.Environment = {{"MD5B64_FAULT", Fault}};
  return RunCommandLine(FaultyProgram, "md5b64_faulty.exe " + Arguments, Options);
}

std::regex FaultyReport(const std::string& ClassName, const std::string& Message) {
  return Report("md5b64_faulty\\.exe", ClassName, Message);
}

TEST(WindowsProgramFailureTest, FailingEncoderWritesTheRawDigestThenTheReport) {
  const TWinRunResult Run = RunFaulty("encode-oom", "abc");
  EXPECT_EQ(Run.ExitStatus, 1U);
  const std::string Digest = "\x90\x01\x50\x98\x3c\xd2\x4f\xb0\xd6\x96\x3f\x7d\x28\xe1\x7f\x72";
  ASSERT_GE(Run.StdOut.size(), 16U);
  EXPECT_EQ(Run.StdOut.substr(0, 16), Digest);
  EXPECT_TRUE(
      std::regex_match(Run.StdOut.substr(16), FaultyReport("EOutOfMemory", "Out of memory\\.")))
      << Run.StdOut.substr(16);
  EXPECT_EQ(Run.StdErr, "");
}

TEST(WindowsProgramFailureTest, ReportWhileMemoryStaysExhaustedKeepsItsFormatByteForByte) {
  // Built on the heap once memory is back, in fixed storage while it stays exhausted: the
  // same raise point, the same bytes.
  const TWinRunResult Recovered = RunFaulty("encode-alloc", "abc");
  const TWinRunResult Exhausted = RunFaulty("encode-oom-stays", "abc");
  EXPECT_EQ(Exhausted.ExitStatus, 1U);
  ASSERT_GE(Exhausted.StdOut.size(), 16U);
  EXPECT_TRUE(std::regex_match(Exhausted.StdOut.substr(16),
                               FaultyReport("EOutOfMemory", "Out of memory\\.")))
      << Exhausted.StdOut.substr(16);
  EXPECT_EQ(Exhausted.StdOut, Recovered.StdOut);
}

TEST(WindowsProgramFailureTest, NothingBeforeMainNeedsMemory) {
  const TWinRunResult Run = RunFaulty("alloc-before-main", "abc");
  EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
  EXPECT_EQ(Run.StdErr, "");
  EXPECT_EQ(Run.ExitStatus, 0U);
}

TEST(WindowsProgramFailureTest, FailureWhileDestroyingIsIgnored) {
  for (const char* Fault : {"destroy-coder", "destroy-encoder"}) {
    SCOPED_TRACE(Fault);
    const TWinRunResult Run = RunFaulty(Fault, "abc");
    EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
    EXPECT_EQ(Run.ExitStatus, 0U);
  }
}

TEST(WindowsProgramFailureTest, FailingStartUpStopsStartedModulesInReverse) {
  const TWinRunResult Run = RunFaulty("start-up", "abc");
  EXPECT_EQ(Run.ExitStatus, 1U);
  EXPECT_EQ(Run.StdErr, "start IdGlobal\nstart IdCoderMIME\nstop IdCoderMIME\nstop IdGlobal\n");
  EXPECT_TRUE(std::regex_match(Run.StdOut, FaultyReport("EIdException", "start-up step failed\\.")))
      << Run.StdOut;
}

TEST(WindowsProgramFailureTest, TheUninjectedProgramBehavesAsTheRealOne) {
  const TWinRunResult Run = RunFaulty("none", "abc ignored");
  EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
  EXPECT_EQ(Run.ExitStatus, 0U);
}

} // namespace
} // namespace md5b64
