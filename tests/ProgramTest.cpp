// SPDX-License-Identifier: MIT
// The md5b64 program from outside: exact bytes on standard output and standard error, and
// the exit status, for each place standard output can lead. Expected digests come from
// `openssl md5 -binary | base64`.
#include "ProcessRunner.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

using test::RunProcess;
using test::TRunResult;
using test::TStdOutTarget;

const std::string Program = MD5B64_PROGRAM;

// The report of an I/O error with the given number; the address may be any eight digits.
std::regex IoErrorReport(int Number) {
  return std::regex("Exception EInOutError in module md5b64 at [0-9A-F]{8}\\.\nI/O error " +
                    std::to_string(Number) + "\\.\r\n");
}

struct TDigestCase {
  std::string Argument;
  const char* Output;
};

TEST(ProgramTest, PrintsTheBase64FormOfTheMd5Digest) {
  const TDigestCase Cases[] = {
      {"abc", "kAFQmDzST7DWlj99KOF/cg=="},
      {"a", "DMF1ucDxtqgxw5niaXcmYQ=="},
      {std::string(55, 'a'), "7xdytt/5oSI1hVKVStDfZQ=="},
      {std::string(56, 'a'), "OwyKxwP4KLBMbBlwBtFyGA=="},
      {std::string(64, 'a'), "AUhC1IC1cUlaSgNjeT9zZw=="},
      {"\xC3\xA9", "Zt3Nl8/eq7L2+4qZm0vHbw=="},               // UTF-8 e-acute, bytes as given
      {"\xFF\x80\x01 x", "sflia4HvX4KoOaLc5QLyEQ=="},         // no valid text in any encoding
      {std::string(131071, 'a'), "lasJ/R86nxIrNYqVktcctA=="}, // the longest Linux argument
  };
  for (const TDigestCase& Case : Cases) {
    SCOPED_TRACE(Case.Argument.size());
    const TRunResult Run = RunProcess(Program, {Case.Argument});
    EXPECT_EQ(Run.StdOut, Case.Output);
    EXPECT_EQ(Run.StdErr, "");
    EXPECT_EQ(Run.ExitStatus, 0);
  }
}

TEST(ProgramTest, OnlyTheFirstArgumentCounts) {
  const TRunResult Run = RunProcess(Program, {"abc", "def", ""});
  EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
  EXPECT_EQ(Run.ExitStatus, 0);
  EXPECT_EQ(RunProcess(Program, {"", "abc"}).StdOut, "");
}

TEST(ProgramTest, NoArgumentOrAnEmptyOneWritesNothing) {
  for (const std::vector<std::string>& Args : {std::vector<std::string>{}, {""}}) {
    const TRunResult Run = RunProcess(Program, Args);
    EXPECT_EQ(Run.StdOut, "");
    EXPECT_EQ(Run.StdErr, "");
    EXPECT_EQ(Run.ExitStatus, 0);
  }
}

TEST(ProgramTest, ExactlyTwentyFourBytesToAFileAPipeAndATerminal) {
  for (const TStdOutTarget Target :
       {TStdOutTarget::File, TStdOutTarget::Pipe, TStdOutTarget::Terminal}) {
    SCOPED_TRACE(static_cast<int>(Target));
    const TRunResult Run = RunProcess(Program, {"abc"}, Target);
    EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
    EXPECT_EQ(Run.StdErr, "");
    EXPECT_EQ(Run.ExitStatus, 0);
  }
}

TEST(ProgramTest, ClosedStandardOutputIsReportedOnStandardError) {
  for (const std::string Argument : {"abc", ""}) {
    SCOPED_TRACE(Argument);
    const TRunResult Run = RunProcess(Program, {Argument}, TStdOutTarget::Closed);
    EXPECT_EQ(Run.ExitStatus, 1);
    EXPECT_TRUE(std::regex_match(Run.StdErr, IoErrorReport(105))) << Run.StdErr;
  }
}

TEST(ProgramTest, FullDeviceIsReportedOnStandardError) {
  const TRunResult Run = RunProcess(Program, {"abc"}, TStdOutTarget::DevFull);
  EXPECT_EQ(Run.ExitStatus, 1);
  EXPECT_TRUE(std::regex_match(Run.StdErr, IoErrorReport(ENOSPC))) << Run.StdErr;
}

TEST(ProgramTest, FileRefusingTheWriteAtExitIsAFailure) {
  // The bytes reach a regular file only when the program ends; a refusal then must still
  // give status 1 and a report, never a silent success.
  for (const long Limit : {0L, 10L}) {
    SCOPED_TRACE(Limit);
    const TRunResult Run = RunProcess(Program, {"abc"}, TStdOutTarget::SizeLimited, Limit);
    EXPECT_EQ(Run.ExitStatus, 1);
    EXPECT_EQ(Run.StdOut,
              std::string("kAFQmDzST7DWlj99KOF/cg==").substr(0, static_cast<std::size_t>(Limit)));
    EXPECT_TRUE(std::regex_match(Run.StdErr, IoErrorReport(EFBIG))) << Run.StdErr;
  }
}

TEST(ProgramTest, FailurePathNeedsNoMoreStackThanTheNormalRun) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer changes the stack each path needs";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "AddressSanitizer changes the stack each path needs";
#endif
#endif
  // The smallest stack, in steps of 1 KiB, in which the program prints its result; with
  // one more step, the report of a closed standard output must get out as well (it does
  // not, with a 4 KiB buffer on the failure path's stack).
  long Smallest = 0;
  for (long KiB = 4; KiB <= 256 && Smallest == 0; ++KiB)
    if (RunProcess(Program, {"abc"}, TStdOutTarget::Pipe, 0, KiB * 1024).ExitStatus == 0)
      Smallest = KiB;
  ASSERT_NE(Smallest, 0) << "the program did not run in 256 KiB of stack";
  const TRunResult Run =
      RunProcess(Program, {"abc"}, TStdOutTarget::Closed, 0, (Smallest + 1) * 1024);
  EXPECT_EQ(Run.Signal, 0) << "with " << Smallest + 1 << " KiB";
  EXPECT_EQ(Run.ExitStatus, 1);
  EXPECT_TRUE(std::regex_match(Run.StdErr, IoErrorReport(105))) << Run.StdErr;
}

TEST(ProgramTest, ClosedPipeEndsTheProgramSilently) {
  const TRunResult Run = RunProcess(Program, {"abc"}, TStdOutTarget::BrokenPipe);
  EXPECT_EQ(Run.Signal, SIGPIPE);
  EXPECT_EQ(Run.StdErr, "");
}

} // namespace
} // namespace md5b64

namespace md5b64 {
namespace {

const std::string FaultyProgram = MD5B64_FAULTY_PROGRAM;

std::regex Report(const std::string& ClassName, const std::string& Message) {
  return std::regex("Exception " + ClassName + " in module md5b64_faulty at [0-9A-F]{8}\\.\n" +
                    Message + "\r\n");
}

const std::string AbcDigest = "\x90\x01\x50\x98\x3c\xd2\x4f\xb0\xd6\x96\x3f\x7d\x28\xe1\x7f\x72";

TEST(ProgramFailureTest, FailingEncoderWritesTheRawDigestThenTheReport) {
  // An encoder that raises out-of-memory itself, and the real one with every allocation
  // failing under it.
  for (const char* Fault : {"encode-oom", "encode-alloc"}) {
    SCOPED_TRACE(Fault);
    const TRunResult Run = RunProcess(FaultyProgram, {Fault, "abc"});
    EXPECT_EQ(Run.ExitStatus, 1);
    ASSERT_GE(Run.StdOut.size(), 16U);
    EXPECT_EQ(Run.StdOut.substr(0, 16), AbcDigest);
    EXPECT_TRUE(std::regex_match(Run.StdOut.substr(16), Report("EOutOfMemory", "Out of memory\\.")))
        << Run.StdOut.substr(16);
    EXPECT_EQ(Run.StdErr, "");
  }
}

TEST(ProgramFailureTest, ReportWhileMemoryStaysExhaustedKeepsItsFormatByteForByte) {
  // With memory back, the report is built on the heap; with memory gone for good, it is
  // built in fixed storage. Both name the same raise point of EOutOfMemory, so they must
  // agree to the byte.
  const TRunResult Recovered = RunProcess(FaultyProgram, {"encode-alloc", "abc"});
  const TRunResult Exhausted = RunProcess(FaultyProgram, {"encode-oom-stays", "abc"});
  EXPECT_EQ(Exhausted.ExitStatus, 1);
  EXPECT_EQ(Exhausted.StdErr, "");
  ASSERT_GE(Exhausted.StdOut.size(), 16U);
  EXPECT_EQ(Exhausted.StdOut.substr(0, 16), AbcDigest);
  EXPECT_TRUE(
      std::regex_match(Exhausted.StdOut.substr(16), Report("EOutOfMemory", "Out of memory\\.")))
      << Exhausted.StdOut.substr(16);
  EXPECT_EQ(Exhausted.StdOut, Recovered.StdOut);
}

TEST(ProgramFailureTest, ReportOfAFailedRunSurvivesAFailingStandardOutput) {
  // A file takes its bytes only at the end: the output check passes, and the report of the
  // run's own failure, refused by the file, goes to standard error.
  const TRunResult Limited =
      RunProcess(FaultyProgram, {"encode-alloc", "abc"}, TStdOutTarget::SizeLimited, 0);
  EXPECT_EQ(Limited.ExitStatus, 1);
  EXPECT_EQ(Limited.StdOut, "");
  EXPECT_TRUE(std::regex_match(Limited.StdErr, Report("EOutOfMemory", "Out of memory\\.")))
      << Limited.StdErr;
  // A device is written at the flush and a closed output fails at once: the output check's
  // error then takes the place of the run's.
  const struct {
    TStdOutTarget Target;
    int Number;
  } Failing[] = {{TStdOutTarget::DevFull, ENOSPC}, {TStdOutTarget::Closed, 105}};
  for (const auto& Case : Failing) {
    SCOPED_TRACE(Case.Number);
    const TRunResult Run = RunProcess(FaultyProgram, {"encode-alloc", "abc"}, Case.Target);
    EXPECT_EQ(Run.ExitStatus, 1);
    EXPECT_TRUE(std::regex_match(
        Run.StdErr, Report("EInOutError", "I/O error " + std::to_string(Case.Number) + "\\.")))
        << Run.StdErr;
  }
}

TEST(ProgramFailureTest, SystemCallFaultsOnStandardOutputEndInAReportAndStatusOne) {
  // Injected into the program's own calls on descriptor 1; the numbers are the ones
  // coreutils reports for the same answers of the system.
  const struct {
    const char* Fault;
    std::string StdOut;
    int Number;
  } Cases[] = {
      {"close-eio", "kAFQmDzST7DWlj99KOF/cg==", EIO}, // the bytes went out, the close failed
      {"write-zero", "", ENOSPC},
      {"write-too-much", "kAFQmDzST7DWlj99KOF/cg==", EIO},
      {"write-eagain", "", EAGAIN},
      {"poll-fails", "", EAGAIN}, // the write's error, not the poll's ENOMEM
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Fault);
    const TRunResult Run = RunProcess(FaultyProgram, {Case.Fault, "abc"});
    EXPECT_EQ(Run.Signal, 0);
    EXPECT_EQ(Run.ExitStatus, 1);
    EXPECT_EQ(Run.StdOut, Case.StdOut);
    EXPECT_TRUE(std::regex_match(
        Run.StdErr, Report("EInOutError", "I/O error " + std::to_string(Case.Number) + "\\.")))
        << Run.StdErr;
  }
}

TEST(ProgramFailureTest, InterruptedAndShortWritesLoseAndRepeatNoByte) {
  for (const TStdOutTarget Target : {TStdOutTarget::Pipe, TStdOutTarget::File}) {
    SCOPED_TRACE(static_cast<int>(Target));
    const TRunResult Run = RunProcess(FaultyProgram, {"write-choppy", "abc"}, Target);
    EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
    EXPECT_EQ(Run.StdErr, "");
    EXPECT_EQ(Run.ExitStatus, 0);
  }
}

TEST(ProgramFailureTest, NothingBeforeMainNeedsMemory) {
  // Every allocation before main fails: a process-wide text built on the heap there would
  // end the program in std::terminate, before the runtime could report anything.
  ::setenv("MD5B64_FAULT", "alloc-before-main", 1);
  const TRunResult Run = RunProcess(FaultyProgram, {"none", "abc"});
  ::unsetenv("MD5B64_FAULT");
  EXPECT_EQ(Run.Signal, 0);
  EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
  EXPECT_EQ(Run.StdErr, "");
  EXPECT_EQ(Run.ExitStatus, 0);
}

TEST(ProgramFailureTest, FailureWhileDestroyingIsIgnored) {
  for (const char* Fault : {"destroy-coder", "destroy-encoder"}) {
    SCOPED_TRACE(Fault);
    const TRunResult Run = RunProcess(FaultyProgram, {Fault, "abc"});
    EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
    EXPECT_EQ(Run.ExitStatus, 0);
  }
}

TEST(ProgramFailureTest, FailingStartUpStopsStartedModulesInReverse) {
  const TRunResult Run = RunProcess(FaultyProgram, {"start-up", "abc"});
  EXPECT_EQ(Run.ExitStatus, 1);
  EXPECT_EQ(Run.StdErr, "start IdGlobal\nstart IdCoderMIME\nstop IdCoderMIME\nstop IdGlobal\n");
  EXPECT_TRUE(std::regex_match(Run.StdOut, Report("EIdException", "start-up step failed\\.")))
      << Run.StdOut;
}

TEST(ProgramFailureTest, TheUninjectedProgramBehavesAsTheRealOne) {
  const TRunResult Run = RunProcess(FaultyProgram, {"none", "abc", "ignored"});
  EXPECT_EQ(Run.StdOut, "kAFQmDzST7DWlj99KOF/cg==");
  EXPECT_EQ(Run.ExitStatus, 0);
}

} // namespace
} // namespace md5b64
