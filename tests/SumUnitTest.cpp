// SPDX-License-Identifier: MIT
// md5b64sum's parts on their own: part sizes, names in lines and messages, list lines and
// the command line. The quoted and escaped names are those GNU md5sum 9.1 writes for the same
// names (run with LC_ALL=C).
#include "front_end/SumCheck.h"
#include "front_end/SumDigest.h"
#include "front_end/SumInput.h"
#include "front_end/SumNames.h"
#include "front_end/SumOptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace md5b64 {
namespace {

TEST(SumPartSizeTest, ReadsPositiveSizesWithBinarySuffixes) {
  const struct {
    const char* Text;
    std::optional<std::uint64_t> Size;
  } Cases[] = {
      {"1", 1},
      {"5242880", 5242880},
      {"5M", 5ull << 20},
      {"5m", 5ull << 20},
      {"8k", 8192},
      {"8K", 8192},
      {"1G", 1ull << 30},
      {"1g", 1ull << 30},
      {"007", 7},
      {"18446744073709551615", 18446744073709551615ull},
      // Refused: nothing, zero, signs, fractions, other suffixes, overflow.
      {"", std::nullopt},
      {"0", std::nullopt},
      {"0M", std::nullopt},
      {"-5", std::nullopt},
      {"+5", std::nullopt},
      {"5.5M", std::nullopt},
      {"M", std::nullopt},
      {"5T", std::nullopt},
      {"5MB", std::nullopt},
      {"5 M", std::nullopt},
      {"18446744073709551616", std::nullopt},
      {"17179869184G", std::nullopt}, // 2^34 GiB = 2^64 bytes
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Text);
    EXPECT_EQ(ParsePartSize(Case.Text), Case.Size);
  }
}

TEST(SumNamesTest, EscapesAndUnescapesTheThreeCharacters) {
  const struct {
    const char* Name;
    bool Needs;
    const char* Escaped;
  } Cases[] = {
      {"plain name", false, "plain name"},
      {"a\\b", true, "a\\\\b"},
      {"n\nl", true, "n\\nl"},
      {"c\rr", true, "c\\rr"},
      {"\\\n\r", true, "\\\\\\n\\r"},
      {"tab\there", false, "tab\there"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    EXPECT_EQ(NameNeedsEscape(Case.Name), Case.Needs);
    EXPECT_EQ(EscapeName(Case.Name), Case.Escaped);
    EXPECT_EQ(UnescapeName(Case.Escaped), std::optional<std::string>(Case.Name));
  }
  // Only "\\", "\n" and "\r" may stand after a backslash, and a name holds no zero byte.
  for (const std::string& Bad :
       std::vector<std::string>{"a\\", "a\\t", "\\x", std::string("a\0b", 3)}) {
    SCOPED_TRACE(Bad);
    EXPECT_EQ(UnescapeName(Bad), std::nullopt);
  }
}

TEST(SumNamesTest, QuotesNamesInMessagesAsMd5sumDoes) {
  const struct {
    std::string Name;
    const char* Quoted;
  } Cases[] = {
      {"plain.txt", "plain.txt"},
      {"dir/sub-1_x,y+z%@", "dir/sub-1_x,y+z%@"},
      {"a b", "'a b'"},
      {"a:b", "'a:b'"},
      {"x\\y", "'x\\y'"},
      {"a=b", "'a=b'"},
      {"a?b", "'a?b'"},
      {"a!b", "'a!b'"},
      {"a\"b", "'a\"b'"},
      {"#a", "'#a'"},
      {"a#", "a#"},
      {"~", "'~'"},
      {"a~", "a~"},
      {"{", "'{'"},
      {"x{", "x{"},
      {"", "''"},
      {"it's", "\"it's\""},
      {"it's $x", "'it'\\''s $x'"},
      {"it's \\", "'it'\\''s \\'"},
      {"a\tb", "'a'$'\\t''b'"},
      {"\na", "''$'\\n''a'"},
      {"a\x01", "'a'$'\\001'"},
      {"\x7f", "''$'\\177'"},
      {"caf\xc3\xa9", "'caf'$'\\303\\251'"},
      {"standard input", "'standard input'"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    EXPECT_EQ(QuoteName(Case.Name), Case.Quoted);
  }
}

// Digests of "abc": hashlib.md5(b"abc"), in hex and in base64.b64encode.
constexpr const char* AbcHex = "900150983cd24fb0d6963f7d28e17f72";
constexpr const char* AbcBase64 = "kAFQmDzST7DWlj99KOF/cg==";

TEST(SumDigestTest, ReadsHexOfEitherCaseAndStrictBase64Only) {
  TDigestBytes Expected;
  ASSERT_TRUE(DigestFromText(AbcHex, Expected));
  EXPECT_EQ(DigestToHex(Expected), AbcHex);
  EXPECT_EQ(DigestToBase64(Expected), AbcBase64);
  for (const char* Good : {AbcBase64, "900150983CD24FB0D6963F7D28E17F72"}) {
    SCOPED_TRACE(Good);
    TDigestBytes Digest{};
    EXPECT_TRUE(DigestFromText(Good, Digest));
    EXPECT_EQ(Digest, Expected);
  }
  for (const char* Bad : {
           "900150983cd24fb0d6963f7d28e17f7",   // 31 digits
           "900150983cd24fb0d6963f7d28e17f72a", // 33 digits
           "900150983cd24fb0d6963f7d28e17f7g",  // not a digit
           "kAFQmDzST7DWlj99KOF/cg=",           // a pad short
           "kAFQmDzST7DWlj99KOF/cg",            // unpadded
           "kAFQmDzST7DWlj99KOF/ch==",          // bits after the last byte
           "kAFQmDzST7DWlj99KOF_cg==",          // URL alphabet
           "kAFQmDzST7DWlj99KOF/cgAA",          // 18 bytes
           "",
       }) {
    SCOPED_TRACE(Bad);
    TDigestBytes Digest{};
    EXPECT_FALSE(DigestFromText(Bad, Digest));
  }
}

TEST(SumCheckLineTest, ReadsEveryFormOfDigestLine) {
  const std::string B64 = AbcBase64;
  const std::string Hex = AbcHex;
  const struct {
    std::string Line;
    const char* Digest;
    const char* Name;
  } Cases[] = {
      {B64 + "  a", AbcBase64, "a"},
      {B64 + " *a", AbcBase64, "a"},
      {Hex + "  a", AbcHex, "a"},
      {Hex + "\t a", AbcHex, "a"},
      {"  \t" + B64 + "  a", AbcBase64, "a"},
      {B64 + "  name with  spaces ", AbcBase64, "name with  spaces "},
      {B64 + "   lead", AbcBase64, " lead"},
      {"\\" + B64 + "  a\\\\b\\nc\\rd", AbcBase64, "a\\b\nc\rd"},
      {B64 + "  a\\b", AbcBase64, "a\\b"}, // not escaped: taken as it is
      {"MD5 (a) = " + B64, AbcBase64, "a"},
      {"MD5(a)=" + Hex, AbcHex, "a"},
      {"MD5 (f(1)) = " + Hex, AbcHex, "f(1)"},
      {"MD5 () = " + Hex, AbcHex, ""},
      {"\\MD5 (a\\\\b) = " + B64, AbcBase64, "a\\b"},
      {"MD5 (a) =\t" + B64, AbcBase64, "a"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Line);
    TCheckLineReader Reader(&IsDigestSyntax);
    const std::optional<TCheckLine> Line = Reader.Read(Case.Line);
    ASSERT_TRUE(Line.has_value());
    EXPECT_EQ(Line->Digest, Case.Digest);
    EXPECT_EQ(Line->Name, Case.Name);
  }
}

TEST(SumCheckLineTest, RefusesMalformedLines) {
  const std::string B64 = AbcBase64;
  const std::string Hex = AbcHex;
  for (const std::string& Bad : std::vector<std::string>{
           "garbage",
           B64,
           B64 + "  ",
           Hex.substr(1) + "  a",
           B64.substr(1) + "  a",
           "kAFQmDzST7DWlj99KOF/ch==  a",
           "\\" + B64 + "  a\\",
           "\\" + B64 + "  a\\tb",
           "MD5 a = " + B64,
           "MD5 (a) " + B64,
           "MD5 (a = " + B64,
           "MD5 (a) = " + B64 + " ",
           "MD4 (a) = " + B64,
           "SHA1 (a) = " + Hex,
           B64 + "  a" + std::string(1, '\0') + "b",
       }) {
    SCOPED_TRACE(Bad);
    TCheckLineReader Reader(&IsDigestSyntax);
    EXPECT_FALSE(Reader.Read(Bad).has_value());
  }
}

TEST(SumCheckLineTest, ALineWithoutMarkerFixesTheFormOfTheLinesAfterIt) {
  const std::string Hex = AbcHex;
  // Marker first: a line with one space is then malformed.
  TCheckLineReader Marked(&IsDigestSyntax);
  ASSERT_TRUE(Marked.Read(Hex + "  a"));
  EXPECT_FALSE(Marked.Read(Hex + " a"));
  // One space first: the next line's second space belongs to the name.
  TCheckLineReader Reversed(&IsDigestSyntax);
  EXPECT_FALSE(Reversed.Read(Hex + " a")); // too short to tell
  ASSERT_TRUE(Reversed.Read(Hex + " ab"));
  const std::optional<TCheckLine> Next = Reversed.Read(Hex + "  a");
  ASSERT_TRUE(Next);
  EXPECT_EQ(Next->Name, " a");
}

TEST(SumCheckLineTest, ETagListsTakeETagsOnly) {
  TCheckLineReader Reader(&IsETagSyntax);
  for (const std::string Good :
       {"d41d8cd98f00b204e9800998ecf8427e  a", "4054C6F7787ECB7B323323155B0C0583-3  a",
        "MD5 (a) = 4054c6f7787ecb7b323323155b0c0583-10000"}) {
    SCOPED_TRACE(Good);
    EXPECT_TRUE(Reader.Read(Good));
  }
  for (const std::string Bad :
       {"1B2M2Y8AsgTpgAmY7PhCfg==  a", "4054c6f7787ecb7b323323155b0c0583-  a",
        "4054c6f7787ecb7b323323155b0c0583-0  a", "4054c6f7787ecb7b323323155b0c0583-03  a",
        "4054c6f7787ecb7b323323155b0c0583-3x  a", "4054c6f7787ecb7b323323155b0c058-3  a"}) {
    SCOPED_TRACE(Bad);
    EXPECT_FALSE(Reader.Read(Bad));
  }
}

TEST(SumOptionsTest, ReadsOptionsGroupedShortenedAndMixedWithNames) {
  const TSumOptions Options =
      ParseSumOptions({"f1", "-cw", "--stri", "--ignore", "--etag", "5M", "f2", "--", "-z"});
  EXPECT_TRUE(Options.Check);
  EXPECT_TRUE(Options.Warn);
  EXPECT_TRUE(Options.Strict);
  EXPECT_TRUE(Options.IgnoreMissing);
  EXPECT_EQ(Options.ETagPartSize, 5u << 20);
  EXPECT_FALSE(Options.Zero);
  EXPECT_EQ(Options.Files, (std::vector<std::string>{"f1", "f2", "-z"}));

  EXPECT_EQ(ParseSumOptions({"--etag=1k", "-"}).ETagPartSize, 1024u);
  EXPECT_EQ(ParseSumOptions({"-"}).Files, std::vector<std::string>{"-"});
  // The last of --quiet, --status and --warn counts.
  const TSumOptions Last = ParseSumOptions({"-c", "--status", "--quiet"});
  EXPECT_TRUE(Last.Quiet);
  EXPECT_FALSE(Last.Status);
  // --help ends the reading: what follows is not looked at.
  EXPECT_TRUE(ParseSumOptions({"--hel", "--bogus"}).Help);
}

TEST(SumOptionsTest, RefusesBadCommandLinesWithMd5sumsWords) {
  const struct {
    std::vector<std::string> Args;
    const char* Message;
  } Cases[] = {
      {{"--bogus"}, "unrecognized option '--bogus'"},
      {{"--bogus=1"}, "unrecognized option '--bogus=1'"},
      {{"-x"}, "invalid option -- 'x'"},
      {{"-bx"}, "invalid option -- 'x'"},
      {{"--s"}, "option '--s' is ambiguous; possibilities: '--status' '--strict'"},
      {{"--t"}, "option '--t' is ambiguous; possibilities: '--tag' '--text'"},
      {{"--he"}, "option '--he' is ambiguous; possibilities: '--hex' '--help'"},
      {{"--etag"}, "option '--etag' requires an argument"},
      {{"--tag=1"}, "option '--tag' doesn't allow an argument"},
      {{"--etag=0"},
       "invalid --etag part size '0': a positive whole number of bytes with an "
       "optional K, M or G is expected"},
      {{"--etag", "1.5M"},
       "invalid --etag part size '1.5M': a positive whole number of bytes "
       "with an optional K, M or G is expected"},
      {{"--tag", "-t"}, "--tag does not support --text mode"},
      {{"--quiet"}, "the --quiet option is meaningful only when verifying checksums"},
      {{"--status"}, "the --status option is meaningful only when verifying checksums"},
      {{"-w"}, "the --warn option is meaningful only when verifying checksums"},
      {{"--strict"}, "the --strict option is meaningful only when verifying checksums"},
      {{"--ignore-missing"},
       "the --ignore-missing option is meaningful only when verifying checksums"},
      {{"-cz"}, "the --zero option is not supported when verifying checksums"},
      {{"-c", "--tag"}, "the --tag option is meaningless when verifying checksums"},
      {{"-c", "-b"}, "the --binary and --text options are meaningless when verifying checksums"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Message);
    try {
      ParseSumOptions(Case.Args);
      ADD_FAILURE() << "accepted";
    } catch (const ESumUsageError& Error) {
      EXPECT_STREQ(Error.what(), Case.Message);
    }
  }
}

} // namespace
} // namespace md5b64

namespace md5b64 {
namespace {

// A file whose name has bytes beyond ASCII ("café" in Windows-1252 and in UTF-8): its name
// reaches the system as given, and its bytes are read without any text-mode change (CR LF
// and a Ctrl-Z byte stay as they are). The expected digests are Python's
// base64.b64encode(hashlib.md5(b"a\r\nb\x1ac").digest()) and hexdigest().
TEST(SumReaderTest, ReadsFilesWhoseNamesGoBeyondAsciiAsBytes) {
  for (const std::string Name : {"caf\xE9.sum-test", "caf\xC3\xA9.sum-test"}) {
    SCOPED_TRACE(Name);
    {
      std::ofstream File(Name, std::ios::binary);
      File << std::string("a\r\nb\x1A"
                          "c");
      ASSERT_TRUE(File.good());
    }
    std::string Text;
    bool Opened = false;
    TSumReader Base64(TSumForm::Base64, 0);
    EXPECT_EQ(Base64.Digest(Name, Text, Opened), 0);
    EXPECT_EQ(Text, "52Ikzjw4im/ALRis241CKA==");
    TSumReader Hex(TSumForm::Hex, 0);
    EXPECT_EQ(Hex.Digest(Name, Text, Opened), 0);
    EXPECT_EQ(Text, "e76224ce3c388a6fc02d18acdb8d4228");
    std::remove(Name.c_str());
  }
  std::string Text;
  bool Opened = true;
  TSumReader Reader(TSumForm::Base64, 0);
  EXPECT_NE(Reader.Digest("no-such-file.sum-test", Text, Opened), 0);
  EXPECT_FALSE(Opened);
}

} // namespace
} // namespace md5b64
