// SPDX-License-Identifier: MIT
// One-call and incremental digests: against the RFCs' suites (as the coders list them),
// against the coders and, where it is installed, against OpenSSL.
#include "coders/Digest.h"
#include "TestUtil.h"
#include "coders/IdCoderMessageDigest.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#ifdef MD5B64_TEST_WITH_OPENSSL
#include <openssl/evp.h>
#include <openssl/provider.h>
#endif

namespace md5b64 {
namespace {

std::string Hex(const TDigestBytes& Digest) {
  return test::ToHex(std::string_view(reinterpret_cast<const char*>(Digest.data()), Digest.size()));
}

std::span<const std::uint8_t> AsBytes(std::string_view Text) {
  return {reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size()};
}

// The coder's digest of Input, all at once: the reference the new forms must agree with.
template <class TCoder> std::string CoderDigest(const std::string& Input) {
  TCoder Coder;
  Coder.FeedText(Input);
  const std::string Output = Coder.FinishInput();
  EXPECT_EQ(Output.substr(0, 2), "0;");
  return test::ToHex(std::string_view(Output).substr(2));
}

struct TMD5 {
  using TDigest = TMD5Digest;
  using TCoder = TIdCoderMD5;
  static TDigestBytes Of(std::string_view Data) { return MD5Of(Data); }
  static TDigestBytes Of(std::span<const std::uint8_t> Data) { return MD5Of(Data); }
  static constexpr const char* OpenSSLName = "MD5";
};
struct TMD4 {
  using TDigest = TMD4Digest;
  using TCoder = TIdCoderMD4;
  static TDigestBytes Of(std::string_view Data) { return MD4Of(Data); }
  static TDigestBytes Of(std::span<const std::uint8_t> Data) { return MD4Of(Data); }
  static constexpr const char* OpenSSLName = "MD4";
};
struct TMD2 {
  using TDigest = TMD2Digest;
  using TCoder = TIdCoderMD2;
  static TDigestBytes Of(std::string_view Data) { return MD2Of(Data); }
  static TDigestBytes Of(std::span<const std::uint8_t> Data) { return MD2Of(Data); }
  // Debian's OpenSSL is built without MD2: the coder and the RFC's suite are its references.
  static constexpr const char* OpenSSLName = nullptr;
};

template <class T> class DigestTest : public testing::Test {};
using TAlgorithms = testing::Types<TMD5, TMD4, TMD2>;
class TAlgorithmNames {
public:
  template <class T> static std::string GetName(int) {
    return T::OpenSSLName ? T::OpenSSLName : "MD2";
  }
};
TYPED_TEST_SUITE(DigestTest, TAlgorithms, TAlgorithmNames);

// Input followed by its digest in hex, as the coder lists the RFC's suite (appendix A.5).
std::vector<std::pair<std::string, std::string>> RfcSuite(const TIdCoder& Coder) {
  TStringList Lines;
  if (const auto* Md2 = dynamic_cast<const TIdCoderMD2*>(&Coder))
    Md2->ListTestVectors(Lines);
  else
    dynamic_cast<const TIdCoderMD4&>(Coder).ListTestVectors(Lines);
  std::vector<std::pair<std::string, std::string>> Suite;
  for (std::size_t I = 0; I + 1 < Lines.Count(); I += 2) {
    std::string Digest = Lines.Strings(I + 1).substr(2);
    for (char& C : Digest)
      C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    Suite.emplace_back(Lines.Strings(I), Digest);
  }
  return Suite;
}

TYPED_TEST(DigestTest, RfcSuiteInOneCallAndInPieces) {
  typename TypeParam::TCoder Coder;
  const auto Suite = RfcSuite(Coder);
  ASSERT_EQ(Suite.size(), 7U);
  for (const auto& [Input, Expected] : Suite) {
    SCOPED_TRACE(Input);
    EXPECT_EQ(Hex(TypeParam::Of(std::string_view(Input))), Expected);
    EXPECT_EQ(Hex(TypeParam::Of(AsBytes(Input))), Expected);
    typename TypeParam::TDigest Digest;
    for (const char C : Input)
      Digest.Update(std::string_view(&C, 1));
    EXPECT_EQ(Hex(Digest.Finish()), Expected);
    EXPECT_EQ(Digest.Length(), Input.size());
  }
}

// Lengths around every block boundary of both block sizes (16 and 64), and random bytes
// fed in pieces of random sizes: one call, pieces and the coder must give one digest.
TYPED_TEST(DigestTest, PiecesOfRandomSizesAgreeWithOneCallAndTheCoder) {
  std::mt19937 Random(20261211);
  std::vector<std::size_t> Lengths;
  for (std::size_t L = 0; L <= 200; ++L)
    Lengths.push_back(L);
  for (const std::size_t L : {1000U, 4095U, 4096U, 4097U, 65537U})
    Lengths.push_back(L);
  for (const std::size_t Length : Lengths) {
    std::string Input(Length, '\0');
    for (char& C : Input)
      C = static_cast<char>(Random());
    const std::string Expected = CoderDigest<typename TypeParam::TCoder>(Input);
    ASSERT_EQ(Hex(TypeParam::Of(std::string_view(Input))), Expected) << Length << " bytes";
    typename TypeParam::TDigest Digest;
    for (std::size_t At = 0; At < Length;) {
      const std::size_t Piece = std::min<std::size_t>(Random() % 150, Length - At);
      Digest.Update(AsBytes(std::string_view(Input).substr(At, Piece)));
      At += Piece;
    }
    ASSERT_EQ(Hex(Digest.Finish()), Expected) << Length << " bytes in random pieces";
    ASSERT_EQ(Digest.Length(), Length);
  }
}

TYPED_TEST(DigestTest, FinishLeavesTheObjectAsItWas) {
  const std::string Whole = test::PatternBytes(300);
  typename TypeParam::TDigest Digest;
  Digest.Update(std::string_view(Whole).substr(0, 100));
  const std::string First = Hex(Digest.Finish());
  EXPECT_EQ(Hex(Digest.Finish()), First);
  EXPECT_EQ(First, Hex(TypeParam::Of(std::string_view(Whole).substr(0, 100))));
  Digest.Update(std::string_view(Whole).substr(100));
  EXPECT_EQ(Hex(Digest.Finish()), Hex(TypeParam::Of(std::string_view(Whole))));
  EXPECT_EQ(Digest.Length(), 300U);
}

TYPED_TEST(DigestTest, CopiesGoOnSeparatelyFromACommonPrefix) {
  const std::string Prefix = test::PatternBytes(77); // ends inside a block of either size
  typename TypeParam::TDigest Common;
  Common.Update(Prefix);
  typename TypeParam::TDigest Left = Common;
  typename TypeParam::TDigest Right = Common;
  Left.Update(std::string_view("left"));
  Right.Update(std::string_view("the right-hand continuation, longer than one block of 64 bytes"));
  EXPECT_EQ(Hex(Left.Finish()), CoderDigest<typename TypeParam::TCoder>(Prefix + "left"));
  EXPECT_EQ(Hex(Right.Finish()),
            CoderDigest<typename TypeParam::TCoder>(
                Prefix + "the right-hand continuation, longer than one block of 64 bytes"));
  EXPECT_EQ(Hex(Common.Finish()), CoderDigest<typename TypeParam::TCoder>(Prefix));
}

TYPED_TEST(DigestTest, ResetStartsANewMessage) {
  typename TypeParam::TDigest Digest;
  Digest.Update(std::string_view("some earlier message, long enough to fill a block or two"));
  Digest.Reset();
  EXPECT_EQ(Digest.Length(), 0U);
  EXPECT_EQ(Hex(Digest.Finish()), Hex(TypeParam::Of(std::string_view())));
  Digest.Update(std::string_view("abc"));
  EXPECT_EQ(Hex(Digest.Finish()), Hex(TypeParam::Of(std::string_view("abc"))));
  // Empty pieces, also with no storage behind them, change nothing.
  Digest.Update(std::string_view());
  Digest.Update(std::span<const std::uint8_t>());
  EXPECT_EQ(Digest.Length(), 3U);
  EXPECT_EQ(Hex(Digest.Finish()), Hex(TypeParam::Of(std::string_view("abc"))));
}

#ifdef MD5B64_TEST_WITH_OPENSSL
// OpenSSL's digest of Input; MD4 comes from its legacy provider.
std::string OpenSSLDigest(const char* Name, std::string_view Input) {
  static OSSL_PROVIDER* const Legacy = OSSL_PROVIDER_load(nullptr, "legacy");
  static OSSL_PROVIDER* const Default = OSSL_PROVIDER_load(nullptr, "default");
  if (Legacy == nullptr || Default == nullptr)
    return "no provider";
  EVP_MD* Md = EVP_MD_fetch(nullptr, Name, nullptr);
  if (Md == nullptr)
    return "not available";
  unsigned char Out[EVP_MAX_MD_SIZE];
  unsigned int Size = 0;
  const int Ok = EVP_Digest(Input.data(), Input.size(), Out, &Size, Md, nullptr);
  EVP_MD_free(Md);
  if (Ok != 1)
    return "failed";
  return test::ToHex(std::string_view(reinterpret_cast<const char*>(Out), Size));
}

template <class T> class OpenSSLDigestTest : public testing::Test {};
using TOpenSSLAlgorithms = testing::Types<TMD5, TMD4>;
TYPED_TEST_SUITE(OpenSSLDigestTest, TOpenSSLAlgorithms, TAlgorithmNames);

TYPED_TEST(OpenSSLDigestTest, OneCallAndPiecesAgree) {
  std::mt19937 Random(1321);
  for (const std::size_t Length :
       {0U, 1U, 3U, 55U, 56U, 63U, 64U, 65U, 119U, 120U, 128U, 1000U, 1U << 20}) {
    std::string Input(Length, '\0');
    for (char& C : Input)
      C = static_cast<char>(Random());
    const std::string Expected = OpenSSLDigest(TypeParam::OpenSSLName, Input);
    EXPECT_EQ(Hex(TypeParam::Of(AsBytes(Input))), Expected) << Length << " bytes";
    typename TypeParam::TDigest Digest;
    const std::size_t Half = Length / 3;
    Digest.Update(std::string_view(Input).substr(0, Half));
    Digest.Update(std::string_view(Input).substr(Half));
    EXPECT_EQ(Hex(Digest.Finish()), Expected) << Length << " bytes in two pieces";
  }
}
#endif

TEST(DigestTest, NeedsNoStartUpAndMatchesTheProgram) {
  // The program prints kAFQmDzST7DWlj99KOF/cg== for "abc": the Base64 of this digest.
  EXPECT_EQ(Hex(MD5Of(std::string_view("abc"))), "900150983cd24fb0d6963f7d28e17f72");
}

} // namespace
} // namespace md5b64
