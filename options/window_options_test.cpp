// A window program's command line, read by the command line's shared rules.

#include "options/window_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kesmaro::options {
namespace {

TEST(WindowOptions, TheWindowsTakeTheEncodingAndTheTableWindowAFolder) {
  const struct {
    std::vector<std::string> args;
    std::size_t folders;                  ///< how many the window takes
    std::optional<std::string> encoding;  ///< nullopt: a usage error
    std::vector<std::string> operands = {};
  } cases[] = {
      {{"--encoding", "gbk"}, 0, "gbk"}, {{"--encoding=utf-8"}, 0, "utf-8"},
      {{"--encoding"}, 0, std::nullopt}, {{"--skip", "1"}, 1, std::nullopt},
      {{"--version"}, 0, std::nullopt},  {{"folder"}, 0, std::nullopt},
      {{"--", "x"}, 0, std::nullopt},    {{"数据", "--encoding", "gbk"}, 1, "gbk", {"数据"}},
      {{"--", "-x"}, 1, "", {"-x"}},     {{"a", "b"}, 1, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<WindowOptions> options = ParseWindowCommandLine(c.args, c.folders);
    EXPECT_EQ(options.has_value(), c.encoding.has_value()) << c.args[0];
    if (options && c.encoding) {
      EXPECT_EQ(options->encoding.value_or(""), *c.encoding);
      EXPECT_EQ(options->folders, c.operands);
    }
  }
}

}  // namespace
}  // namespace kesmaro::options
