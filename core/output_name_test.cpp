#include "core/output_name.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kesmaro {
namespace {

TEST(OutputNameTest, OnePlainFileNameOrTheCharacterAtFault) {
  // name (UTF-8) -> the character shown, or "" when the name is fine
  // clang-format off
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"550.0", ""}, {"", ""} /* ".txt": a file of its own */, {"2.0\xE5\x8F\xB7 x", ""}, {"...", ""},
      {"../precious", "/"}, {"10/20/2023", "/"}, {"a\\b", "\\"}, {"12:30", ":"}, {"a*", "*"}, {"a?", "?"},
      {"\"a\"", "\""}, {"<a", "<"}, {"a>", ">"}, {"a|b", "|"}, {"a\tb", "U+0009"},
      {std::string("a\x1F", 2), "U+001F"}, {".", "."}, {"..", ".."},
  };
  // clang-format on
  for (const auto& [name, shown] : cases) {
    const std::filesystem::path path(std::u8string(name.begin(), name.end()));
    const std::optional<OutputNameFault> fault = FindOutputNameFault(path.native());
    EXPECT_EQ(fault ? fault->shown : "", shown) << name;
    EXPECT_EQ(fault && fault->wholeName, name == "." || name == "..") << name;
  }
}

}  // namespace
}  // namespace kesmaro
