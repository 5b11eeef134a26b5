#include "core/run/output_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/memory_file_system.h"
#include "testing/status_testing.h"

namespace kesmaro {
namespace {

using Unit = std::filesystem::path::value_type;

TEST(OutputNameTest, OnePlainFileNameOrWhatIsAtFault) {
  const std::string long251(251, 'a');
  const std::string chinese84 = [] {  // 84 characters: 252 bytes of UTF-8, 84 units of UTF-16
    std::string text;
    for (int i = 0; i < 84; ++i) text += "\xE6\xA0\xB7";
    return text;
  }();
  struct Case {
    std::string name;    // UTF-8
    std::string reason;  // EnglishReason, or "" when the name is fine
  };
  const auto holds = [](const std::string& shown) { return "holds '" + shown + "', which no file name may"; };
  const auto device = [](const std::string& shown) {
    return "is the Windows device '" + shown + "', which no file name may";
  };
  const std::string tooLong = std::string("is 256 ") + (sizeof(Unit) == 1 ? "bytes" : "characters") +
                              " long with its extension, more than the 255 a file name may have";
  // clang-format off
  const std::vector<Case> cases = {
      {"550.0", ""}, {"", ""} /* ".txt": a file of its own */, {"2.0\xE5\x8F\xB7 x", ""}, {"CONSOLE", ""},
      {"a.con", ""}, {"COM10", ""}, {long251, ""},
      {"../precious", holds("/")}, {"10/20/2023", holds("/")}, {"a\\b", holds("\\")}, {"12:30", holds(":")},
      {"a*", holds("*")}, {"a?", holds("?")}, {"\"a\"", holds("\"")}, {"<a", holds("<")}, {"a>", holds(">")},
      {"a|b", holds("|")}, {"a\tb", holds("U+0009")}, {std::string("a\x1F", 2), holds("U+001F")},
      {".", "is '.', which no file name may"}, {"..", "is '..', which no file name may"},
      {"CON", device("CON")}, {"nul", device("NUL")}, {"Com7.data", device("COM7")}, {"lpt1 .x", device("LPT1")},
      {"...", "ends in '.', which Windows drops from file names"},
      {"a ", "ends in ' ', which Windows drops from file names"},
      {long251 + "b", tooLong}, {chinese84, sizeof(Unit) == 1 ? tooLong : ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    const std::filesystem::path path(std::u8string(c.name.begin(), c.name.end()));
    const std::optional<OutputNameFault> fault =
        FindOutputNameFault(path.native(), ".txt", CharScheme::kUtf8);
    EXPECT_EQ(fault ? EnglishReason(*fault) : "", c.reason) << c.name;
  }
#ifndef _WIN32  // a POSIX name is the locale's bytes; a Windows one is wide
  // Under a GBK locale a name's bytes are GBK: the trail byte of 億 (83 7C) is no '|'.
  EXPECT_FALSE(FindOutputNameFault("\x83\x7C", ".txt", CharScheme::kGbk));
  EXPECT_EQ(FindOutputNameFault("\x83\x7C", ".txt", CharScheme::kUtf8)->shown, "|");
  const std::optional<OutputNameFault> lone = FindOutputNameFault("\x83 |", ".txt", CharScheme::kGbk);
  EXPECT_EQ(lone ? lone->shown : "", "|") << "a lead byte without its trail is a character of its own";
#endif
}

// Keeping an output off the data files is the run's to show (extraction_run_test); what a refused
// name is told with, the command line's and the window's.
TEST(OutputNameTest, EveryOutputIsCheckedAndGetsItsExtension) {
  MemoryFileSystem fs;
  const DataFileList list{{"1.txt"}};
  std::filesystem::path output;
  EXPECT_OK(PrepareOutput(fs, "d", list, "sub/550", ".csv", CharScheme::kUtf8, &output));
  EXPECT_EQ(output, "sub/550.csv");
  EXPECT_OK(PrepareOutput(fs, "d", list, "", ".txt", CharScheme::kUtf8, &output));
  EXPECT_EQ(output, ".txt") << "an empty name is a file of its own";
  EXPECT_TRUE(PrepareOutput(fs, "d", list, "sub/a|b", ".txt", CharScheme::kUtf8, &output));
  EXPECT_OK(CheckOutputName("sub/x", ".txt", CharScheme::kUtf8, OutputNamePart::kLast));
  EXPECT_TRUE(CheckOutputName("sub/x", ".txt", CharScheme::kUtf8, OutputNamePart::kWhole))
      << "a name from the data names a file here";
}

}  // namespace
}  // namespace kesmaro
