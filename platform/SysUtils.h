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

// Declares a leaf error class whose report name is its C++ name.
#define MD5B64_DECLARE_ERROR(Name, Base)                                                           \
  class MD5B64_API Name : public Base {                                                            \
  public:                                                                                          \
    using Base::Base;                                                                              \
    const char* ClassName() const noexcept override { return #Name; }                              \
  }

/// An index or size lies outside its range: "Range check error".
class MD5B64_API ERangeError : public Exception {
public:
  ERangeError();
  const char* ClassName() const noexcept override { return "ERangeError"; }
};

/// Root of the stream errors.
MD5B64_DECLARE_ERROR(EStreamError, Exception);

/// A stream delivered fewer bytes than asked for: "Stream read error".
class MD5B64_API EReadError : public EStreamError {
public:
  EReadError();
  const char* ClassName() const noexcept override { return "EReadError"; }
};

/// A stream took fewer bytes than it was given: "Stream write error".
class MD5B64_API EWriteError : public EStreamError {
public:
  EWriteError();
  const char* ClassName() const noexcept override { return "EWriteError"; }
};

/// An operation that a class leaves abstract was called: "Abstract Error".
class MD5B64_API EAbstractError : public Exception {
public:
  EAbstractError();
  const char* ClassName() const noexcept override { return "EAbstractError"; }
};

/// Memory ran out: "Out of memory".
class MD5B64_API EOutOfMemory : public Exception {
public:
  EOutOfMemory();
  const char* ClassName() const noexcept override { return "EOutOfMemory"; }
};

/// An input/output operation failed with the error number ErrorCode: "I/O error %d".
class MD5B64_API EInOutError : public Exception {
public:
  explicit EInOutError(int ErrorCode);
  const char* ClassName() const noexcept override { return "EInOutError"; }
  int ErrorCode() const noexcept { return FErrorCode; }

private:
  int FErrorCode;
};

/// A list was indexed outside its items: "List index out of bounds (%d)".
class MD5B64_API EListError : public Exception {
public:
  explicit EListError(long long Index);
  const char* ClassName() const noexcept override { return "EListError"; }
};

} // namespace md5b64

#endif
