#include "core/table.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/data_reader.h"
#include "core/line_rules.h"
#include "core/line_search.h"
#include "core/number_line_search.h"

namespace kesmaro {
namespace {

constexpr bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

std::size_t SkipSeparators(std::string_view line, std::size_t pos) {
  while (pos < line.size() && IsFieldSeparator(line[pos])) ++pos;
  return pos;
}

std::size_t FieldEnd(std::string_view line, std::size_t pos) {
  while (pos < line.size() && !IsFieldSeparator(line[pos])) ++pos;
  return pos;
}

/// Field `k` (from 1) of a line; empty when the line has fewer fields.
std::string_view Field(std::string_view line, std::size_t k) {
  std::size_t pos = 0;
  for (;;) {
    const std::size_t start = SkipSeparators(line, pos);
    pos = FieldEnd(line, start);
    if (start == pos || --k == 0) return line.substr(start, pos - start);
  }
}

/// Reads the decimal number at the start of `text` as far as its syntax goes and sets `*end`
/// behind it; nullopt when there is none there, or none a double can hold.
std::optional<double> LeadingDecimal(std::string_view text, std::size_t* end) {
  constexpr std::uint64_t kMantissaLimit = 100'000'000'000'000'000;  // more digits go to from_chars
  std::size_t pos = 0;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::uint64_t mantissa = 0;
  int exponent = 0;
  bool manyDigits = false;
  std::size_t digits = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits) {
    if (mantissa < kMantissaLimit) {
      mantissa = mantissa * 10 + static_cast<unsigned>(text[pos] - '0');
    } else {
      manyDigits = true;
    }
  }
  if (pos < text.size() && text[pos] == '.') {
    for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits) {
      if (mantissa < kMantissaLimit) {
        mantissa = mantissa * 10 + static_cast<unsigned>(text[pos] - '0');
        --exponent;
      } else {
        manyDigits = true;
      }
    }
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    const bool negativeExponent = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    int written = 0;
    const std::size_t start = pos;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
      if (written < 100'000) written = written * 10 + (text[pos] - '0');
    }
    if (pos == start) return std::nullopt;
    exponent += negativeExponent ? -written : written;
  }
  *end = pos;

  // Clinger's fast path: a mantissa below 2^53 and a power of ten up to 10^22 are both exact
  // doubles, so one multiplication or division rounds the decimal correctly, as from_chars does.
  // That holds where doubles are evaluated as doubles (FLT_EVAL_METHOD 0), not on the x87.
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (FLT_EVAL_METHOD == 0 && !manyDigits && mantissa <= (std::uint64_t{1} << 53) && exponent >= -22 &&
      exponent <= 22) {
    const auto exact = static_cast<double>(mantissa);
    const double value = exponent < 0 ? exact / kPowers[-exponent] : exact * kPowers[exponent];
    return negative ? -value : value;
  }
  // from_chars takes no '+', and reads the same syntax otherwise, in no locale.
  const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
  double value = 0;
  const std::from_chars_result result = std::from_chars(begin, text.data() + pos, value);
  if (result.ec != std::errc() || result.ptr != text.data() + pos) return std::nullopt;
  return value;
}

/// A double holds a decimal to some sixteen digits, so two distances that differ by less than a
/// few units in the last place of the numbers they come from are equal as far as the data can
/// tell: the values 549.9 and 550.1 are equally near 550, and 550.21 is within 0.21 of it.
double Slack(double a, double b, double c) {
  return 4 * std::numeric_limits<double>::epsilon() * (std::fabs(a) + std::fabs(b) + std::fabs(c));
}

/// Looks every value up in the lines of one file, as they pass by.
class FileLookup {
 public:
  /// The line chosen for one value: its first field as a number and as written, and its cell.
  struct Choice {
    bool chosen = false;
    double number = 0;
    double distance = 0;  ///< from the value
    std::size_t record = 0;
    std::size_t firstSize = 0;
    std::size_t cellSize = 0;
  };

  FileLookup(const TableRequest& request, const std::vector<double>& values)
      : request_(request), values_(values), choices_(values.size()) {}

  /// The first field of a line (or of the first part of one, `whole` false) when some value takes
  /// the line; nullopt otherwise. A first field that runs on past the part is taken for none.
  std::optional<std::string_view> Wanted(std::string_view line, bool whole) {
    const std::size_t start = SkipSeparators(line, 0);
    const std::string_view rest = line.substr(start);
    std::size_t end = 0;
    const std::optional<double> number = LeadingDecimal(rest, &end);
    if (!number || (end < rest.size() ? !IsFieldSeparator(rest[end]) : !whole)) return std::nullopt;
    for (std::size_t i = 0; i < values_.size(); ++i) {
      if (Better(choices_[i], *number, std::fabs(*number - values_[i]), values_[i])) {
        number_ = *number;
        return rest.substr(0, end);
      }
    }
    return std::nullopt;
  }

  /// Takes the line Wanted last said yes to, with its first field and its cell.
  void Take(std::string_view first, std::string_view cell) {
    Record(first, cell);
    for (std::size_t i = 0; i < values_.size(); ++i) {
      Choice& choice = choices_[i];
      const double distance = std::fabs(number_ - values_[i]);
      if (!Better(choice, number_, distance, values_[i])) continue;
      choice = Choice{true, number_, distance, lastRecord_, lastFirstSize_, lastCellSize_};
    }
  }

  std::size_t column() const { return request_.column; }

  const std::vector<Choice>& choices() const { return choices_; }
  std::string_view First(const Choice& choice) const {
    return std::string_view(records_).substr(choice.record, choice.firstSize);
  }
  std::string_view Cell(const Choice& choice) const {
    return std::string_view(records_).substr(choice.record + choice.firstSize, choice.cellSize);
  }

 private:
  bool Better(const Choice& choice, double number, double distance, double value) const {
    if (!request_.nearest && !request_.within) return !choice.chosen && number == value;
    if (std::isnan(value)) return false;  // not a number: never chosen
    if (choice.chosen && distance >= choice.distance) return false;
    if (request_.within && distance > *request_.within + Slack(value, number, *request_.within)) return false;
    return !choice.chosen || distance < choice.distance - Slack(value, number, choice.number);
  }

  /// Keeps a copy of a chosen line's first field and cell, since the line itself goes with the
  /// next one. Copies no choice refers to any more are dropped from time to time, so the store
  /// stays in proportion to the values, not to the file.
  void Record(std::string_view first, std::string_view cell) {
    if (records_.size() > compactAt_) Compact();
    lastRecord_ = records_.size();
    lastFirstSize_ = first.size();
    lastCellSize_ = cell.size();
    records_.append(first);
    records_.append(cell);
  }

  void Compact() {
    std::string kept;
    std::vector<std::pair<std::size_t, std::size_t>> moved;  // old record, new record
    for (Choice& choice : choices_) {
      if (!choice.chosen) continue;
      std::size_t to = kept.size();
      bool found = false;
      for (const auto& [from, where] : moved) {
        if (from == choice.record) {
          to = where;
          found = true;
        }
      }
      if (!found) {
        kept.append(records_, choice.record, choice.firstSize + choice.cellSize);
        moved.emplace_back(choice.record, to);
      }
      choice.record = to;
    }
    records_ = std::move(kept);
    compactAt_ = 2 * records_.size() + kCompactFloor;
  }

  static constexpr std::size_t kCompactFloor = 64 * 1024;

  const TableRequest& request_;
  const std::vector<double>& values_;
  std::vector<Choice> choices_;
  std::string records_;
  std::size_t compactAt_ = kCompactFloor;
  double number_ = 0;  ///< the first field of the line Wanted last said yes to
  std::size_t lastRecord_ = 0;
  std::size_t lastFirstSize_ = 0;
  std::size_t lastCellSize_ = 0;
};

/// Appends one CSV field, quoted when it holds a comma, a double quote, a CR or an LF.
void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.append(field);
    return;
  }
  out.push_back('"');
  for (const char ch : field) {
    if (ch == '"') out.push_back('"');
    out.push_back(ch);
  }
  out.push_back('"');
}

/// The cell of a line longer than a block, which `line` holds the first part of, the first field
/// ending at `firstEnd`: the parts are read on to field `column`, and only that field is kept.
Status LongLineCell(DataReader& reader, LineView line, std::size_t firstEnd, std::size_t column,
                    std::string* cell) {
  std::size_t field = 1;
  bool inField = true;
  std::size_t pos = firstEnd;
  for (;;) {
    for (; pos < line.text.size() && field <= column; ++pos) {
      const char ch = line.text[pos];
      if (IsFieldSeparator(ch)) {
        inField = false;
        continue;
      }
      if (!inField) {
        inField = true;
        ++field;
      }
      if (field == column) cell->push_back(ch);
    }
    if (line.whole || field > column) return std::nullopt;
    if (Status error = reader.ReadOn(line.text.size(), &line)) return error;
    pos = 0;
  }
}

/// Looks the values up in the lines of one file that `search` takes.
Status LookUpFile(FileSystem& fs, const std::filesystem::path& path, const LineSearch& search,
                  std::int64_t headerLines, FileLookup* lookup) {
  return ForEachLineTaken(
      fs, path, search, headerLines, [lookup](DataReader& reader, const LineView& line, bool*) -> Status {
        const std::optional<std::string_view> first = lookup->Wanted(line.text, line.whole);
        if (!first) return std::nullopt;  // the reader passes over the rest of a long line
        if (line.whole || lookup->column() == 1) {
          lookup->Take(*first, Field(line.text, lookup->column()));
          return std::nullopt;
        }
        // A line longer than a block: its first field is in its first part, and its cell may be
        // anywhere after. The first field is copied, since reading on moves the part.
        const std::string firstField(*first);
        std::string cell;
        const std::size_t firstEnd =
            static_cast<std::size_t>(first->data() - line.text.data()) + first->size();
        if (Status error = LongLineCell(reader, line, firstEnd, lookup->column(), &cell)) return error;
        lookup->Take(firstField, cell);
        return std::nullopt;
      });
}

}  // namespace

std::optional<double> DecimalNumber(std::string_view text) {
  std::size_t end = 0;
  const std::optional<double> number = LeadingDecimal(text, &end);
  if (!number || end != text.size()) return std::nullopt;
  return number;
}

Status MakeTable(FileSystem& fs, const TextCodec& codec, const TableRequest& request, std::string* csv,
                 TableSummary* summary) {
  *summary = TableSummary{};
  summary->values = request.values.size();
  const bool nearest = request.nearest || request.within;
  std::vector<double> values;
  std::string text = "file";
  for (const std::string& value : request.values) {
    values.push_back(DecimalNumber(value).value_or(std::numeric_limits<double>::quiet_NaN()));
    text.push_back(',');
    AppendCsvField(text, value);
    if (nearest) {
      text.push_back(',');
      AppendCsvField(text, value + " x");
    }
  }
  text.append("\r\n");

  // Exact values are equal only to numbers written in a few ways, which most lines are told apart
  // from by their first sixteen bytes; the nearest line may be any line.
  const NumberLineSearch mayEqual(values);
  const KeyLineSearch everyLine("");
  const LineSearch& search = nearest ? static_cast<const LineSearch&>(everyLine) : mayEqual;
  const std::int64_t headerLines = HeaderLineCount(request.skipText);
  for (const std::filesystem::path& name : request.list.FileNames) {
    std::string stem;
    if (Status error = EncodedStem(codec, request.folder, name, &stem)) return error;
    FileLookup lookup(request, values);
    if (Status error = LookUpFile(fs, request.folder / name, search, headerLines, &lookup)) return error;
    ++summary->filesRead;

    AppendCsvField(text, stem);
    for (const FileLookup::Choice& choice : lookup.choices()) {
      text.push_back(',');
      AppendCsvField(text, lookup.Cell(choice));
      if (lookup.Cell(choice).empty()) ++summary->emptyCells;
      if (nearest) {
        text.push_back(',');
        AppendCsvField(text, lookup.First(choice));
      }
    }
    text.append("\r\n");
  }
  *csv = std::move(text);
  return std::nullopt;
}

}  // namespace kesmaro
