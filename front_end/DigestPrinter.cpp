// SPDX-License-Identifier: MIT
#include "front_end/DigestPrinter.h"

#include "coders/CodingModules.h"
#include "platform/CodePage.h"
#include "platform/CommandLine.h"
#include "platform/Console.h"
#include "platform/IdGlobal.h"
#include "platform/Runtime.h"

#include <exception>

namespace md5b64 {

std::string SplitAt(std::string& Text, std::string_view Delimiter, bool Remove) {
  std::size_t Pos;
  if (Delimiter.size() == 1 && Delimiter[0] == '\0') {
    const std::size_t Zero = Text.find('\0');
    Pos = Zero == std::string::npos ? 0 : Zero + 1;
  } else {
    Pos = AnsiPos(Delimiter, Text);
  }
  return CutAtDelimiter(Text, Pos, Delimiter.size(), Remove);
}

namespace {

// The objects of one run. The printer owns both and destroys them before it writes.
struct TDigestRun {
  std::unique_ptr<TIdCoderMD5> DigestCoder;
  std::unique_ptr<TIdEncoderMIME> Encoder;
  std::string ResultText;
};

void WriteCheckedOutput(const std::string& Text) {
  TStdOutChannel& Out = StdOut();
  Out.Write(Text);
  Out.Flush();
  Out.CheckOutput();
}

} // namespace

void PrintDigest(std::string_view Argument, const TDigestPrinterFactory& Factory) {
  if (Argument.empty()) {
    // Nothing to digest, but standard output is still opened and checked.
    WriteCheckedOutput({});
    return;
  }
  TDigestRun Run;
  std::exception_ptr Failure;
  try {
    Run.DigestCoder = Factory.CreateCoder ? Factory.CreateCoder() : std::make_unique<TIdCoderMD5>();
    Run.Encoder =
        Factory.CreateEncoder ? Factory.CreateEncoder() : std::make_unique<TIdEncoderMIME>();
    Run.DigestCoder->Reset();
    Run.DigestCoder->SetDropNotices(true);
    Run.DigestCoder->FeedText(Argument);
    Run.ResultText = Run.DigestCoder->FinishInput();
    SplitAt(Run.ResultText, ";", true);
    Run.ResultText = Run.Encoder->EncodeText(Run.ResultText);
  } catch (...) {
    Failure = std::current_exception();
  }

  // The closing steps run whether the run completed or failed.
  try {
    FreeAndNil(Run.DigestCoder);
  } catch (...) {
    // A failure while destroying is ignored; the result is still written.
  }
  try {
    FreeAndNil(Run.Encoder);
  } catch (...) {
  }
  WriteCheckedOutput(Run.ResultText);
  if (Failure)
    std::rethrow_exception(Failure);
}

std::span<const TModuleStep> ProgramModules() noexcept {
  return CodingModules();
}

int RunDigestPrinter(int ArgCount, char** Args, std::span<const TModuleStep> Modules,
                     const TDigestPrinterFactory& Factory) {
  // The program is built as a console program, so the runtime reports failures on standard
  // output rather than in a window.
  SetProgramArguments(ArgCount, Args);
  return RunConsoleProgram(Modules, [&Factory] { PrintDigest(ParamStr(1), Factory); });
}

} // namespace md5b64
