#ifndef KESMARO_CORE_TABLE_TABLE_NUMBERS_H_
#define KESMARO_CORE_TABLE_TABLE_NUMBERS_H_

// How the table compares numbers: as the decimals they are written as, told from their doubles
// wherever the doubles' rounding cannot change the answer.
//
// The contract the table's searches keep with the file pass rests on these: a search may pass
// over a line only if the file pass would not take it; a search's fast reading of a line's x
// equals the full one (ReadFirstField reads as ReadPlainDecimal, whose double is ToDouble's of
// ParseDecimal's, both PlainValue); and the margin a search allows for rounding covers all the
// rounding of the doubles it compares, as Nearer's and Within's do, so that a line is passed
// over on its doubles only where its decimals would be passed over too.

#include <cmath>
#include <limits>
#include <vector>

#include "core/table/decimal.h"

namespace kesmaro {

/// A number with the double nearest to it. Rounding to the nearest double keeps the order of
/// numbers, so where two doubles differ the numbers differ the same way, and only numbers whose
/// doubles are equal are compared as decimals.
struct Number {
  Decimal exact;
  double value = 0;

  explicit Number(const Decimal& number) : exact(number), value(ToDouble(number)) {}
  Number() = default;
};

inline bool operator==(const Number& a, const Number& b) { return a.value == b.value && a.exact == b.exact; }
inline bool operator<(const Number& a, const Number& b) {
  return a.value != b.value ? a.value < b.value : a.exact < b.exact;
}

/// The most rounding a difference or a sum of doubles of these `magnitudes` (added up) carries,
/// with room to spare: distances whose doubles differ by more are told apart by their doubles.
/// The 4 is four times what two distances' doubles can be off by, room that also covers the sums
/// the searches compare and a third number no larger. Below the least normal double a number
/// rounds by half the least subnormal at most, far below `min`.
inline double RoundingSlack(double magnitudes) {
  return 4 * std::numeric_limits<double>::epsilon() * magnitudes + std::numeric_limits<double>::min();
}

/// The values that are numbers, in their order. A NaN equals no number and lies between none, so
/// every search leaves it out alike.
std::vector<double> Numbers(std::vector<double> values);

/// Nearer and Within told from the decimals: for distances that their doubles cannot tell apart.
bool NearerAsDecimals(const Number& x, const Number& value, const Number& than, bool orEqual);
bool WithinAsDecimals(const Number& x, const Number& value, const Number& distance);

/// Whether `x` is nearer to `value` than `than` is, or as near with `orEqual`: told from the
/// doubles where their distances differ by more than their rounding can account for, and from
/// the decimals otherwise.
inline bool Nearer(const Number& x, const Number& value, const Number& than, bool orEqual) {
  const double away = std::fabs(x.value - value.value), otherAway = std::fabs(than.value - value.value);
  const double slack = RoundingSlack(std::fabs(x.value) + 2 * std::fabs(value.value) + std::fabs(than.value));
  if (std::isfinite(away + otherAway + slack)) {
    if (away < otherAway - slack) return true;
    if (away > otherAway + slack) return false;
  }
  return NearerAsDecimals(x, value, than, orEqual);
}

/// Whether `x` is at most `distance` from `value`, told as Nearer tells it.
inline bool Within(const Number& x, const Number& value, const Number& distance) {
  const double away = std::fabs(x.value - value.value);
  const double slack = RoundingSlack(std::fabs(x.value) + std::fabs(value.value) + distance.value);
  if (std::isfinite(away + distance.value + slack)) {
    if (away < distance.value - slack) return true;
    if (away > distance.value + slack) return false;
  }
  return WithinAsDecimals(x, value, distance);
}

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_TABLE_NUMBERS_H_
