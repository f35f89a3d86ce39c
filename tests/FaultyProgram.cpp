// SPDX-License-Identifier: MIT
// The md5b64 program with one failure injected, chosen by the first argument; the rest of
// the arguments are the program's own. On Windows, where the program splits its argument
// from the whole command line, the fault is named by the environment variable MD5B64_FAULT
// instead and the whole command line is the program's own. Used by the program tests only.
//   none             no failure
//   encode-oom       EncodeText runs out of memory
//   encode-alloc     every allocation fails while the real EncodeText runs
//   destroy-coder    destroying the digest coder raises
//   destroy-encoder  destroying the encoder raises
//   start-up         the third module's start-up step raises; steps log to standard error
//   encode-oom-stays every allocation fails from the encoder's work to the end of the run
// With MD5B64_FAULT set to alloc-before-main (on every system), every allocation before
// main fails, as under a tight memory limit; the run itself goes on without a fault.
// On POSIX the program's calls of write, poll and close go through the wrappers below (the
// test build links it with --wrap), and these faults act on descriptor 1 only:
//   close-eio        close fails with EIO, as a file system that reports a write error late
//   write-zero       write takes nothing and reports no error
//   write-too-much   the first write claims one byte more than it was given
//   write-eagain     write keeps answering EAGAIN while poll says the output is writable
//   poll-fails       write answers EAGAIN and the poll that waits on it fails with ENOMEM
//   write-choppy     write is interrupted by a signal before each call and then takes
//                    one byte at a time
#include "coders/CodingModules.h"
#include "front_end/DigestPrinter.h"
#include "platform/internal/OsConsole.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <poll.h>
#include <unistd.h>
#endif

namespace {

// The allocation hook: while set, operator new fails as on a machine out of memory.
bool AllocationsFail = false;

bool MainReached = false;

bool FailsBeforeMain() noexcept {
  if (MainReached)
    return false;
  const char* Fault = std::getenv("MD5B64_FAULT");
  return Fault != nullptr && std::strcmp(Fault, "alloc-before-main") == 0;
}

// The fault chosen for the system calls on descriptor 1; the empty string for none.
std::string_view SystemFault;

} // namespace

#ifndef _WIN32
extern "C" {
ssize_t __real_write(int Fd, const void* Data, size_t Count);
int __real_poll(pollfd* Fds, nfds_t Count, int Timeout);
int __real_close(int Fd);

ssize_t __wrap_write(int Fd, const void* Data, size_t Count) {
  if (Fd != STDOUT_FILENO || SystemFault.empty())
    return __real_write(Fd, Data, Count);
  if (SystemFault == "write-zero")
    return 0;
  if (SystemFault == "write-too-much") {
    const ssize_t Written = __real_write(Fd, Data, Count);
    SystemFault = {};
    return Written < 0 ? Written : Written + 1;
  }
  if (SystemFault == "write-eagain" || SystemFault == "poll-fails") {
    errno = EAGAIN;
    return -1;
  }
  if (SystemFault == "write-choppy") {
    // Every other call is interrupted before it takes anything.
    static bool Interrupt = true;
    Interrupt = !Interrupt;
    if (!Interrupt) {
      errno = EINTR;
      return -1;
    }
    return __real_write(Fd, Data, Count == 0 ? 0 : 1);
  }
  return __real_write(Fd, Data, Count);
}

int __wrap_poll(pollfd* Fds, nfds_t Count, int Timeout) {
  if (Count == 1 && Fds[0].fd == STDOUT_FILENO && SystemFault == "poll-fails") {
    errno = ENOMEM;
    return -1;
  }
  return __real_poll(Fds, Count, Timeout);
}

int __wrap_close(int Fd) {
  const int Result = __real_close(Fd);
  if (Fd == STDOUT_FILENO && Result == 0 && SystemFault == "close-eio") {
    errno = EIO;
    return -1;
  }
  return Result;
}
}
#endif

void* operator new(std::size_t Size) {
  if (AllocationsFail || FailsBeforeMain())
    throw std::bad_alloc();
  if (void* Block = std::malloc(Size == 0 ? 1 : Size))
    return Block;
  throw std::bad_alloc();
}

// The replacements take their blocks from malloc, so free is the matching release; gcc
// sees only the operator new at the call site where it inlines these.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* Block) noexcept {
  std::free(Block);
}

void operator delete(void* Block, std::size_t) noexcept {
  std::free(Block);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace {

using namespace md5b64;

class TOutOfMemoryEncoder : public TIdEncoderMIME {
public:
  std::string EncodeStream(TStream&, std::int32_t) override { throw std::bad_alloc(); }
};

// The real encoder, with memory running out from the start of its work to its end.
class TAllocationFailingEncoder : public TIdEncoderMIME {
public:
  std::string EncodeStream(TStream& AStream, std::int32_t ABytes) override {
    struct TFailWhileInScope {
      TFailWhileInScope() { AllocationsFail = true; }
      ~TFailWhileInScope() { AllocationsFail = false; }
    } FailWhileInScope;
    return TIdEncoderMIME::EncodeStream(AStream, ABytes);
  }
};

// The real encoder, with memory exhausted from the start of its work for good: the failure
// report must then be built without any allocation.
class TMemoryExhaustingEncoder : public TIdEncoderMIME {
public:
  std::string EncodeStream(TStream& AStream, std::int32_t ABytes) override {
    AllocationsFail = true;
    return TIdEncoderMIME::EncodeStream(AStream, ABytes);
  }
};

class TFailingDestroyCoder : public TIdCoderMD5 {
public:
  void BeforeDestruction() override { throw EIdException("destroy failed"); }
};

class TFailingDestroyEncoder : public TIdEncoderMIME {
public:
  void BeforeDestruction() override { throw EIdException("destroy failed"); }
};

// Straight to the standard error handle: the C runtime's stderr would turn LF into CR LF
// on Windows.
void Log(const char* Line) {
  const std::string Text = std::string(Line) + "\n";
  OsWriteStdErr(Text.data(), Text.size());
}

// The program's own modules, logged, with a failing one after the first two.
void StartFirst() {
  Log("start IdGlobal");
  ProgramModules()[0].Initialize();
}
void StopFirst() {
  Log("stop IdGlobal");
  ProgramModules()[0].Finalize();
}
void StartSecond() {
  Log("start IdCoderMIME");
  ProgramModules()[1].Initialize();
}
void StopSecond() {
  Log("stop IdCoderMIME");
  ProgramModules()[1].Finalize();
}
void StartFailing() {
  throw EIdException("start-up step failed");
}
void StopFailing() {
  Log("stop Failing");
}

constexpr TModuleStep FailingStartUp[] = {
    {"IdGlobal", &StartFirst, &StopFirst},
    {"IdCoderMIME", &StartSecond, &StopSecond},
    {"Failing", &StartFailing, &StopFailing},
};

} // namespace

int main(int argc, char** argv) {
  MainReached = true;
#ifdef _WIN32
  const char* FaultVariable = std::getenv("MD5B64_FAULT");
  const std::string Fault = FaultVariable != nullptr ? FaultVariable : "none";
  const int FirstOwn = 1;
#else
  const std::string Fault = argc > 1 ? argv[1] : "none";
  const int FirstOwn = 2;
#endif
  // The program sees its own name followed by the remaining arguments.
  std::vector<char*> Args{argv[0]};
  for (int I = FirstOwn; I < argc; ++I)
    Args.push_back(argv[I]);
  Args.push_back(nullptr);
  const int Count = static_cast<int>(Args.size()) - 1;

  TDigestPrinterFactory Factory;
  std::span<const TModuleStep> Modules = ProgramModules();
  if (Fault == "encode-oom")
    Factory.CreateEncoder = [] { return std::make_unique<TOutOfMemoryEncoder>(); };
  else if (Fault == "encode-alloc")
    Factory.CreateEncoder = [] { return std::make_unique<TAllocationFailingEncoder>(); };
  else if (Fault == "destroy-coder")
    Factory.CreateCoder = [] { return std::make_unique<TFailingDestroyCoder>(); };
  else if (Fault == "destroy-encoder")
    Factory.CreateEncoder = [] { return std::make_unique<TFailingDestroyEncoder>(); };
  else if (Fault == "encode-oom-stays")
    Factory.CreateEncoder = [] { return std::make_unique<TMemoryExhaustingEncoder>(); };
  else if (Fault == "start-up")
    Modules = FailingStartUp;
  else if (Fault != "none")
    SystemFault = Fault;
#ifndef _WIN32
  // A stalled output that is retried for ever ends here instead of hanging its test.
  if (SystemFault == "write-eagain")
    ::alarm(20);
#endif
  return RunDigestPrinter(Count, Args.data(), Modules, Factory);
}
