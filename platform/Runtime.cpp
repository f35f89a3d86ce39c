#include "platform/Runtime.h"

#include "platform/Console.h"
#include "platform/internal/OsConsole.h"
#include "platform/internal/OsProcess.h"
#include "platform/SysUtils.h"

#include <cstdio>
#include <new>
#include <utility>

namespace md5b64 {

std::string FormatFailureReport(std::string_view ClassName, std::string_view ModuleName,
                                std::uint32_t Offset, std::string_view Message) {
  char Address[9];
  std::snprintf(Address, sizeof Address, "%08X", static_cast<unsigned>(Offset));
  std::string Report;
  Report.reserve(64 + ClassName.size() + ModuleName.size() + Message.size());
  Report.append("Exception ").append(ClassName);
  Report.append(" in module ").append(ModuleName);
  Report.append(" at ").append(Address).append(".\n");
  Report.append(Message);
  if (!Message.empty() && Message.back() != '.')
    Report.push_back('.');
  Report.append("\r\n");
  return Report;
}

namespace {

// Offset of a code address into the program's image; an address outside it (in a shared
// library) is printed as it stands, cut to 32 bits.
std::uint32_t ModuleOffset(const void* Address) noexcept {
  const auto Raw = reinterpret_cast<std::uintptr_t>(Address);
  const std::uintptr_t Base = OsModuleBase();
  return static_cast<std::uint32_t>(Raw >= Base ? Raw - Base : Raw);
}

std::string Describe(const Exception& E) {
  return FormatFailureReport(E.ClassName(), OsModuleFileName(), ModuleOffset(E.ExceptAddr()),
                             E.Message());
}

} // namespace

std::string DescribeFailure(std::exception_ptr Failure) {
  try {
    std::rethrow_exception(std::move(Failure));
  } catch (const Exception& E) {
    return Describe(E);
  } catch (const std::bad_alloc&) {
    return Describe(EOutOfMemory());
  } catch (const std::exception& E) {
    return Describe(Exception(E.what()));
  } catch (...) {
    return Describe(Exception(""));
  }
}

void WriteFailureReport(std::string_view Report) noexcept {
  TStdOutChannel& Out = StdOut();
  // The error being reported may be the channel's own; try the channel afresh.
  Out.TakeIOResult();
  Out.Write(Report);
  Out.FlushAll();
  if (Out.TakeIOResult() != 0)
    OsWriteStdErr(Report.data(), Report.size());
}

namespace {

void ReportCurrentFailure() noexcept {
  try {
    WriteFailureReport(DescribeFailure(std::current_exception()));
  } catch (...) {
    // Building the report itself failed (memory): say the least that can be said.
    static constexpr char Fallback[] = "Exception EOutOfMemory.\r\n";
    WriteFailureReport(std::string_view(Fallback, sizeof Fallback - 1));
  }
}

} // namespace

int RunConsoleProgram(std::span<const TModuleStep> Modules, const std::function<void()>& Body) {
  int ExitStatus = 0;
  TModuleSequence Sequence(Modules);
  try {
    Sequence.Start();
    Body();
  } catch (...) {
    ReportCurrentFailure();
    ExitStatus = 1;
  }
  try {
    Sequence.Stop();
  } catch (...) {
    if (ExitStatus == 0) {
      ReportCurrentFailure();
      ExitStatus = 1;
    }
  }
  TStdOutChannel& Out = StdOut();
  Out.Close();
  // A result that the file or pipe refused at the close is a failure like any other.
  if (const int Error = Out.TakeIOResult(); Error != 0 && ExitStatus == 0) {
    try {
      throw EInOutError(Error);
    } catch (...) {
      ReportCurrentFailure();
    }
    Out.Close();
    Out.TakeIOResult();
    ExitStatus = 1;
  }
  return ExitStatus;
}

} // namespace md5b64
