#include "core/table/table_item.h"

#include <charconv>
#include <utility>

namespace kesmaro {
namespace {

using Kind = TableItem::Kind;

/// The item `text` is written as; nullopt when malformed.
std::optional<TableItem> ItemOf(std::string_view text, DecimalMark mark) {
  const auto number = [mark](std::string_view written) { return ParseTypedNumber(written, mark); };
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    const std::optional<Decimal> value = number(text);
    if (!value) return std::nullopt;
    return TableItem{Kind::kValue, *value, *value, std::string(text)};
  }
  static constexpr std::pair<std::string_view, Kind> kMeasures[] = {
      {"area", Kind::kArea}, {"max", Kind::kMax}, {"min", Kind::kMin}, {"mean", Kind::kMean}};
  const std::string_view name = text.substr(0, colon);
  const std::string_view ends = text.substr(colon + 1);
  const std::size_t second = ends.find(':');
  if (second == std::string_view::npos) return std::nullopt;
  const std::optional<Decimal> a = number(ends.substr(0, second)), b = number(ends.substr(second + 1));
  if (!a || !b) return std::nullopt;
  for (const auto& [measure, kind] : kMeasures) {
    if (measure != name) continue;
    return *b < *a ? TableItem{kind, *b, *a, std::string(text)} : TableItem{kind, *a, *b, std::string(text)};
  }
  return std::nullopt;
}

}  // namespace

std::optional<Decimal> ParseTypedNumber(std::string_view text, DecimalMark mark) {
  std::optional<Decimal> value = ParseDecimal(text);
  if (!value && mark == DecimalMark::kComma) value = ParseDecimal(text, mark);
  return value;
}

std::optional<TableItem> ParseTableItem(std::string_view text, DecimalMark mark, ItemFault* fault) {
  std::optional<TableItem> item = ItemOf(text, mark);
  if (!item && fault != nullptr)
    *fault = text.find(':') == std::string_view::npos ? ItemFault::kNotANumber : ItemFault::kNotARange;
  return item;
}

std::optional<std::size_t> ParseColumn(std::string_view text) {
  std::size_t column = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), column);
  if (text.empty() || !IsDigit(text[0]) || ec != std::errc() || end != text.data() + text.size() ||
      column == 0)
    return std::nullopt;
  return column;
}

std::optional<Decimal> ParseDistance(std::string_view text, DecimalMark mark) {
  const std::optional<Decimal> distance = ParseTypedNumber(text, mark);
  if (!distance || distance->negative) return std::nullopt;
  return distance;
}

}  // namespace kesmaro
