#ifndef KESMARO_CORE_NUMBER_LINE_SEARCH_H_
#define KESMARO_CORE_NUMBER_LINE_SEARCH_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/line_search.h"

namespace kesmaro {

/// The bytes that separate the fields of a data line, in runs: space, tab, comma and semicolon.
/// They are single ASCII bytes, and no byte of a double-byte character of the code pages we read
/// (GBK, GB18030, Big5, Shift_JIS, UHC, UTF-8) is one of them, so a plain byte scan never cuts a
/// character.
constexpr bool IsFieldSeparator(char ch) { return ch == ' ' || ch == '\t' || ch == ',' || ch == ';'; }

/// Finds the lines whose first field may be a decimal number equal to one of some values, by
/// the whole part the field is written with, so that the table reads most lines of a file no
/// further than their first few bytes. A number equal to a value as a double is written with the
/// value's whole part, or with more than sixteen digits: a decimal just below a whole value n can
/// round up to n, but only with some sixteen nines after the point. So the search takes a line
/// when the digits and points its field starts with run on for sixteen bytes or more, when an
/// exponent follows them, when its whole part has eight digits or more, or when the search does
/// not hold its bytes yet; the caller reads the number in full. Field separators (space, tab,
/// comma, semicolon) before the field, a sign and leading zeros are passed over.
class NumberLineSearch final : public LineSearch {
 public:
  /// Values that are not a number (NaN) equal nothing, and are left out.
  explicit NumberLineSearch(const std::vector<double>& values);

  std::size_t Find(const char* data, std::size_t from, std::size_t to) const override;
  std::size_t Reach() const override { return 0; }

 private:
  bool Holds(std::uint64_t digits) const;
  bool MayEqual(const char* data, std::size_t pos, std::size_t to) const;

  static constexpr std::uint64_t kNoDigits = ~std::uint64_t{0};
  /// The values' whole parts, as their digits are written, in memory order: open addressing, a
  /// power of two at most an eighth full.
  std::vector<std::uint64_t> slots_;
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_NUMBER_LINE_SEARCH_H_
