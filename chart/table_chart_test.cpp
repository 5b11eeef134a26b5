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
  const char* xTitle = "file number";
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
     {1, 2, 3}, {{"1", {1, 2, 3}}}, {}, "file position"},
    {"DecimalCommas", {{"area:1:2", "1,5"}, {{"", 1, {"0,25", ""}}, {"", 2, {"1e-9", "-2,5e3"}}}, true},
     {1, 2}, {{"area:1:2", {0.25, 1e-9}}, {"1,5", {std::nullopt, -2500}}}},
    {"NoNumbersAtAll", {{"1", "2"}, {{"", 1, {"", "a"}}}}, {1}, {}, {"1", "2"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, TableChartTest, ::testing::ValuesIn(kChartCases), RowName());

TEST(CellNumberTest, DecimalsOnly) {
  struct Case {
    const char* cell;
    bool decimalComma;
    std::optional<double> number;
  };
  const Case cases[] = {
      {"550", false, 550}, {"+7", false, 7},    {"-.5", false, -0.5}, {"0,5", false, {}},
      {"0.5", true, {}},   {"", false, {}},     {"5 ", false, {}},    {"+-1", false, {}},
      {"inf", false, {}},  {"0x10", false, {}}, {"1e400", false, {}}, {"e5", false, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CellNumber(c.cell, c.decimalComma), c.number) << c.cell;
  }
}

}  // namespace
}  // namespace kesmaro
