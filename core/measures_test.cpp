#include "core/measures.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace kesmaro {
namespace {

TEST(MeasuresTest, AreaIsCutWhereTheDataGoOnPastAnEnd) {
  // y = 2x at x 0, 1, 2, 3, given out of order; the range [0.5, 2.5] cuts it at both ends.
  const struct {
    RangeCurve curve;
    std::optional<double> area;
    std::optional<double> baselineArea;
  } cases[] = {
      {{0.5, 2.5, {{2, 4}, {1, 2}}, CurvePoint{0, 0}, CurvePoint{3, 6}}, 6.0, 0.0},
      {{0.5, 2.5, {{1, 2}, {2, 4}}, std::nullopt, std::nullopt}, 3.0, 0.0},  // the data end inside the range
      {{1, 2, {{1, 2}, {2, 4}}, CurvePoint{0, 0}, CurvePoint{3, 6}}, 3.0, 0.0},  // ends on lines
      {{1, 3, {{1, 0}, {3, 0}, {2, 2}}, std::nullopt, std::nullopt}, 2.0, 2.0},  // a peak on a flat line
      {{1, 3, {{2, 1}}, std::nullopt, std::nullopt}, 0.0, 0.0},                  // one point: no width
      {{1, 3, {}, CurvePoint{0, 0}, CurvePoint{4, 4}}, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Area(c.curve, false), c.area) << c.curve.lo << " to " << c.curve.hi;
    EXPECT_EQ(Area(c.curve, true), c.baselineArea) << c.curve.lo << " to " << c.curve.hi;
  }
}

TEST(MeasuresTest, SumCarriesItsRoundingErrors) {
  Sum sum;
  for (int i = 0; i < 1000; ++i) sum.Add(0.1);
  EXPECT_EQ(sum.Value() / 1000, 0.1);
}

}  // namespace
}  // namespace kesmaro
