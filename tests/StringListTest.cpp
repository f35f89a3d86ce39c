// SPDX-License-Identifier: MIT
// The string list's order and index checks.
#include "platform/StringList.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

namespace md5b64 {
namespace {

TEST(StringListTest, StringListKeepsOrderAndChecksIndices) {
  TStringList List;
  EXPECT_EQ(List.Add("a"), 0U);
  EXPECT_EQ(List.Add("b"), 1U);
  List.Add("c");
  List.Delete(1);
  EXPECT_EQ(List.Strings(1), "c");
  EXPECT_EQ(List.Extract(0), "a");
  EXPECT_EQ(List.Count(), 1U);
  try {
    List.Strings(5);
    ADD_FAILURE() << "index 5 accepted";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (5)");
  }
  EXPECT_THROW(List.Delete(1), EListError);
  List.Clear();
  EXPECT_TRUE(List.IsEmpty());
}

} // namespace
} // namespace md5b64
