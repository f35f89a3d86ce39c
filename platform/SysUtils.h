// SPDX-License-Identifier: MIT
// Error classes of the runtime: one root carrying its message, leaves by cause.
#ifndef MD5B64_PLATFORM_SYSUTILS_H
#define MD5B64_PLATFORM_SYSUTILS_H

#include "md5b64/Export.h"

#include <exception>
#include <string>

namespace md5b64 {

/// Root of every error the system raises. Carries its message and the code address that
/// raised it, which the top-level failure report prints.
class MD5B64_API Exception : public std::exception {
public:
  explicit Exception(std::string Message);
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;
  ~Exception() override = default;

  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }
  /// The class name shown in the failure report.
  virtual const char* ClassName() const noexcept { return "Exception"; }
  /// Address in the code that constructed the error.
  const void* ExceptAddr() const noexcept { return FExceptAddr; }

private:
  std::string FMessage;
  const void* FExceptAddr;
};

// Every error class is written out in the same shape: its constructor (inherited, or one
// that loads its fixed message) and the report name, which is its C++ name. Classes with
// leaves of their own are not final.

/// An index or size lies outside its range (TResString::RangeError).
class MD5B64_API ERangeError final : public Exception {
public:
  ERangeError();
  const char* ClassName() const noexcept override { return "ERangeError"; }
};

/// Root of the stream errors.
class MD5B64_API EStreamError : public Exception {
public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EStreamError"; }
};

/// A stream delivered fewer bytes than asked for (TResString::ReadError).
class MD5B64_API EReadError final : public EStreamError {
public:
  EReadError();
  const char* ClassName() const noexcept override { return "EReadError"; }
};

/// A stream took fewer bytes than it was given (TResString::WriteError).
class MD5B64_API EWriteError final : public EStreamError {
public:
  EWriteError();
  const char* ClassName() const noexcept override { return "EWriteError"; }
};

/// An operation that a class leaves abstract was called (TResString::AbstractError).
class MD5B64_API EAbstractError final : public Exception {
public:
  EAbstractError();
  const char* ClassName() const noexcept override { return "EAbstractError"; }
};

/// Memory ran out (TResString::OutOfMemory).
class MD5B64_API EOutOfMemory final : public Exception {
public:
  EOutOfMemory();
  const char* ClassName() const noexcept override { return "EOutOfMemory"; }
};

/// An input/output operation failed with the error number ErrorCode (TResString::InOutError).
class MD5B64_API EInOutError final : public Exception {
public:
  explicit EInOutError(int ErrorCode);
  const char* ClassName() const noexcept override { return "EInOutError"; }
  int ErrorCode() const noexcept { return FErrorCode; }

private:
  int FErrorCode;
};

/// A list was indexed outside its items (TResString::ListIndexError).
class MD5B64_API EListError final : public Exception {
public:
  explicit EListError(long long Index);
  const char* ClassName() const noexcept override { return "EListError"; }
};

} // namespace md5b64

#endif
