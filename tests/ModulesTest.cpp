// SPDX-License-Identifier: MIT
// Module start-up in order, once, and shutdown in reverse, also after a failed start-up.
#include "platform/Modules.h"
#include "TestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace md5b64 {
namespace {

// Module steps that log what runs, for sequencing tests.
std::vector<std::string> Log;
bool FailSecond = false;
void InitA() {
  Log.emplace_back("+A");
}
void FinA() {
  Log.emplace_back("-A");
}
void InitB() {
  if (FailSecond)
    throw test::ETestFailure();
  Log.emplace_back("+B");
}
void FinB() {
  Log.emplace_back("-B");
}
void InitC() {
  Log.emplace_back("+C");
}

constexpr TModuleStep LoggedSteps[] = {
    {"A", &InitA, &FinA}, {"B", &InitB, &FinB}, {"C", &InitC, nullptr}};

TEST(ModulesTest, ModulesStartOnceInOrderAndStopInReverse) {
  Log.clear();
  FailSecond = false;
  {
    TModuleSequence Modules(LoggedSteps);
    Modules.Start();
    Modules.Start();
    EXPECT_EQ(Modules.StartedCount(), 3U);
    Modules.Stop();
    Modules.Stop();
    EXPECT_EQ(Modules.StartedCount(), 0U);
  }
  EXPECT_EQ(Log, (std::vector<std::string>{"+A", "+B", "+C", "-B", "-A"}));

  Log.clear();
  {
    TModuleSequence Forgotten(LoggedSteps);
    Forgotten.Start();
  }
  EXPECT_EQ(Log, (std::vector<std::string>{"+A", "+B", "+C", "-B", "-A"}));
}

TEST(ModulesTest, FailingStartUpStopsTheModulesAlreadyStarted) {
  Log.clear();
  FailSecond = true;
  TModuleSequence Modules(LoggedSteps);
  EXPECT_THROW(Modules.Start(), test::ETestFailure);
  EXPECT_EQ(Modules.StartedCount(), 0U);
  EXPECT_EQ(Log, (std::vector<std::string>{"+A", "-A"}));
  FailSecond = false;
}

} // namespace
} // namespace md5b64
