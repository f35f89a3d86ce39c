// SPDX-License-Identifier: MIT
// The runtime's error classes: their report names and messages.
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

namespace md5b64 {
namespace {

TEST(SysUtilsTest, ErrorClassesCarryTheirNamesAndMessages) {
  struct TCase {
    const Exception& Error;
    const char* ClassName;
    const char* Message;
  };
  const ERangeError Range;
  const EReadError Read;
  const EWriteError Write;
  const EAbstractError Abstract;
  const EOutOfMemory Memory;
  const EInOutError Io(105);
  const TCase Cases[] = {
      {Range, "ERangeError", "Range check error"},  {Read, "EReadError", "Stream read error"},
      {Write, "EWriteError", "Stream write error"}, {Abstract, "EAbstractError", "Abstract Error"},
      {Memory, "EOutOfMemory", "Out of memory"},    {Io, "EInOutError", "I/O error 105"},
  };
  for (const TCase& Case : Cases) {
    EXPECT_STREQ(Case.Error.ClassName(), Case.ClassName);
    EXPECT_EQ(Case.Error.Message(), Case.Message);
    EXPECT_STREQ(Case.Error.what(), Case.Message);
    EXPECT_NE(Case.Error.ExceptAddr(), nullptr);
  }
  EXPECT_EQ(Io.ErrorCode(), 105);
}

} // namespace
} // namespace md5b64
