#include "chart/chart_svg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "chart/golden_svg.h"

namespace kesmaro {
namespace {

/// Small panels, one with a gap and one without a value, which keeps its frame but no ticks or
/// line, and titles that need escaping; a change to the drawing shows as a change to
/// chart/testdata/golden.svg. KESMARO_GOLDEN_OUT=FILE writes the new drawing there.
TEST(ChartSvgTest, MatchesTheGoldenPicture) {
  const ChartInput input{"系列 <a&b> \"q\" 'x' \xFF\x01",
                         "file number",
                         {5, 10, 20},
                         {{"550", {0.418, std::nullopt, 0.431}},
                          {"max:1000:1100 x", {1040, 1050, 1075}},
                          {"empty", {std::nullopt, std::nullopt, std::nullopt}}}};
  const std::string svg = ChartSvg(LayOutChart(input));
  if (const char* out = std::getenv("KESMARO_GOLDEN_OUT")) std::ofstream(out, std::ios::binary) << svg;
  EXPECT_EQ(svg, kGoldenSvg);
}

}  // namespace
}  // namespace kesmaro
