// The table window and `kesmaro-cli table` are one job: what a user chooses in the window and the
// command line that says the same build equal requests and write the same bytes.

#include <gtest/gtest.h>

#include <clocale>
#include <memory>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/options.h"
#include "testing/fake_controls.h"
#include "testing/fake_form_host.h"
#include "testing/memory_file_system.h"
#include "testing/status_testing.h"
#include "ui/table_form.h"

namespace kesmaro {
namespace {

using enum ui::ControlId;

/// The window's choices, and the command line that makes the same choices.
struct Pair {
  const char* name;
  const char* typed;   ///< typed into step 4
  ui::ControlId mode;  ///< step 5's option button
  const char* within;  ///< 最大偏差
  bool baseline;
  bool decimalComma;
  const char* column;
  std::vector<std::string> commandLine;  ///< after "table", before FOLDER and the items
  std::vector<std::string> items;        ///< the command line's
};

class TableWindowCliTest : public ::testing::TestWithParam<Pair> {
 protected:
  void SetUp() override { std::setlocale(LC_CTYPE, "C.UTF-8"); }  // terminal text is UTF-8 here

  MemoryFileSystem fs_;
  PassThroughCodec codec_;
  cli::Host host_{fs_,
                  {std::nullopt, CodePage{"GBK", 936, CharScheme::kGbk}, "zh_CN.GBK"},
                  false,
                  [](const CodePage& page) { return std::make_unique<PassThroughCodec>(page); }};
};

// clang-format off
const Pair kPairs[] = {
    {"Exact",       "550\n\n600",                  kExactOption,       "",    false, false, "2", {},                              {"550", "600"}},
    {"Measures",    "area:500:600\nmax:600:500",   kExactOption,       "",    true,  false, "3", {"--baseline", "--column", "3"}, {"area:500:600", "max:600:500"}},
    {"Nearest",     "549.9",                       kNearestOption,     "",    false, false, "2", {"--nearest"},                   {"549.9"}},
    {"Within",      "549.9",                       kNearestOption,     "0.05", false, false, "2", {"--nearest", "--within", "0.05"}, {"549.9"}},
    {"Interpolate", " 525 \n560",                  kInterpolateOption, "9",   false, false, "2", {"--interpolate"},               {"525", "560"}},
    {"Comma",       "550,0\nmean:500:600",         kExactOption,       "",    false, true,  "2", {"--decimal-comma"},             {"550,0", "mean:500:600"}},
};
// clang-format on

TEST_P(TableWindowCliTest, TheWindowAndTheCommandLineRunOneJob) {
  const Pair& pair = GetParam();
  for (const char* name : {"data/1.txt", "data/2.txt", "data/10.txt"})
    fs_.Put(name, "nm A B\r\n500 0.1 7\r\n550 0.5 8\r\n600 0.2 9\r\n");
  fs_.Put("data/2.txt", "nm A B\r\n500 0.1 7\r\n560 0,9 8\r\n600 0.3 9\r\n");

  ui::FakeControls controls;
  ui::FakeFormHost host;
  host.programFolder = "data";
  ui::TableForm form(controls, host, fs_, codec_);
  const auto type = [&](ui::ControlId box, const char* text) {
    controls.controls.at(box).text = text;
    form.Input_Change();
  };
  form.Form_Load();
  type(kSkipBox, "1");
  type(kItemsBox, pair.typed);
  for (ui::ControlId option : {kExactOption, kNearestOption, kInterpolateOption})
    controls.controls.at(option).selected = option == pair.mode;
  controls.controls.at(kBaselineCheck).selected = pair.baseline;
  controls.controls.at(kDecimalCommaCheck).selected = pair.decimalComma;
  type(kWithinBox, pair.within);
  type(kColumnBox, pair.column);
  type(kNameBox, "out");

  std::vector<std::string> args{"table", "--skip", "1", "--plot", "--output", "data/out"};
  args.insert(args.end(), pair.commandLine.begin(), pair.commandLine.end());
  args.push_back("data");
  args.insert(args.end(), pair.items.begin(), pair.items.end());
  cli::Options options;
  ASSERT_EQ(cli::Parse(args, cli::Commands(), &options), std::nullopt);
  Series series{"data", {}, "1"};
  ASSERT_OK(ListDataFiles(fs_, "data", ".txt", &series.list));
  ASSERT_TRUE(form.Job().has_value()) << controls.controls.at(kItemsVerdict).text;
  EXPECT_EQ(*form.Job(), cli::TableJobOf(options, series));

  form.ExecuteButton_Click();
  ASSERT_EQ(host.errors, std::vector<std::string>{});
  const std::string csv = fs_.Content("data/out.csv"), svg = fs_.Content("data/out.svg");
  std::string out, err, data;
  ASSERT_EQ(cli::RunCommandLine(args, host_, out, err, data), cli::kSuccess) << err;
  EXPECT_EQ(fs_.Content("data/out.csv"), csv);
  EXPECT_EQ(fs_.Content("data/out.svg"), svg);
}

INSTANTIATE_TEST_SUITE_P(Table, TableWindowCliTest, ::testing::ValuesIn(kPairs), RowName());

}  // namespace
}  // namespace kesmaro
