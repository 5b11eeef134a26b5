#include "core/text/code_page.h"

#include <gtest/gtest.h>

namespace kesmaro {
namespace {

TEST(CodePage, NamesAndNumbersLeadToTheSameCodePage) {
  EXPECT_EQ(CodePageByName("CP936"), CodePageById(936));
  EXPECT_EQ(CodePageByName("Shift_JIS")->scheme, CharScheme::kShiftJis);
  EXPECT_EQ(CodePageByName("ANSI_X3.4-1968")->scheme, CharScheme::kSingleByte) << "the C locale's codeset";
}

TEST(CodePage, ALocaleReadsDataFilesAsItsLanguagesWindowsWould) {
  EXPECT_EQ(WindowsCodePageForLocale("zh_CN.UTF-8").windowsId, 936u);
  EXPECT_EQ(WindowsCodePageForLocale("zh_TW.UTF-8").windowsId, 950u) << "a territory before its language";
  EXPECT_EQ(WindowsCodePageForLocale("zh_CN.GB18030").windowsId, 54936u)
      << "a legacy codeset is the locale's own";
  EXPECT_EQ(WindowsCodePageForLocale("ru_RU.UTF-8@euro").windowsId, 1251u);
  EXPECT_EQ(WindowsCodePageForLocale("C").windowsId, 1252u);
  EXPECT_EQ(WindowsCodePageForLocale("C.UTF-8").windowsId, 1252u);
}

TEST(CodePage, UntaggedDataIsUtf8OnlyWhenItsWholeTextIsWellFormedUtf8) {
  const std::string longAscii(70000, 'a');
  struct Case {
    std::string text;
    bool utf8;
    std::size_t settledBy;  // the bytes taken when the answer is settled; 0: only by the end
  } const cases[] = {
      {"\xEF\xBB\xBFh 2\r\n", true, 3},               // a byte order mark says so
      {"\xEF\xBB\xBF\xD6\xD0", true, 3},              // whatever follows it
      {"5\xE4\xB8\xAD 12\r\n", true, 0},              // 5中 12 in UTF-8
      {"5\xD6\xD0 12\r\n", false, 3},                 // in GBK: its second byte settles it
      {"1 2\r\n3 4", false, 0},                       // ASCII alone tells nothing
      {"", false, 0},                                 // nothing at all
      {"\xE4\xB8\xAD 1\r\n\xB2\xA8", false, 8},       // a later GBK byte
      {"\xE4\xB8\xAD 1\r\n\xE4\xB8", false, 0},       // cut off by the file's end
      {"\xEF\xBB", false, 0},                         // so is a mark
      {"\xC0\x80", false, 1},                         // overlong
      {longAscii + "\r\n550 \xE6\xA0\xB7", true, 0},  // text only in a footer, far past the start
      {longAscii + "\r\n550 \xD1\xF9", false, longAscii.size() + 8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsUtf8Data(c.text), c.utf8) << testing::PrintToString(c.text.substr(0, 20));
    // One byte at a time: characters cut between the parts, and the byte that settles it.
    Utf8Judge judge;
    std::size_t taken = 0;
    while (taken < c.text.size() && !judge.Take(std::string_view(c.text).substr(taken++, 1))) {
    }
    EXPECT_EQ(judge.IsUtf8(), c.utf8) << testing::PrintToString(c.text.substr(0, 20));
    EXPECT_EQ(taken, c.settledBy ? c.settledBy : c.text.size())
        << testing::PrintToString(c.text.substr(0, 20));
  }
}

// What a UTF-16 page is shown as is the data encoding's (data_encoding_test).
TEST(CodePage, Utf16IsNamedByItsByteOrderAndReadAsUtf8) {
  const std::optional<CodePage> le = CodePageByName("UTF-16LE");
  ASSERT_TRUE(le);
  EXPECT_EQ(le->form, FileForm::kUtf16Le);
  EXPECT_EQ(le->scheme, CharScheme::kUtf8);
  EXPECT_EQ(le->windowsId, 65001u);
  EXPECT_EQ(CodePageByName("utf_16be")->form, FileForm::kUtf16Be);
  EXPECT_EQ(CodePageById(65001)->form, FileForm::kAsIs);
  EXPECT_FALSE(CodePageByName("utf-16")) << "which byte order is left to the data's mark";
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
