#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <clocale>

namespace kesmaro {
namespace {

using Native = TextCodec::Native;

Native NativeText(const char8_t* utf8) { return std::filesystem::path(utf8).native(); }

TEST(TextCodecTest, ChineseTextRoundTripsThroughGbk) {
  // The C locale's ASCII would take no Chinese name: its text is taken as UTF-8 instead.
  for (const char* locale : {"C.UTF-8", "C"}) {
    std::setlocale(LC_CTYPE, locale);
    const auto gbk = MakeTextCodec(*CodePageByName("gbk"));
    ASSERT_TRUE(gbk);
    const std::string sample = std::string("\xD1\xF9\xC6\xB7") + "1";  // 样品1 in GBK
    EXPECT_EQ(gbk->Encode(NativeText(u8"样品1")), sample) << locale;
    EXPECT_EQ(gbk->Decode(sample), NativeText(u8"样品1"));
    EXPECT_EQ(gbk->Encode(Native()), "");
  }
}

TEST(TextCodecTest, Gb18030HoldsCharactersBeyondGbk) {
  const auto gb18030 = MakeTextCodec(*CodePageByName("gb18030"));
  if (!gb18030) GTEST_SKIP() << "this system has no GB18030 tables";
  EXPECT_EQ(gb18030->Encode(NativeText(u8"😀")), "\x94\x39\xFC\x36");
}

TEST(TextCodecTest, NothingIsApproximated) {
  const auto gbk = MakeTextCodec(*CodePageByName("gbk"));
  EXPECT_FALSE(gbk->Encode(NativeText(u8"a😀")));
  EXPECT_FALSE(gbk->Decode("\x81\x20"));
  const auto latin = MakeTextCodec(*CodePageByName("cp1252"));
  EXPECT_FALSE(latin->Encode(NativeText(u8"中")));
  EXPECT_EQ(latin->Encode(NativeText(u8"é")), "\xE9");
}

}  // namespace
}  // namespace kesmaro
