#include "core/code_page.h"

#include <gtest/gtest.h>

namespace kesmaro {
namespace {

TEST(CodePage, NamesAndNumbersLeadToTheSameCodePage) {
  EXPECT_EQ(CodePageByName("CP936"), CodePageById(936));
  EXPECT_EQ(CodePageByName("Shift_JIS")->scheme, CharScheme::kShiftJis);
  EXPECT_EQ(CodePageByName("ANSI_X3.4-1968")->scheme, CharScheme::kSingleByte) << "the C locale's codeset";
  EXPECT_FALSE(CodePageByName("klingon"));
}

TEST(CodePage, ALocaleReadsDataFilesAsItsLanguagesWindowsWould) {
  EXPECT_EQ(WindowsCodePageForLocale("zh_CN.UTF-8").windowsId, 936u);
  EXPECT_EQ(WindowsCodePageForLocale("zh_TW.UTF-8").windowsId, 950u) << "a territory before its language";
  EXPECT_EQ(WindowsCodePageForLocale("zh_CN.GB18030").windowsId, 54936u)
      << "a legacy codeset is the locale's own";
  EXPECT_EQ(WindowsCodePageForLocale("ru_RU.UTF-8@euro").windowsId, 1251u);
  EXPECT_EQ(WindowsCodePageForLocale("C").windowsId, 1252u);
  EXPECT_EQ(WindowsCodePageForLocale("C.UTF-8").windowsId, 1252u);
  EXPECT_EQ(WindowsCodePageForLocale("POSIX").windowsId, 1252u);
  EXPECT_EQ(WindowsCodePageForLocale("").windowsId, 1252u);
}

TEST(CodePage, UntaggedDataIsUtf8OnlyWhenItsTextIsWellFormedUtf8) {
  struct Case {
    std::string_view start;
    bool wholeFile;
    bool utf8;
  } const cases[] = {
      {"\xEF\xBB\xBFh 2\r\n", true, true},          // a byte order mark says so
      {"\xEF\xBB\xBF\xD6\xD0", true, true},         // whatever follows it
      {"5\xE4\xB8\xAD 12\r\n", true, true},         // 5中 12 in UTF-8
      {"5\xD6\xD0 12\r\n", true, false},            // in GBK
      {"1 2\r\n3 4", true, false},                  // ASCII alone tells nothing
      {"", true, false},                            // nothing at all
      {"\xE4\xB8\xAD 1\r\n\xB2\xA8", true, false},  // a later GBK byte
      {"\xE4\xB8\xAD 1\r\n\xE4\xB8", false, true},  // cut off by the sample's end
      {"\xE4\xB8\xAD 1\r\n\xE4\xB8", true, false},  // cut off by the file's end
      {"\xC0\x80", true, false},                    // overlong
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsUtf8Data(c.start, c.wholeFile), c.utf8) << testing::PrintToString(std::string(c.start));
  }
}

TEST(CharLength, MultiByteCharactersNeedAValidTrailAndMalformedBytesStandAlone) {
  EXPECT_EQ(CharLength(CharScheme::kGbk, "\xD6\xD0", 0), 2u);
  EXPECT_EQ(CharLength(CharScheme::kGbk, "\xD6\x31", 0), 1u) << "a lead byte before a digit";
  EXPECT_EQ(CharLength(CharScheme::kGbk, "\xD6", 0), 1u);
  EXPECT_EQ(CharLength(CharScheme::kBig5, "\xA4\x80", 0), 1u);
  EXPECT_EQ(CharLength(CharScheme::kShiftJis, "\xB1\x31", 0), 1u) << "half-width katakana is one byte";
  EXPECT_EQ(CharLength(CharScheme::kUtf8, "\xF0\x9F\x98\x80", 0), 4u);
  EXPECT_EQ(CharLength(CharScheme::kUtf8, "\xC0\x80", 0), 1u) << "overlong";
  EXPECT_EQ(CharLength(CharScheme::kUtf8, "\xE4\xB8", 0), 1u) << "truncated";
}

}  // namespace
}  // namespace kesmaro
