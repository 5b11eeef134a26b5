#include "core/line_rules.h"

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

}  // namespace kesmaro
