#include "core/table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>

#include "core/data_reader.h"
#include "core/fields.h"
#include "core/line_rules.h"
#include "core/line_search.h"
#include "core/measures.h"
#include "core/number_line_search.h"
#include "core/parallel_for.h"
#include "core/table_line_search.h"
#include "core/table_numbers.h"

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

/// An item with what a file's pass needs of it.
struct PlannedItem {
  TableItem item;
  Number low;
  Number high;
};

enum class ValueMode { kExact, kNearest, kInterpolate };

/// What every file's pass shares: the items and how they read the lines.
struct Plan {
  std::vector<PlannedItem> items;
  ValueMode mode = ValueMode::kExact;
  std::optional<Number> within;  ///< as a number of that distance from 0
  bool baseline = false;
  DecimalMark mark = DecimalMark::kPoint;
  std::size_t column = 2;
};

/// A counted line: its x, as a number and as written, and its cell, which is found only when an
/// item asks for it.
class CountedLine {
 public:
  /// A line whose cell is held already.
  CountedLine(const Number& number, std::string_view written, std::string_view cell)
      : x(number), first(written), cell_(cell), found_(true) {}
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

/// What one item has taken from a file's lines so far.
struct ItemState {
  bool chosen = false;  ///< a value's line is chosen, or its interpolation done
  Number x;             ///< the chosen line's x
  std::string cell;     ///< the value's cell, or a range's max or min as written
  std::string first;    ///< the chosen line's x as written
  /// The chosen value line, counted in the pass, while its cell and x as written are the pass's
  /// pending line rather than `cell` and `first`.
  std::size_t pendingLine = kNoLine;
  // Ranges:
  RangeCurve curve;    ///< its ends and the points next to them; the points inside are the pass's
  RunningArea area;    ///< an area's, while x runs up
  bool holds = false;  ///< whether an area's points inside are held, its x having run down
  Number belowX;
  Number aboveX;
  Number extreme;         ///< the max or min so far
  std::size_t count = 0;  ///< lines in the range
  Sum sum;
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
    points_.push_back({x.value, y});
    if (OnAnEnd(x.value)) exacts_.push_back(x.exact);
    if (keepsFirsts_) {
      firsts_.append(first);
      firstEnds_.push_back(firsts_.size());
    }
  }

  /// The points inside [low, high], in file order, into `inside`, and with `indices` where each is
  /// held.
  void Within(const Number& low, const Number& high, std::vector<CurvePoint>* inside,
              std::vector<std::size_t>* indices) const {
    inside->clear();
    if (indices != nullptr) indices->clear();
    std::size_t exact = 0;
    for (std::size_t i = 0; i < points_.size(); ++i) {
      const double x = points_[i].x;
      const bool onEnd = OnAnEnd(x);
      const Decimal* written = onEnd ? &exacts_[exact++] : nullptr;
      if (x < low.value || high.value < x) continue;
      if (onEnd && ((x == low.value && *written < low.exact) || (x == high.value && high.exact < *written))) {
        continue;
      }
      inside->push_back(points_[i]);
      if (indices != nullptr) indices->push_back(i);
    }
  }

  /// The x of the held point `index`, as written.
  std::string First(std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : firstEnds_[index - 1];
    return firsts_.substr(start, firstEnds_[index] - start);
  }

  std::size_t size() const { return points_.size(); }

 private:
  bool OnAnEnd(double x) const { return std::binary_search(ends_.begin(), ends_.end(), x); }

  std::vector<double> ends_;  ///< the ranges' ends, as doubles
  bool keepsFirsts_;          ///< for max and min above a baseline, which name their line's x
  std::vector<CurvePoint> points_;
  std::vector<Decimal> exacts_;  ///< the x of the points on an end, in file order
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
        states_(plan.items.size()),
        holdPoints_(holdPoints),
        held_(RangeEnds(plan), KeepsFirsts(plan)) {
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
      states_[i].curve.lo = plan.items[i].low.value;
      states_[i].curve.hi = plan.items[i].high.value;
      if (plan.items[i].item.IsRange()) {
        ++ranges_;
      } else if (plan.mode == ValueMode::kInterpolate) {
        ++interpolating_;
      }
    }
  }

  /// Whether any item takes the line whose x is `x`, so that its cell is read.
  bool Wants(const Number& x) const {
    if (ranges_ > 0 || interpolating_ > 0) return true;
    for (std::size_t i = 0; i < states_.size(); ++i) {
      if (ValueTakes(states_[i], plan_.items[i].low, x)) return true;
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
        if (const std::optional<Decimal> number = ParseDecimal(line.Cell(), plan_.mark)) y = Number(*number);
      }
      return y;
    };
    for (std::size_t i = 0; i < states_.size(); ++i) {
      const PlannedItem& planned = plan_.items[i];
      ItemState& state = states_[i];
      if (planned.item.IsRange()) {
        TakeInRange(planned, state, line, cellNumber);
      } else if (plan_.mode == ValueMode::kInterpolate) {
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
    for (std::size_t i = 0; i < states_.size(); ++i) {
      const TableItem& item = plan_.items[i].item;
      ItemState& state = states_[i];
      std::string cell, first;
      if (!item.IsRange() && state.pendingLine != kNoLine) {
        cell = pendingCell_;
        first = pendingFirst_;
      } else if (!item.IsRange()) {
        cell = std::move(state.cell);
        first = std::move(state.first);
      } else if (state.count > 0) {
        RangeCell(plan_.items[i], state, &cell, &first);
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
      for (ItemState& state : states_) {
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
  bool ValueTakes(const ItemState& state, const Number& value, const Number& x) const {
    if (plan_.mode == ValueMode::kExact) return !state.chosen && x == value;
    if (plan_.mode != ValueMode::kNearest) return false;
    if (plan_.within && !Within(x, value, *plan_.within)) return false;
    return !state.chosen || Nearer(x, value, state.x, false);
  }

  template <typename CellNumber>
  void Interpolate(const PlannedItem& planned, ItemState& state, const CountedLine& line,
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

  template <typename CellNumber>
  void TakeInRange(const PlannedItem& planned, ItemState& state, const CountedLine& line,
                   CellNumber& cellNumber) {
    const TableItem& item = planned.item;
    const bool runs = item.kind == Kind::kArea && !holdPoints_ && !state.holds;
    if (line.x < planned.low) {
      // Of equal x the last is next to the range on the curve.
      if ((!state.curve.below || !(line.x < state.belowX)) && cellNumber()) {
        if (runs && state.count > 0) HoldArea(state, state.count);
        state.curve.below = CurvePoint{line.x.value, cellNumber()->value};
        state.belowX = line.x;
      }
      return;
    }
    if (planned.high < line.x) {
      if ((!state.curve.above || line.x < state.aboveX) && cellNumber()) {
        state.curve.above = CurvePoint{line.x.value, cellNumber()->value};
        state.aboveX = line.x;
      }
      return;
    }
    const std::optional<Number>& y = cellNumber();
    if (!y) return;
    ++state.count;
    state.sum.Add(y->value);
    const bool aboveBaseline = plan_.baseline && item.NamesLine();
    const CurvePoint point{line.x.value, y->value};
    if (runs) {
      // The first point is held should x run down after it.
      if (state.count == 1) holdsLine_ = true;
      if (!state.area.Add(point, state.curve.below, state.curve.lo)) {
        HoldArea(state, state.count - 1);
        if (state.holds) holdsLine_ = true;
      }
    } else if (item.kind == Kind::kArea || aboveBaseline) {
      holdsLine_ = true;
    }
    if (item.NamesLine() && !aboveBaseline) {
      const bool beyond = item.kind == Kind::kMax ? state.extreme < *y : *y < state.extreme;
      if (state.count == 1 || beyond) {
        state.extreme = *y;
        state.cell.assign(line.Cell());
        state.first.assign(line.first);
      }
    }
  }

  /// An area that stops running after `summed` of its points: held from here on when that was its
  /// first, which is held already; otherwise the file is read again.
  void HoldArea(ItemState& state, std::size_t summed) {
    if (summed != 1) {
      needsPoints_ = true;
      return;
    }
    state.holds = true;
  }

  void RangeCell(const PlannedItem& planned, ItemState& state, std::string* cell, std::string* first) {
    const TableItem& item = planned.item;
    const bool aboveBaseline = plan_.baseline && item.NamesLine();
    // The points of every range that holds them are found in one buffer, in turn.
    std::swap(state.curve.inside, inside_);
    if (aboveBaseline || (item.kind == Kind::kArea && (holdPoints_ || state.holds))) {
      held_.Within(planned.low, planned.high, &state.curve.inside, aboveBaseline ? &indices_ : nullptr);
    }
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
  std::vector<ItemState> states_;
  bool holdPoints_;
  bool needsPoints_ = false;
  std::size_t ranges_ = 0;
  std::size_t interpolating_ = 0;  ///< interpolated values not yet found
  Previous previous_;
  std::size_t lines_ = 0;  ///< lines taken so far
  std::size_t pendingLine_ = kNoLine;
  std::size_t pendingTakers_ = 0;  ///< value items whose chosen line is the pending one
  std::string pendingCell_;
  std::string pendingFirst_;
  HeldPoints held_;
  bool holdsLine_ = false;            ///< whether a range holds the line being taken
  std::vector<CurvePoint> inside_;    ///< the points of the range being finished
  std::vector<std::size_t> indices_;  ///< where they are held
};

/// Reads the lines of one file that `search` takes into `pass`.
Status PassOverFile(FileSystem& fs, const std::filesystem::path& path, LineSearch& search,
                    std::int64_t headerLines, const Plan& plan, FilePass* pass) {
  const DecimalMark mark = plan.mark;
  std::string first, cell;
  return ForEachLineTaken(
      fs, path, search, headerLines, [&](DataReader& reader, const LineView& line, bool*) -> Status {
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
        pass->Take(CountedLine(number, first, cell));
        return std::nullopt;
      });
}

/// Whether a line reads as numbers written with decimal commas: two or more fields separated by
/// blanks or semicolons, each digits, a comma and digits, and no point anywhere. Semicolon-separated
/// data with decimal points have no comma, and comma-separated data have fields that no blank or
/// semicolon separates.
bool LooksLikeDecimalCommas(std::string_view line) {
  if (line.find('.') != std::string_view::npos) return false;
  std::size_t fields = 0;
  for (std::size_t pos = SkipFieldSeparators(line, 0, DecimalMark::kComma); pos < line.size();
       pos = SkipFieldSeparators(line, pos, DecimalMark::kComma)) {
    const std::size_t end = FieldEnd(line, pos, DecimalMark::kComma);
    const std::string_view field = line.substr(pos, end - pos);
    const std::size_t comma = field.find(',');
    if (comma == std::string_view::npos || comma == 0 || comma + 1 == field.size() ||
        !IsDigit(field[comma - 1]) || !IsDigit(field[comma + 1]) ||
        !ParseDecimal(field, DecimalMark::kComma)) {
      return false;
    }
    ++fields;
    pos = end;
  }
  return fields >= 2;
}

/// The hint for the first counted line of a file, when it reads as decimal commas; looked for in
/// the file's first 64 KiB.
Status FindDecimalCommaHint(FileSystem& fs, const std::filesystem::path& path, std::int64_t headerLines,
                            std::optional<DecimalCommaHint>* hint) {
  std::unique_ptr<InputFile> file;
  if (Status error = fs.OpenForReading(path, &file)) return error;
  std::string text(64 * 1024, '\0');
  std::size_t held = 0;
  for (std::size_t count = 1; held < text.size() && count > 0; held += count) {
    if (Status error = file->Read(text.data() + held, text.size() - held, &count)) return error;
  }
  std::string_view rest = std::string_view(text).substr(0, held);
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  for (std::size_t number = 1; !rest.empty(); ++number) {
    std::size_t end = rest.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      if (held == text.size()) return std::nullopt;  // the line may go on past what is held
      end = rest.size();
    }
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(rest.size(), end + (rest.substr(end, 2) == "\r\n" ? 2 : 1)));
    if (static_cast<std::int64_t>(number) <= headerLines) continue;
    if (!ParseDecimal(Field(line, 1, DecimalMark::kPoint))) continue;
    if (LooksLikeDecimalCommas(line)) *hint = DecimalCommaHint{number, std::string(line)};
    return std::nullopt;
  }
  return std::nullopt;
}

/// The item `text` is written as; nullopt when malformed.
std::optional<TableItem> ItemOf(std::string_view text, DecimalMark mark) {
  const auto number = [mark](std::string_view written) { return ParseTypedNumber(written, mark); };
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    const std::optional<Decimal> value = number(text);
    if (!value) return std::nullopt;
    return TableItem{Kind::kValue, *value, *value};
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
    if (measure == name) return *b < *a ? TableItem{kind, *b, *a} : TableItem{kind, *a, *b};
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

Status MakeTable(FileSystem& fs, const TextCodec& codec, const TableRequest& request, Table* table,
                 TableSummary* summary) {
  *summary = TableSummary{};
  summary->values = request.items.size();
  Plan plan;
  plan.mode = request.interpolate                 ? ValueMode::kInterpolate
              : request.nearest || request.within ? ValueMode::kNearest
                                                  : ValueMode::kExact;
  if (request.within) plan.within = Number(*request.within);
  plan.baseline = request.baseline;
  plan.mark = request.mark;
  plan.column = request.column;

  Table result;
  result.decimalComma = request.mark == DecimalMark::kComma;
  const bool searches = request.mark == DecimalMark::kPoint && !request.readEveryLine;
  bool onlyExactValues = plan.mode == ValueMode::kExact && searches;
  bool onlyNearestValues = plan.mode == ValueMode::kNearest && searches;
  bool onlyInterpolatedValues = plan.mode == ValueMode::kInterpolate && searches;
  bool onlyRanges = searches;
  std::vector<std::pair<double, double>> ranges;
  std::vector<double> values;
  for (const std::string& typed : request.items) {
    // An item that is none (the caller checks them) is a value no line holds.
    const TableItem item = ParseTableItem(typed, request.mark).value_or(TableItem{Kind::kArea, {1}, {0}});
    const PlannedItem planned{item, Number(item.low), Number(item.high)};
    result.header.push_back(typed);
    if (planned.item.NamesLine() || (!planned.item.IsRange() && plan.mode == ValueMode::kNearest)) {
      result.header.push_back(typed + " x");
    }
    onlyExactValues = onlyExactValues && !planned.item.IsRange();
    onlyNearestValues = onlyNearestValues && !planned.item.IsRange();
    onlyInterpolatedValues = onlyInterpolatedValues && !planned.item.IsRange();
    onlyRanges = onlyRanges && planned.item.IsRange();
    ranges.emplace_back(planned.low.value, planned.high.value);
    values.push_back(planned.low.value);
    plan.items.push_back(planned);
  }

  // Exact values are equal only to numbers written in a few ways, which most lines are told apart
  // from by their first sixteen bytes; other items may take any line.
  NumberLineSearch mayEqual(values);
  KeyLineSearch everyLine("");
  LineSearch& search = onlyExactValues ? static_cast<LineSearch&>(mayEqual) : everyLine;
  const std::int64_t headerLines = HeaderLineCount(request.series.skipText);
  const std::vector<std::filesystem::path>& names = request.series.list.FileNames;
  // The files are passed over side by side, each into its own row; the first failure in list
  // order is the one reported, as a loop over them would find it.
  std::vector<Status> failures(names.size());
  std::vector<std::size_t> emptyCells(names.size()), pointsHeld(names.size());
  result.rows.resize(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    TableRow& row = result.rows[i];
    failures[i] = EncodedStem(codec, request.series.folder, names[i], &row.stem);
    row.seriesNumber = LeadingNameNumber(row.stem);
  }
  ParallelFor(names.size(), [&](std::size_t i) {
    if (failures[i]) return false;
    const std::filesystem::path path = request.series.folder / names[i];
    if (i == 0 && request.mark == DecimalMark::kPoint) {
      failures[i] = FindDecimalCommaHint(fs, path, headerLines, &summary->decimalCommaHint);
      if (failures[i]) return false;
    }
    // A file whose x runs down inside an area's range after running up there, or in no order, is
    // passed over again.
    std::optional<FilePass> pass;
    for (const bool holdPoints : {false, true}) {
      pass.emplace(plan, holdPoints);
      // Nearest and interpolated values are judged with the lines of the file taken so far, so
      // each file has its own search.
      std::optional<ExactLineSearch> mayBeEqual;
      std::optional<NearestLineSearch> mayBeNearest;
      std::optional<InterpolationLineSearch> mayBracket;
      std::optional<RangeLineSearch> mayBeInRange;
      LineSearch* fileSearch = &search;
      if (onlyExactValues) fileSearch = &mayBeEqual.emplace(mayEqual, values);
      if (onlyNearestValues) fileSearch = &mayBeNearest.emplace(values);
      if (onlyInterpolatedValues) fileSearch = &mayBracket.emplace(values);
      if (onlyRanges && !ranges.empty()) fileSearch = &mayBeInRange.emplace(ranges, request.column);
      failures[i] = PassOverFile(fs, path, *fileSearch, headerLines, plan, &*pass);
      if (failures[i]) return false;
      if (!pass->NeedsPoints()) break;
    }
    pass->Finish(&result.rows[i].cells, &emptyCells[i], &pointsHeld[i]);
    return true;
  });
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (failures[i]) return failures[i];
    ++summary->filesRead;
    summary->emptyCells += emptyCells[i];
    summary->pointsHeld = std::max(summary->pointsHeld, pointsHeld[i]);
  }
  *table = std::move(result);
  return std::nullopt;
}

}  // namespace kesmaro
