#include "platform/native_text.h"

#include <gtest/gtest.h>

namespace kesmaro {
namespace {

TEST(NativeText, ConvertsToAndFromUtf8) {
  struct Case {
    NativeText native;
    std::string utf8;
  };
  const Case cases[] = {
      {{}, ""},
      {std::filesystem::path("ab 1.txt").native(), "ab 1.txt"},
      {std::filesystem::path(u8"样品1号").native(),
       "\xE6\xA0\xB7\xE5\x93\x81"
       "1\xE5\x8F\xB7"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NativeToUtf8(c.native), c.utf8);
    EXPECT_EQ(Utf8ToNative(c.utf8), c.native) << c.utf8;
  }
}

TEST(NativeText, IllFormedTextIsShownReplacedOnWindowsAndKeptAsBytesOnPosix) {
#ifdef _WIN32
  EXPECT_EQ(NativeToUtf8(L"a\xD800"), "a\xEF\xBF\xBD") << "a lone surrogate";
  EXPECT_FALSE(Utf8ToNative("a\xFF")) << "not UTF-8";
#else
  EXPECT_EQ(NativeToUtf8("a\xFF"), "a\xFF");
  EXPECT_EQ(Utf8ToNative("a\xFF"), "a\xFF");
#endif
}

}  // namespace
}  // namespace kesmaro
