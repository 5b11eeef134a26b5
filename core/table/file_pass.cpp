#include "core/table/file_pass.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

#include "core/run/data_reader.h"
#include "core/run/line_rules.h"
#include "core/run/line_search.h"
#include "core/table/fields.h"
#include "core/table/measures.h"
#include "core/table/number_line_search.h"
#include "core/table/table_line_search.h"

namespace kesmaro {
namespace {

using Kind = TableItem::Kind;

/// A computed cell: the shortest decimal that reads back as the double, with the table's mark.
std::string ComputedCell(double value, DecimalMark mark) {
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
  std::string cell(text, written.ptr);
  if (mark == DecimalMark::kComma) {
    for (char& ch : cell) {
      if (ch == '.') ch = ',';
    }
  }
  return cell;
}

/// A counted line: its x, as a number and as written, and its cell, which is found only when an
/// item asks for it.
class CountedLine {
 public:
  /// A line whose cell is held already.
  CountedLine(const Number& number, std::string_view written, std::string_view cell, DecimalMark mark)
      : x(number), first(written), cell_(cell), found_(true), mark_(mark) {}
  /// A whole line whose first field ends at `rest`, where the search for the cell goes on.
  CountedLine(const Number& number, std::string_view written, std::string_view rest, std::size_t column,
              DecimalMark mark)
      : x(number), first(written), rest_(rest), column_(column), mark_(mark) {}

  std::string_view Cell() const {
    if (!found_) {
      found_ = true;
      cell_ = column_ == 1 ? first : Field(rest_, column_ - 1, mark_);
    }
    return cell_;
  }

  /// The cell as a number; nullopt when it is none. A number read where the cell starts is the
  /// cell's when it ends the field, which finds the cell and reads it in one go.
  std::optional<Decimal> CellNumber() const {
    if (!found_ && column_ > 1) {
      const std::size_t start = FieldStart(rest_, column_ - 1, mark_);
      std::size_t end = 0;
      const std::optional<Decimal> number = LeadingDecimal(rest_.substr(start), &end, mark_);
      if (number && (start + end == rest_.size() || IsFieldSeparator(rest_[start + end], mark_))) {
        found_ = true;
        cell_ = rest_.substr(start, end);
        return number;
      }
    }
    return ParseDecimal(Cell(), mark_);
  }

  const Number& x;
  std::string_view first;

 private:
  mutable std::string_view cell_;
  mutable bool found_ = false;
  std::string_view rest_;
  std::size_t column_ = 1;
  DecimalMark mark_ = DecimalMark::kPoint;
};

constexpr std::size_t kNoLine = ~std::size_t{0};

/// What one value has taken from a file's lines so far.
struct ValueState {
  bool chosen = false;  ///< its line is chosen, or its interpolation done
  Number x;             ///< the chosen line's x
  std::string cell;     ///< its cell
  std::string first;    ///< the chosen line's x as written
  /// The chosen line, counted in the pass, while its cell and x as written are the pass's pending
  /// line rather than `cell` and `first`.
  std::size_t pendingLine = kNoLine;
};

/// What one range has taken from a file's lines so far.
struct RangeState {
  /// Its ends and, at the end of the file, the points next to them; the points inside are the
  /// pass's. A running area holds its point below from its first point on, and `belowX`.
  RangeCurve curve;
  RunningArea area;    ///< an area's, while x runs up
  bool holds = false;  ///< whether an area's points inside are held, its x having run down
  Number belowX;
  Number extreme;         ///< the max or min so far
  std::string cell;       ///< the max or min as written
  std::string first;      ///< its line's x as written
  std::size_t count = 0;  ///< lines in the range
  Sum sum;
};

/// The point of a piece of the ranges' layout that is next to the ranges above it on the curve, or
/// to those below it: the last of its highest x, or the first of its lowest.
struct NextPoint {
  bool held = false;
  Number x;
  CurvePoint point;
};

/// The points of a file's lines that lie inside a range whose points are held, each held once
/// however many ranges hold it, in file order. A range finds its own among them at the end by
/// their x, which is why the x's decimals are kept for the few points whose double is that of a
/// range's end: only there can the double and the decimal tell a different side.
class HeldPoints {
 public:
  HeldPoints(std::vector<double> ends, bool keepsFirsts) : ends_(std::move(ends)), keepsFirsts_(keepsFirsts) {
    std::sort(ends_.begin(), ends_.end());
  }

  void Add(const Number& x, double y, std::string_view first) {
    if (std::binary_search(ends_.begin(), ends_.end(), x.value))
      exacts_.emplace_back(points_.size(), x.exact);
    points_.push_back({x.value, y});
    if (keepsFirsts_) {
      firsts_.append(first);
      firstEnds_.push_back(firsts_.size());
    }
  }

  /// Readies the points for `lookups` ranges to find theirs among them (Within): by binary search
  /// where they are held in order of x, as in an ascending file; otherwise sorted once by x, when
  /// so many ranges look that a sort costs less than a pass over all the points for each.
  void Ready(std::size_t lookups) {
    inOrder_ = std::is_sorted(points_.begin(), points_.end(),
                              [](const CurvePoint& a, const CurvePoint& b) { return a.x < b.x; });
    if (inOrder_ || lookups <= static_cast<std::size_t>(std::bit_width(points_.size())) ||
        points_.size() > std::numeric_limits<std::uint32_t>::max())
      return;
    byX_.resize(points_.size());
    std::iota(byX_.begin(), byX_.end(), std::uint32_t{0});
    // Equal x in file order, sorted in place.
    std::sort(byX_.begin(), byX_.end(), [&](std::uint32_t a, std::uint32_t b) {
      return points_[a].x < points_[b].x || (points_[a].x == points_[b].x && a < b);
    });
  }

  /// The points inside [low, high] into `inside`: with `indices`, in file order and where each is
  /// held; without, in order of x and of the file among equal x, as Area takes them, where they are
  /// sorted.
  void Within(const Number& low, const Number& high, std::vector<CurvePoint>* inside,
              std::vector<std::size_t>* indices) const {
    inside->clear();
    if (indices != nullptr) indices->clear();
    const auto take = [&](std::size_t i) {
      const double x = points_[i].x;
      if (x < low.value || high.value < x) return;
      if ((x == low.value && Exact(i) < low.exact) || (x == high.value && high.exact < Exact(i))) return;
      if (indices != nullptr) {
        indices->push_back(i);
      } else {
        inside->push_back(points_[i]);
      }
    };
    if (inOrder_) {
      const auto first = std::lower_bound(points_.begin(), points_.end(), low.value,
                                          [](const CurvePoint& point, double x) { return point.x < x; });
      for (auto i = static_cast<std::size_t>(first - points_.begin());
           i < points_.size() && points_[i].x <= high.value; ++i)
        take(i);
    } else if (!byX_.empty()) {
      const auto first = std::lower_bound(byX_.begin(), byX_.end(), low.value,
                                          [&](std::uint32_t i, double x) { return points_[i].x < x; });
      for (auto at = first; at != byX_.end() && points_[*at].x <= high.value; ++at) take(*at);
      if (indices != nullptr) std::sort(indices->begin(), indices->end());
    } else {
      for (std::size_t i = 0; i < points_.size(); ++i) take(i);
    }
    if (indices != nullptr) {
      for (const std::size_t i : *indices) inside->push_back(points_[i]);
    }
  }

  /// The x of the held point `index`, as written.
  std::string First(std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : firstEnds_[index - 1];
    return firsts_.substr(start, firstEnds_[index] - start);
  }

  std::size_t size() const { return points_.size(); }

 private:
  /// The x of held point `index`, which lies on a range's end, as written.
  const Decimal& Exact(std::size_t index) const {
    return std::lower_bound(
               exacts_.begin(), exacts_.end(), index,
               [](const std::pair<std::size_t, Decimal>& held, std::size_t i) { return held.first < i; })
        ->second;
  }

  std::vector<double> ends_;  ///< the ranges' ends, as doubles
  bool keepsFirsts_;          ///< for max and min above a baseline, which name their line's x
  std::vector<CurvePoint> points_;
  bool inOrder_ = false;                                 ///< whether the points are held in order of x
  std::vector<std::uint32_t> byX_;                       ///< their indices in order of x, when sorted
  std::vector<std::pair<std::size_t, Decimal>> exacts_;  ///< the points on an end, by index, with their x
  std::string firsts_;
  std::vector<std::size_t> firstEnds_;
};

/// Takes what every item needs from the lines of one file, as they pass by. Areas are summed as
/// the lines come while x runs up inside each range, holding no point; an area whose x runs down
/// from its first point on, as in a descending file, holds its points from there, to be summed in
/// order of x at the end; with `holdPoints`, every area holds them, for files whose x ran down
/// only after some points were summed. Max and min above a baseline hold their points too, the
/// baseline's ends being known only at the end. A point is held once for all the ranges that hold
/// it (HeldPoints), and so is an area's first point, in case its x runs down after it.
class FilePass {
 public:
  FilePass(const Plan& plan, bool holdPoints)
      : plan_(plan),
        layout_(plan.rangeLayout),
        holdPoints_(holdPoints),
        held_(RangeEnds(plan), KeepsFirsts(plan)) {
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
      const PlannedItem& planned = plan.items[i];
      if (planned.item.IsRange()) {
        slots_.push_back(ranges_.size());
        rangeItems_.push_back(i);
        RangeState& range = ranges_.emplace_back();
        range.curve.lo = planned.low.value;
        range.curve.hi = planned.high.value;
        lastBelow_ = std::max(lastBelow_, layout_.LowPiece(ranges_.size() - 1) - 1);
        firstAbove_ = std::min(firstAbove_, layout_.HighPiece(ranges_.size() - 1) + 1);
      } else {
        slots_.push_back(values_.size());
        valueItems_.push_back(i);
        values_.emplace_back();
        if (plan.mode == ValueMode::kInterpolate) ++interpolating_;
      }
    }
    if (!ranges_.empty()) {
      below_.resize(layout_.Pieces());
      above_.resize(layout_.Pieces());
    }
  }

  /// Whether any item takes the line whose x is `x`, so that its cell is read.
  bool Wants(const Number& x) const {
    if (!ranges_.empty() || interpolating_ > 0) return true;
    for (std::size_t k = 0; k < values_.size(); ++k) {
      if (ValueTakes(values_[k], plan_.items[valueItems_[k]].low, x)) return true;
    }
    return false;
  }

  void Take(const CountedLine& line) {
    std::size_t takers = 0;  // value items that choose this line
    std::optional<Number> y;
    bool yRead = false;
    const auto cellNumber = [&]() -> const std::optional<Number>& {
      if (!yRead) {
        yRead = true;
        if (const std::optional<Decimal> number = line.CellNumber()) y = Number(*number);
      }
      return y;
    };
    if (!ranges_.empty()) TakeInRanges(line, cellNumber);
    for (std::size_t k = 0; k < values_.size(); ++k) {
      const PlannedItem& planned = plan_.items[valueItems_[k]];
      ValueState& state = values_[k];
      if (plan_.mode == ValueMode::kInterpolate) {
        if (!state.chosen) Interpolate(planned, state, line, cellNumber);
      } else if (ValueTakes(state, planned.low, line.x)) {
        state.chosen = true;
        state.x = line.x;
        // Before any line is pending both are kNoLine, and nothing is to be counted off.
        if (state.pendingLine != kNoLine && state.pendingLine == pendingLine_) --pendingTakers_;
        state.pendingLine = lines_;
        ++takers;
      }
    }
    if (takers > 0) HoldPending(line, takers);
    if (holdsLine_) {
      held_.Add(line.x, cellNumber()->value, line.first);
      holdsLine_ = false;
    }
    if (interpolating_ > 0) {
      previous_.held = true;
      previous_.x = line.x;
      previous_.cell.assign(line.Cell());
    }
    ++lines_;
  }

  /// Whether an area's x ran down inside its range, or the line below it came after lines inside,
  /// once more than one of its points was summed: the file is to be passed over again holding the
  /// points.
  bool NeedsPoints() const { return needsPoints_; }

  /// The file's row of cells, after its last line.
  void Finish(std::vector<std::string>* cells, std::size_t* emptyCells, std::size_t* pointsHeld) {
    *pointsHeld = held_.size();
    if (!ranges_.empty()) {
      FindNextPoints();
      std::size_t lookups = 0;
      for (std::size_t k = 0; k < ranges_.size(); ++k) {
        if (ranges_[k].count > 0 && HoldsPoints(plan_.items[rangeItems_[k]].item, ranges_[k])) ++lookups;
      }
      held_.Ready(lookups);
    }
    for (std::size_t i = 0; i < plan_.items.size(); ++i) {
      const TableItem& item = plan_.items[i].item;
      std::string cell, first;
      if (item.IsRange()) {
        RangeState& range = ranges_[slots_[i]];
        if (range.count > 0) RangeCell(plan_.items[i], range, &cell, &first);
      } else if (ValueState& value = values_[slots_[i]]; value.pendingLine != kNoLine) {
        cell = pendingCell_;
        first = pendingFirst_;
      } else {
        cell = std::move(value.cell);
        first = std::move(value.first);
      }
      if (cell.empty()) ++*emptyCells;
      cells->push_back(std::move(cell));
      if (item.NamesLine() || (!item.IsRange() && plan_.mode == ValueMode::kNearest)) {
        cells->push_back(std::move(first));
      }
    }
  }

 private:
  static std::vector<double> RangeEnds(const Plan& plan) {
    std::vector<double> ends;
    for (const PlannedItem& planned : plan.items) {
      if (planned.item.IsRange()) ends.insert(ends.end(), {planned.low.value, planned.high.value});
    }
    return ends;
  }

  static bool KeepsFirsts(const Plan& plan) {
    return plan.baseline && std::any_of(plan.items.begin(), plan.items.end(),
                                        [](const PlannedItem& planned) { return planned.item.NamesLine(); });
  }

  struct Previous {
    bool held = false;
    Number x;
    std::string cell;  ///< read as a number only when the line after it brackets a value
  };

  /// Holds the line that `takers` value items chose as the pending line, once for all of them.
  /// The items that still chose the line pending before, which in a file sorted by x are those
  /// just passed, take their own copy of it first: so most lines are copied once, not once per
  /// item that is nearest to them so far.
  void HoldPending(const CountedLine& line, std::size_t takers) {
    if (pendingTakers_ > 0) {
      for (ValueState& state : values_) {
        if (state.pendingLine != pendingLine_) continue;
        state.cell = pendingCell_;
        state.first = pendingFirst_;
        state.pendingLine = kNoLine;
      }
    }
    pendingCell_.assign(line.Cell());
    pendingFirst_.assign(line.first);
    pendingLine_ = lines_;
    pendingTakers_ = takers;
  }

  /// Whether a value item in the exact or nearest mode takes the line whose x is `x` over the
  /// line it holds.
  bool ValueTakes(const ValueState& state, const Number& value, const Number& x) const {
    if (plan_.mode == ValueMode::kExact) return !state.chosen && x == value;
    if (plan_.mode != ValueMode::kNearest) return false;
    if (plan_.within && !Within(x, value, *plan_.within)) return false;
    return !state.chosen || Nearer(x, value, state.x, false);
  }

  template <typename CellNumber>
  void Interpolate(const PlannedItem& planned, ValueState& state, const CountedLine& line,
                   CellNumber& cellNumber) {
    const Number& value = planned.low;
    if (line.x == value) {
      state.chosen = true;
      state.cell = std::string(line.Cell());
    } else if (previous_.held &&
               ((previous_.x < value && value < line.x) || (line.x < value && value < previous_.x))) {
      state.chosen = true;
      const std::optional<Decimal> previousY = ParseDecimal(previous_.cell, plan_.mark);
      if (previousY && cellNumber()) {
        const CurvePoint before{previous_.x.value, ToDouble(*previousY)},
            after{line.x.value, cellNumber()->value};
        state.cell = ComputedCell(kesmaro::Interpolate(before, after, value.value), plan_.mark);
      }
    }
    if (state.chosen) --interpolating_;
  }

  /// Tells the line to the ranges that hold it, and to the pieces of the layout next to which the
  /// ranges above and below it find their points beyond their ends (NextPoint): so a line costs
  /// the same however many ranges lie elsewhere. Of equal x the last is next to the ranges above
  /// it on the curve, the first next to those below it.
  template <typename CellNumber>
  void TakeInRanges(const CountedLine& line, CellNumber& cellNumber) {
    const Number& x = line.x;
    if (!(x.value > gap_.first && x.value < gap_.second)) FindPiece(x);
    NextPoint* const below =
        piece_ <= lastBelow_ && (!below_[piece_].held || !(x < below_[piece_].x)) ? &below_[piece_] : nullptr;
    NextPoint* const above =
        piece_ >= firstAbove_ && (!above_[piece_].held || x < above_[piece_].x) ? &above_[piece_] : nullptr;
    if (holding_.empty() && below == nullptr && above == nullptr) return;
    const std::optional<Number>& y = cellNumber();
    if (!y) return;
    for (const std::uint32_t range : holding_) TakeInRange(range, line, *y);
    if (below != nullptr) {
      // The new point below an area that runs since its first point.
      if (!armed_.empty() && x < armedTop_) StopRunningBelow(x);
      *below = {true, x, {x.value, y->value}};
    }
    if (above != nullptr) *above = {true, x, {x.value, y->value}};
  }

  void FindPiece(const Number& x) {
    piece_ = layout_.PieceOf(x);
    gap_ = layout_.GapBounds(piece_);
    holding_.clear();
    layout_.Holding(piece_, &holding_);
  }

  /// Takes the line, whose cell is the number y, into range `range`, which holds it.
  void TakeInRange(std::uint32_t range, const CountedLine& line, const Number& y) {
    const PlannedItem& planned = plan_.items[rangeItems_[range]];
    RangeState& state = ranges_[range];
    const TableItem& item = planned.item;
    const bool runs = item.kind == Kind::kArea && !holdPoints_ && !state.holds;
    ++state.count;
    state.sum.Add(y.value);
    const bool aboveBaseline = plan_.baseline && item.NamesLine();
    const CurvePoint point{line.x.value, y.value};
    if (runs) {
      if (state.count == 1) {
        // The first point is held should x run down after it; the point below is the curve's
        // from here on, or the area stops running.
        holdsLine_ = true;
        if (const NextPoint* below = NearestBelow(layout_.LowPiece(range) - 1)) {
          state.curve.below = below->point;
          state.belowX = below->x;
        }
        if (armed_.empty() || armedTop_ < planned.low) armedTop_ = planned.low;
        armed_.push_back(range);
      }
      if (!state.area.Add(point, state.curve.below, state.curve.lo)) {
        HoldArea(state, state.count - 1);
        if (state.holds) holdsLine_ = true;
      }
    } else if (item.kind == Kind::kArea || aboveBaseline) {
      holdsLine_ = true;
    }
    if (item.NamesLine() && !aboveBaseline) {
      const bool beyond = item.kind == Kind::kMax ? state.extreme < y : y < state.extreme;
      if (state.count == 1 || beyond) {
        state.extreme = y;
        state.cell.assign(line.Cell());
        state.first.assign(line.first);
      }
    }
  }

  /// The areas running since their first point whose point below the line at x, a number, takes
  /// over from: they stop running.
  void StopRunningBelow(const Number& x) {
    for (const std::uint32_t range : armed_) {
      RangeState& state = ranges_[range];
      if (state.holds) continue;
      if (x < plan_.items[rangeItems_[range]].low && (!state.curve.below || !(x < state.belowX)))
        HoldArea(state, state.count);
    }
    std::erase_if(armed_, [&](std::uint32_t range) { return ranges_[range].holds; });
  }

  /// Each range's points next to its ends: below, the point of the highest piece below its low end
  /// that holds one; above, of the lowest piece above its high end.
  void FindNextPoints() {
    const std::size_t pieces = layout_.Pieces();
    std::vector<const NextPoint*> nearestBelow(pieces), nearestAbove(pieces);
    const NextPoint* nearest = nullptr;
    for (std::size_t p = 0; p < pieces; ++p)
      nearestBelow[p] = nearest = below_[p].held ? &below_[p] : nearest;
    nearest = nullptr;
    for (std::size_t p = pieces; p-- > 0;) nearestAbove[p] = nearest = above_[p].held ? &above_[p] : nearest;
    for (std::size_t k = 0; k < ranges_.size(); ++k) {
      RangeCurve& curve = ranges_[k].curve;
      const NextPoint* below = nearestBelow[layout_.LowPiece(k) - 1];
      const NextPoint* above = nearestAbove[layout_.HighPiece(k) + 1];
      curve.below = below != nullptr ? std::optional<CurvePoint>(below->point) : std::nullopt;
      curve.above = above != nullptr ? std::optional<CurvePoint>(above->point) : std::nullopt;
    }
  }

  /// The point of the highest piece up to `piece` that holds one: the point below the ranges
  /// whose low end is the piece after it.
  const NextPoint* NearestBelow(std::size_t piece) const {
    for (std::size_t p = piece + 1; p-- > 0;) {
      if (below_[p].held) return &below_[p];
    }
    return nullptr;
  }

  /// An area that stops running after `summed` of its points: held from here on when that was its
  /// first, which is held already; otherwise the file is read again.
  void HoldArea(RangeState& state, std::size_t summed) {
    if (summed != 1) {
      needsPoints_ = true;
      return;
    }
    state.holds = true;
  }

  /// Whether a range's points inside are held, to be found among the held points at the end.
  bool HoldsPoints(const TableItem& item, const RangeState& state) const {
    return (plan_.baseline && item.NamesLine()) || (item.kind == Kind::kArea && (holdPoints_ || state.holds));
  }

  void RangeCell(const PlannedItem& planned, RangeState& state, std::string* cell, std::string* first) {
    const TableItem& item = planned.item;
    const bool aboveBaseline = plan_.baseline && item.NamesLine();
    // The points of every range that holds them are found in one buffer, in turn; an area takes
    // them in order of x, and max and min pick the first of equal ones in file order.
    std::swap(state.curve.inside, inside_);
    if (HoldsPoints(item, state))
      held_.Within(planned.low, planned.high, &state.curve.inside, aboveBaseline ? &indices_ : nullptr);
    if (item.kind == Kind::kMean) {
      *cell = ComputedCell(state.sum.Value() / static_cast<double>(state.count), plan_.mark);
    } else if (item.kind == Kind::kArea) {
      const std::optional<double> area =
          holdPoints_ || state.holds ? Area(state.curve, plan_.baseline)
                                     : state.area.Value(state.curve.above, state.curve.hi, plan_.baseline);
      *cell = ComputedCell(*area, plan_.mark);
    } else if (!aboveBaseline) {
      *cell = std::move(state.cell);
      *first = std::move(state.first);
    } else {
      const CurveEnds ends = *Ends(state.curve);
      std::size_t chosen = 0;
      double height = 0;
      for (std::size_t i = 0; i < state.curve.inside.size(); ++i) {
        const double h = HeightAboveBaseline(ends, state.curve.inside[i]);
        if (i == 0 || (item.kind == Kind::kMax ? h > height : h < height)) {
          chosen = i;
          height = h;
        }
      }
      *cell = ComputedCell(height, plan_.mark);
      *first = held_.First(indices_[chosen]);
    }
    std::swap(state.curve.inside, inside_);
  }

  const Plan& plan_;
  const RangeLayout& layout_;
  std::vector<ValueState> values_;
  std::vector<RangeState> ranges_;
  std::vector<std::size_t> valueItems_;  ///< the item each value state is for
  std::vector<std::size_t> rangeItems_;  ///< the item each range state is for
  std::vector<std::size_t> slots_;       ///< each item's state, among the values' or the ranges'
  bool holdPoints_;
  bool needsPoints_ = false;
  std::size_t interpolating_ = 0;  ///< interpolated values not yet found
  Previous previous_;
  std::size_t lines_ = 0;  ///< lines taken so far
  std::size_t pendingLine_ = kNoLine;
  std::size_t pendingTakers_ = 0;  ///< value items whose chosen line is the pending one
  std::string pendingCell_;
  std::string pendingFirst_;
  HeldPoints held_;
  bool holdsLine_ = false;  ///< whether a range holds the line being taken
  /// The layout's piece of the last line, its bounds when it is a gap, and the ranges that hold it.
  std::size_t piece_ = 0;
  std::pair<double, double> gap_ = {std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity()};
  std::vector<std::uint32_t> holding_;
  std::vector<NextPoint> below_;              ///< each piece's point next to the ranges above it
  std::vector<NextPoint> above_;              ///< each piece's point next to the ranges below it
  std::size_t lastBelow_ = 0;                 ///< the highest piece below a range
  std::size_t firstAbove_ = ~std::size_t{0};  ///< the lowest piece above a range
  /// The areas running since their first point, which stop when a point below them takes over
  /// from the one their first point was cut with; and the highest of their low ends.
  std::vector<std::uint32_t> armed_;
  Number armedTop_;
  std::vector<CurvePoint> inside_;    ///< the points of the range being finished
  std::vector<std::size_t> indices_;  ///< where they are held
};

/// Reads the lines of one file that `search` takes into `pass`.
Status PassOverFile(FileSystem& fs, const std::filesystem::path& path, LineSearch& search,
                    std::int64_t headerLines, const Plan& plan, FilePass* pass) {
  const DecimalMark mark = plan.mark;
  std::string first, cell;
  return ForEachLineTaken(
      fs, path, search, headerLines, [&](DataReader& reader, const LineView& line, bool* stop) -> Status {
        // A pass that is to be made again holding the points needs no more lines.
        if (pass->NeedsPoints()) {
          *stop = true;
          return std::nullopt;
        }
        if (line.whole) {
          const std::size_t start = SkipFieldSeparators(line.text, 0, mark);
          std::size_t end = 0;
          const std::optional<Decimal> x = LeadingDecimal(line.text.substr(start), &end, mark);
          end += start;
          if (!x || (end < line.text.size() && !IsFieldSeparator(line.text[end], mark))) return std::nullopt;
          // The cell of a whole line is at hand, so the items' tests are made once, by Take.
          const Number number(*x);
          const std::string_view firstField = line.text.substr(start, end - start);
          pass->Take(CountedLine(number, firstField, line.text.substr(end), plan.column, mark));
          return std::nullopt;
        }
        // A line longer than a block: its first field and its cell are read on and held whole.
        LineView part = line;
        std::size_t end = 0;
        if (Status error = ReadLongFirstField(reader, &part, mark, &first, &end)) return error;
        const std::optional<Decimal> x = ParseDecimal(first, mark);
        if (!x) return std::nullopt;
        const Number number(*x);
        if (!pass->Wants(number)) return std::nullopt;
        if (plan.column == 1) {
          cell = first;
        } else if (Status error = ReadLongField(reader, part, end, plan.column - 1, mark, &cell)) {
          return error;
        }
        pass->Take(CountedLine(number, first, cell, mark));
        return std::nullopt;
      });
}

}  // namespace

RangeLayout::RangeLayout(const std::vector<std::pair<Number, Number>>& ranges) {
  for (const auto& [low, high] : ranges) ends_.insert(ends_.end(), {low, high});
  std::sort(ends_.begin(), ends_.end());
  ends_.erase(std::unique(ends_.begin(), ends_.end()), ends_.end());
  for (const auto& [low, high] : ranges) {
    lowPieces_.push_back(PieceOf(low));
    highPieces_.push_back(PieceOf(high));
  }
  while (leaves_ < Pieces()) leaves_ *= 2;
  // A range covers its pieces with the nodes a walk up from both ends of them meets.
  const auto cover = [&](std::size_t range, auto&& node) {
    for (std::size_t low = lowPieces_[range] + leaves_, high = highPieces_[range] + 1 + leaves_; low < high;
         low /= 2, high /= 2) {
      if (low % 2 == 1) node(low++);
      if (high % 2 == 1) node(--high);
    }
  };
  nodeStarts_.assign(2 * leaves_ + 1, 0);
  for (std::size_t range = 0; range < ranges.size(); ++range)
    cover(range, [&](std::size_t n) { ++nodeStarts_[n + 1]; });
  for (std::size_t n = 1; n < nodeStarts_.size(); ++n) nodeStarts_[n] += nodeStarts_[n - 1];
  nodeRanges_.resize(nodeStarts_.back());
  std::vector<std::uint32_t> filled(nodeStarts_.begin(), nodeStarts_.end() - 1);
  for (std::size_t range = 0; range < ranges.size(); ++range) {
    cover(range, [&](std::size_t n) { nodeRanges_[filled[n]++] = static_cast<std::uint32_t>(range); });
  }
}

std::size_t RangeLayout::PieceOf(const Number& x) const {
  const std::size_t end =
      static_cast<std::size_t>(std::lower_bound(ends_.begin(), ends_.end(), x) - ends_.begin());
  return end < ends_.size() && ends_[end] == x ? 2 * end + 1 : 2 * end;
}

std::pair<double, double> RangeLayout::GapBounds(std::size_t piece) const {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  if (piece % 2 == 1) return {kInfinity, -kInfinity};
  const std::size_t end = piece / 2;
  return {end > 0 ? ends_[end - 1].value : -kInfinity, end < ends_.size() ? ends_[end].value : kInfinity};
}

void RangeLayout::Holding(std::size_t piece, std::vector<std::uint32_t>* ranges) const {
  for (std::size_t n = piece + leaves_; n > 0; n /= 2)
    ranges->insert(ranges->end(), nodeRanges_.begin() + static_cast<std::ptrdiff_t>(nodeStarts_[n]),
                   nodeRanges_.begin() + static_cast<std::ptrdiff_t>(nodeStarts_[n + 1]));
}

Plan PlanOf(const TableRequest& request) {
  Plan plan;
  plan.mode = request.interpolate                 ? ValueMode::kInterpolate
              : request.nearest || request.within ? ValueMode::kNearest
                                                  : ValueMode::kExact;
  if (request.within) plan.within = Number(*request.within);
  plan.baseline = request.baseline;
  plan.mark = request.mark;
  plan.column = request.column;
  bool anyRange = false, anyValue = false;
  std::vector<std::pair<Number, Number>> rangeEnds;
  for (const TableItem& item : request.items) {
    const PlannedItem& planned =
        plan.items.emplace_back(PlannedItem{item, Number(item.low), Number(item.high)});
    (item.IsRange() ? anyRange : anyValue) = true;
    plan.ranges.emplace_back(planned.low.value, planned.high.value);
    plan.values.push_back(planned.low.value);
    if (item.IsRange()) rangeEnds.emplace_back(planned.low, planned.high);
  }
  plan.rangeLayout = RangeLayout(rangeEnds);
  // The searches read x with a decimal point; items of one kind alone have a search of their own.
  if (request.mark == DecimalMark::kPoint && !request.readEveryLine && !(anyRange && anyValue)) {
    static constexpr PlanSearch kValueSearches[] = {PlanSearch::kExactValues, PlanSearch::kNearestValues,
                                                    PlanSearch::kInterpolatedValues};
    plan.search = anyRange ? PlanSearch::kRanges : kValueSearches[static_cast<std::size_t>(plan.mode)];
    if (plan.search == PlanSearch::kExactValues) plan.mayEqual.emplace(plan.values);
  }
  return plan;
}

Status ReadFileRow(FileSystem& fs, const std::filesystem::path& path, std::int64_t headerLines,
                   const Plan& plan, FileRow* row) {
  std::optional<FilePass> pass;
  for (const bool holdPoints : {false, true}) {
    pass.emplace(plan, holdPoints);
    // Each file has its own search: it judges lines with those of the file taken so far.
    std::optional<ExactLineSearch> mayBeEqual;
    std::optional<NearestLineSearch> mayBeNearest;
    std::optional<InterpolationLineSearch> mayBracket;
    std::optional<RangeLineSearch> mayBeInRange;
    KeyLineSearch everyLine("");
    LineSearch* search = &everyLine;
    switch (plan.search) {
      case PlanSearch::kEveryLine:
        break;
      case PlanSearch::kExactValues:
        search = &mayBeEqual.emplace(*plan.mayEqual, plan.values);
        break;
      case PlanSearch::kNearestValues:
        search = &mayBeNearest.emplace(plan.values);
        break;
      case PlanSearch::kInterpolatedValues:
        search = &mayBracket.emplace(plan.values);
        break;
      case PlanSearch::kRanges:
        search = &mayBeInRange.emplace(plan.ranges, plan.column);
        break;
    }
    if (Status error = PassOverFile(fs, path, *search, headerLines, plan, &*pass)) return error;
    if (!pass->NeedsPoints()) break;
  }
  pass->Finish(&row->cells, &row->emptyCells, &row->pointsHeld);
  return std::nullopt;
}

}  // namespace kesmaro
