#ifndef KESMARO_TESTS_CHART_PIXELS_H_
#define KESMARO_TESTS_CHART_PIXELS_H_

// What a painted chart shows where its layout puts things, for the painters' tests alike: they
// read pixels back as 0xRRGGBB.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>

#include "chart/chart_layout.h"

namespace kesmaro {

/// One panel of four files, the third without a value: a line from the first point to the
/// second, a gap, and the fourth alone.
inline ChartInput ChartWithGap() {
  return {"趋势", "文件编号", {1, 2, 3, 4}, {{"峰高", {1, 3, std::nullopt, 2}}}};
}

/// Blue well above red: the line's colour, blended in part with the white page at its edges.
inline bool Bluish(std::uint32_t rgb) {
  return static_cast<int>(rgb & 0xFF) - static_cast<int>(rgb >> 16) > 30;
}

/// `pixel(x, y)` is the painted picture of `layout`, the layout of ChartWithGap().
template <typename Pixel>
void ExpectChartPixels(const ChartLayout& layout, const Pixel& pixel) {
  const auto at = [&](double x, double y) { return pixel(static_cast<int>(x), static_cast<int>(y)); };
  const auto bluishAround = [&](ChartPoint a, ChartPoint b) {
    for (int dx = -1; dx <= 1; ++dx) {
      for (int dy = -1; dy <= 1; ++dy) {
        if (Bluish(at((a.x + b.x) / 2 + dx, (a.y + b.y) / 2 + dy))) return true;
      }
    }
    return false;
  };
  const PanelLayout& panel = layout.panels.at(0);
  const double middleX = (layout.left + layout.right) / 2, middleY = (panel.top + panel.bottom) / 2;
  EXPECT_EQ(at(1, 1), 0xFFFFFFu) << "page";
  for (const ChartPoint edge : {ChartPoint{layout.left, middleY}, ChartPoint{layout.right, middleY},
                                ChartPoint{middleX, panel.top}, ChartPoint{middleX, panel.bottom}}) {
    EXPECT_EQ(at(edge.x, edge.y), 0x888888u) << "frame at " << edge.x << "," << edge.y;
  }
  ASSERT_EQ(panel.runs.size(), 2u);
  const ChartPoint first = panel.runs[0][0], second = panel.runs[0][1], alone = panel.runs[1][0];
  EXPECT_EQ(at(alone.x, alone.y), 0x1F5FA8u) << "dot";
  EXPECT_TRUE(bluishAround(first, second)) << "line";
  EXPECT_FALSE(bluishAround(second, alone)) << "gap";
}

}  // namespace kesmaro

#endif  // KESMARO_TESTS_CHART_PIXELS_H_
