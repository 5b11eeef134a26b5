#include "core/line_rules.h"

#include <gtest/gtest.h>

namespace kesmaro {
namespace {

constexpr CharScheme kAscii = CharScheme::kSingleByte;

std::string Row(std::string_view stem, std::string_view line, std::string_view key,
                CharScheme scheme = kAscii) {
  std::string out;
  const auto hit = ExactHitPosition(line, key, scheme);
  if (hit) AppendOutputRow(out, stem, line, *hit);
  return out;
}

/// A line and a key, and the row of an exact hit ("" for none) with stem "s".
struct ExactCase {
  const char* line;
  const char* key;
  CharScheme scheme;
  const char* row;
};

// clang-format off
constexpr ExactCase kExactCases[] = {
    {"12.50 3.4",   "12.5", kAscii, ""},
    {"12.5",        "12.5", kAscii, ""},  // a single column never hits
    {"112.5 3",     "12.5", kAscii, ""},
    {" 12.5 3",     "12.5", kAscii, ""},
    {"1e5 2",       "1e5",  kAscii, "s 2\r\n"},  // every letter is a separator
    {"7 8 9",       "7 8",  kAscii, "s 9\r\n"},  // keys may span columns
    {" 12 3",       "",     kAscii, "s 12 3\r\n"},  // the empty key hits only a leading separator
    {"12 3",        "",     kAscii, ""},
    {"",            "",     kAscii, ""},
    // a double-byte or longer separator is dropped whole: GBK "，", UTF-8 "中"
    {"12.5\xA3\xAC" "3.4", "12.5", CharScheme::kGbk, "s 3.4\r\n"},
    {"1\xE4\xB8\xAD" "2",  "1",    CharScheme::kUtf8, "s 2\r\n"},
    // 81 30 81 30 is one GB18030 character whose second and fourth bytes are the digit "0"
    {"5\x81\x30\x81\x30" "0 7", "5", CharScheme::kGb18030, "s 0 7\r\n"},
    // invalid bytes are characters of their own, copied unchanged
    {"3\xFF" "4\x81", "3", CharScheme::kUtf8, "s 4\x81\r\n"},
    {"3\xFF" "4\x81", "3\xFF" "4", CharScheme::kGbk, "s \r\n"},  // a lead byte at the end stands alone
    // read as GBK, 81 30 is a lead byte before a digit, so the digit stays a digit
    {"5\x81\x30\x81\x30" "0 7", "5", CharScheme::kGbk, "s 0\x81\x30" "0 7\r\n"},
    {"12.5\t-3.4", "12.5\t", kAscii, "s 3.4\r\n"},  // the minus sign is a separator too
};
// clang-format on

TEST(ExactHit, Table) {
  for (const ExactCase& c : kExactCases) EXPECT_EQ(Row("s", c.line, c.key, c.scheme), c.row) << c.line;
}

TEST(BeginsWithKey, IsAPlainPrefixTestExceptOnEmptyLines) {
  EXPECT_TRUE(BeginsWithKey("12.50 3.4", "12.5", kAscii));
  EXPECT_FALSE(BeginsWithKey("x12.5", "12.5", kAscii));
  EXPECT_TRUE(BeginsWithKey("7", "", kAscii));
  EXPECT_FALSE(BeginsWithKey("", "", kAscii));
  EXPECT_FALSE(BeginsWithKey("", "1", kAscii));
  // A key that ends inside a character does not match, though its bytes do.
  EXPECT_FALSE(BeginsWithKey("5\x81\x30\x81\x30" "0 7", "5\x81", CharScheme::kGb18030));
}

TEST(Numbers, LeadingNumberOfNamesAndTexts) {
  EXPECT_EQ(LeadingNumber("2.5.asc"), 2.5);
  EXPECT_EQ(LeadingNumber("+3"), 3.0);
  EXPECT_EQ(LeadingNumber(".5x"), 0.5);
  EXPECT_EQ(LeadingNumber(".txt"), 0.0);
  EXPECT_EQ(LeadingNumber("1e5.txt"), 1.0) << "no exponents";
  EXPECT_EQ(FileStem(".txt"), "");
}

TEST(Numbers, HeaderLineCountRoundsHalvesToEvenAndStopsAtMoreLinesThanAnyFileHolds) {
  EXPECT_EQ(HeaderLineCount("abc"), 0);
  EXPECT_EQ(HeaderLineCount("2.5"), 2);
  EXPECT_EQ(HeaderLineCount("3.5"), 4);
  EXPECT_EQ(HeaderLineCount("-4"), 0);
  EXPECT_EQ(HeaderLineCount("40000"), 40000);
  EXPECT_EQ(HeaderLineCount("8999999999999999000"), 8'999'999'999'999'998'976);  // the nearest double
  EXPECT_EQ(HeaderLineCount("99999999999999999999999999"), 9'000'000'000'000'000'000);
}

}  // namespace
}  // namespace kesmaro
