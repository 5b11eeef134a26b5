#include "chart/table_chart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "testing/memory_file_system.h"
#include "testing/status_testing.h"

namespace kesmaro {
namespace {

struct TableChartCase {
  const char* name;
  Table table;
  std::vector<double> x;
  std::vector<ChartPanel> panels;
  std::vector<std::string> withoutNumbers = {};
  const char* xTitle = "文件编号";
};

class TableChartTest : public ::testing::TestWithParam<TableChartCase> {};

TEST_P(TableChartTest, PanelsOfTheColumnsOfNumbers) {
  const TableChartCase& c = GetParam();
  const TableChart chart = ChartOfTable(c.table, PassThroughCodec(), std::filesystem::path(u8"data/系列/."));
  EXPECT_EQ(chart.input.title, "系列");
  EXPECT_EQ(chart.input.xTitle, c.xTitle);
  EXPECT_EQ(chart.input.x, c.x);
  ASSERT_EQ(chart.input.panels.size(), c.panels.size());
  for (std::size_t i = 0; i < c.panels.size(); ++i) {
    EXPECT_EQ(chart.input.panels[i].title, c.panels[i].title);
    EXPECT_EQ(chart.input.panels[i].y, c.panels[i].y) << c.panels[i].title;
    EXPECT_EQ(chart.input.panels[i].scale, c.panels[i].scale) << c.panels[i].title;
  }
  EXPECT_EQ(chart.withoutNumbers, c.withoutNumbers);
  EXPECT_EQ(chart.input.decimalComma, c.table.decimalComma);
}

// clang-format off
const TableChartCase kChartCases[] = {
    {"NumbersGapsAndAColumnOfText",
     {{"550", "note", "max:1:2 x"},
      {{"", 5, {"0.5", "ok", "1.5"}}, {"", 10, {"", "", "2e1"}}, {"", 20, {"n/a", "x", "-3"}}}},
     {5, 10, 20}, {{"550", {0.5, std::nullopt, std::nullopt}}, {"max:1:2 x", {1.5, 20, -3}}}, {"note"}},
    {"PositionsWhenAFileHasNoNumber",
     {{"1"}, {{"", std::nullopt, {"1"}}, {"", 2, {"2"}}, {"", std::nullopt, {"3"}}}},
     {1, 2, 3}, {{"1", {1, 2, 3}}}, {}, "文件序号"},
    // a cell is a number when all of it is a decimal: no inf, hex, bare exponent or sign after a '+'
    {"DecimalsOnly",
     {{"y", "none"},
      {{"", 1, {"550", "+-1"}}, {"", 2, {"+7", "inf"}}, {"", 3, {"-.5", "0x10"}}, {"", 4, {"5.", "7e"}},
       {"", 5, {"1e-400", "e5"}}, {"", 6, {"", "5 "}}, {"", 7, {"", "0,5"}}}},
     {1, 2, 3, 4, 5, 6, 7}, {{"y", {550, 7, -0.5, 5, 0, {}, {}}}}, {"none"}},
    // beyond a double a column is in units of its largest power of ten
    {"BeyondADouble", {{"y"}, {{"", 1, {"1e400"}}, {"", 2, {"-2.5e399"}}, {"", 3, {"1e300"}}}},
     {1, 2, 3}, {{"y", {1, -0.25, 1e-100}, 400}}},
    {"DecimalCommas",
     {{"area:1:2", "1,5", "points"},
      {{"", 1, {"0,25", "", "0.5"}}, {"", 2, {"1e-9", "-2,5e3", "1.5"}}}, true},
     {1, 2}, {{"area:1:2", {0.25, 1e-9}}, {"1,5", {std::nullopt, -2500}}}, {"points"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, TableChartTest, ::testing::ValuesIn(kChartCases), RowName());

}  // namespace
}  // namespace kesmaro
