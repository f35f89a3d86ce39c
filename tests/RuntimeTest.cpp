// SPDX-License-Identifier: MIT
// The top-level failure report: its format and the class it names.
#include "platform/Runtime.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <exception>
#include <new>

namespace md5b64 {
namespace {

TEST(RuntimeTest, FailureReportFormat) {
  EXPECT_EQ(FormatFailureReport("EInOutError", "md5b64", 0x1A2B, "I/O error 105"),
            "Exception EInOutError in module md5b64 at 00001A2B.\nI/O error 105.\r\n");
  EXPECT_EQ(FormatFailureReport("EIdException", "md5b64.exe", 0xFFFFFFFF, "Uneven size in Encode."),
            "Exception EIdException in module md5b64.exe at FFFFFFFF.\nUneven size in Encode.\r\n");
  EXPECT_EQ(FormatFailureReport("Exception", "m", 0, ""),
            "Exception Exception in module m at 00000000.\n\r\n");
}

TEST(RuntimeTest, DescribeFailureNamesTheClass) {
  const auto ReportOf = [](auto Error) { return DescribeFailure(std::make_exception_ptr(Error)); };
  EXPECT_TRUE(ReportOf(ERangeError()).starts_with("Exception ERangeError in module "));
  EXPECT_TRUE(ReportOf(ERangeError()).ends_with(".\nRange check error.\r\n"));
  EXPECT_TRUE(ReportOf(std::bad_alloc()).starts_with("Exception EOutOfMemory in module "));
  EXPECT_TRUE(ReportOf(std::bad_alloc()).ends_with("\nOut of memory.\r\n"));
}

} // namespace
} // namespace md5b64
