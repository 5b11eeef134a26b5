#include "chart/chart_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "testing/status_testing.h"

namespace kesmaro {
namespace {

struct AxisCase {
  const char* name;
  double lowest, highest;
  bool cover;
  std::vector<std::string> labels;
  double low, high;  ///< the axis' ends
  bool decimalComma = false;
};

class NiceAxisTest : public ::testing::TestWithParam<AxisCase> {};

TEST_P(NiceAxisTest, TicksAndEnds) {
  const AxisCase& c = GetParam();
  const ChartAxis axis = NiceAxis(c.lowest, c.highest, c.cover, c.decimalComma);
  std::vector<std::string> labels;
  for (const ChartTick& tick : axis.ticks) labels.push_back(tick.label);
  EXPECT_EQ(labels, c.labels);
  EXPECT_DOUBLE_EQ(axis.low, c.low);
  EXPECT_DOUBLE_EQ(axis.high, c.high);
}

// clang-format off
const AxisCase kAxisCases[] = {
    {"UnitRange", 0, 1, true, {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}, 0, 1},
    {"ConstantColumn", 0.418, 0.418, true, {"0.36", "0.38", "0.40", "0.42", "0.44", "0.46"}, 0.36, 0.46},
    {"ConstantZero", 0, 0, true, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}, -1, 1},
    {"Negative", -3.7, -0.2, true, {"-4", "-3", "-2", "-1", "0"}, -4, 0},
    {"Nano", 1e-9, 5e-9, true, {"1e-9", "2e-9", "3e-9", "4e-9", "5e-9"}, 1e-9, 5e-9},
    {"BeyondPlainDecimals", 0, 2e7, true, {"0", "5e6", "1e7", "1.5e7", "2e7"}, 0, 2e7},
    {"CommaLabels", 12.2, 12.25, true, {"12,20", "12,21", "12,22", "12,23", "12,24", "12,25"},
     12.2, 12.25, true},
    {"SeriesWithin", 1, 12, false, {"2", "4", "6", "8", "10", "12"}, 1, 12},
    {"SinglePointWithin", 5, 5, false, {"4.6", "4.8", "5.0", "5.2", "5.4"}, 4.5, 5.5},
    // beyond ±1e300 in units of 1e308
    {"BeyondDoubleRange", -1e308, 1e308, true, {"-1e308", "-5e307", "0", "5e307", "1e308"}, -1, 1},
    {"ConstantBeyond", 1e308, 1e308, true, {"9e307", "9.5e307", "1e308", "1.05e308", "1.1e308"}, 0.9, 1.1},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, NiceAxisTest, ::testing::ValuesIn(kAxisCases), RowName());

TEST(LayOutChartTest, FileNumbersGetWholeNumberTicks) {
  const struct {
    std::vector<double> x;
    std::vector<std::string> labels;
  } cases[] = {
      {{1, 2, 3}, {"1", "2", "3"}}, {{5}, {"5"}}, {{1.5, 2}, {"1.5", "1.6", "1.7", "1.8", "1.9", "2.0"}}};
  for (const auto& c : cases) {
    const ChartLayout layout = LayOutChart({"s", "file number", c.x, {}});
    std::vector<std::string> labels;
    for (const ChartTick& tick : layout.xTicks) labels.push_back(tick.label);
    EXPECT_EQ(labels, c.labels) << c.x.size();
  }
}

/// Beyond ±1e300, and beyond a double (a panel in units of 1e400), each point is drawn at the
/// tick that reads its value.
TEST(LayOutChartTest, PointsSitAtTheTicksOfTheirValues) {
  const ChartLayout layout =
      LayOutChart({"s", "x", {1, 2, 3}, {{"a", {1e308, -1e308, 0}}, {"b", {1, -0.5, 0}, 400}}});
  const char* labels[][3] = {{"1e308", "-1e308", "0"}, {"1e400", "-5e399", "0"}};
  for (std::size_t p = 0; p < 2; ++p) {
    std::map<std::string, double> tickAt;
    for (const ChartTick& tick : layout.panels[p].yTicks) tickAt[tick.label] = tick.pixel;
    for (std::size_t i = 0; i < 3; ++i)
      EXPECT_DOUBLE_EQ(layout.panels[p].runs.at(0).at(i).y, tickAt.at(labels[p][i])) << labels[p][i];
  }
}

/// A page's width goes to the frames but for the margins, its height to the panels, shared
/// alike, but for the title and the x axis' bands; a page too small for them gets a taller layout.
TEST(LayOutChartTest, TakesThePageItIsGiven) {
  const ChartInput input{"s", "文件编号", {1, 2, 3}, {{"a", {1, 2, 3}}, {"b", {3, 2, 1}}}};
  const ChartLayout natural = LayOutChart(input);
  EXPECT_EQ(LayOutChart(input, {500, 0}).height, natural.height);
  EXPECT_GT(LayOutChart(input, {500, 100}).height, 100);
  for (const ChartPage page : {ChartPage{500, 400}, ChartPage{1200, 901}}) {
    const ChartLayout layout = LayOutChart(input, page);
    EXPECT_EQ(layout.width, page.width);
    EXPECT_EQ(layout.left, natural.left);
    EXPECT_EQ(layout.width - layout.right, natural.width - natural.right);
    EXPECT_EQ(layout.right - layout.xTicks.back().pixel, natural.right - natural.xTicks.back().pixel);
    EXPECT_EQ(layout.height, page.height);
    EXPECT_EQ(layout.axis, layout.panels.back().bottom);
    EXPECT_GE(layout.height - layout.axis, natural.height - natural.axis);
    EXPECT_LT(layout.height - layout.axis, natural.height - natural.axis + 2);  // whole pixels' rest
    for (const PanelLayout& panel : layout.panels) {
      EXPECT_EQ(panel.bottom - panel.top, layout.panels[0].bottom - layout.panels[0].top);
      for (const ChartPoint& point : panel.runs.at(0))
        EXPECT_TRUE(point.y > panel.top && point.y < panel.bottom);
    }
  }
}

}  // namespace
}  // namespace kesmaro
