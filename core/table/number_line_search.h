#ifndef KESMARO_CORE_TABLE_NUMBER_LINE_SEARCH_H_
#define KESMARO_CORE_TABLE_NUMBER_LINE_SEARCH_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/run/line_rules.h"
#include "core/run/line_search.h"

namespace kesmaro {

/// Finds the lines whose first field may be a decimal number equal to one of some values, so that
/// the table reads most lines of a file no further than their first sixteen bytes; the caller
/// reads the number in full. A number is told apart from the values by the way it is written:
/// - A decimal just below a whole value n rounds up to n only with some sixteen nines after the
///   point, and an exponent moves the point. So a line is always taken when the digits and points
///   its field starts with run on for sixteen bytes or more, when an exponent follows them, when
///   its whole part has eight digits or more, or when the search does not hold its bytes yet.
/// - Otherwise the field is a decimal of at most fifteen digits, and a double tells all of those
///   apart: it equals a value only when it is the value to fifteen significant digits. A field
///   that starts with a digit from 1 to 9 is taken only when it is written so, up to zeros at
///   the end of its fraction (`550.2`, `550.20`; `550`, `550.`, `550.000`).
/// - A field after field separators, a sign or leading zeros is taken when its whole part, past
///   those, is a value's.
///
/// It keeps nothing between blocks, so one may serve several readers at once.
class NumberLineSearch final : public LineSearch {
 public:
  /// Values that are no number are left out (Numbers).
  explicit NumberLineSearch(const std::vector<double>& values,
                            Instructions instructions = Instructions::kFastest);

  std::size_t Find(const char* data, std::size_t from, std::size_t to) override;
  std::size_t Reach() const override { return 0; }
  /// Whether Find takes the line at `pos`, judged alone.
  bool Takes(const char* data, std::size_t pos, std::size_t to) const;

 private:
  friend struct NumberLineScan;

  /// A number as it is written at its shortest, up to fifteen bytes, in memory order; no bytes
  /// in an unused slot.
  struct Writing {
    std::uint64_t bytes[2] = {0, 0};
    bool operator==(const Writing&) const = default;
  };
  using Scan = std::size_t (*)(const NumberLineSearch& search, const char* data, std::size_t from,
                               std::size_t to);

  /// Where the search for a writing starts in writings_.
  std::size_t FirstSlot(const Writing& writing) const;
  bool HoldsWriting(const Writing& writing) const;
  /// Whether a line that does not start with a digit from 1 to 9, or is held for fewer than
  /// sixteen bytes, is taken.
  bool MayEqual(const char* data, std::size_t pos, std::size_t to) const;

  static constexpr std::uint64_t kNoDigits = ~std::uint64_t{0};
  /// The values' whole parts, as their digits are written, in memory order: open addressing, a
  /// power of two at most an eighth full.
  std::vector<std::uint64_t> wholes_;
  /// The shortest writings of the values of 1 and more whose fifteen-digit writing gives them
  /// back; open addressing as above.
  std::vector<Writing> writings_;
  Scan scan_;
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_NUMBER_LINE_SEARCH_H_
