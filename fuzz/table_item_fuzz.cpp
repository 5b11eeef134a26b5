// ParseTableItem against the items' rule read plainly: a value X, or a measure's name and two
// ends between colons; a typed number is a decimal with a point, or with decimal commas one
// whose commas are read as points when it has no point.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/table/decimal.h"
#include "core/table/table.h"
#include "fuzz/check.h"

namespace kesmaro {
namespace {

std::optional<Decimal> TypedNumber(std::string text, DecimalMark mark) {
  if (mark == DecimalMark::kComma && text.find('.') == std::string::npos)
    std::replace(text.begin(), text.end(), ',', '.');
  return ParseDecimal(text);
}

/// The item's kind and its two numbers as written, in the order written.
struct Reading {
  TableItem::Kind kind = TableItem::Kind::kValue;
  std::optional<Decimal> a, b;
};

std::optional<Reading> Read(std::string_view text, DecimalMark mark) {
  std::vector<std::string> parts(1);
  for (const char ch : text) {
    if (ch == ':') {
      parts.emplace_back();
    } else {
      parts.back().push_back(ch);
    }
  }
  if (parts.size() == 1) {
    const std::optional<Decimal> x = TypedNumber(parts[0], mark);
    if (!x) return std::nullopt;
    return Reading{TableItem::Kind::kValue, x, x};
  }
  using enum TableItem::Kind;
  const std::optional<TableItem::Kind> kind = parts[0] == "area"   ? kArea
                                              : parts[0] == "max"  ? kMax
                                              : parts[0] == "min"  ? kMin
                                              : parts[0] == "mean" ? kMean
                                                                   : std::optional<TableItem::Kind>();
  if (parts.size() != 3 || !kind) return std::nullopt;
  Reading reading{*kind, TypedNumber(parts[1], mark), TypedNumber(parts[2], mark)};
  if (!reading.a || !reading.b) return std::nullopt;
  return reading;
}

}  // namespace
}  // namespace kesmaro

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmaro;
  const std::optional<MarkedText> input = MarkedTextOf(data, size);
  if (!input) return 0;
  const auto [mark, text] = *input;

  const std::optional<Reading> reading = Read(text, mark);
  ItemFault fault{};
  const std::optional<TableItem> item = ParseTableItem(text, mark, &fault);
  KESMARO_CHECK(item.has_value() == reading.has_value());
  if (!item) {
    const bool colon = text.find(':') != std::string_view::npos;
    KESMARO_CHECK(fault == (colon ? ItemFault::kNotARange : ItemFault::kNotANumber));
    return 0;
  }
  KESMARO_CHECK(item->kind == reading->kind);
  KESMARO_CHECK((item->low == *reading->a && item->high == *reading->b) ||
                (item->low == *reading->b && item->high == *reading->a));
  KESMARO_CHECK(!(item->high < item->low));
  return 0;
}
