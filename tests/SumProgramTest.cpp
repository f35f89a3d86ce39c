// SPDX-License-Identifier: MIT
// md5b64sum from outside: exact bytes on standard output and standard error and the exit
// status, for files, standard input, lists to check and failing outputs. Expected digests
// and ETags are computed by Python's hashlib and base64 on the same files while the tests
// run; the messages are GNU md5sum 9.1's, with the program's name.
#include "ProcessRunner.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cctype>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

using test::RunProcess;
using test::TRunResult;
using test::TStdOutTarget;

const std::string Program = MD5B64SUM_PROGRAM;

// Functions the expected values come from.
constexpr const char* PythonPrelude = R"(
import base64, hashlib, sys
def data(name):
    with open(name, 'rb') as f:
        return f.read()
def b64(name):
    return base64.b64encode(hashlib.md5(data(name)).digest()).decode()
def hex(name):
    return hashlib.md5(data(name)).hexdigest()
def etag(name, size):
    d = data(name)
    parts = [d[i:i + size] for i in range(0, len(d), size)]
    if len(parts) <= 1:
        return hashlib.md5(d).hexdigest()
    joined = b''.join(hashlib.md5(p).digest() for p in parts)
    return hashlib.md5(joined).hexdigest() + '-' + str(len(parts))
)";

// A deterministic pattern of every byte value.
std::string Pattern(std::size_t Size) {
  std::string Bytes(Size, '\0');
  std::uint32_t State = 12345;
  for (char& Byte : Bytes) {
    State = State * 1103515245u + 12345u;
    Byte = static_cast<char>(State >> 24);
  }
  return Bytes;
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> Lines;
  for (std::size_t Start = 0; Start < Text.size();) {
    const std::size_t End = Text.find('\n', Start);
    Lines.push_back(Text.substr(Start, End - Start));
    Start = End == std::string::npos ? Text.size() : End + 1;
  }
  return Lines;
}

class SumProgramTest : public ::testing::Test {
protected:
  void SetUp() override {
    char Template[] = "/tmp/md5b64sum-test-XXXXXX";
    ASSERT_NE(::mkdtemp(Template), nullptr);
    FDir = Template;
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  void Write(const std::string& Name, const std::string& Bytes) const {
    std::ofstream File(FDir + "/" + Name, std::ios::binary);
    File << Bytes;
    ASSERT_TRUE(File.good()) << Name;
  }

  // Runs Script in the test's folder under sh, with $S the program and "$@" the arguments.
  TRunResult Shell(const std::string& Script, const std::vector<std::string>& Args = {},
                   TStdOutTarget Target = TStdOutTarget::Pipe) const {
    std::vector<std::string> All = {"-c", "cd \"$1\" || exit 99; S=\"$2\"; shift 2; " + Script,
                                    "sh", FDir, Program};
    All.insert(All.end(), Args.begin(), Args.end());
    return RunProcess("/bin/sh", All, Target);
  }
  // Runs the program in the test's folder with Args.
  TRunResult Sum(const std::vector<std::string>& Args,
                 TStdOutTarget Target = TStdOutTarget::Pipe) const {
    return Shell("exec \"$S\" \"$@\"", Args, Target);
  }
  // The value of the Python expression Expression on the files of the test's folder; the
  // expression finds Args in the list A.
  std::string Python(const std::string& Expression,
                     const std::vector<std::string>& Args = {}) const {
    std::vector<std::string> All = {
        "-c", "cd \"$1\" && shift && exec python3 -c \"$@\"", "sh", FDir,
        std::string(PythonPrelude) + "A = sys.argv[1:]\nsys.stdout.write(" + Expression + ")"};
    All.insert(All.end(), Args.begin(), Args.end());
    const TRunResult Run = RunProcess("/bin/sh", All);
    EXPECT_EQ(Run.ExitStatus, 0) << Run.StdErr;
    return Run.StdOut;
  }
  // One Python start for many files: the digests are computed while the machine is busy.
  std::vector<std::string> Each(const std::string& Function,
                                const std::vector<std::string>& Names) const {
    std::vector<std::string> Values =
        SplitLines(Python("''.join(" + Function + "(n) + '\\n' for n in A)", Names));
    EXPECT_EQ(Values.size(), Names.size());
    Values.resize(Names.size());
    return Values;
  }
  std::string B64(const std::string& Name) const { return Each("b64", {Name})[0]; }
  std::string Hex(const std::string& Name) const { return Each("hex", {Name})[0]; }

  std::string FDir;
};

// Sizes around MD5's 64-byte block, its 56-byte padding limit and the 128 KiB read buffer.
const std::size_t Sizes[] = {0, 1, 3, 55, 56, 63, 64, 65, 131071, 131072, 131073, 1048583};

TEST_F(SumProgramTest, WritesEveryFormForFilesOfEverySize) {
  std::vector<std::string> Names;
  for (const std::size_t Size : Sizes) {
    Names.push_back("f" + std::to_string(Size));
    Write(Names.back(), Pattern(Size));
  }
  const std::vector<std::string> Base64s = Each("b64", Names);
  const std::vector<std::string> Hexes = Each("hex", Names);
  const struct {
    std::vector<std::string> Options;
    bool UseHex;
    const char* Before; // before the digest
    const char* Middle; // between digest and name (or name and digest when tagged)
    bool Tagged;
    char End;
  } Forms[] = {
      {{}, false, "", "  ", false, '\n'},
      {{"-t"}, false, "", "  ", false, '\n'},
      {{"-b"}, false, "", " *", false, '\n'},
      {{"--hex"}, true, "", "  ", false, '\n'},
      {{"--tag"}, false, "MD5 (", ") = ", true, '\n'},
      {{"--tag", "--hex"}, true, "MD5 (", ") = ", true, '\n'},
      {{"-z"}, false, "", "  ", false, '\0'},
      {{"--zero", "--tag"}, false, "MD5 (", ") = ", true, '\0'},
  };
  for (const auto& Form : Forms) {
    std::string Expected;
    for (std::size_t Index = 0; Index < Names.size(); ++Index) {
      const std::string& Digest = Form.UseHex ? Hexes[Index] : Base64s[Index];
      if (Form.Tagged)
        Expected += Form.Before + Names[Index] + Form.Middle + Digest;
      else
        Expected += Digest + Form.Middle + Names[Index];
      Expected += Form.End;
    }
    std::vector<std::string> Args = Form.Options;
    Args.insert(Args.end(), Names.begin(), Names.end());
    SCOPED_TRACE(testing::PrintToString(Form.Options));
    const TRunResult Run = Sum(Args);
    EXPECT_EQ(Run.StdOut, Expected);
    EXPECT_EQ(Run.StdErr, "");
    EXPECT_EQ(Run.ExitStatus, 0);
    // A regular file as standard output gets the same bytes.
    EXPECT_EQ(Sum(Args, TStdOutTarget::File).StdOut, Expected);
  }
}

TEST_F(SumProgramTest, ReadsStandardInputFromAPipeAndFromAFile) {
  Write("in", Pattern(200000));
  const std::string Digest = B64("in");
  const struct {
    const char* Script;
    std::string Expected;
  } Cases[] = {
      {"cat in | \"$S\"", Digest + "  -\n"},
      {"\"$S\" < in", Digest + "  -\n"},
      {"\"$S\" - < in", Digest + "  -\n"},
      {"cat in | \"$S\" --tag", "MD5 (-) = " + Digest + "\n"},
      {"cat in | \"$S\" --hex in -", Hex("in") + "  in\n" + Hex("in") + "  -\n"},
      {"\"$S\" < /dev/null", "1B2M2Y8AsgTpgAmY7PhCfg==  -\n"}, // MD5 of nothing
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Script);
    const TRunResult Run = Shell(Case.Script);
    EXPECT_EQ(Run.StdOut, Case.Expected);
    EXPECT_EQ(Run.StdErr, "");
    EXPECT_EQ(Run.ExitStatus, 0);
  }
}

TEST_F(SumProgramTest, EscapesNamesAsMd5sumDoes) {
  const struct {
    std::string Name;
    std::string Shown; // escaped, without the leading backslash
    bool Escaped;
  } Cases[] = {
      {"with space", "with space", false},
      {"back\\slash", "back\\\\slash", true},
      {"line\nfeed", "line\\nfeed", true},
      {"carriage\rreturn", "carriage\\rreturn", true},
      {"caf\xc3\xa9 \xff", "caf\xc3\xa9 \xff", false},
      {"*star", "*star", false},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Shown);
    Write(Case.Name, "x");
    Write("plain", "x");
    const std::string Digest = B64("plain");
    const std::string Lead = Case.Escaped ? "\\" : "";
    EXPECT_EQ(Sum({Case.Name}).StdOut, Lead + Digest + "  " + Case.Shown + "\n");
    EXPECT_EQ(Sum({"--tag", Case.Name}).StdOut,
              Lead + "MD5 (" + Case.Shown + ") = " + Digest + "\n");
    EXPECT_EQ(Sum({"-z", Case.Name}).StdOut, Digest + "  " + Case.Name + std::string(1, '\0'));
    // And each form reads back.
    for (const std::vector<std::string>& Form :
         {std::vector<std::string>{}, std::vector<std::string>{"--tag"}}) {
      std::vector<std::string> Args = Form;
      Args.push_back(Case.Name);
      Write("list", Sum(Args).StdOut);
      const TRunResult Check = Sum({"-c", "list"});
      const std::string Result =
          Case.Name.find('\n') != std::string::npos ? "\\" + Case.Shown : Case.Name;
      EXPECT_EQ(Check.StdOut, Result + ": OK\n");
      EXPECT_EQ(Check.ExitStatus, 0) << Check.StdErr;
    }
  }
}

TEST_F(SumProgramTest, ETagsBelowAtAndAboveOnePart) {
  const struct {
    std::size_t Size;
    const char* PartSize;
    std::size_t PartBytes;
  } Cases[] = {
      {0, "1K", 1024},          {1000, "1K", 1024},       {1024, "1k", 1024},
      {1025, "1K", 1024},       {2048, "1024", 1024},     {3000, "1K", 1024},
      {300000, "65536", 65536}, {262144, "128K", 131072}, {5 * 1048576 + 3, "1M", 1048576},
      {200000, "1", 1},
  };
  std::vector<std::string> Args;
  for (std::size_t Index = 0; Index < std::size(Cases); ++Index) {
    Args.push_back("f" + std::to_string(Index));
    Args.push_back(std::to_string(Cases[Index].PartBytes));
    Write(Args[2 * Index], Pattern(Cases[Index].Size));
  }
  const std::vector<std::string> ETags = SplitLines(
      Python("''.join(etag(A[i], int(A[i + 1])) + '\\n' for i in range(0, len(A), 2))", Args));
  for (std::size_t Index = 0; Index < std::size(Cases); ++Index) {
    const auto& Case = Cases[Index];
    SCOPED_TRACE(std::to_string(Case.Size) + " " + Case.PartSize);
    const std::string Name = Args[2 * Index];
    ASSERT_LT(Index, ETags.size());
    const std::string& ETag = ETags[Index];
    const TRunResult Run = Sum({std::string("--etag=") + Case.PartSize, Name});
    EXPECT_EQ(Run.StdOut, ETag + "  " + Name + "\n");
    EXPECT_EQ(Run.ExitStatus, 0) << Run.StdErr;
    EXPECT_EQ(Sum({"--tag", "--etag", Case.PartSize, Name}).StdOut,
              "MD5 (" + Name + ") = " + ETag + "\n");
    // Checking: the right ETag passes, written in either case.
    std::string Upper = ETag;
    for (char& Character : Upper)
      Character = static_cast<char>(std::toupper(static_cast<unsigned char>(Character)));
    Write("list", ETag + "  " + Name + "\nMD5 (" + Name + ") = " + Upper + "\n");
    EXPECT_EQ(Sum({"-c", std::string("--etag=") + Case.PartSize, "list"}).StdOut,
              Name + ": OK\n" + Name + ": OK\n");
  }
  // One case whose answer does not depend on Python: 2049 bytes in 1 KiB parts are three.
  Write("f", Pattern(2049));
  const std::string Out = Sum({"--etag=1K", "f"}).StdOut;
  EXPECT_EQ(Out.substr(32), "-3  f\n");
}

TEST_F(SumProgramTest, ChecksGoodListsInEveryForm) {
  Write("a", "abc");
  Write("b c", Pattern(70000));
  Write("d\\e", "");
  Write("n\nl", "x");
  Write("x", "x");
  const std::string List =
      // Base64 and hex, tagged and untagged, escaped, CR LF ends, comments and blank lines.
      "# digests\n" + B64("a") + "  a\n" + Hex("b c") + " *b c\r\n" + "\\" + B64("d\\e") +
      "  d\\\\e\n" + "\n" + "MD5 (a) = " + Hex("a") + "\r\n" + "\\MD5 (n\\nl) = " + B64("n\nl") +
      "\n" + "  " + B64("a") + "  a";
  Write("list", List);
  const std::string Expected = "a: OK\nb c: OK\nd\\e: OK\na: OK\n\\n\\nl: OK\na: OK\n";
  const TRunResult Run = Sum({"-c", "list"});
  EXPECT_EQ(Run.StdOut, Expected);
  EXPECT_EQ(Run.StdErr, "");
  EXPECT_EQ(Run.ExitStatus, 0);
  // From standard input, and twice.
  EXPECT_EQ(Shell("\"$S\" --check < list").StdOut, Expected);
  EXPECT_EQ(Shell("cat list | \"$S\" -c - list").StdOut, Expected + Expected);
  // Upper-case hex checks too.
  Write("upper", "900150983CD24FB0D6963F7D28E17F72  a\n");
  EXPECT_EQ(Sum({"-c", "upper"}).StdOut, "a: OK\n");
}

TEST_F(SumProgramTest, ReportsMismatchesMissingFilesAndMalformedLinesWithEachFlag) {
  Write("a", "abc");
  Write("b", "b");
  const std::string GoodA = B64("a") + "  a\n";
  const std::string BadB = B64("a") + "  b\n";
  const std::string Missing = Hex("a") + "  gone\n";
  Write("list", GoodA + BadB + "garbage\n" + Missing + "MD5 (x) = nope\n");
  const std::string Warnings = "md5b64sum: WARNING: 2 lines are improperly formatted\n"
                               "md5b64sum: WARNING: 1 listed file could not be read\n"
                               "md5b64sum: WARNING: 1 computed checksum did NOT match\n";
  const std::string MissingError = "md5b64sum: gone: No such file or directory\n";
  const struct {
    std::vector<std::string> Flags;
    std::string Out;
    std::string Err;
    int Status;
  } Cases[] = {
      {{}, "a: OK\nb: FAILED\ngone: FAILED open or read\n", MissingError + Warnings, 1},
      {{"--quiet"}, "b: FAILED\ngone: FAILED open or read\n", MissingError + Warnings, 1},
      {{"--status"}, "", MissingError, 1},
      {{"--warn"},
       "a: OK\nb: FAILED\ngone: FAILED open or read\n",
       "md5b64sum: list: 3: improperly formatted MD5 checksum line\n" + MissingError +
           "md5b64sum: list: 5: improperly formatted MD5 checksum line\n" + Warnings,
       1},
      {{"--ignore-missing"},
       "a: OK\nb: FAILED\n",
       "md5b64sum: WARNING: 2 lines are improperly formatted\n"
       "md5b64sum: WARNING: 1 computed checksum did NOT match\n",
       1},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::PrintToString(Case.Flags));
    std::vector<std::string> Args = {"-c"};
    Args.insert(Args.end(), Case.Flags.begin(), Case.Flags.end());
    Args.push_back("list");
    const TRunResult Run = Sum(Args);
    EXPECT_EQ(Run.StdOut, Case.Out);
    EXPECT_EQ(Run.StdErr, Case.Err);
    EXPECT_EQ(Run.ExitStatus, Case.Status);
  }
}

TEST_F(SumProgramTest, StatusOfChecksFollowsMd5sum) {
  Write("a", "abc");
  const std::string GoodA = B64("a") + "  a\n";
  Write("good", GoodA);
  Write("good-and-garbage", GoodA + "garbage\n");
  Write("only-garbage", "garbage\n\n# comment\n");
  Write("only-missing", B64("a") + "  gone\n");
  Write("missing-and-good", B64("a") + "  gone\n" + GoodA);
  Write("names-stdin", B64("a") + "  -\n");
  const struct {
    std::vector<std::string> Args;
    std::string Out;
    std::string Err;
    int Status;
  } Cases[] = {
      {{"-c", "good"}, "a: OK\n", "", 0},
      {{"-c", "--status", "good"}, "", "", 0},
      {{"-c", "good-and-garbage"},
       "a: OK\n",
       "md5b64sum: WARNING: 1 line is improperly formatted\n",
       0},
      {{"-c", "--strict", "good-and-garbage"},
       "a: OK\n",
       "md5b64sum: WARNING: 1 line is improperly formatted\n",
       1},
      {{"-c", "only-garbage"},
       "",
       "md5b64sum: only-garbage: no properly formatted checksum lines found\n",
       1},
      {{"-c", "--status", "only-garbage"},
       "",
       "md5b64sum: only-garbage: no properly formatted checksum lines found\n",
       1},
      {{"-c", "--ignore-missing", "only-missing"},
       "",
       "md5b64sum: only-missing: no file was verified\n",
       1},
      {{"-c", "--ignore-missing", "missing-and-good"}, "a: OK\n", "", 0},
      {{"-c", "no-such-list"}, "", "md5b64sum: no-such-list: No such file or directory\n", 1},
      {{"-c", "no-such-list", "good"},
       "a: OK\n",
       "md5b64sum: no-such-list: No such file or directory\n",
       1},
      // A list on disk may name standard input (here empty); one read from it may not.
      {{"-c", "names-stdin"},
       "-: FAILED\n",
       "md5b64sum: WARNING: 1 computed checksum did NOT match\n",
       1},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::PrintToString(Case.Args));
    const TRunResult Run = Shell("exec \"$S\" \"$@\" < /dev/null", Case.Args);
    EXPECT_EQ(Run.StdOut, Case.Out);
    EXPECT_EQ(Run.StdErr, Case.Err);
    EXPECT_EQ(Run.ExitStatus, Case.Status);
  }
  const TRunResult FromStdIn = Shell("exec \"$S\" -c < names-stdin");
  EXPECT_EQ(FromStdIn.StdErr,
            "md5b64sum: 'standard input': no properly formatted checksum lines found\n");
  EXPECT_EQ(FromStdIn.ExitStatus, 1);
}

TEST_F(SumProgramTest, UnreadableAndMissingFilesAmongGoodOnes) {
  Write("a", "abc");
  Write("secret", "s");
  ASSERT_EQ(::mkdir((FDir + "/dir").c_str(), 0755), 0);
  ::chmod((FDir + "/secret").c_str(), 0);
  const bool Root = ::geteuid() == 0; // root reads the file anyway
  const TRunResult Run = Sum({"a", "gone", "dir", "secret", "a b", "a"});
  const std::string Line = B64("a") + "  a\n";
  std::string Err = "md5b64sum: gone: No such file or directory\n"
                    "md5b64sum: dir: Is a directory\n";
  std::string Out = Line;
  if (Root)
    Out += B64("secret") + "  secret\n";
  else
    Err += "md5b64sum: secret: Permission denied\n";
  Err += "md5b64sum: 'a b': No such file or directory\n";
  Out += Line;
  EXPECT_EQ(Run.StdOut, Out);
  EXPECT_EQ(Run.StdErr, Err);
  EXPECT_EQ(Run.ExitStatus, 1);
}

TEST_F(SumProgramTest, AFailingOutputIsReportedWithStatusOne) {
  Write("a", "abc");
  const struct {
    TStdOutTarget Target;
    const char* Err;
  } Cases[] = {
      {TStdOutTarget::Closed, "md5b64sum: write error: Bad file descriptor\n"},
      {TStdOutTarget::DevFull, "md5b64sum: write error: No space left on device\n"},
  };
  for (const auto& Case : Cases) {
    for (const std::vector<std::string>& Args :
         {std::vector<std::string>{"a"}, std::vector<std::string>{"--help"},
          std::vector<std::string>{"--version"}}) {
      SCOPED_TRACE(Case.Err + Args[0]);
      const TRunResult Run = Sum(Args, Case.Target);
      EXPECT_EQ(Run.StdErr, Case.Err);
      EXPECT_EQ(Run.ExitStatus, 1);
    }
  }
}

TEST_F(SumProgramTest, APipeClosedEarlyEndsQuietlyUnlessSigpipeIsIgnored) {
  Write("a", "abc");
  // Far more output than a pipe holds, so that writes go on after the reader has gone.
  std::string Names;
  for (int Index = 0; Index < 20000; ++Index)
    Names += " a";
  const std::string Pipeline =
      "{ \"$S\"" + Names + "; echo $? > status; } | head -c 1 > /dev/null; cat status";
  const TRunResult Quiet = Shell(Pipeline);
  EXPECT_EQ(Quiet.StdOut, std::to_string(128 + SIGPIPE) + "\n");
  EXPECT_EQ(Quiet.StdErr, "");

  const TRunResult Ignored = Shell("trap '' PIPE; " + Pipeline);
  EXPECT_EQ(Ignored.StdOut, "1\n");
  EXPECT_EQ(Ignored.StdErr, "md5b64sum: write error: Broken pipe\n");
}

TEST_F(SumProgramTest, BadOptionsGiveTheHintAndStatusOne) {
  const struct {
    std::vector<std::string> Args;
    const char* Message;
  } Cases[] = {
      {{"--bogus"}, "unrecognized option '--bogus'"},
      {{"-x"}, "invalid option -- 'x'"},
      {{"--etag"}, "option '--etag' requires an argument"},
      {{"--etag=-5M"},
       "invalid --etag part size '-5M': a positive whole number of bytes with "
       "an optional K, M or G is expected"},
      {{"--quiet", "a"}, "the --quiet option is meaningful only when verifying checksums"},
      {{"-c", "--tag"}, "the --tag option is meaningless when verifying checksums"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Message);
    const TRunResult Run = Sum(Case.Args);
    EXPECT_EQ(Run.StdOut, "");
    EXPECT_EQ(Run.StdErr, std::string("md5b64sum: ") + Case.Message +
                              "\nTry 'md5b64sum --help' for more information.\n");
    EXPECT_EQ(Run.ExitStatus, 1);
  }
}

TEST_F(SumProgramTest, HelpVersionAndTheEndOfOptions) {
  const TRunResult Help = Sum({"--help"});
  EXPECT_EQ(Help.StdOut.rfind("Usage: md5b64sum [OPTION]... [FILE]...\n", 0), 0u);
  for (const char* Option : {"--check", "--etag=SIZE", "--hex", "--tag", "--zero", "--quiet",
                             "--status", "--strict", "--warn", "--ignore-missing"})
    EXPECT_NE(Help.StdOut.find(Option), std::string::npos) << Option;
  EXPECT_EQ(Help.ExitStatus, 0);
  const TRunResult Version = Sum({"--version"});
  EXPECT_EQ(Version.StdOut, "md5b64sum (md5b64) " MD5B64_VERSION_STRING "\n");
  EXPECT_EQ(Version.ExitStatus, 0);

  Write("-z", "abc");
  Write("--tag", "abc");
  const TRunResult Ended = Sum({"--", "-z", "--tag"});
  EXPECT_EQ(Ended.StdOut, B64("-z") + "  -z\n" + B64("--tag") + "  --tag\n");
  EXPECT_EQ(Ended.ExitStatus, 0);
}

// MD5 of 2^32 + 1 zero bytes, from Python's hashlib over the same bytes in 1 MiB pieces,
// in base64 and in hex.
constexpr const char* BigBase64 = "8Yx5j/XUUN/k06zcErYh/w==";
constexpr const char* BigHex = "f18c798ff5d450dfe4d3acdc12b621ff";

TEST_F(SumProgramTest, ASparseFileAbove4GiBInConstantMemory) {
  const std::string Big = FDir + "/big";
  const TRunResult Made = RunProcess("/usr/bin/truncate", {"-s", "4294967297", Big});
  struct stat Info {};
  if (Made.ExitStatus != 0 || ::stat(Big.c_str(), &Info) != 0 ||
      static_cast<long long>(Info.st_blocks) * 512 > (1ll << 20))
    GTEST_SKIP() << "this file system cannot hold a sparse 4 GiB file here";
  const TRunResult Run = Sum({"big"});
  EXPECT_EQ(Run.StdOut, std::string(BigBase64) + "  big\n");
  EXPECT_EQ(Run.ExitStatus, 0) << Run.StdErr;
  // The hex form of the same digest, from the list reader.
  Write("list", std::string(BigHex) + "  big\n");
  EXPECT_EQ(Sum({"-c", "list"}).StdOut, "big: OK\n");
  // The largest resident size of any child so far, this run included: reading 8 GiB kept it
  // to the buffers, far below the file (64 MiB leaves room for a sanitizer's own memory).
  rusage Usage{};
  ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &Usage), 0);
  EXPECT_LT(Usage.ru_maxrss, 64 * 1024) << "KiB";
}

} // namespace
} // namespace md5b64
