#include "core/table.h"

#include <charconv>
#include <cstdint>
#include <memory>
#include <utility>

#include "core/data_reader.h"
#include "core/fields.h"
#include "core/line_rules.h"
#include "core/line_search.h"
#include "core/measures.h"
#include "core/number_line_search.h"

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
  double lowValue = 0;
  double highValue = 0;
};

enum class ValueMode { kExact, kNearest, kInterpolate };

/// What every file's pass shares: the items and how they read the lines.
struct Plan {
  std::vector<PlannedItem> items;
  ValueMode mode = ValueMode::kExact;
  std::optional<Distance> within;
  bool baseline = false;
  DecimalMark mark = DecimalMark::kPoint;
  std::size_t column = 2;
};

/// A counted line: its x, as a number and as written, and its cell.
struct CountedLine {
  const Decimal& x;
  std::string_view first;
  std::string_view cell;
};

/// What one item has taken from a file's lines so far.
struct ItemState {
  bool chosen = false;  ///< a value's line is chosen, or its interpolation done
  Distance distance;    ///< the chosen line's, from the value
  std::string cell;     ///< the value's cell, or a range's max or min as written
  std::string first;    ///< the chosen line's x as written
  // Ranges:
  RangeCurve curve;
  Decimal belowX;
  Decimal aboveX;
  Decimal extreme;        ///< the max or min so far
  std::size_t count = 0;  ///< lines in the range
  Sum sum;
  std::string insideFirsts;  ///< the x of the lines inside, as written, for max and min above a baseline
  std::vector<std::size_t> insideEnds;
};

/// Takes what every item needs from the lines of one file, as they pass by.
class FilePass {
 public:
  explicit FilePass(const Plan& plan) : plan_(plan), states_(plan.items.size()) {
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
      states_[i].curve.lo = plan.items[i].lowValue;
      states_[i].curve.hi = plan.items[i].highValue;
      if (plan.items[i].item.IsRange()) {
        ++ranges_;
      } else if (plan.mode == ValueMode::kInterpolate) {
        ++interpolating_;
      }
    }
  }

  /// Whether any item takes the line whose x is `x`, so that its cell is read.
  bool Wants(const Decimal& x) const {
    if (ranges_ > 0 || interpolating_ > 0) return true;
    for (std::size_t i = 0; i < states_.size(); ++i) {
      if (ValueTakes(states_[i], plan_.items[i].item.low, x, nullptr)) return true;
    }
    return false;
  }

  void Take(const CountedLine& line) {
    std::optional<double> y;
    bool yRead = false;
    const auto cellNumber = [&]() -> const std::optional<double>& {
      if (!yRead) {
        yRead = true;
        yDecimal_ = ParseDecimal(line.cell, plan_.mark);
        if (yDecimal_) y = ToDouble(*yDecimal_);
      }
      return y;
    };
    std::optional<double> xValue;
    const auto xNumber = [&]() {
      if (!xValue) xValue = ToDouble(line.x);
      return *xValue;
    };
    for (std::size_t i = 0; i < states_.size(); ++i) {
      const PlannedItem& planned = plan_.items[i];
      ItemState& state = states_[i];
      if (planned.item.IsRange()) {
        if (cellNumber()) TakeInRange(planned.item, state, line, {xNumber(), *y});
      } else if (plan_.mode == ValueMode::kInterpolate) {
        if (!state.chosen) Interpolate(planned, state, line, cellNumber, xNumber);
      } else if (Distance distance; ValueTakes(state, planned.item.low, line.x, &distance)) {
        state.chosen = true;
        state.distance = distance;
        state.cell.assign(line.cell);
        state.first.assign(line.first);
      }
    }
    if (interpolating_ > 0) {
      previous_ = Previous{true, line.x, xNumber(), cellNumber()};
    }
  }

  /// The file's row of cells, after its last line.
  void Finish(std::vector<std::string>* cells, std::size_t* emptyCells) {
    for (std::size_t i = 0; i < states_.size(); ++i) {
      const TableItem& item = plan_.items[i].item;
      ItemState& state = states_[i];
      std::string cell, first;
      if (!item.IsRange()) {
        cell = std::move(state.cell);
        first = std::move(state.first);
      } else if (state.count > 0) {
        RangeCell(item, state, &cell, &first);
      }
      if (cell.empty()) ++*emptyCells;
      cells->push_back(std::move(cell));
      if (item.NamesLine() || (!item.IsRange() && plan_.mode == ValueMode::kNearest)) {
        cells->push_back(std::move(first));
      }
    }
  }

 private:
  struct Previous {
    bool held = false;
    Decimal x;
    double xValue = 0;
    std::optional<double> y;
  };

  /// Whether a value item in the exact or nearest mode takes the line whose x is `x` over the
  /// line it holds; `*distance` is then x's distance from the value.
  bool ValueTakes(const ItemState& state, const Decimal& value, const Decimal& x, Distance* distance) const {
    if (plan_.mode == ValueMode::kExact) return !state.chosen && x == value;
    if (plan_.mode != ValueMode::kNearest) return false;
    const Distance away = DistanceBetween(x, value);
    if (plan_.within && away > *plan_.within) return false;
    if (state.chosen && away >= state.distance) return false;
    if (distance != nullptr) *distance = away;
    return true;
  }

  template <typename CellNumber, typename XNumber>
  void Interpolate(const PlannedItem& planned, ItemState& state, const CountedLine& line,
                   CellNumber& cellNumber, XNumber& xNumber) {
    const Decimal& value = planned.item.low;
    if (line.x == value) {
      state.chosen = true;
      state.cell = std::string(line.cell);
    } else if (previous_.held &&
               ((previous_.x < value && value < line.x) || (line.x < value && value < previous_.x))) {
      state.chosen = true;
      if (previous_.y && cellNumber()) {
        const CurvePoint before{previous_.xValue, *previous_.y}, after{xNumber(), *cellNumber()};
        state.cell = ComputedCell(kesmaro::Interpolate(before, after, planned.lowValue), plan_.mark);
      }
    }
    if (state.chosen) --interpolating_;
  }

  void TakeInRange(const TableItem& item, ItemState& state, const CountedLine& line, CurvePoint point) {
    if (line.x < item.low) {
      if (!state.curve.below || line.x > state.belowX) {
        state.curve.below = point;
        state.belowX = line.x;
      }
      return;
    }
    if (line.x > item.high) {
      if (!state.curve.above || line.x < state.aboveX) {
        state.curve.above = point;
        state.aboveX = line.x;
      }
      return;
    }
    ++state.count;
    state.sum.Add(point.y);
    const bool aboveBaseline = plan_.baseline && item.NamesLine();
    if (item.kind == Kind::kArea || aboveBaseline) state.curve.inside.push_back(point);
    if (aboveBaseline) {
      state.insideFirsts.append(line.first);
      state.insideEnds.push_back(state.insideFirsts.size());
    } else if (item.NamesLine()) {
      const bool beyond = item.kind == Kind::kMax ? *yDecimal_ > state.extreme : *yDecimal_ < state.extreme;
      if (state.count == 1 || beyond) {
        state.extreme = *yDecimal_;
        state.cell.assign(line.cell);
        state.first.assign(line.first);
      }
    }
  }

  void RangeCell(const TableItem& item, ItemState& state, std::string* cell, std::string* first) const {
    const bool aboveBaseline = plan_.baseline && item.NamesLine();
    if (item.kind == Kind::kMean) {
      *cell = ComputedCell(state.sum.Value() / static_cast<double>(state.count), plan_.mark);
    } else if (item.kind == Kind::kArea) {
      *cell = ComputedCell(*Area(state.curve, plan_.baseline), plan_.mark);
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
      const std::size_t start = chosen == 0 ? 0 : state.insideEnds[chosen - 1];
      *first = state.insideFirsts.substr(start, state.insideEnds[chosen] - start);
    }
  }

  const Plan& plan_;
  std::vector<ItemState> states_;
  std::size_t ranges_ = 0;
  std::size_t interpolating_ = 0;  ///< interpolated values not yet found
  Previous previous_;
  std::optional<Decimal> yDecimal_;  ///< the cell of the line being taken, as a number
};

/// Reads the lines of one file that `search` takes into `pass`.
Status PassOverFile(FileSystem& fs, const std::filesystem::path& path, const LineSearch& search,
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
          if (!x || (end < line.text.size() && !IsFieldSeparator(line.text[end], mark)) || !pass->Wants(*x)) {
            return std::nullopt;
          }
          const std::string_view firstField = line.text.substr(start, end - start);
          pass->Take({*x, firstField, plan.column == 1 ? firstField : Field(line.text, plan.column, mark)});
          return std::nullopt;
        }
        // A line longer than a block: its first field and its cell are read on and held whole.
        LineView part = line;
        std::size_t end = 0;
        if (Status error = ReadLongFirstField(reader, &part, mark, &first, &end)) return error;
        const std::optional<Decimal> x = ParseDecimal(first, mark);
        if (!x || !pass->Wants(*x)) return std::nullopt;
        if (plan.column == 1) {
          cell = first;
        } else if (Status error = ReadLongField(reader, part, end, plan.column - 1, mark, &cell)) {
          return error;
        }
        pass->Take({*x, first, cell});
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
    const std::size_t end = rest.find_first_of("\r\n");
    if (end == std::string_view::npos) return std::nullopt;  // the line may go on past what is held
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + (rest.substr(end, 2) == "\r\n" ? 2 : 1));
    if (static_cast<std::int64_t>(number) <= headerLines) continue;
    if (!ParseDecimal(Field(line, 1, DecimalMark::kPoint))) continue;
    if (LooksLikeDecimalCommas(line)) *hint = DecimalCommaHint{number, std::string(line)};
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::optional<TableItem> ParseTableItem(std::string_view text, DecimalMark mark) {
  const auto number = [mark](std::string_view written) {
    std::optional<Decimal> value = ParseDecimal(written);
    if (!value && mark == DecimalMark::kComma) value = ParseDecimal(written, mark);
    return value;
  };
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

Status MakeTable(FileSystem& fs, const TextCodec& codec, const TableRequest& request, Table* table,
                 TableSummary* summary) {
  *summary = TableSummary{};
  summary->values = request.items.size();
  Plan plan;
  plan.mode = request.interpolate                 ? ValueMode::kInterpolate
              : request.nearest || request.within ? ValueMode::kNearest
                                                  : ValueMode::kExact;
  if (request.within) plan.within = DistanceBetween(*request.within, Decimal{});
  plan.baseline = request.baseline;
  plan.mark = request.mark;
  plan.column = request.column;

  Table result;
  result.decimalComma = request.mark == DecimalMark::kComma;
  bool onlyExactValues = plan.mode == ValueMode::kExact && request.mark == DecimalMark::kPoint;
  std::vector<double> exactValues;
  for (const std::string& typed : request.items) {
    // An item that is none (the caller checks them) is a value no line holds.
    PlannedItem planned{ParseTableItem(typed, request.mark).value_or(TableItem{Kind::kArea, {1}, {0}})};
    planned.lowValue = ToDouble(planned.item.low);
    planned.highValue = ToDouble(planned.item.high);
    result.header.push_back(typed);
    if (planned.item.NamesLine() || (!planned.item.IsRange() && plan.mode == ValueMode::kNearest)) {
      result.header.push_back(typed + " x");
    }
    onlyExactValues = onlyExactValues && !planned.item.IsRange();
    exactValues.push_back(planned.lowValue);
    plan.items.push_back(planned);
  }

  // Exact values are equal only to numbers written in a few ways, which most lines are told apart
  // from by their first sixteen bytes; other items may take any line.
  const NumberLineSearch mayEqual(exactValues);
  const KeyLineSearch everyLine("");
  const LineSearch& search = onlyExactValues ? static_cast<const LineSearch&>(mayEqual) : everyLine;
  const std::int64_t headerLines = HeaderLineCount(request.skipText);
  for (const std::filesystem::path& name : request.list.FileNames) {
    TableRow row;
    if (Status error = EncodedStem(codec, request.folder, name, &row.stem)) return error;
    row.seriesNumber = LeadingNameNumber(row.stem);
    if (summary->filesRead == 0 && request.mark == DecimalMark::kPoint) {
      if (Status error =
              FindDecimalCommaHint(fs, request.folder / name, headerLines, &summary->decimalCommaHint))
        return error;
    }
    FilePass pass(plan);
    if (Status error = PassOverFile(fs, request.folder / name, search, headerLines, plan, &pass))
      return error;
    ++summary->filesRead;
    pass.Finish(&row.cells, &summary->emptyCells);
    result.rows.push_back(std::move(row));
  }
  *table = std::move(result);
  return std::nullopt;
}

}  // namespace kesmaro
