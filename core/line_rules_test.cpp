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

TEST(ExactHit, LongerNumbersAndLinesWithoutSeparatorDoNotHit) {
  EXPECT_FALSE(ExactHitPosition("12.50 3.4", "12.5", kAscii));
  EXPECT_FALSE(ExactHitPosition("12.5", "12.5", kAscii)) << "a single column never hits";
  EXPECT_FALSE(ExactHitPosition("112.5 3", "12.5", kAscii));
  EXPECT_FALSE(ExactHitPosition(" 12.5 3", "12.5", kAscii));
}

TEST(ExactHit, KeysMaySpanColumnsAndTheEmptyKeyHitsOnlyALeadingSeparator) {
  EXPECT_EQ(ExactHitPosition("1e5 2", "1e5", kAscii), (CharSpan{3, 1})) << "every letter is a separator";
  EXPECT_EQ(Row("s", "7 8 9", "7 8"), "s 9\r\n");
  EXPECT_EQ(Row("s", " 12 3", ""), "s 12 3\r\n");
  EXPECT_FALSE(ExactHitPosition("12 3", "", kAscii));
  EXPECT_FALSE(ExactHitPosition("", "", kAscii));
}

TEST(BeginsWithKey, IsAPlainPrefixTestExceptOnEmptyLines) {
  EXPECT_TRUE(BeginsWithKey("12.50 3.4", "12.5", kAscii));
  EXPECT_FALSE(BeginsWithKey("x12.5", "12.5", kAscii));
  EXPECT_TRUE(BeginsWithKey("7", "", kAscii));
  EXPECT_FALSE(BeginsWithKey("", "", kAscii));
  EXPECT_FALSE(BeginsWithKey("", "1", kAscii));
}

TEST(Separators, FirstAndLastAcrossColumns) {
  EXPECT_EQ(FirstSeparator("12.5\t-3.4", kAscii), (CharSpan{4, 1}));
  EXPECT_EQ(LastSeparator("12.5\t-3.4", kAscii), (CharSpan{5, 1}));
  EXPECT_FALSE(FirstSeparator("12.5", kAscii));
}

TEST(Separators, DoubleByteCharacterIsOneSeparatorDroppedWhole) {
  // "12.5" + GBK "，" (A3 AC) + "3.4": the full-width comma ends the first column.
  const std::string gbkLine =
      "12.5\xA3\xAC"
      "3.4";
  EXPECT_EQ(ExactHitPosition(gbkLine, "12.5", CharScheme::kGbk), (CharSpan{4, 2}));
  EXPECT_EQ(Row("9", gbkLine, "12.5", CharScheme::kGbk), "9 3.4\r\n");
  // "中" in UTF-8 is three bytes.
  EXPECT_EQ(Row("9",
                "1\xE4\xB8\xAD"
                "2",
                "1", CharScheme::kUtf8),
            "9 2\r\n");
  EXPECT_EQ(LastSeparator("1\xE4\xB8\xAD"
                          "2",
                          CharScheme::kUtf8),
            (CharSpan{1, 3}));
}

TEST(Separators, Gb18030FourByteCharacterHidesItsDigitBytes) {
  // 81 30 81 30 is one character whose second and fourth bytes are the digits "0".
  const std::string line =
      "5\x81\x30\x81\x30"
      "0 7";
  EXPECT_EQ(ExactHitPosition(line, "5", CharScheme::kGb18030), (CharSpan{1, 4}));
  EXPECT_EQ(Row("1", line, "5", CharScheme::kGb18030), "1 0 7\r\n");
  // A key that ends inside the character does not match, though its bytes do.
  EXPECT_FALSE(BeginsWithKey(line, "5\x81", CharScheme::kGb18030));
  // Read as GBK, the same bytes are a lead byte followed by a digit, so the digit stays a digit.
  EXPECT_EQ(FirstSeparator(line, CharScheme::kGbk), (CharSpan{1, 1}));
}

TEST(Separators, InvalidBytesAreSingleCharactersAndCopiedUnchanged) {
  const std::string line =
      "3\xFF"
      "4\x81";
  EXPECT_EQ(Row("s", line, "3", CharScheme::kUtf8), "s 4\x81\r\n");
  EXPECT_EQ(LastSeparator(line, CharScheme::kGbk), (CharSpan{3, 1})) << "a lead byte at the end stands alone";
}

TEST(Numbers, LeadingNumberOfNamesAndTexts) {
  EXPECT_EQ(LeadingNumber("2.5.asc"), 2.5);
  EXPECT_EQ(LeadingNumber("+3"), 3.0);
  EXPECT_EQ(LeadingNumber(".5x"), 0.5);
  EXPECT_EQ(LeadingNumber(".txt"), 0.0);
  EXPECT_EQ(LeadingNumber("1e5.txt"), 1.0) << "no exponents";
  EXPECT_EQ(FileStem(".txt"), "");
}

TEST(Numbers, HeaderLineCountRoundsHalvesToEvenAndHasNoUpperLimit) {
  EXPECT_EQ(HeaderLineCount("abc"), 0);
  EXPECT_EQ(HeaderLineCount("2.5"), 2);
  EXPECT_EQ(HeaderLineCount("3.5"), 4);
  EXPECT_EQ(HeaderLineCount("-4"), 0);
  EXPECT_EQ(HeaderLineCount("40000"), 40000);
  EXPECT_GT(HeaderLineCount("99999999999999999999999999"), 1'000'000'000'000);
}

}  // namespace
}  // namespace kesmaro
