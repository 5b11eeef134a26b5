#include "core/table/table_line_search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>

#include "core/run/byte_lanes.h"
#include "core/run/byte_words.h"
#include "core/run/line_rules.h"
#include "core/table/fields.h"
#include "core/table/line_starts.h"
#include "core/table/plain_field.h"
#include "core/table/table_numbers.h"

namespace kesmaro {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

/// The ranges' low ends, their high ends, or both, as the range search sorts them.
std::vector<double> RangeEnds(const std::vector<std::pair<double, double>>& ranges, bool lows, bool highs) {
  std::vector<double> ends;
  for (const auto& [low, high] : ranges) {
    if (lows) ends.push_back(low);
    if (highs) ends.push_back(high);
  }
  return ends;
}

/// Which lines inside a keyed window ForEachLineByKey passes over: kInside, every one, for a
/// window that holds no line the search takes, whichever line keyed it; kMovingAway, those whose
/// line before was inside too, moving away from what it could matter to as the window says (for
/// searches that judge a line with the one after it).
enum class KeyedPass { kInside, kMovingAway };

/// The walk of a search that passes lines over by key (KeyedWindow) and judges the others: hands
/// `judge(at, held)` each line start from `from` (`held` as ForEachLineStart gives it) that is
/// not passed over, until it returns a position, which is returned; `to` at the end. Then
/// `bounds(at)` gives the window the search now passes lines over within, if there is one, and
/// the window is keyed for the line at `at`.
///
/// A line of the window's shape inside it, passed as `kPass` says, is handed to `passedOver(at)`
/// instead of being judged. `cellAfter(at, end)` may ask more of it, whose first field ends `end`
/// bytes on: a cell further on.
template <KeyedPass kPass, byte_lanes::Isa kIsa, typename PassedOver, typename Judge, typename Bounds,
          typename CellAfter>
[[gnu::always_inline]] inline std::size_t ForEachLineByKey(const char* data, std::size_t from, std::size_t to,
                                                           KeyedWindow& keyed, PassedOver&& passedOver,
                                                           Judge&& judge, Bounds&& bounds,
                                                           CellAfter&& cellAfter) {
  // Whether lines may be passed over: with kMovingAway, when the last line lies inside the keyed
  // window, by `lineKey`.
  bool lineKeyed = kPass == KeyedPass::kInside && keyed.Keyed();
  FieldKey lineKey = 0;
  bool passed = false;  // whether a line was passed over by key since the window was last keyed
  keyed.Begin(from);
  const std::size_t stop = ForEachLineStart<kFieldReach, kIsa>(
      data, from, to, [&](std::size_t at, auto held) __attribute__((always_inline)) {
        constexpr bool kHeld = decltype(held)::value;
        const char* p = data + at;
        if constexpr (kHeld) {
          if (lineKeyed) {
            const byte_lanes::Lanes head = byte_lanes::Load(p);
            const byte_lanes::Lanes digits = DigitLanes(head);
            // Whether the line, of `shape`, is passed over; the common shape's test is apart from
            // the others', so that its keys stay where the walk finds them.
            const auto passes = [&](const FieldShape& shape) __attribute__((always_inline)) {
              const FieldKey key = shape.template Key<kIsa>(p, head);
              if (!keyed.Inside(key) || !(kPass == KeyedPass::kInside || keyed.Passed(lineKey, key)) ||
                  !cellAfter(at, shape.End()))
                return false;
              lineKey = key;
              return true;
            };
            const FieldShape* other = nullptr;
            if (keyed.FitsFirst<kIsa>(head, digits)
                    ? passes(keyed.First())
                    : (other = keyed.OtherFitting<kIsa>(at, p)) != nullptr && passes(*other)) {
              passedOver(at);
              passed = true;
              return kGoOn;
            }
          }
        }
        const std::size_t judged = judge(at, held);
        if (judged != kGoOn) return judged;
        if (kPass == KeyedPass::kMovingAway) lineKeyed = false;
        if constexpr (kHeld) {
          if (keyed.Ready(at)) {
            if (const std::optional<KeyedWindow::Bounds> window = bounds(at)) {
              const byte_lanes::Lanes head = byte_lanes::Load(p);
              const std::optional<FieldKey> key = keyed.KeyLine(at, p, head, *window, passed);
              lineKeyed = kPass == KeyedPass::kInside ? keyed.Keyed() : key.has_value();
              lineKey = key.value_or(0);
              passed = false;
            }
          }
        }
        return kGoOn;
      });
  keyed.End(to);
  return stop;
}

/// No more is asked of a line passed over by key than its shape.
constexpr auto kAnyCell = [](std::size_t, std::size_t) { return true; };

/// Find for a search that judges each line with the line after it, passing lines over by key
/// (ForEachLineByKey): `takes(line, next)` says whether the line whose first field is `line`, a
/// plain one, is taken, followed by the line `next`, whose first field may not be plain (a line
/// before one that is not plain is not told from it, so is taken). A line that is not plain is
/// taken unjudged, and so is the block's last, whose next line is not held.
///
/// With `cellIsNumber(at, end)`, which tells whether the cell of the line at `at`, whose first
/// field ends `end` bytes on, is a number, lines are passed over by key only where a line after
/// them has one: it is asked of each line that starts within `*byLine` bytes of `from`, and of the
/// last of a run of lines passed over beyond those. Each line of the run moves away from a line
/// taken, and toward the run's last line or past a line taken on that side too (where the run
/// turns back), so that line tells for all. Where its cell is no number, the line before the run
/// is taken, and each line of the run is asked of. `*byLine` is left for the next call, from the
/// line after the one taken, to go on asking of those lines: a run is walked twice at most.
template <byte_lanes::Isa kIsa, typename Takes, typename Bounds, typename CellIsNumber = std::nullptr_t>
[[gnu::always_inline]] inline std::size_t FindByPairs(const char* data, std::size_t from, std::size_t to,
                                                      KeyedWindow& keyed, Takes&& takes, Bounds&& bounds,
                                                      CellIsNumber&& cellIsNumber = nullptr,
                                                      std::size_t* byLine = nullptr) {
  constexpr bool kCells = !std::is_same_v<std::decay_t<CellIsNumber>, std::nullptr_t>;
  std::size_t pos = to;  // the line judged with the one after it, once there is one
  FirstField line;
  bool lineRead = true;  // whether `line` holds the line at `pos`, which a line passed over leaves unread
  // The lines asked of, those that start before `askedTo`; and the line before the run of lines
  // passed over since the last line judged.
  std::size_t askedTo = to, runFrom = to;
  if constexpr (kCells) askedTo = from + std::exchange(*byLine, 0);
  // Reads the line at `pos` after a line was passed over: whether the run it ends is passed over;
  // when it is not, the lines up to `next` are to be asked of one by one.
  const auto readLineHere = [&](std::size_t next) __attribute__((always_inline)) {
    ReadFirstField<true, kIsa>(data, pos, to, &line);
    lineRead = true;
    if constexpr (kCells) {
      if (pos >= askedTo && !(line.plain && cellIsNumber(pos, line.end - pos))) {
        askedTo = std::max(askedTo, next);
        return false;
      }
    }
    return true;
  };
  // Where it goes is the compiler's choice in the build's copy: out of the range search's walk,
  // whose registers it keeps free (4% fewer instructions than inlined), and inlined into the
  // value searches' (2% fewer than kept apart). Always inlined into the SSE2 copy, as a function
  // of its own is compiled for the build's instructions.
  const auto readLineApart = [&](std::size_t next) { return readLineHere(next); };
  const auto readLine = [&](std::size_t next) __attribute__((always_inline)) {
    if constexpr (kIsa == byte_lanes::Isa::kSse2) {
      return readLineHere(next);
    } else {
      return readLineApart(next);
    }
  };
  const std::size_t stop = ForEachLineByKey<KeyedPass::kMovingAway, kIsa>(
      data, from, to, keyed,
      [&](std::size_t at) {
        if (kCells && lineRead) runFrom = pos;
        pos = at;
        lineRead = false;
      },
      [&](std::size_t at, auto held) __attribute__((always_inline)) {
        FirstField next;
        ReadFirstField<decltype(held)::value, kIsa>(data, at, to, &next);
        if (!lineRead && !readLine(at)) return runFrom;
        if (pos != to && takes(line, next)) return pos;
        if (!next.plain) return at;
        pos = at;
        line = next;
        return kGoOn;
      },
      [&](std::size_t) { return bounds(); },
      [&](std::size_t at, std::size_t end) __attribute__((always_inline)) {
        if constexpr (kCells) return at >= askedTo || cellIsNumber(at, end);
        return true;
      });
  const std::size_t taken = stop != to ? stop : !kCells || lineRead || readLine(to) ? pos : runFrom;
  if constexpr (kCells) *byLine = askedTo > taken ? askedTo - taken : 0;
  return taken;
}

}  // namespace

SortedPoints::SortedPoints(std::vector<double> points) : points_(Numbers(std::move(points))) {
  std::sort(points_.begin(), points_.end());
}

std::size_t SortedPoints::FindGap(double x) {
  const auto below = std::lower_bound(points_.begin(), points_.end(), x);
  if (below != points_.end() && !(x < *below)) return kOnPoint;
  gap_ = static_cast<std::size_t>(below - points_.begin());
  low_ = gap_ > 0 ? points_[gap_ - 1] : -kInfinity;
  high_ = gap_ < points_.size() ? points_[gap_] : kInfinity;
  return gap_;
}

std::size_t SortedPoints::Below(double x) {
  const std::size_t gap = Gap(x);
  return gap != kOnPoint ? gap
                         : static_cast<std::size_t>(std::lower_bound(points_.begin(), points_.end(), x) -
                                                    points_.begin());
}

std::size_t SortedPoints::AtOrBelow(double x) {
  const std::size_t gap = Gap(x);
  return gap != kOnPoint ? gap
                         : static_cast<std::size_t>(std::upper_bound(points_.begin(), points_.end(), x) -
                                                    points_.begin());
}

NearestLineSearch::NearestLineSearch(std::vector<double> values)
    : values_(std::move(values)),
      nearest_(values_.points().size()),
      belowReach_(values_.points().size(), kInfinity),
      aboveReach_(values_.points().size(), -kInfinity) {
  for (const double value : values_.points()) {
    // Sums of such values and of plain fields' distances stay finite.
    judges_ = judges_ && std::fabs(value) <= 1e300;
  }
}

bool NearestLineSearch::MayBeNearestTo(std::size_t i, double x, double next) const {
  const double value = values_.points()[i], away = std::fabs(x - value);
  const Nearest& nearest = nearest_[i];
  if (nearest.held && away > nearest.away + nearest.slack) return false;
  return !(std::fabs(next - value) <
           away - RoundingSlack(std::fabs(next) + 2 * std::fabs(value) + std::fabs(x)));
}

// Out of line: it is asked only for the few lines not passed over by key, and inlined it crowds
// the registers of the walk over those that are.
[[gnu::noinline]] bool NearestLineSearch::PassedInWindow(double x, double next) const {
  const Window& w = window_;
  if (!(x > w.low && x < w.high && next > w.low && next < w.high)) return false;
  return next > x ? x > w.pastBelow : next < x && x < w.shortOfAbove;
}

void NearestLineSearch::FindWindow(double x) {
  window_ = {};
  const std::size_t gap = values_.Gap(x);
  if (gap == SortedPoints::kOnPoint) return;
  const std::vector<double>& values = values_.points();
  Window w;
  std::tie(w.low, w.high) = values_.LastGap();
  w.pastBelow = gap > 0 ? belowReach_[gap - 1] : -kInfinity;
  w.shortOfAbove = gap < values.size() ? aboveReach_[gap] : kInfinity;
  window_ = w;
}

bool NearestLineSearch::MayBeNearest(double x, double next) {
  FindWindow(x);
  // Only the values in [lo, hi) are looked at one by one. The next line is nearer than this one
  // to every value at or beyond it, with no margin: two plain x lie some ulps apart, farther than
  // a value whose double is next's lies from next. The lines taken so far are nearer to the values
  // behind this one when this one lies beyond their reach, whose slack holds this line's rounding.
  std::size_t lo = 0, hi = values_.points().size();
  if (next > x) {
    hi = values_.Below(next);
    const std::size_t behind = values_.AtOrBelow(x);
    if (behind > 0 && x > belowReach_[behind - 1]) lo = behind;
  } else if (next < x) {
    lo = values_.AtOrBelow(next);
    const std::size_t ahead = values_.Below(x);
    if (ahead < hi && x < aboveReach_[ahead]) hi = ahead;
  }
  for (std::size_t i = lo; i < hi; ++i) {
    if (MayBeNearestTo(i, x, next)) return true;
  }
  return false;
}

void NearestLineSearch::Took(double x) {
  window_ = {};
  const std::vector<double>& values = values_.points();
  const double size = std::fabs(x);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double away = std::fabs(x - values[i]);
    Nearest& nearest = nearest_[i];
    if (!nearest.held || away < nearest.away)
      nearest = {true, away, RoundingSlack(size + 2 * std::fabs(values[i]))};
  }
  double reach = -kInfinity;
  for (std::size_t i = 0; i < values.size(); ++i) {
    reach = std::max(reach, nearest_[i].held ? values[i] + nearest_[i].away + nearest_[i].slack : kInfinity);
    belowReach_[i] = reach;
  }
  reach = kInfinity;
  for (std::size_t i = values.size(); i-- > 0;) {
    reach = std::min(reach, nearest_[i].held ? values[i] - nearest_[i].away - nearest_[i].slack : -kInfinity);
    aboveReach_[i] = reach;
  }
}

template <byte_lanes::Isa kIsa>
inline std::size_t NearestLineSearch::FindLines(const char* data, std::size_t from, std::size_t to) {
  if (!judges_) return from;
  return FindByPairs<kIsa>(
      data, from, to, keyed_,
      [&](const FirstField& line, const FirstField& next) {
        if (next.plain && (PassedInWindow(line.x, next.x) || !MayBeNearest(line.x, next.x))) return false;
        Took(line.x);
        return true;
      },
      [&]() -> std::optional<KeyedWindow::Bounds> {
        const Window& w = window_;
        if (!(w.low < w.high)) return std::nullopt;
        return KeyedWindow::Bounds{w.low, w.high, w.pastBelow, w.shortOfAbove};
      });
}

ExactLineSearch::ExactLineSearch(const NumberLineSearch& mayEqual, std::vector<double> values)
    : mayEqual_(mayEqual), values_(std::move(values)) {}

template <byte_lanes::Isa kIsa>
inline std::size_t ExactLineSearch::FindLines(const char* data, std::size_t from, std::size_t to) {
  // Each line is judged alone; a line inside the gap between values that the last line judged
  // lay in is passed over by key. The gap is found out of line: it is asked for few lines, and
  // inlined it crowds the registers of the walk over the lines passed over (3% more instructions).
  return ForEachLineByKey<KeyedPass::kInside, kIsa>(
      data, from, to, keyed_, [](std::size_t) {},
      [&](std::size_t at, auto) { return mayEqual_.Takes(data, at, to) ? at : kGoOn; },
      [&](std::size_t at) __attribute__((noinline))->std::optional<KeyedWindow::Bounds> {
        FirstField line;
        ReadFirstField<true>(data, at, to, &line);
        if (!line.plain || values_.Gap(line.x) == SortedPoints::kOnPoint) return std::nullopt;
        const auto [low, high] = values_.LastGap();
        return KeyedWindow::Bounds{low, high, -kInfinity, kInfinity};
      },
      kAnyCell);
}

InterpolationLineSearch::InterpolationLineSearch(std::vector<double> values) : values_(std::move(values)) {}

inline bool InterpolationLineSearch::Between(double a, double b) {
  if (values_.InLastGap(a) && values_.InLastGap(b)) return false;
  return values_.Below(std::min(a, b)) < values_.AtOrBelow(std::max(a, b));
}

template <byte_lanes::Isa kIsa>
inline std::size_t InterpolationLineSearch::FindLines(const char* data, std::size_t from, std::size_t to) {
  if (from >= to) return to;
  const bool afterTaken = takeNext_;
  takeNext_ = true;
  bool first = true;  // whether the line judged is the first one found
  // Two lines inside the gap between values that the last line looked up lay in are not either
  // side of one; passed over by key, in either direction.
  return FindByPairs<kIsa>(
      data, from, to, keyed_,
      [&](const FirstField& line, const FirstField& next) {
        if (!next.plain || Between(line.x, next.x)) return true;
        if (first && afterTaken) {
          takeNext_ = false;
          return true;
        }
        first = false;
        return false;
      },
      [&]() -> std::optional<KeyedWindow::Bounds> {
        if (first && afterTaken) return std::nullopt;
        const auto [low, high] = values_.LastGap();
        return KeyedWindow::Bounds{low, high, -kInfinity, kInfinity};
      });
}

RangeLineSearch::RangeLineSearch(std::vector<std::pair<double, double>> ranges, std::size_t column)
    : ends_(RangeEnds(ranges, true, true)),
      lows_(RangeEnds(ranges, true, false)),
      highs_(RangeEnds(ranges, false, true)),
      takenBelow_(lows_.points().size() + 1, -kInfinity),
      takenAbove_(highs_.points().size() + 1, kInfinity),
      column_(column) {
  // The gaps between the ends that lie inside a range, as many as ranges start before them less
  // those that end before them; the first and the last lie outside all.
  const std::vector<double>& points = ends_.points();
  std::vector<std::ptrdiff_t> starts(points.size() + 1, 0);
  for (const auto& [low, high] : ranges) {
    ordered_ = ordered_ && low <= high;
    if (!(low <= high)) continue;
    // The gaps from the one above the first end at low to the one below the last end at high.
    const auto first = std::lower_bound(points.begin(), points.end(), low);
    const auto last = std::upper_bound(points.begin(), points.end(), high);
    ++starts[static_cast<std::size_t>(first - points.begin()) + 1];
    --starts[static_cast<std::size_t>(last - points.begin())];
  }
  outside_.assign(points.size() + 1, true);
  std::ptrdiff_t inside = 0;
  for (std::size_t gap = 1; gap < points.size(); ++gap) {
    inside += starts[gap];
    outside_[gap] = inside == 0;
  }
}

template <byte_lanes::Isa kIsa>
inline bool RangeLineSearch::CellIsNumber(const char* data, std::size_t end, std::size_t to) const {
  return IsPlainFieldAfter<kIsa>(data, end, to, column_ - 1);
}

inline bool RangeLineSearch::PassedByGap(double x, double next) {
  if (!(x > window_.first && x < window_.second && next > window_.first && next < window_.second)) {
    const std::size_t gap = ends_.Gap(x);
    if (!ordered_ || gap == SortedPoints::kOnPoint || !outside_[gap] || ends_.Gap(next) != gap) return false;
    // Every range lies wholly below or wholly above the gap. The line taken nearest above the
    // ranges below it lies above the highest of their high ends, in the lowest gap of the high
    // ends that holds one from there up; below the ranges above it the same, downwards.
    window_ = ends_.LastGap();
    pastBelow_ = -kInfinity;
    shortOfAbove_ = kInfinity;
    if (const std::size_t highs = highs_.Below(x); highs > 0) {
      pastBelow_ = kInfinity;
      for (std::size_t k = highs; k < takenAbove_.size() && pastBelow_ == kInfinity; ++k)
        pastBelow_ = takenAbove_[k];
    }
    if (const std::size_t lows = lows_.AtOrBelow(x); lows < lows_.points().size()) {
      shortOfAbove_ = -kInfinity;
      for (std::size_t k = lows + 1; k-- > 0 && shortOfAbove_ == -kInfinity;) shortOfAbove_ = takenBelow_[k];
    }
  }
  return next > x ? x > pastBelow_ : next < x && x < shortOfAbove_;
}

bool RangeLineSearch::Matters(const char* data, std::size_t to, const FirstField& line,
                              const FirstField& next) {
  const double x = line.x, nextX = next.x;
  // Whether the next line has a number for a cell, found once it is asked.
  std::optional<bool> nextNumber;
  const auto nextIsNumber = [&] {
    if (!nextNumber) nextNumber = CellIsNumber(data, next.end, to);
    return *nextNumber;
  };
  // Outside every range, with the next line on the same side of every end, this line is passed
  // over (as the test below finds) when the lines taken already lie between it and the ranges it
  // moves away from.
  if (PassedByGap(x, nextX) && nextIsNumber()) return false;
  const std::size_t lows = lows_.AtOrBelow(x), highs = highs_.Below(x);
  // A line inside a range matters, and so does one outside every range that may be next to the
  // nearest range above it or below it: no line taken, nor the next line with a number, lies
  // between. A line passed over for the nearest range on a side is passed over for every range
  // beyond it, so those two are the ones to ask.
  bool matters = !ordered_ || highs < lows;
  if (!matters && lows < lows_.points().size()) {
    const double low = lows_.points()[lows];
    matters = !(x < takenBelow_[lows]) && !(x < nextX && nextX < low && nextIsNumber());
  }
  if (!matters && highs > 0) {
    const double high = highs_.points()[highs - 1];
    matters = !(x > takenAbove_[highs]) && !(high < nextX && nextX < x && nextIsNumber());
  }
  if (matters && CellIsNumber(data, line.end, to)) Took(x, lows, highs);
  // Inside a range, the gap between ends that the line lies in, when not on an end, is
  // remembered: its lines are taken at once after it (TakeInside).
  if (ordered_ && highs < lows) {
    if (ends_.Gap(x) != SortedPoints::kOnPoint) inside_ = ends_.LastGap();
  }
  return matters;
}

inline void RangeLineSearch::Took(double x, std::size_t lows, std::size_t highs) {
  if (lows < lows_.points().size()) takenBelow_[lows] = std::max(takenBelow_[lows], x);
  if (highs > 0) takenAbove_[highs] = std::min(takenAbove_[highs], x);
  window_ = kNoWindow;
}

template <byte_lanes::Isa kIsa>
inline std::size_t RangeLineSearch::TakeInside(const char* data, std::size_t from, std::size_t to) {
  FirstField line;
  ReadFirstField<false, kIsa>(data, from, to, &line);
  if (!line.plain || !(line.x > inside_.first && line.x < inside_.second)) return kGoOn;
  // Not remembered (Took): a line taken is remembered only for lines to be passed over for it,
  // and one left out passes fewer over, never more. Lines outside the ranges are passed over for
  // the lines next to the ranges' ends, which the walk judges and remembers.
  return from;
}

template <byte_lanes::Isa kIsa>
inline std::size_t RangeLineSearch::FindLines(const char* data, std::size_t from, std::size_t to) {
  const auto takes = [&](const FirstField& line, const FirstField& next) {
    return !next.plain || Matters(data, to, line, next);
  };
  // Inside a window outside every range, a line is passed over by key as PassedByGap passes it,
  // and a run of such lines with a number for the last one's cell (FindByPairs).
  const auto bounds = [&]() -> std::optional<KeyedWindow::Bounds> {
    if (window_ == kNoWindow) return std::nullopt;
    return KeyedWindow::Bounds{window_.first, window_.second, pastBelow_, shortOfAbove_};
  };
  return FindByPairs<kIsa>(
      data, from, to, keyed_, takes, bounds,
      [&](std::size_t at, std::size_t end)
          __attribute__((always_inline)) { return CellIsNumber<kIsa>(data, at + end, to); },
      &byLine_);
}

/// The searches' Find, a copy for each instruction set (EntryPoints): on 32-bit x86, where the
/// build's vectors are lowered to byte-wise code, the SSE2 copy is taken where the processor has
/// it, as the run's search does.
struct TableLineScan {
  using Isa = byte_lanes::Isa;

  template <typename Search, Isa kIsa>
  [[gnu::always_inline]] static std::size_t Find(Search& search, const char* data, std::size_t from,
                                                 std::size_t to) {
    return search.template FindLines<kIsa>(data, from, to);
  }
  template <Isa kIsa>
  [[gnu::always_inline]] static std::size_t TakeInside(RangeLineSearch& search, const char* data,
                                                       std::size_t from, std::size_t to) {
    return search.TakeInside<kIsa>(data, from, to);
  }

  template <auto kBody, auto kSse2, typename Search>
  static std::size_t Fastest(Search& search, const char* data, std::size_t from, std::size_t to) {
    using Entries = byte_lanes::EntryPoints<kBody, kSse2>;
    static const typename Entries::Entry entry = Entries::Fastest();
    return entry(search, data, from, to);
  }
  template <typename Search>
  static std::size_t Fastest(Search& search, const char* data, std::size_t from, std::size_t to) {
    return Fastest<&Find<Search, Isa::kBuild>, &Find<Search, Isa::kSse2>>(search, data, from, to);
  }
};

std::size_t NearestLineSearch::Find(const char* data, std::size_t from, std::size_t to) {
  return TableLineScan::Fastest(*this, data, from, to);
}

std::size_t ExactLineSearch::Find(const char* data, std::size_t from, std::size_t to) {
  return TableLineScan::Fastest(*this, data, from, to);
}

std::size_t InterpolationLineSearch::Find(const char* data, std::size_t from, std::size_t to) {
  return TableLineScan::Fastest(*this, data, from, to);
}

std::size_t RangeLineSearch::Find(const char* data, std::size_t from, std::size_t to) {
  // The lines inside a range come one a call, each taken: told apart from the walk, whose entry
  // saves and restores all it holds for each call.
  if (inside_.first < inside_.second && from < to) {
    if (const std::size_t taken =
            TableLineScan::Fastest<&TableLineScan::TakeInside<byte_lanes::Isa::kBuild>,
                                   &TableLineScan::TakeInside<byte_lanes::Isa::kSse2>>(*this, data, from, to);
        taken != kGoOn)
      return taken;
  }
  return TableLineScan::Fastest(*this, data, from, to);
}

}  // namespace kesmaro
