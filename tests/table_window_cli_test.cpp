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

TEST(TableWindowCliTest, TheWindowAndTheCommandLineRunOneJob) {
  std::setlocale(LC_CTYPE, "C.UTF-8");  // terminal text is UTF-8 here
  // The window's choices, and the command line that makes them, after "table --skip 1 --plot
  // --output data/out".
  const struct {
    const char* typed;   ///< into step 4
    ui::ControlId mode;  ///< step 5's option button
    const char* within;  ///< 最大偏差
    bool baseline;
    bool decimalComma;
    const char* column;
    std::vector<std::string> commandLine;
  } pairs[] = {
      // clang-format off
      {"550\n\n600",                 kExactOption,       "",     false, false, "2", {"data", "550", "600"}},
      {"area:500:600\nmax:600:500", kExactOption,       "",     true,  false, "3", {"--baseline", "--column", "3", "data", "area:500:600", "max:600:500"}},
      {"549.9",                     kNearestOption,     "",     false, false, "2", {"--nearest", "data", "549.9"}},
      {"549.9",                     kNearestOption,     "0.05", false, false, "2", {"--nearest", "--within", "0.05", "data", "549.9"}},
      {" 525 \n560",                kInterpolateOption, "9",    false, false, "2", {"--interpolate", "data", "525", "560"}},
      {"550,0\nmean:500:600",       kExactOption,       "",     false, true,  "2", {"--decimal-comma", "data", "550,0", "mean:500:600"}},
      // clang-format on
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair.typed);
    MemoryFileSystem fs;
    for (const char* name : {"data/1.txt", "data/10.txt"})
      fs.Put(name, "nm A B\r\n500 0.1 7\r\n550 0.5 8\r\n600 0.2 9\r\n");
    fs.Put("data/2.txt", "nm A B\r\n500 0.1 7\r\n560 0,9 8\r\n600 0.3 9\r\n");
    ui::FakeControls controls;
    ui::FakeFormHost host;
    host.programFolder = "data";
    const PassThroughCodec codec;
    ui::TableForm form(controls, host, fs, codec);
    const std::pair<ui::ControlId, const char*> typed[] = {{kSkipBox, "1"},
                                                           {kItemsBox, pair.typed},
                                                           {kWithinBox, pair.within},
                                                           {kColumnBox, pair.column},
                                                           {kNameBox, "out"}};
    for (const auto& [box, text] : typed) controls.controls.at(box).text = text;
    for (ui::ControlId option : {kExactOption, kNearestOption, kInterpolateOption})
      controls.controls.at(option).selected = option == pair.mode;
    controls.controls.at(kBaselineCheck).selected = pair.baseline;
    controls.controls.at(kDecimalCommaCheck).selected = pair.decimalComma;
    form.Form_Load();

    std::vector<std::string> args{"table", "--skip", "1", "--plot", "--output", "data/out"};
    args.insert(args.end(), pair.commandLine.begin(), pair.commandLine.end());
    cli::Options options;
    ASSERT_EQ(cli::Parse(args, cli::Commands(), &options), std::nullopt);
    Series series{"data", {}, 1};
    ASSERT_OK(ListDataFiles(fs, "data", ".txt", &series.list));
    ASSERT_TRUE(form.Job().has_value()) << controls.controls.at(kItemsVerdict).text;
    EXPECT_EQ(*form.Job(), cli::TableJobOf(options, series));

    form.ExecuteButton_Click();
    ASSERT_EQ(host.errors, std::vector<std::string>{});
    const std::string csv = fs.Content("data/out.csv"), svg = fs.Content("data/out.svg");
    cli::Host cli{fs,
                  {std::nullopt, CodePage{"GBK", 936, CharScheme::kGbk}, "zh_CN.GBK"},
                  false,
                  [](const CodePage& page) { return std::make_unique<PassThroughCodec>(page); }};
    std::string out, err, data;
    ASSERT_EQ(cli::RunCommandLine(args, cli, out, err, data), cli::kSuccess) << err;
    EXPECT_EQ(fs.Content("data/out.csv"), csv);
    EXPECT_EQ(fs.Content("data/out.svg"), svg);
  }
}

}  // namespace
}  // namespace kesmaro
