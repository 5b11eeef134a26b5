#include "core/line_rules.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kesmaro {
namespace {

/// True when `pos` falls on a character boundary of the line's leading characters.
bool IsCharBoundary(std::string_view line, std::size_t pos, CharScheme scheme) {
  std::size_t at = 0;
  while (at < pos) at += CharLength(scheme, line, at);
  return at == pos;
}

bool IsSeparatorChar(std::string_view line, CharSpan span) {
  return span.length > 1 || IsSeparator(line[span.offset]);
}

}  // namespace

std::optional<CharSpan> ExactHitPosition(std::string_view line, std::string_view key, CharScheme scheme) {
  if (line.size() <= key.size() || !line.starts_with(key)) return std::nullopt;
  if (!IsCharBoundary(line, key.size(), scheme)) return std::nullopt;
  const CharSpan next{key.size(), CharLength(scheme, line, key.size())};
  if (!IsSeparatorChar(line, next)) return std::nullopt;
  return next;
}

bool BeginsWithKey(std::string_view line, std::string_view key, CharScheme scheme) {
  return !line.empty() && line.starts_with(key) && IsCharBoundary(line, key.size(), scheme);
}

std::optional<CharSpan> NextSeparator(std::string_view text, std::size_t* pos, bool whole,
                                      CharScheme scheme) {
  constexpr std::size_t kLongestChar = 4;
  while (*pos < text.size() && (whole || text.size() - *pos >= kLongestChar)) {
    const CharSpan span{*pos, CharLength(scheme, text, *pos)};
    *pos += span.length;
    if (IsSeparatorChar(text, span)) return span;
  }
  return std::nullopt;
}

double LeadingNumber(std::string_view text) {
  std::size_t pos = text.find_first_not_of(" \t");
  if (pos == std::string_view::npos) return 0.0;
  bool negative = false;
  if (text[pos] == '+' || text[pos] == '-') {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t start = pos;
  auto digitsFrom = [&](std::size_t at) {
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
    return at;
  };
  std::size_t end = digitsFrom(start);
  const bool wholeDigits = end > start;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionEnd = digitsFrom(end + 1);
    if (fractionEnd > end + 1) {
      end = fractionEnd;
    } else if (!wholeDigits) {
      return 0.0;
    }
  }
  if (end == start) return 0.0;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + end, value);
  if (ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::infinity();
  (void)ptr;
  return negative ? -value : value;
}

std::int64_t HeaderLineCount(std::string_view text) {
  const double rounded = std::nearbyint(LeadingNumber(text));  // the default mode: halves to even
  if (rounded <= 0.0) return 0;
  constexpr double kLargest = 9.0e18;  // more lines than any file holds
  return rounded >= kLargest ? static_cast<std::int64_t>(kLargest) : static_cast<std::int64_t>(rounded);
}

}  // namespace kesmaro
