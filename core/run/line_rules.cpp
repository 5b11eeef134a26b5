#include "core/run/line_rules.h"

#include <charconv>
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

std::optional<double> LeadingNameNumber(std::string_view text) {
  std::size_t pos = text.find_first_not_of(" \t");
  if (pos == std::string_view::npos) return std::nullopt;
  bool negative = false;
  if (text[pos] == '+' || text[pos] == '-') {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t start = pos;
  auto digitsFrom = [&](std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
  };
  std::size_t end = digitsFrom(start);
  const bool wholeDigits = end > start;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionEnd = digitsFrom(end + 1);
    if (fractionEnd > end + 1) {
      end = fractionEnd;
    } else if (!wholeDigits) {
      return std::nullopt;
    }
  }
  if (end == start) return std::nullopt;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + end, value);
  if (ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::infinity();
  (void)ptr;
  return negative ? -value : value;
}

}  // namespace kesmaro
