#include "core/table/measures.h"

#include <algorithm>
#include <cmath>

namespace kesmaro {

double Interpolate(const CurvePoint& a, const CurvePoint& b, double x) {
  return a.y + (b.y - a.y) * ((x - a.x) / (b.x - a.x));
}

std::optional<CurveEnds> Ends(const RangeCurve& curve) {
  if (curve.inside.empty()) return std::nullopt;
  // The first point of the lowest x and the last of the highest, as a stable sort by x orders them.
  CurvePoint low = curve.inside.front(), high = curve.inside.front();
  for (const CurvePoint& point : curve.inside) {
    if (point.x < low.x) low = point;
    if (point.x >= high.x) high = point;
  }
  if (curve.below && low.x > curve.lo) low = {curve.lo, Interpolate(*curve.below, low, curve.lo)};
  if (curve.above && high.x < curve.hi) high = {curve.hi, Interpolate(high, *curve.above, curve.hi)};
  return CurveEnds{low, high};
}

std::optional<double> Area(const RangeCurve& curve, bool baseline) {
  const auto byX = [](const CurvePoint& a, const CurvePoint& b) { return a.x < b.x; };
  std::vector<CurvePoint> sorted;
  const std::vector<CurvePoint>* points = &curve.inside;
  if (!std::is_sorted(points->begin(), points->end(), byX)) {
    sorted = curve.inside;
    std::stable_sort(sorted.begin(), sorted.end(), byX);
    points = &sorted;
  }
  RunningArea area;
  for (const CurvePoint& point : *points) area.Add(point, curve.below, curve.lo);
  return area.Value(curve.above, curve.hi, baseline);
}

bool RunningArea::Add(const CurvePoint& point, const std::optional<CurvePoint>& below, double lo) {
  if (!any_) {
    any_ = true;
    low_ = below && point.x > lo ? CurvePoint{lo, Interpolate(*below, point, lo)} : point;
    last_ = low_;
  } else if (point.x < last_.x) {
    return false;
  }
  area_.Add((point.x - last_.x) * (last_.y + point.y) / 2);
  last_ = point;
  return true;
}

std::optional<double> RunningArea::Value(const std::optional<CurvePoint>& above, double hi,
                                         bool baseline) const {
  if (!any_) return std::nullopt;
  const CurvePoint high = above && last_.x < hi ? CurvePoint{hi, Interpolate(last_, *above, hi)} : last_;
  Sum area = area_;
  area.Add((high.x - last_.x) * (last_.y + high.y) / 2);
  if (baseline) area.Add(-(high.x - low_.x) * (low_.y + high.y) / 2);
  return area.Value();
}

double HeightAboveBaseline(const CurveEnds& ends, const CurvePoint& point) {
  if (ends.high.x == ends.low.x) return point.y - ends.low.y;
  return point.y - Interpolate(ends.low, ends.high, point.x);
}

void Sum::Add(double value) {
  const double next = sum_ + value;
  carried_ += std::fabs(sum_) >= std::fabs(value) ? (sum_ - next) + value : (value - next) + sum_;
  sum_ = next;
}

}  // namespace kesmaro
