#include "core/run/line_rules.h"

#include <gtest/gtest.h>

namespace kesmaro {
namespace {

constexpr CharScheme kAscii = CharScheme::kSingleByte;

/// A line and a key, and what follows the separator of an exact hit (nullptr for none): the row
/// takes that unchanged.
struct ExactCase {
  const char* line;
  const char* key;
  CharScheme scheme;
  bool begins;  ///< BeginsWithKey: a plain prefix, except on empty lines and inside a character
  const char* remainder;
};

// clang-format off
constexpr ExactCase kExactCases[] = {
    {"12.50 3.4",   "12.5", kAscii, true, nullptr},
    {"12.5",        "12.5", kAscii, true, nullptr},  // a single column never hits
    {"112.5 3",     "12.5", kAscii, false, nullptr},
    {" 12.5 3",     "12.5", kAscii, false, nullptr},
    {"1e5 2",       "1e5",  kAscii, true, "2"},  // every letter is a separator
    {"7 8 9",       "7 8",  kAscii, true, "9"},  // keys may span columns
    {" 12 3",       "",     kAscii, true, "12 3"},  // the empty key hits only a leading separator
    {"12 3",        "",     kAscii, true, nullptr},
    {"",            "",     kAscii, false, nullptr},
    // a double-byte or longer separator is dropped whole: GBK "，", UTF-8 "中"
    {"12.5\xA3\xAC" "3.4", "12.5", CharScheme::kGbk, true, "3.4"},
    {"1\xE4\xB8\xAD" "2",  "1",    CharScheme::kUtf8, true, "2"},
    // 81 30 81 30 is one GB18030 character whose second and fourth bytes are the digit "0"
    {"5\x81\x30\x81\x30" "0 7", "5", CharScheme::kGb18030, true, "0 7"},
    // invalid bytes are characters of their own, copied unchanged
    {"3\xFF" "4\x81", "3", CharScheme::kUtf8, true, "4\x81"},
    {"3\xFF" "4\x81", "3\xFF" "4", CharScheme::kGbk, true, ""},  // a lead byte at the end stands alone
    // read as GBK, 81 30 is a lead byte before a digit, so the digit stays a digit
    {"5\x81\x30\x81\x30" "0 7", "5", CharScheme::kGbk, true, "0\x81\x30" "0 7"},
    {"12.5\t-3.4", "12.5\t", kAscii, true, "3.4"},  // the minus sign is a separator too
    // a key that begins no line, or ends inside a character, though its bytes begin it
    {"x12.5",       "12.5", kAscii, false, nullptr},
    {"5\x81\x30\x81\x30" "0 7", "5\x81", CharScheme::kGb18030, false, nullptr},
};
// clang-format on

TEST(ExactHit, Table) {
  for (const ExactCase& c : kExactCases) {
    const std::optional<CharSpan> hit = ExactHitPosition(c.line, c.key, c.scheme);
    EXPECT_EQ(hit.has_value(), c.remainder != nullptr) << c.line;
    EXPECT_EQ(BeginsWithKey(c.line, c.key, c.scheme), c.begins) << c.line << " begins with " << c.key;
    if (hit && c.remainder) {
      EXPECT_EQ(Remainder(c.line, *hit), c.remainder) << c.line;
    }
  }
}

TEST(FileStem, IsTheNameBeforeItsLastDot) {
  EXPECT_EQ(FileStem("2.5.asc"), "2.5");
  EXPECT_EQ(FileStem(".txt"), "");
}

}  // namespace
}  // namespace kesmaro
