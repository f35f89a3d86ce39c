// SPDX-License-Identifier: MIT
#include "front_end/SumProgram.h"

#include "front_end/SumCheck.h"
#include "front_end/SumInput.h"
#include "front_end/SumNames.h"
#include "front_end/SumOptions.h"
#include "front_end/SumOutput.h"
#include "platform/internal/OsConsole.h"
#include "platform/internal/OsFiles.h"

#include <algorithm>

#include <cctype>
#include <cerrno>
#include <optional>

#ifndef MD5B64_VERSION_STRING
#error "MD5B64_VERSION_STRING must be defined by the build"
#endif

namespace md5b64 {

namespace {

constexpr std::string_view HelpText =
    "Usage: md5b64sum [OPTION]... [FILE]...\n"
    "Print or check MD5 (128-bit) checksums in Base64.\n"
    "\n"
    "With no FILE, or when FILE is -, read standard input.\n"
    "  -b, --binary          read in binary mode (only marks the line with '*')\n"
    "  -c, --check           read checksums from the FILEs and check them\n"
    "      --etag=SIZE       print the S3-style ETag of an upload in parts of SIZE bytes\n"
    "                          (K, M or G for KiB, MiB or GiB); with --check, check ETags\n"
    "      --hex             print the digest as 32 hexadecimal digits\n"
    "      --tag             create a BSD-style checksum\n"
    "  -t, --text            read in text mode (default)\n"
    "  -z, --zero            end each output line with NUL, not newline,\n"
    "                          and disable file name escaping\n"
    "\n"
    "The following five options are useful only when verifying checksums:\n"
    "      --ignore-missing  don't fail or report status for missing files\n"
    "      --quiet           don't print OK for each successfully verified file\n"
    "      --status          don't output anything, status code shows success\n"
    "      --strict          exit non-zero for improperly formatted checksum lines\n"
    "  -w, --warn            warn about improperly formatted checksum lines\n"
    "\n"
    "      --help        display this help and exit\n"
    "      --version     output version information and exit\n"
    "\n"
    "The sums are computed as described in RFC 1321 and written in Base64 as described\n"
    "in RFC 4648. When checking, the input should be a former output of this program;\n"
    "digests in Base64 and in hexadecimal are both accepted.\n"
    "The default mode is to print a line with: checksum, a space,\n"
    "a character indicating input mode ('*' for binary, ' ' for text\n"
    "or where binary is insignificant), and name for each FILE.\n"
    "\n"
    "Files are always read as bytes: binary and text mode give the same digest.\n";

constexpr std::string_view Usage = "Try 'md5b64sum --help' for more information.";

class TSumRun {
public:
  explicit TSumRun(const TSumOptions& Options)
      : FOptions(Options), FReader(Options.ETagPartSize != 0 ? TSumForm::ETag
                                   : Options.Hex             ? TSumForm::Hex
                                                             : TSumForm::Base64,
                                   Options.ETagPartSize),
        FLines(Options.ETagPartSize != 0 ? &IsETagSyntax : &IsDigestSyntax) {}

  bool SumFile(const std::string& Name);
  bool CheckList(const std::string& ListName);
  TSumOutput& Output() noexcept { return FOutput; }

private:
  // A line of a list, checked; counts go to the list's totals.
  struct TListTotals {
    unsigned long long Malformed = 0;
    unsigned long long Unreadable = 0;
    unsigned long long Mismatched = 0;
    bool AnyWellFormed = false;
    bool AnyMatched = false;
  };
  void CheckLine(const TCheckLine& Line, TListTotals& Totals);
  void WriteCheckResult(const std::string& Name, std::string_view Result);
  bool Matches(const std::string& Listed, const std::string& Computed) const;

  const TSumOptions& FOptions;
  TSumOutput FOutput;
  TSumReader FReader;
  TCheckLineReader FLines;
};

bool TSumRun::SumFile(const std::string& Name) {
  std::string Digest;
  bool Opened = false;
  const int Error = FReader.Digest(Name, Digest, Opened);
  if (Error != 0) {
    ReportError(QuoteName(Name) + ": " + OsErrorText(Error));
    return false;
  }
  const bool Escape = !FOptions.Zero && NameNeedsEscape(Name);
  const std::string Shown = Escape ? EscapeName(Name) : Name;
  if (Escape)
    FOutput.Write("\\");
  if (FOptions.Tag) {
    FOutput.Write("MD5 (");
    FOutput.Write(Shown);
    FOutput.Write(") = ");
    FOutput.Write(Digest);
  } else {
    FOutput.Write(Digest);
    FOutput.Write(FOptions.Binary.value_or(false) ? " *" : "  ");
    FOutput.Write(Shown);
  }
  FOutput.EndLine(FOptions.Zero ? '\0' : '\n');
  return true;
}

bool TSumRun::Matches(const std::string& Listed, const std::string& Computed) const {
  if (FOptions.ETagPartSize != 0) {
    if (Listed.size() != Computed.size())
      return false;
    for (std::size_t Index = 0; Index < Listed.size(); ++Index)
      if (std::tolower(static_cast<unsigned char>(Listed[Index])) != Computed[Index])
        return false;
    return true;
  }
  TDigestBytes Expected;
  TDigestBytes Actual;
  return DigestFromText(Listed, Expected) && DigestFromText(Computed, Actual) && Expected == Actual;
}

void TSumRun::WriteCheckResult(const std::string& Name, std::string_view Result) {
  // Only a line feed would break the result line; a name with one is written escaped.
  if (Name.find('\n') != std::string::npos) {
    FOutput.Write("\\");
    FOutput.Write(EscapeName(Name));
  } else {
    FOutput.Write(Name);
  }
  FOutput.Write(": ");
  FOutput.Write(Result);
  FOutput.EndLine('\n');
}

void TSumRun::CheckLine(const TCheckLine& Line, TListTotals& Totals) {
  std::string Computed;
  bool Opened = false;
  const int Error = FReader.Digest(Line.Name, Computed, Opened);
  if (Error != 0) {
    if (FOptions.IgnoreMissing && !Opened && Error == ENOENT)
      return;
    ReportError(QuoteName(Line.Name) + ": " + OsErrorText(Error));
    ++Totals.Unreadable;
    if (!FOptions.Status)
      WriteCheckResult(Line.Name, "FAILED open or read");
    return;
  }
  const bool Match = Matches(Line.Digest, Computed);
  if (Match)
    Totals.AnyMatched = true;
  else
    ++Totals.Mismatched;
  if (FOptions.Status || (Match && FOptions.Quiet))
    return;
  WriteCheckResult(Line.Name, Match ? "OK" : "FAILED");
}

// Reads the lines of a list; returns false when the list itself could not be read.
class TLineSource {
public:
  explicit TLineSource(TOsInputFile File) : FFile(File), FBuffer(64 * 1024) {}
  // The next line with its line feed removed; nothing at the end or on an error.
  std::optional<std::string> Next() {
    std::string Line;
    for (;;) {
      if (FPos == FFill) {
        if (FError != 0 || FEnd)
          break;
        std::size_t Got = 0;
        FError = OsReadInputFile(FFile, FBuffer.data(), FBuffer.size(), Got);
        FPos = 0;
        FFill = Got;
        if (FError != 0 || Got == 0) {
          FEnd = true;
          break;
        }
      }
      const char* Start = FBuffer.data() + FPos;
      const char* Stop = FBuffer.data() + FFill;
      const char* Feed = std::find(Start, Stop, '\n');
      Line.append(Start, Feed);
      FPos = static_cast<std::size_t>(Feed - FBuffer.data());
      if (Feed != Stop) {
        ++FPos;
        return Line;
      }
    }
    if (Line.empty())
      return std::nullopt;
    return Line;
  }
  int Error() const noexcept { return FError; }

private:
  TOsInputFile FFile;
  std::vector<char> FBuffer;
  std::size_t FPos = 0;
  std::size_t FFill = 0;
  bool FEnd = false;
  int FError = 0;
};

std::string Counted(unsigned long long Count, std::string_view One, std::string_view Many) {
  return std::to_string(Count) + " " + std::string(Count == 1 ? One : Many);
}

bool TSumRun::CheckList(const std::string& ListName) {
  const bool IsStdIn = ListName == "-";
  const std::string Shown = IsStdIn ? QuoteName("standard input") : QuoteName(ListName);
  TOsInputFile File = OsStdInFile();
  if (!IsStdIn) {
    const int Error = OsOpenInputFile(ListName, File);
    if (Error != 0) {
      ReportError(Shown + ": " + OsErrorText(Error));
      return false;
    }
  }
  TListTotals Totals;
  TLineSource Source(File);
  unsigned long long LineNumber = 0;
  while (std::optional<std::string> Line = Source.Next()) {
    ++LineNumber;
    if (!Line->empty() && (*Line)[0] == '#')
      continue;
    if (!Line->empty() && Line->back() == '\r')
      Line->pop_back();
    if (Line->empty())
      continue;
    std::optional<TCheckLine> Parsed = FLines.Read(*Line);
    // A list read from standard input cannot name standard input again.
    if (!Parsed || (IsStdIn && Parsed->Name == "-")) {
      ++Totals.Malformed;
      if (FOptions.Warn)
        ReportError(Shown + ": " + std::to_string(LineNumber) +
                    ": improperly formatted MD5 checksum line");
      continue;
    }
    Totals.AnyWellFormed = true;
    CheckLine(*Parsed, Totals);
  }
  const int ReadError = Source.Error();
  OsCloseInputFile(File);
  if (ReadError != 0) {
    ReportError(Shown + ": " + OsErrorText(ReadError));
    return false;
  }

  if (!Totals.AnyWellFormed) {
    ReportError(Shown + ": no properly formatted checksum lines found");
    return false;
  }
  if (!FOptions.Status) {
    if (Totals.Malformed != 0)
      ReportError("WARNING: " + Counted(Totals.Malformed, "line is improperly formatted",
                                        "lines are improperly formatted"));
    if (Totals.Unreadable != 0)
      ReportError("WARNING: " + Counted(Totals.Unreadable, "listed file could not be read",
                                        "listed files could not be read"));
    if (Totals.Mismatched != 0)
      ReportError("WARNING: " + Counted(Totals.Mismatched, "computed checksum did NOT match",
                                        "computed checksums did NOT match"));
    if (FOptions.IgnoreMissing && !Totals.AnyMatched)
      ReportError(Shown + ": no file was verified");
  }
  return Totals.Mismatched == 0 && Totals.Unreadable == 0 &&
         (!FOptions.Strict || Totals.Malformed == 0) &&
         (!FOptions.IgnoreMissing || Totals.AnyMatched);
}

} // namespace

int RunSum(const std::vector<std::string>& Args) {
  OsUseBinaryStdio();
  TSumOptions Options;
  try {
    Options = ParseSumOptions(Args);
  } catch (const ESumUsageError& Error) {
    ReportError(Error.what());
    const std::string Hint = std::string(Usage) + "\n";
    static_cast<void>(OsWriteStdErr(Hint.data(), Hint.size()));
    return 1;
  }

  TSumRun Run(Options);
  bool Ok = true;
  if (Options.Help) {
    Run.Output().Write(HelpText);
  } else if (Options.Version) {
    Run.Output().Write("md5b64sum (md5b64) " MD5B64_VERSION_STRING "\n");
  } else {
    std::vector<std::string> Files = Options.Files;
    if (Files.empty())
      Files.emplace_back("-");
    for (const std::string& Name : Files)
      Ok = (Options.Check ? Run.CheckList(Name) : Run.SumFile(Name)) && Ok;
  }
  if (const int Error = Run.Output().Close(); Error != 0) {
    ReportError("write error: " + OsErrorText(Error));
    return 1;
  }
  return Ok ? 0 : 1;
}

} // namespace md5b64
