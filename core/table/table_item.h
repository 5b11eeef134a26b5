#ifndef KESMARO_CORE_TABLE_TABLE_ITEM_H_
#define KESMARO_CORE_TABLE_TABLE_ITEM_H_

// What the user types for a table: its items, and the numbers typed beside them. Each front end
// reads them here, once, and words the faults in its own language.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/table/decimal.h"

namespace kesmaro {

/// What one item of a table asks for.
struct TableItem {
  enum class Kind { kValue, kArea, kMax, kMin, kMean };
  Kind kind = Kind::kValue;
  Decimal low;        ///< the value X, or the lower end of the range
  Decimal high;       ///< the upper end of the range; X again for a value
  std::string typed;  ///< as typed, in the data code page: its column's header

  /// Whether the item is a measure over a range, `kind:X1:X2`.
  bool IsRange() const { return kind != Kind::kValue; }
  /// max and min name the line they chose in a second column.
  bool NamesLine() const { return kind == Kind::kMax || kind == Kind::kMin; }

  friend bool operator==(const TableItem&, const TableItem&) = default;
};

/// Why a text is no item, for the front ends to word.
enum class ItemFault {
  kNotANumber,  ///< no ':' in it, so meant as a value X, and X is no decimal number
  kNotARange,   ///< a ':' in it, so meant as a measure over a range, and it is none
};

/// A number typed for a table (an item's X, a range's ends, a distance): a decimal (ParseDecimal)
/// with a point, or with decimal commas a comma or a point; a comma is a decimal mark only then.
std::optional<Decimal> ParseTypedNumber(std::string_view text, DecimalMark mark);

/// An item as typed: a value X, or `area:X1:X2`, `max:X1:X2`, `min:X1:X2`, `mean:X1:X2`, the ends
/// in either order. X and the ends are typed numbers (ParseTypedNumber). nullopt when malformed,
/// and then `*fault`, when given, says why.
std::optional<TableItem> ParseTableItem(std::string_view text, DecimalMark mark, ItemFault* fault = nullptr);

/// The field a cell holds, counted from 1, as typed: a whole number from 1 in decimal digits.
/// nullopt for anything else.
std::optional<std::size_t> ParseColumn(std::string_view text);

/// The distance of values that take only lines at most that far (TableRequest::within): a typed
/// number (ParseTypedNumber) of 0 or more. nullopt otherwise.
std::optional<Decimal> ParseDistance(std::string_view text, DecimalMark mark);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_TABLE_ITEM_H_
