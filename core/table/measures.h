#ifndef KESMARO_CORE_TABLE_MEASURES_H_
#define KESMARO_CORE_TABLE_MEASURES_H_

// The measures of a band over a range of x: its area, its highest and lowest point, its mean,
// with or without the straight baseline between the range's ends. The curve is the straight
// line through a file's points in order of x, so a file whose x runs down, or in no order at
// all, gives what the same points in ascending order give.

#include <cstddef>
#include <optional>
#include <vector>

namespace kesmaro {

struct CurvePoint {
  double x = 0;
  double y = 0;
};

/// y at x on the straight line through two points of different x.
double Interpolate(const CurvePoint& a, const CurvePoint& b, double x);

/// Sums doubles with the rounding error of each step carried (Neumaier), so that a mean of many
/// cells written as 0.1 comes out as 0.1.
class Sum {
 public:
  void Add(double value);
  double Value() const { return sum_ + carried_; }

 private:
  double sum_ = 0;
  double carried_ = 0;
};

/// One file's curve as a range [lo, hi] sees it: the points inside the range, and the points just
/// outside each end, where the data go on past it. The curve takes the points in order of x, and
/// equal x in file order, so the point below is the last of the highest x below lo, the point
/// above the first of the lowest x above hi: each the one next to the range on the curve.
struct RangeCurve {
  double lo = 0;
  double hi = 0;
  std::vector<CurvePoint> inside;  ///< in file order
  std::optional<CurvePoint> below;
  std::optional<CurvePoint> above;
};

/// The curve's two ends in the range: at an end the data go on past, the point where the curve
/// crosses it; at the other, the innermost point in x. None without points inside.
struct CurveEnds {
  CurvePoint low;
  CurvePoint high;
};
std::optional<CurveEnds> Ends(const RangeCurve& curve);

/// The trapezoidal area under the curve between its ends, less, with `baseline`, the area under
/// the straight line between them. None without points inside.
std::optional<double> Area(const RangeCurve& curve, bool baseline);

/// The area of Area, summed as the points inside the range come, in order of x (equal x in file
/// order), so that none is held: the same sum, step for step, as Area's over the same curve.
class RunningArea {
 public:
  /// Adds the next point inside [lo, hi], given the point just below lo, which must be the curve's
  /// by the first point. False, adding nothing, when the point lies below the last one in x.
  bool Add(const CurvePoint& point, const std::optional<CurvePoint>& below, double lo);
  /// The area up to hi, given the point just above it, less with `baseline` the area under the
  /// straight line between the curve's ends. None without points inside.
  std::optional<double> Value(const std::optional<CurvePoint>& above, double hi, bool baseline) const;

 private:
  bool any_ = false;
  CurvePoint low_;  ///< the curve's low end
  CurvePoint last_;
  Sum area_;
};

/// How far a point lies above the straight line between the ends.
double HeightAboveBaseline(const CurveEnds& ends, const CurvePoint& point);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_MEASURES_H_
