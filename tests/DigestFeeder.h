// SPDX-License-Identifier: MIT
// The one way the tests feed a message to a digest coder and read its digest.
#ifndef MD5B64_TESTS_DIGESTFEEDER_H
#define MD5B64_TESTS_DIGESTFEEDER_H

#include "TestUtil.h"
#include "coders/IdCoderOld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace md5b64::test {

/// Feeds Input to Coder in pieces of the lengths NextPiece gives (cut to what is left; all
/// at once without it) and finishes. Checks that no feed returns anything and that
/// FinishInput returns "0;" and 16 bytes; returns those bytes in hexadecimal.
inline std::string FeedDigest(TIdCoder& Coder, std::string_view Input,
                              const std::function<std::size_t()>& NextPiece = {}) {
  for (std::size_t At = 0; At < Input.size();) {
    const std::size_t Piece =
        NextPiece ? std::min(Input.size() - At, NextPiece()) : Input.size() - At;
    EXPECT_EQ(Coder.FeedText(Input.substr(At, Piece)), "") << "piece at " << At;
    At += Piece;
  }
  const std::string Output = Coder.FinishInput();
  EXPECT_EQ(Output.size(), 18U);
  EXPECT_EQ(Output.substr(0, 2), "0;");
  return ToHex(std::string_view(Output).substr(2));
}

/// The same in pieces of Step bytes (all at once for 0).
inline std::string FeedDigest(TIdCoder& Coder, std::string_view Input, std::size_t Step) {
  if (Step == 0)
    return FeedDigest(Coder, Input);
  return FeedDigest(Coder, Input, [Step] { return Step; });
}

/// The digest of Input from a new coder of class TCoder.
template <class TCoder> std::string FreshDigest(std::string_view Input, std::size_t Step = 0) {
  TCoder Coder;
  return FeedDigest(Coder, Input, Step);
}

} // namespace md5b64::test

#endif
