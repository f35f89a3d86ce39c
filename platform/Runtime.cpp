// SPDX-License-Identifier: MIT
#include "platform/Runtime.h"

#include "platform/Console.h"
#include "platform/ResStrings.h"
#include "platform/SysUtils.h"
#include "platform/internal/OsConsole.h"
#include "platform/internal/OsProcess.h"

#include <algorithm>
#include <array>
#include <new>
#include <utility>

namespace md5b64 {

namespace {

// The report's layout, handed piece by piece to Append: the same for the report built on
// the heap and for the one built in fixed storage when memory has run out.
template <class TAppend>
void ComposeFailureReport(TAppend&& Append, std::string_view ClassName, std::string_view ModuleName,
                          std::uint32_t Offset, std::string_view Message) {
  static constexpr char HexDigits[] = "0123456789ABCDEF";
  std::array<char, 8> Address;
  for (std::size_t At = Address.size(); At-- > 0; Offset >>= 4)
    Address[At] = HexDigits[Offset & 0xF];
  Append("Exception ");
  Append(ClassName);
  Append(" in module ");
  Append(ModuleName);
  Append(" at ");
  Append(std::string_view(Address.data(), Address.size()));
  Append(".\n");
  Append(Message);
  if (!Message.empty() && Message.back() != '.')
    Append(".");
  Append("\r\n");
}

} // namespace

std::string FormatFailureReport(std::string_view ClassName, std::string_view ModuleName,
                                std::uint32_t Offset, std::string_view Message) {
  std::string Report;
  Report.reserve(64 + ClassName.size() + ModuleName.size() + Message.size());
  ComposeFailureReport([&Report](std::string_view Piece) { Report.append(Piece); }, ClassName,
                       ModuleName, Offset, Message);
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

// The code address an out-of-memory report names: where EOutOfMemory is raised. Taken once
// at the start of a run, while memory is still there, so that the report written when it
// has run out needs none.
const void* OutOfMemoryAddress() noexcept {
  static const void* const Address = []() noexcept -> const void* {
    try {
      return EOutOfMemory().ExceptAddr();
    } catch (...) {
      return nullptr;
    }
  }();
  return Address;
}

// The out-of-memory report, put together in fixed storage without any allocation.
void WriteOutOfMemoryReport() noexcept {
  // A file name is at most 255 characters (510 bytes in a double-byte code page); the
  // words around it and the message take less than 128.
  static std::array<char, 1024> Storage;
  std::size_t Size = 0;
  const auto Append = [&Size](std::string_view Piece) noexcept {
    const std::size_t Taken = std::min(Piece.size(), Storage.size() - Size);
    Piece.copy(Storage.data() + Size, Taken);
    Size += Taken;
  };
  ComposeFailureReport(Append, "EOutOfMemory", OsModuleFileNameInPlace(),
                       ModuleOffset(OutOfMemoryAddress()), LoadResString(TResString::OutOfMemory));
  WriteFailureReport(std::string_view(Storage.data(), Size));
}

void ReportCurrentFailure() noexcept {
  try {
    WriteFailureReport(DescribeFailure(std::current_exception()));
  } catch (...) {
    // Memory ran out while the report was being built, or stays exhausted: the report of
    // that, in the same format, from fixed storage.
    WriteOutOfMemoryReport();
  }
}

} // namespace

int RunConsoleProgram(std::span<const TModuleStep> Modules, const std::function<void()>& Body) {
  int ExitStatus = 0;
  TModuleSequence Sequence(Modules);
  OutOfMemoryAddress();
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
  Out.Shutdown();
  // A result that the file or pipe refused at the close is a failure like any other; with
  // standard output closed now, its report goes to standard error.
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
