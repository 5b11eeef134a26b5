// The system's code page on POSIX: the one Windows would use for the locale the environment
// names, whether or not that locale is installed here.

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>

#include "platform/text_codec.h"

namespace kesmaro {
namespace {

TEST(SystemCodePage, FollowsLcAllThenLcCtypeThenLang) {
  const char* const variables[] = {"LC_ALL", "LC_CTYPE", "LANG"};
  const auto set = [&](std::size_t i, const char* value) {
    value ? ::setenv(variables[i], value, 1) : ::unsetenv(variables[i]);
  };
  std::optional<std::string> saved[std::size(variables)];
  for (std::size_t i = 0; i < std::size(variables); ++i) {
    if (const char* old = std::getenv(variables[i])) saved[i] = old;
  }
  const struct {
    const char* values[std::size(variables)];
    const char* name;  ///< as reported
    unsigned windowsId;
  } cases[] = {
      {{"zh_TW.UTF-8", "ru_RU.UTF-8", "ja_JP.UTF-8"}, "zh_TW.UTF-8", 950},
      {{"", "zh_CN.UTF-8", "ja_JP.UTF-8"}, "zh_CN.UTF-8", 936},  // an empty variable is no setting
      {{nullptr, nullptr, "ru_RU"}, "ru_RU", 1251},
      {{nullptr, nullptr, nullptr}, "C", 1252},
  };
  for (const auto& c : cases) {
    for (std::size_t i = 0; i < std::size(variables); ++i) set(i, c.values[i]);
    std::string name;
    const std::optional<CodePage> page = SystemCodePage(&name);
    EXPECT_EQ(page ? page->windowsId : 0, c.windowsId) << c.name;
    EXPECT_EQ(name, c.name);
  }
  for (std::size_t i = 0; i < std::size(variables); ++i) set(i, saved[i] ? saved[i]->c_str() : nullptr);
}

}  // namespace
}  // namespace kesmaro
