#ifndef KESMARO_CORE_MEASURES_H_
#define KESMARO_CORE_MEASURES_H_

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

/// One file's curve as a range [lo, hi] sees it: the points inside the range, and the points just
/// outside each end (the nearest in x, the first in file order of equally near ones), where the
/// data go on past it.
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

/// How far a point lies above the straight line between the ends.
double HeightAboveBaseline(const CurveEnds& ends, const CurvePoint& point);

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

}  // namespace kesmaro

#endif  // KESMARO_CORE_MEASURES_H_
