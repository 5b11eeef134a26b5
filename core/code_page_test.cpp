#include "core/code_page.h"

#include <gtest/gtest.h>

namespace kesmaro {
namespace {

TEST(CodePageByName, KnowsTheUsualSpellings) {
  EXPECT_EQ(CodePageByName("gbk")->windowsId, 936u);
  EXPECT_EQ(CodePageByName("CP936")->scheme, CharScheme::kGbk);
  EXPECT_EQ(CodePageByName("GB18030")->scheme, CharScheme::kGb18030);
  EXPECT_EQ(CodePageByName("utf-8")->name, "UTF-8");
  EXPECT_EQ(CodePageByName("UTF8")->windowsId, 65001u);
  EXPECT_EQ(CodePageByName("Shift_JIS")->scheme, CharScheme::kShiftJis);
  EXPECT_EQ(CodePageByName("big5")->windowsId, 950u);
  EXPECT_EQ(CodePageByName("cp1252")->scheme, CharScheme::kSingleByte);
  EXPECT_EQ(CodePageByName("ANSI_X3.4-1968")->windowsId, 20127u);
  EXPECT_FALSE(CodePageByName("klingon"));
  EXPECT_FALSE(CodePageByName(""));
  EXPECT_EQ(CodePageById(936), CodePageByName("gbk"));
  EXPECT_FALSE(CodePageById(1));
}

TEST(CharLength, DoubleByteSchemesNeedAValidTrailByte) {
  EXPECT_EQ(CharLength(CharScheme::kGbk, "\xD6\xD0", 0), 2u);
  EXPECT_EQ(CharLength(CharScheme::kGbk,
                       "\xD6"
                       "1",
                       0),
            1u);
  EXPECT_EQ(CharLength(CharScheme::kGbk, "\xD6", 0), 1u);
  EXPECT_EQ(CharLength(CharScheme::kBig5, "\xA4\x40", 0), 2u);
  EXPECT_EQ(CharLength(CharScheme::kBig5, "\xA4\x80", 0), 1u);
  EXPECT_EQ(CharLength(CharScheme::kShiftJis, "\x82\xA0", 0), 2u);
  EXPECT_EQ(CharLength(CharScheme::kShiftJis, "\xB1\x31", 0), 1u) << "half-width katakana is one byte";
  EXPECT_EQ(CharLength(CharScheme::kUhc, "\xB0\xA1", 0), 2u);
  EXPECT_EQ(CharLength(CharScheme::kSingleByte, "\xD6\xD0", 0), 1u);
}

TEST(CharLength, Utf8RejectsOverlongSurrogateAndTruncatedForms) {
  EXPECT_EQ(CharLength(CharScheme::kUtf8, "\xC3\xA9", 0), 2u);
  EXPECT_EQ(CharLength(CharScheme::kUtf8, "\xF0\x9F\x98\x80", 0), 4u);
  EXPECT_EQ(CharLength(CharScheme::kUtf8, "\xC0\x80", 0), 1u);
  EXPECT_EQ(CharLength(CharScheme::kUtf8, "\xED\xA0\x80", 0), 1u);
  EXPECT_EQ(CharLength(CharScheme::kUtf8, "\xE4\xB8", 0), 1u);
  EXPECT_EQ(CharLength(CharScheme::kUtf8, "\x80", 0), 1u);
}

}  // namespace
}  // namespace kesmaro
