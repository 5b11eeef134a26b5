#ifndef KESMARO_CORE_TABLE_TABLE_LINE_SEARCH_H_
#define KESMARO_CORE_TABLE_TABLE_LINE_SEARCH_H_

#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "core/run/line_search.h"
#include "core/table/number_line_search.h"
#include "core/table/plain_field.h"

namespace kesmaro {

struct TableLineScan;

/// Numbers in ascending order, and where another number falls among them. The open interval
/// between neighbouring points that the last number looked up lay in is remembered: in a series
/// sorted by x, neighbouring lines mostly lie in the same one.
class SortedPoints {
 public:
  static constexpr std::size_t kOnPoint = ~std::size_t{0};

  /// Points that are no number are left out (Numbers).
  explicit SortedPoints(std::vector<double> points);

  /// The gap that x lies inside, by the number of points below it; kOnPoint when x is a point.
  /// Remembers it when it is another gap than the last.
  std::size_t Gap(double x) { return InLastGap(x) ? gap_ : FindGap(x); }
  /// Whether x lies inside the gap that the last number looked up lay inside.
  bool InLastGap(double x) const { return x > low_ && x < high_; }
  /// That gap's open bounds; an empty one before a number is looked up.
  std::pair<double, double> LastGap() const { return {low_, high_}; }
  /// How many points lie below x, and at or below it.
  std::size_t Below(double x);
  std::size_t AtOrBelow(double x);

  const std::vector<double>& points() const { return points_; }

 private:
  std::size_t FindGap(double x);

  std::vector<double> points_;
  std::size_t gap_ = 0;
  double low_ = std::numeric_limits<double>::infinity();  ///< the gap's bounds; none yet
  double high_ = -std::numeric_limits<double>::infinity();
};

/// Finds, for the table's nearest values, the lines of one file that may still be the nearest to
/// a value, and passes over the others without their being read as numbers. The nearest line is
/// nearer than every line before it (the first of equally near ones wins) and than the line after
/// it, so a line is passed over when, for every value, a line already taken or the line that
/// follows it is nearer; told from doubles only where their distances differ by more than their
/// rounding can account for (as the table tells them apart). Only lines whose first field is a
/// plain decimal of up to fifteen digits (`-`, digits, a point and digits), ended by a field
/// separator or the line end, and followed by another such line, are judged; every other line is
/// taken, for the table to read in full.
///
/// The search remembers the lines it took, so it serves one file, read once from its first data
/// line.
class NearestLineSearch final : public LineSearch {
 public:
  /// Values beyond ±1e300 make the search take every line.
  explicit NearestLineSearch(std::vector<double> values);

  std::size_t Find(const char* data, std::size_t from, std::size_t to) override;
  std::size_t Reach() const override { return 0; }

 private:
  friend struct TableLineScan;
  /// Find's body, compiled into each of TableLineScan's entry points.
  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] std::size_t FindLines(const char* data, std::size_t from, std::size_t to);
  /// The line nearest to a value among those taken so far, as far as doubles tell it.
  struct Nearest {
    bool held = false;
    double away = 0;  ///< the line's distance from the value
    /// What the doubles of that distance and of a line's as far can be off by: a line as far
    /// from the value is at most |line| + 2 |value| in size, within RoundingSlack's room.
    double slack = 0;
  };

  /// Where lines are passed over as MayBeNearest passes them, told from a few bounds: the open
  /// gap between two values, or beyond the values, that the last line judged lay in, as long as
  /// no line is taken.
  struct Window {
    double low = std::numeric_limits<double>::infinity();  ///< the gap's bounds; none yet
    double high = -std::numeric_limits<double>::infinity();
    double pastBelow = 0;     ///< a line above this, moving up, is farther from the values below
    double shortOfAbove = 0;  ///< a line below this, moving down, is farther from the values above
  };

  /// Whether the line at x, followed by the line at `next`, may be nearest to some value; makes
  /// the window that of x's gap on the way.
  bool MayBeNearest(double x, double next);
  /// Whether the line at x, followed by the line at `next`, is passed over, told from the window.
  bool PassedInWindow(double x, double next) const;
  /// Makes the window that of the gap x lies in; none when x is a value.
  void FindWindow(double x);
  bool MayBeNearestTo(std::size_t i, double x, double next) const;
  void Took(double x);

  SortedPoints values_;
  bool judges_ = true;
  std::vector<Nearest> nearest_;  ///< a value's each
  /// Over the values up to each one, the most of value + distance + slack: a line at an x past
  /// it is farther from all of them than a line taken. +inf while one has no line.
  std::vector<double> belowReach_;
  /// The same from each value up, the least of value - distance - slack.
  std::vector<double> aboveReach_;
  Window window_;
  /// The window as keys of the shape of a line judged in full, for the lines after it that key alike.
  KeyedWindow keyed_;
};

/// Finds, for the table's exact values, the lines that NumberLineSearch takes, and passes over
/// the lines of the shapes keyed (KeyedWindow) inside the gap between values that the last line
/// it judged lay in by key, without judging them: their doubles lie between the values', so they
/// equal none.
///
/// The search remembers that gap, so it serves one file.
class ExactLineSearch final : public LineSearch {
 public:
  ExactLineSearch(const NumberLineSearch& mayEqual, std::vector<double> values);

  std::size_t Find(const char* data, std::size_t from, std::size_t to) override;
  std::size_t Reach() const override { return 0; }

 private:
  friend struct TableLineScan;
  /// Find's body, compiled into each of TableLineScan's entry points.
  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] std::size_t FindLines(const char* data, std::size_t from, std::size_t to);
  const NumberLineSearch& mayEqual_;
  SortedPoints values_;
  /// The gap between values that the last line judged lay in, as keys of that line's shape.
  KeyedWindow keyed_;
};

/// Finds, for the table's interpolated values, the lines that may be on a value or either side
/// of one, with the lines just before and after them, and passes over the others without their
/// being read as numbers. Rounding to the nearest double keeps the order of numbers, so two
/// consecutive lines lie either side of a value, or on it, only when their doubles do. The line
/// after a line taken is always taken, so that the table sees every pair of lines it may
/// interpolate between as the pair it is. Lines are judged as NearestLineSearch judges them.
///
/// The search remembers whether the last line it took was such a line, so it serves one file,
/// read once from its first data line.
class InterpolationLineSearch final : public LineSearch {
 public:
  explicit InterpolationLineSearch(std::vector<double> values);

  std::size_t Find(const char* data, std::size_t from, std::size_t to) override;
  std::size_t Reach() const override { return 0; }

 private:
  friend struct TableLineScan;
  /// Find's body, compiled into each of TableLineScan's entry points.
  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] std::size_t FindLines(const char* data, std::size_t from, std::size_t to);
  /// Whether a value lies between two lines' x, or on either.
  bool Between(double a, double b);

  SortedPoints values_;
  bool takeNext_ = false;
  /// The last gap as keys of the shape of a line judged in full, for the lines after it that key alike.
  KeyedWindow keyed_;
};

/// Finds, for the table's range measures, the lines that lie in a range, or may be the line just
/// below or above one, nearest to its end, that the curve is cut with; passes over the others
/// without their being read as numbers. A line below a range is passed over when a line taken
/// before lies between it and the range, or a line after it does, with a number for a cell
/// (column `column`); above a range the same. Lines are judged as NearestLineSearch judges them,
/// and compared as doubles, whose order is the numbers' order where they differ.
///
/// The search remembers the lines it judged and took, so it serves one file, read once from its
/// first data line.
class RangeLineSearch final : public LineSearch {
 public:
  /// The ranges as [low, high] pairs.
  RangeLineSearch(std::vector<std::pair<double, double>> ranges, std::size_t column);

  std::size_t Find(const char* data, std::size_t from, std::size_t to) override;
  std::size_t Reach() const override { return 0; }

 private:
  friend struct TableLineScan;
  /// Find's body, compiled into each of TableLineScan's entry points.
  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] std::size_t FindLines(const char* data, std::size_t from, std::size_t to);
  /// Whether a line's cell, after its first field ending at `end`, is a plain decimal.
  template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
  [[gnu::always_inline]] bool CellIsNumber(const char* data, std::size_t end, std::size_t to) const;
  /// Whether a line may matter, with the line after it. Remembers a line that matters with a
  /// number for a cell.
  bool Matters(const char* data, std::size_t to, const FirstField& line, const FirstField& next);
  /// The line at `from` when it lies in the gap between ends, inside a range, that the last line
  /// inside one lay in: it matters whatever line follows it, and is taken; kGoOn otherwise.
  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] std::size_t TakeInside(const char* data, std::size_t from, std::size_t to);
  /// Remembers a line taken at x with a number for a cell, `lows` range low ends at or below it
  /// and `highs` high ends below it.
  void Took(double x, std::size_t lows, std::size_t highs);
  /// Whether the line at x is passed over for a next line at `next` with a number for a cell,
  /// told from the gap between range ends that both lie in, when that gap is outside every range.
  bool PassedByGap(double x, double next);

  SortedPoints ends_;          ///< both ends of every range
  std::vector<char> outside_;  ///< whether a gap between the ends lies outside every range
  bool ordered_ = true;        ///< whether every range's low end is at most its high end
  /// The lines taken with a number for a cell, as far as the ranges' ends see them: the highest
  /// in each gap between the low ends, by how many lie at or below it, and the lowest in each gap
  /// between the high ends, by how many lie below it. The line taken nearest below a low end is
  /// the highest in the gaps below it, so a line taken is told to two gaps, not to every range.
  SortedPoints lows_;
  SortedPoints highs_;
  std::vector<double> takenBelow_;
  std::vector<double> takenAbove_;
  std::size_t column_;
  static constexpr std::pair<double, double> kNoWindow = {std::numeric_limits<double>::infinity(),
                                                          -std::numeric_limits<double>::infinity()};
  /// The gap between range ends, outside every range, that the limits below were found for, as
  /// its open bounds; kNoWindow when none: the lowest line taken above the ranges below it, and
  /// the highest taken below the ranges above it.
  std::pair<double, double> window_ = kNoWindow;
  double pastBelow_ = 0;
  double shortOfAbove_ = 0;
  /// The window as keys of the shape of a line judged in full, for the lines after it that key alike.
  KeyedWindow keyed_;
  /// The gap between range ends, inside a range, that the last line inside one lay in, as its open
  /// bounds; kNoWindow when none.
  std::pair<double, double> inside_ = kNoWindow;
  /// The bytes from the next Find's start whose lines are passed over by key only with a number
  /// for a cell, asked line by line: those of a run whose last line had none.
  std::size_t byLine_ = 0;
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_TABLE_LINE_SEARCH_H_
