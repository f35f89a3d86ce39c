// SPDX-License-Identifier: MIT
// The Windows side of the platform layer: the ANSI code page's lead bytes as the splitting
// and the search see them, and what the program knows of its own image.
#include "platform/CodePage.h"
#include "platform/CommandLine.h"
#include "platform/internal/OsCodePage.h"
#include "platform/internal/OsProcess.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

namespace md5b64 {
namespace {

// Tests that hold under one ANSI code page; they run in a process started with that page.
template <UINT CodePage> class TCodePageTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(GetACP(), CodePage); }
};
using WindowsCodePage1252Test = TCodePageTest<1252>;
using WindowsCodePage932Test = TCodePageTest<932>;

// 0x81 opens a character in 932, so 0x81 0x22 and 0x81 0x20 are single characters there,
// neither a quote nor a separator; in 1252 they are two characters each.
const std::string LineWithTrailBytes = "prog a\x81\" b\x81 c\"";
// "\x83\x5C" is one character in 932 whose second byte is a backslash.
const std::string TextWithTrailBackslash = "a\x83\\b\\";

TEST_F(WindowsCodePage1252Test, NoByteIsALeadByte) {
  EXPECT_FALSE(OsHasLeadBytes());
  for (int Byte = 0; Byte <= 255; ++Byte)
    EXPECT_FALSE(OsIsLeadByte(static_cast<unsigned char>(Byte))) << Byte;
}

TEST_F(WindowsCodePage932Test, LeadBytesAreThoseOfShiftJis) {
  EXPECT_TRUE(OsHasLeadBytes());
  for (int Byte = 0; Byte <= 255; ++Byte) {
    const bool Lead = (Byte >= 0x81 && Byte <= 0x9F) || (Byte >= 0xE0 && Byte <= 0xFC);
    EXPECT_EQ(OsIsLeadByte(static_cast<unsigned char>(Byte)), Lead) << Byte;
  }
}

TEST_F(WindowsCodePage1252Test, SplittingStepsSingleBytes) {
  EXPECT_EQ(GetParamFromCommandLine(LineWithTrailBytes, 1, &OsIsLeadByte), "a\x81 b\x81 c");
  EXPECT_EQ(GetParamFromCommandLine(LineWithTrailBytes, 2, &OsIsLeadByte), "");
}

TEST_F(WindowsCodePage932Test, SplittingNeverCutsADoubleByteCharacter) {
  EXPECT_EQ(GetParamFromCommandLine(LineWithTrailBytes, 1, &OsIsLeadByte), "a\x81\"");
  EXPECT_EQ(GetParamFromCommandLine(LineWithTrailBytes, 2, &OsIsLeadByte), "b\x81 c");
}

TEST_F(WindowsCodePage1252Test, SearchFindsEveryByte) {
  EXPECT_EQ(AnsiPos("\\", TextWithTrailBackslash), 3U);
}

TEST_F(WindowsCodePage932Test, SearchNeverMatchesOnATrailByte) {
  EXPECT_EQ(AnsiPos("\\", TextWithTrailBackslash), 5U);
}

TEST(WindowsProcessTest, ModuleFileNameIsTheProgramsFileWithoutItsFolder) {
  EXPECT_EQ(OsModuleFileName(), "md5b64_tests.exe");
}

TEST(WindowsProcessTest, ModuleBaseIsTheStartOfTheProgramsImage) {
  const auto* Image = reinterpret_cast<const unsigned char*>(OsModuleBase());
  ASSERT_NE(Image, nullptr);
  // Every image begins with the "MZ" header, whose field at 0x3C leads to the "PE" header.
  EXPECT_EQ(std::memcmp(Image, "MZ", 2), 0);
  std::int32_t PeOffset;
  std::memcpy(&PeOffset, Image + 0x3C, sizeof PeOffset);
  EXPECT_EQ(std::memcmp(Image + PeOffset, "PE\0\0", 4), 0);
}

} // namespace
} // namespace md5b64
