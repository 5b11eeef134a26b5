// The option table against the usage text.

#include "cli/options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro::cli {
namespace {

/// The options named in `command`'s synopsis: from "kesmaro-cli COMMAND" up to the next synopsis
/// or the blank line that ends them.
std::set<std::string> SynopsisOptions(const std::string& usage, const std::string& command) {
  std::size_t at = usage.find("kesmaro-cli " + command + " ");
  EXPECT_NE(at, std::string::npos) << command;
  const std::size_t next = usage.find("kesmaro-cli ", at + 1);
  const std::string synopsis = usage.substr(at, std::min(next, usage.find("\n\n", at)) - at);
  std::set<std::string> names;
  for (at = synopsis.find("--"); at != std::string::npos; at = synopsis.find("--", at + 1)) {
    const std::size_t end = synopsis.find_first_of(" ]|\n", at);
    names.insert(synopsis.substr(at, end - at));
    at = end - 1;
  }
  return names;
}

TEST(CliOptions, EachSynopsisNamesTheOptionsOfItsCommand) {
  const std::string usage = UsageText();
  const struct {
    std::string name;
    CommandSet set;
  } commands[] = {{"list", kList}, {"check", kCheck}, {"run", kRun}, {"table", kTable}};
  for (const auto& command : commands) {
    const std::vector<std::string_view> names = OptionNames(command.set);
    EXPECT_EQ(SynopsisOptions(usage, command.name), std::set<std::string>(names.begin(), names.end()))
        << command.name;
  }
  // The text of an option starts in column 20, on each of its lines.
  EXPECT_NE(
      usage.find("\n  --output NAME     the output name without .txt or .csv (run: default the name the key\n"
                 "                    check proposes; table: default table, and - for standard output)\n"
                 "  --force           run"),
      std::string::npos);
  // And each option has its line below the synopses.
  for (std::string_view name : OptionNames(kList | kReading))
    EXPECT_NE(usage.find("\n  " + std::string(name) + " "), std::string::npos) << name;
}

}  // namespace
}  // namespace kesmaro::cli
