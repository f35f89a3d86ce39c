// SPDX-License-Identifier: MIT
#include "platform/SysUtils.h"

#include "platform/ResStrings.h"

#include <utility>

namespace md5b64 {

// Kept out of line so that the return address is the code that raised the error (or the
// constructor of a derived error, which is part of the same raise).
#if defined(__GNUC__)
__attribute__((noinline))
#endif
Exception::Exception(std::string Message)
    : FMessage(std::move(Message)),
#if defined(__GNUC__)
      FExceptAddr(__builtin_extract_return_addr(__builtin_return_address(0)))
#else
      FExceptAddr(nullptr)
#endif
{
}

ERangeError::ERangeError() : Exception(LoadResString(TResString::RangeError)) {}
EReadError::EReadError() : EStreamError(LoadResString(TResString::ReadError)) {}
EWriteError::EWriteError() : EStreamError(LoadResString(TResString::WriteError)) {}
EAbstractError::EAbstractError() : Exception(LoadResString(TResString::AbstractError)) {}
EOutOfMemory::EOutOfMemory() : Exception(LoadResString(TResString::OutOfMemory)) {}
EInOutError::EInOutError(int ErrorCode)
    : Exception(FormatResString(TResString::InOutError, ErrorCode)), FErrorCode(ErrorCode) {}
EListError::EListError(long long Index)
    : Exception(FormatResString(TResString::ListIndexError, Index)) {}

} // namespace md5b64
