#include "core/table_line_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/line_rules.h"

namespace kesmaro {
namespace {

constexpr int kMostDigits = 15;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

/// PlainNumber, checking for the end of what is held at every byte when `kNearEnd`.
template <bool kNearEnd>
bool PlainNumberUpTo(const char* data, std::size_t pos, std::size_t to, double* x, std::size_t* end) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const auto held = [&](std::size_t at) { return !kNearEnd || at < to; };
  const bool negative = held(pos) && data[pos] == '-';
  if (negative) ++pos;
  std::uint64_t mantissa = 0;
  int digits = 0, fraction = 0;
  for (; held(pos) && IsDigit(data[pos]); ++pos, ++digits) {
    mantissa = mantissa * 10 + static_cast<unsigned>(data[pos] - '0');
    if (digits == kMostDigits) return false;
  }
  if (digits == 0) return false;
  if (held(pos) && data[pos] == '.') {
    for (++pos; held(pos) && IsDigit(data[pos]); ++pos, ++digits, ++fraction) {
      mantissa = mantissa * 10 + static_cast<unsigned>(data[pos] - '0');
      if (digits == kMostDigits) return false;
    }
  }
  if (!held(pos) || !(IsFieldSeparator(data[pos]) || IsLineEnd(data[pos]))) return false;
  const double value = static_cast<double>(mantissa) / kPowers[fraction];
  *x = negative ? -value : value;
  *end = pos;
  return true;
}

/// The first field of the line at `pos`, when it is a plain decimal of up to fifteen digits
/// ended within `to` by a field separator or a line end: its double, as ToDouble gives it, since
/// an integer below 2^53 divided by an exact power of ten rounds once. `*end` is left at the
/// field's end.
bool PlainNumber(const char* data, std::size_t pos, std::size_t to, double* x, std::size_t* end) {
  // A sign, sixteen digits and a point, the most read before the field is judged, and the byte
  // after them: with that many held, the bytes are read without looking for the end.
  constexpr std::size_t kMostRead = 1 + (kMostDigits + 1) + 1 + 1;
  return pos < to && to - pos >= kMostRead ? PlainNumberUpTo<false>(data, pos, to, x, end)
                                           : PlainNumberUpTo<true>(data, pos, to, x, end);
}

/// The rounding the distances' doubles may carry, as the table allows for it.
double Slack(double a, double b, double c) {
  return 4 * std::numeric_limits<double>::epsilon() * (a + b + c) + 4 * std::numeric_limits<double>::min();
}

/// Where the line after the one whose first field ends at `end` starts, past its CR LF or its
/// lone CR or LF; `to` when that is not known within `to`.
std::size_t NextLine(const char* data, std::size_t end, std::size_t to) {
  const std::size_t lineEnd = FindLineEnd(data, end, to);
  if (lineEnd + 1 >= to) return to;
  return lineEnd + (data[lineEnd] == kCr && data[lineEnd + 1] == kLf ? 2 : 1);
}

}  // namespace

NearestLineSearch::NearestLineSearch(std::vector<double> values)
    : values_(std::move(values)),
      nearest_(values_.size()),
      belowReach_(values_.size(), kInfinity),
      aboveReach_(values_.size(), -kInfinity) {
  std::sort(values_.begin(), values_.end());
  for (const double value : values_) {
    // Sums of such values and of plain fields' distances stay finite.
    judges_ = judges_ && std::fabs(value) <= 1e300;
    largest_ = std::max(largest_, std::fabs(value));
  }
}

bool NearestLineSearch::MayBeNearestTo(std::size_t i, double x, double next) const {
  const double value = values_[i], size = std::fabs(x), twice = 2 * std::fabs(value);
  const double away = std::fabs(x - value);
  const Nearest& nearest = nearest_[i];
  if (nearest.held && away > nearest.away + nearest.slack + Slack(size, 0, 0)) return false;
  return !(std::fabs(next - value) < away - Slack(std::fabs(next), twice, size));
}

bool NearestLineSearch::MayBeNearest(double x, double next) const {
  const double size = std::fabs(x);
  const double lineSlack = Slack(size, 2 * largest_, std::fabs(next));
  const double xSlack = Slack(size, 0, 0);
  const auto begin = values_.begin();
  // Only the values in [lo, hi) are looked at one by one. The next line is nearer than this one
  // to every value at or beyond it, and the lines taken so far nearer to the values behind this
  // one when this one lies beyond their reach.
  std::size_t lo = 0, hi = values_.size();
  if (next > x) {
    if (next - x > lineSlack)
      hi = static_cast<std::size_t>(std::lower_bound(begin, values_.end(), next) - begin);
    const auto behind = static_cast<std::size_t>(std::upper_bound(begin, values_.end(), x) - begin);
    if (behind > 0 && x > belowReach_[behind - 1] + xSlack) lo = behind;
  } else if (next < x) {
    if (x - next > lineSlack)
      lo = static_cast<std::size_t>(std::upper_bound(begin, values_.end(), next) - begin);
    const auto ahead = static_cast<std::size_t>(std::lower_bound(begin, values_.end(), x) - begin);
    if (ahead < values_.size() && x < aboveReach_[ahead] - xSlack) hi = ahead;
  }
  for (std::size_t i = lo; i < hi; ++i) {
    if (MayBeNearestTo(i, x, next)) return true;
  }
  return false;
}

void NearestLineSearch::Took(double x) const {
  const double size = std::fabs(x);
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const double away = std::fabs(x - values_[i]);
    Nearest& nearest = nearest_[i];
    if (!nearest.held || away < nearest.away)
      nearest = {true, away, Slack(size, 2 * std::fabs(values_[i]), 0)};
  }
  double reach = -kInfinity;
  for (std::size_t i = 0; i < values_.size(); ++i) {
    reach = std::max(reach, nearest_[i].held ? values_[i] + nearest_[i].away + nearest_[i].slack : kInfinity);
    belowReach_[i] = reach;
  }
  reach = kInfinity;
  for (std::size_t i = values_.size(); i-- > 0;) {
    reach =
        std::min(reach, nearest_[i].held ? values_[i] - nearest_[i].away - nearest_[i].slack : -kInfinity);
    aboveReach_[i] = reach;
  }
}

std::size_t NearestLineSearch::Find(const char* data, std::size_t from, std::size_t to) const {
  if (!judges_) return from;
  std::size_t pos = from, end = 0;
  double x = 0;
  if (!PlainNumber(data, pos, to, &x, &end)) return pos;
  for (;;) {
    const std::size_t next = NextLine(data, end, to);
    double nextX = 0;
    if (next == to) return pos;
    if (!PlainNumber(data, next, to, &nextX, &end) || MayBeNearest(x, nextX)) {
      Took(x);
      return pos;
    }
    pos = next;
    x = nextX;
  }
}

InterpolationLineSearch::InterpolationLineSearch(std::vector<double> values) {
  for (const double value : values) {
    if (!std::isnan(value)) values_.push_back(value);
  }
  std::sort(values_.begin(), values_.end());
}

bool InterpolationLineSearch::Between(double a, double b) const {
  const auto first = std::lower_bound(values_.begin(), values_.end(), std::min(a, b));
  return first != values_.end() && *first <= std::max(a, b);
}

std::size_t InterpolationLineSearch::Find(const char* data, std::size_t from, std::size_t to) const {
  if (from >= to) return to;
  const bool afterTaken = takeNext_;
  takeNext_ = true;
  std::size_t pos = from, end = 0;
  double x = 0;
  if (!PlainNumber(data, pos, to, &x, &end)) return pos;
  for (;;) {
    const std::size_t next = NextLine(data, end, to);
    double nextX = 0;
    if (next == to || !PlainNumber(data, next, to, &nextX, &end) || Between(x, nextX)) return pos;
    if (pos == from && afterTaken) {
      takeNext_ = false;
      return pos;
    }
    pos = next;
    x = nextX;
  }
}

RangeLineSearch::RangeLineSearch(std::vector<std::pair<double, double>> ranges, std::size_t column)
    : column_(column) {
  for (const auto& [low, high] : ranges) ranges_.push_back({low, high});
}

bool RangeLineSearch::CellIsNumber(const char* data, std::size_t end, std::size_t to) const {
  std::size_t pos = end;
  for (std::size_t field = 1; field < column_; ++field) {
    if (field > 1) {
      while (pos < to && !IsFieldSeparator(data[pos]) && !IsLineEnd(data[pos])) ++pos;
    }
    while (pos < to && IsFieldSeparator(data[pos])) ++pos;
  }
  // A plain decimal, of any length: digits, a point and digits, ended by a separator or the line end.
  if (pos < to && data[pos] == '-') ++pos;
  const std::size_t start = pos;
  while (pos < to && IsDigit(data[pos])) ++pos;
  if (pos == start) return false;
  if (pos < to && data[pos] == '.') {
    for (++pos; pos < to && IsDigit(data[pos]);) ++pos;
  }
  return pos < to && (IsFieldSeparator(data[pos]) || IsLineEnd(data[pos]));
}

std::size_t RangeLineSearch::Find(const char* data, std::size_t from, std::size_t to) const {
  std::size_t pos = from, end = 0;
  double x = 0;
  if (!PlainNumber(data, pos, to, &x, &end)) return pos;
  for (;;) {
    const std::size_t next = NextLine(data, end, to);
    const std::size_t lineEnd = end;
    double nextX = 0;
    if (next == to || !PlainNumber(data, next, to, &nextX, &end)) return pos;
    // Whether the next line has a number for a cell, found once it is asked.
    int nextCounts = -1;
    const auto nextIsNumber = [&] {
      if (nextCounts < 0) nextCounts = CellIsNumber(data, end, to) ? 1 : 0;
      return nextCounts == 1;
    };
    bool matters = false;
    for (const Range& range : ranges_) {
      if (x < range.low) {
        if (x < range.below || (x < nextX && nextX < range.low && nextIsNumber())) continue;
      } else if (x > range.high) {
        if (x > range.above || (range.high < nextX && nextX < x && nextIsNumber())) continue;
      }
      matters = true;
      break;
    }
    if (matters) {
      if (CellIsNumber(data, lineEnd, to)) {
        for (const Range& range : ranges_) {
          if (x < range.low) range.below = std::max(range.below, x);
          if (x > range.high) range.above = std::min(range.above, x);
        }
      }
      return pos;
    }
    pos = next;
    x = nextX;
  }
}

}  // namespace kesmaro
