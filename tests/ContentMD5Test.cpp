// SPDX-License-Identifier: MIT
// Content-MD5 in one call and the check of a received value: matching, mismatching and
// malformed values, each malformed one with its reason.
#include "coders/ContentMD5.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace md5b64 {
namespace {

using namespace std::string_view_literals;

// The test suite of RFC 1321, appendix A.5, with
// base64.b64encode(hashlib.md5(Body).digest()) from Python 3.
struct TContentRow {
  std::string_view Body, Value;
};
constexpr TContentRow Rfc1321Suite[] = {
    {"", "1B2M2Y8AsgTpgAmY7PhCfg=="},
    {"a", "DMF1ucDxtqgxw5niaXcmYQ=="},
    {"abc", "kAFQmDzST7DWlj99KOF/cg=="},
    {"message digest", "+WtpfXy3k41SWi8xqvFh0A=="},
    {"abcdefghijklmnopqrstuvwxyz", "w/zT12GS5AB9+0lsymfhOw=="},
};

TEST(ContentMD5Test, OneCallGivesTheBase64OfTheDigest) {
  for (const TContentRow& Row : Rfc1321Suite) {
    SCOPED_TRACE(Row.Body);
    EXPECT_EQ(ContentMD5(Row.Body), Row.Value);
    const std::vector<std::uint8_t> Bytes(Row.Body.begin(), Row.Body.end());
    EXPECT_EQ(ContentMD5(std::span<const std::uint8_t>(Bytes)), Row.Value);
    const TContentMD5Check Check = CheckContentMD5(Row.Value, Row.Body);
    EXPECT_TRUE(Check.Matches());
    EXPECT_EQ(Check.Fault, TContentMD5Fault::None);
    EXPECT_EQ(Check.Size, 16U);
    EXPECT_TRUE(CheckContentMD5(Row.Value, std::span<const std::uint8_t>(Bytes)).Matches());
  }
  // Bytes that are no text: a zero byte and the top bit.
  EXPECT_EQ(ContentMD5("\0\xff"sv), ContentMD5(std::string("\0\xff", 2)));
}

TEST(ContentMD5Test, ValuesAreToldApart) {
  // "abd" gives SRHlFuWqIdMnUS4Mixl2Fg== (Python's hashlib and base64); 15 and 17 zero bytes
  // give the two wrong-length values.
  struct {
    std::string_view Value;
    TContentMD5Status Status;
    TContentMD5Fault Fault;
    TCodingError Error;
    std::size_t Position;
  } const Rows[] = {
      {"kAFQmDzST7DWlj99KOF/cg==", TContentMD5Status::Match, TContentMD5Fault::None,
       TCodingError::None, 0},
      {"SRHlFuWqIdMnUS4Mixl2Fg==", TContentMD5Status::Mismatch, TContentMD5Fault::None,
       TCodingError::None, 0},
      // One bit of the digest changed ("c" to "d" carries into the last byte).
      {"kAFQmDzST7DWlj99KOF/dg==", TContentMD5Status::Mismatch, TContentMD5Fault::None,
       TCodingError::None, 0},
      {"kAFQmDzST7DWlj99KOF/cg", TContentMD5Status::Malformed, TContentMD5Fault::NonCanonical,
       TCodingError::Truncated, 22},
      {"kAFQmDzST7DWlj99KOF/ch==", TContentMD5Status::Malformed, TContentMD5Fault::NonCanonical,
       TCodingError::NonCanonical, 21},
      {" kAFQmDzST7DWlj99KOF/cg==", TContentMD5Status::Malformed, TContentMD5Fault::NonCanonical,
       TCodingError::InvalidCharacter, 0},
      {"kAFQmDzST7DWlj99KOF_cg==", TContentMD5Status::Malformed, TContentMD5Fault::NotBase64,
       TCodingError::InvalidCharacter, 19},
      {"kAFQmDzST7DWlj99KOF/cg=", TContentMD5Status::Malformed, TContentMD5Fault::NotBase64,
       TCodingError::Truncated, 23},
      {"kAFQmDzST7DWl=j99KOF/cg==", TContentMD5Status::Malformed, TContentMD5Fault::NotBase64,
       TCodingError::MisplacedPad, 13},
      {"AAAAAAAAAAAAAAAAAAAA", TContentMD5Status::Malformed, TContentMD5Fault::WrongLength,
       TCodingError::None, 0},
      {"AAAAAAAAAAAAAAAAAAAAAAA=", TContentMD5Status::Malformed, TContentMD5Fault::WrongLength,
       TCodingError::None, 0},
      {"", TContentMD5Status::Malformed, TContentMD5Fault::WrongLength, TCodingError::None, 0},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Value);
    const TContentMD5Check Check = CheckContentMD5(Row.Value, "abc");
    EXPECT_EQ(Check.Status, Row.Status);
    EXPECT_EQ(Check.Fault, Row.Fault);
    EXPECT_EQ(Check.Error, Row.Error);
    EXPECT_EQ(Check.Position, Row.Position);
    EXPECT_EQ(Check.Matches(), Row.Status == TContentMD5Status::Match);
  }
  EXPECT_EQ(CheckContentMD5("AAAAAAAAAAAAAAAAAAAA", "abc").Size, 15U);
  EXPECT_EQ(CheckContentMD5("AAAAAAAAAAAAAAAAAAAAAAA=", "abc").Size, 17U);
}

} // namespace
} // namespace md5b64
