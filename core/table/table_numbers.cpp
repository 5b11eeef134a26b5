#include "core/table/table_numbers.h"

#include <algorithm>

namespace kesmaro {

std::vector<double> Numbers(std::vector<double> values) {
  std::erase_if(values, [](double value) { return std::isnan(value); });
  return values;
}

// Out of line: most comparisons are told from the doubles, inline.
bool NearerAsDecimals(const Number& x, const Number& value, const Number& than, bool orEqual) {
  const auto order = DistanceBetween(x.exact, value.exact) <=> DistanceBetween(than.exact, value.exact);
  return order < 0 || (orEqual && order == 0);
}

bool WithinAsDecimals(const Number& x, const Number& value, const Number& distance) {
  return DistanceBetween(x.exact, value.exact) <= DistanceBetween(distance.exact, Decimal{});
}

}  // namespace kesmaro
