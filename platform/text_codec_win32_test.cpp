// The system's code page on Windows: the ANSI code page (936 under the tests' Wine).

#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/text_codec.h"

namespace kesmaro {
namespace {

TEST(SystemCodePage, IsTheAnsiCodePage) {
  std::string name;
  const std::optional<CodePage> page = SystemCodePage(&name);
  ASSERT_TRUE(page) << name;
  EXPECT_EQ(page->windowsId, GetACP());
  EXPECT_EQ(name, "code page " + std::to_string(GetACP()));
}

}  // namespace
}  // namespace kesmaro
