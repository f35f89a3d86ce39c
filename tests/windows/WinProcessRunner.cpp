// SPDX-License-Identifier: MIT
#include "WinProcessRunner.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string_view>

namespace md5b64::test {

namespace {

// Closes the handle it holds when it goes out of scope.
class THandle {
public:
  THandle() = default;
  explicit THandle(HANDLE Handle) : FHandle(Handle == INVALID_HANDLE_VALUE ? nullptr : Handle) {}
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  ~THandle() { Reset(); }

  HANDLE Get() const { return FHandle; }
  void Reset(HANDLE Handle = nullptr) {
    if (FHandle != nullptr)
      CloseHandle(FHandle);
    FHandle = Handle;
  }

private:
  HANDLE FHandle = nullptr;
};

[[noreturn]] void Fail(const std::string& What) {
  throw std::runtime_error(What + " failed with error " + std::to_string(GetLastError()));
}

SECURITY_ATTRIBUTES Inheritable() {
  return SECURITY_ATTRIBUTES{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
}

HANDLE OpenNul(DWORD Access) {
  SECURITY_ATTRIBUTES Attributes = Inheritable();
  const HANDLE Handle = CreateFileA("NUL", Access, FILE_SHARE_READ | FILE_SHARE_WRITE, &Attributes,
                                    OPEN_EXISTING, 0, nullptr);
  if (Handle == INVALID_HANDLE_VALUE)
    Fail("Opening NUL");
  return Handle;
}

// An inheritable handle of a new temporary file that disappears with its last handle. With
// a ReadOnlyKeeper the handle returned cannot write, and the keeper holds a second handle,
// not inherited, that keeps the file alive and reads it.
HANDLE CreateTemporaryFile(THandle* ReadOnlyKeeper = nullptr) {
  char Folder[MAX_PATH + 1];
  char Name[MAX_PATH + 1];
  if (GetTempPathA(sizeof Folder, Folder) == 0 || GetTempFileNameA(Folder, "md5", 0, Name) == 0)
    Fail("Naming a temporary file");
  SECURITY_ATTRIBUTES Attributes = Inheritable();
  const DWORD Share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const HANDLE Writable = CreateFileA(
      Name, GENERIC_READ | GENERIC_WRITE, Share, ReadOnlyKeeper != nullptr ? nullptr : &Attributes,
      CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (Writable == INVALID_HANDLE_VALUE)
    Fail("Creating a temporary file");
  if (ReadOnlyKeeper == nullptr)
    return Writable;
  ReadOnlyKeeper->Reset(Writable);
  const HANDLE ReadOnly =
      CreateFileA(Name, GENERIC_READ, Share, &Attributes, OPEN_EXISTING, 0, nullptr);
  if (ReadOnly == INVALID_HANDLE_VALUE)
    Fail("Opening a temporary file for reading");
  return ReadOnly;
}

// Everything a handle holds from its current position (a pipe: until its writers are gone).
std::string ReadToEnd(HANDLE Handle) {
  std::string Bytes;
  char Buffer[4096];
  DWORD Got = 0;
  while (ReadFile(Handle, Buffer, sizeof Buffer, &Got, nullptr) && Got > 0)
    Bytes.append(Buffer, Got);
  return Bytes;
}

std::string ReadFileFromStart(HANDLE Handle) {
  if (SetFilePointer(Handle, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
    Fail("Rewinding a temporary file");
  return ReadToEnd(Handle);
}

std::string UpperName(const std::string& Entry) {
  // Entries such as "=C:=C:\dir" begin with "="; their name runs to the second one.
  std::string Name = Entry.substr(0, Entry.find('=', 1));
  std::transform(Name.begin(), Name.end(), Name.begin(),
                 [](unsigned char C) { return static_cast<char>(std::toupper(C)); });
  return Name;
}

// The runner's environment with Extra set on top, as a sorted environment block.
std::string EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& Extra) {
  std::vector<std::string> Entries;
  for (const auto& [Name, Value] : Extra)
    Entries.push_back(Name + "=" + Value);
  char* const Strings = GetEnvironmentStringsA();
  for (const char* Entry = Strings; Entry != nullptr && *Entry != '\0';
       Entry += std::string_view(Entry).size() + 1) {
    const std::string Own = Entry;
    const bool Replaced = std::any_of(Extra.begin(), Extra.end(), [&](const auto& Variable) {
      return UpperName(Variable.first + "=") == UpperName(Own);
    });
    if (!Replaced)
      Entries.push_back(Own);
  }
  FreeEnvironmentStringsA(Strings);
  std::sort(Entries.begin(), Entries.end(),
            [](const std::string& A, const std::string& B) { return UpperName(A) < UpperName(B); });
  std::string Block;
  for (const std::string& Entry : Entries)
    Block.append(Entry).push_back('\0');
  Block.push_back('\0');
  return Block;
}

} // namespace

TWinRunResult RunCommandLine(const std::string& Program, const std::string& CommandLine,
                             const TWinRunOptions& Options) {
  SECURITY_ATTRIBUTES Attributes = Inheritable();
  THandle Input(OpenNul(GENERIC_READ));
  THandle Errors(CreateTemporaryFile());

  // Output: what the child gets, and where the runner reads it back.
  THandle Output;
  THandle Reader;
  THandle Keeper;
  HANDLE ChildOutput = nullptr;
  switch (Options.StdOut) {
  case TWinStdOut::Pipe:
  case TWinStdOut::BrokenPipe: {
    HANDLE ReadEnd = nullptr;
    HANDLE WriteEnd = nullptr;
    if (!CreatePipe(&ReadEnd, &WriteEnd, &Attributes, 0))
      Fail("CreatePipe");
    Reader.Reset(ReadEnd);
    Output.Reset(WriteEnd);
    // Only the child may hold the writing end, or the runner would never see the pipe's end.
    SetHandleInformation(ReadEnd, HANDLE_FLAG_INHERIT, 0);
    if (Options.StdOut == TWinStdOut::BrokenPipe)
      Reader.Reset();
    ChildOutput = WriteEnd;
    break;
  }
  case TWinStdOut::File:
    Output.Reset(CreateTemporaryFile());
    ChildOutput = Output.Get();
    break;
  case TWinStdOut::ReadOnlyFile:
    Output.Reset(CreateTemporaryFile(&Keeper));
    ChildOutput = Output.Get();
    break;
  case TWinStdOut::Nul:
  case TWinStdOut::ReadOnlyNul:
    Output.Reset(OpenNul(Options.StdOut == TWinStdOut::Nul ? GENERIC_WRITE : GENERIC_READ));
    ChildOutput = Output.Get();
    break;
  case TWinStdOut::NoHandle:
    ChildOutput = nullptr;
    break;
  case TWinStdOut::InvalidHandle:
    ChildOutput = INVALID_HANDLE_VALUE;
    break;
  }

  STARTUPINFOA Start{};
  Start.cb = sizeof Start;
  Start.dwFlags = STARTF_USESTDHANDLES;
  Start.hStdInput = Input.Get();
  Start.hStdOutput = ChildOutput;
  Start.hStdError = Errors.Get();

  std::string Environment;
  if (!Options.Environment.empty())
    Environment = EnvironmentBlock(Options.Environment);
  void* const EnvironmentArgument = Environment.empty() ? nullptr : Environment.data();

  // The program runs in its own folder, where a wildcard such as *.exe would find files.
  const std::string Folder = Program.substr(0, Program.find_last_of("\\/") + 1);
  PROCESS_INFORMATION Process{};
  // CreateProcessA may write into the command line it is given.
  std::string Line = CommandLine;
  const BOOL Started =
      CreateProcessA(Program.c_str(), Line.data(), nullptr, nullptr, TRUE, 0, EnvironmentArgument,
                     Folder.empty() ? nullptr : Folder.c_str(), &Start, &Process);
  if (!Started)
    Fail("Starting " + Program);
  THandle ProcessHandle(Process.hProcess);
  THandle ThreadHandle(Process.hThread);

  TWinRunResult Result;
  if (Options.StdOut == TWinStdOut::Pipe) {
    Output.Reset();
    Result.StdOut = ReadToEnd(Reader.Get());
  }
  if (WaitForSingleObject(ProcessHandle.Get(), INFINITE) != WAIT_OBJECT_0)
    Fail("Waiting for " + Program);
  DWORD ExitStatus = 0;
  if (!GetExitCodeProcess(ProcessHandle.Get(), &ExitStatus))
    Fail("GetExitCodeProcess");
  Result.ExitStatus = ExitStatus;
  if (Options.StdOut == TWinStdOut::File)
    Result.StdOut = ReadFileFromStart(Output.Get());
  if (Options.StdOut == TWinStdOut::ReadOnlyFile)
    Result.StdOut = ReadFileFromStart(Keeper.Get());
  Result.StdErr = ReadFileFromStart(Errors.Get());
  return Result;
}

std::string SiblingPath(const std::string& FileName) {
  char Path[MAX_PATH * 4];
  const DWORD Length = GetModuleFileNameA(nullptr, Path, sizeof Path);
  if (Length == 0 || Length >= sizeof Path)
    Fail("GetModuleFileNameA");
  std::string Folder(Path, Length);
  Folder.erase(Folder.find_last_of("\\/") + 1);
  return Folder + FileName;
}

unsigned AnsiCodePage() {
  return GetACP();
}

} // namespace md5b64::test
