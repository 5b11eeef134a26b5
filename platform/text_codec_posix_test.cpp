// The system's code page on POSIX: the one Windows would use for the locale the environment
// names, whether or not that locale is installed here.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/text_codec.h"

namespace kesmaro {
namespace {

/// Sets an environment variable for the length of a test, or unsets it for nullptr.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SystemCodePage, FollowsLcAllThenLcCtypeThenLang) {
  const struct {
    const char* lcAll;
    const char* lcCtype;
    const char* lang;
    const char* name;  ///< as reported
    unsigned windowsId;
  } cases[] = {
      {"zh_TW.UTF-8", "ru_RU.UTF-8", "ja_JP.UTF-8", "zh_TW.UTF-8", 950},
      {"", "zh_CN.UTF-8", "ja_JP.UTF-8", "zh_CN.UTF-8", 936},  // an empty variable is no setting
      {nullptr, nullptr, "ru_RU", "ru_RU", 1251},
      {nullptr, nullptr, nullptr, "C", 1252},
  };
  for (const auto& c : cases) {
    const ScopedVariable lcAll("LC_ALL", c.lcAll);
    const ScopedVariable lcCtype("LC_CTYPE", c.lcCtype);
    const ScopedVariable lang("LANG", c.lang);
    std::string name;
    const std::optional<CodePage> page = SystemCodePage(&name);
    ASSERT_TRUE(page) << c.name;
    EXPECT_EQ(page->windowsId, c.windowsId) << c.name;
    EXPECT_EQ(name, c.name);
  }
}

}  // namespace
}  // namespace kesmaro
