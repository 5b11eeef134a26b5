#include "core/table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "core/data_reader.h"
#include "core/line_rules.h"
#include "core/line_search.h"

namespace kesmaro {
namespace {

/// Field separators are single ASCII bytes. No byte of a double-byte character of the code pages
/// we read (GBK, GB18030, Big5, Shift_JIS, UHC, UTF-8) is one of them, so a plain byte scan never
/// cuts a character.
constexpr bool IsFieldSeparator(char ch) { return ch == ' ' || ch == '\t' || ch == ',' || ch == ';'; }

/// Splits a line into its fields one after another.
class Fields {
 public:
  explicit Fields(std::string_view line) : line_(line) {}

  /// The next field; empty at the end of the line.
  std::string_view Next() {
    while (pos_ < line_.size() && IsFieldSeparator(line_[pos_])) ++pos_;
    const std::size_t start = pos_;
    while (pos_ < line_.size() && !IsFieldSeparator(line_[pos_])) ++pos_;
    return line_.substr(start, pos_ - start);
  }

 private:
  std::string_view line_;
  std::size_t pos_ = 0;
};

constexpr bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

/// A double holds a decimal to some sixteen digits, so two distances that differ by less than a
/// few units in the last place of the numbers they come from are equal as far as the data can
/// tell: the values 549.9 and 550.1 are equally near 550, and 550.21 is within 0.21 of it.
double Slack(double a, double b, double c) {
  return 4 * std::numeric_limits<double>::epsilon() * (std::fabs(a) + std::fabs(b) + std::fabs(c));
}

/// The line chosen for one value in one file.
struct Choice {
  bool chosen = false;
  double number = 0;      ///< the chosen line's first field as a number
  double distance = 0;    ///< from the value
  std::string first;      ///< the first field as written
  std::string cell;       ///< the wanted field; empty when the line has fewer fields
};

/// The value cells and the first fields for one file: what a table row is made of.
class FileLookup {
 public:
  FileLookup(const TableRequest& request, const std::vector<double>& numbers)
      : request_(request), numbers_(numbers), choices_(numbers.size()) {}

  void Consider(std::string_view line) {
    Fields fields(line);
    const std::string_view first = fields.Next();
    const std::optional<double> number = DecimalNumber(first);
    if (!number) return;
    bool cellFound = false;
    std::string_view cell;
    for (std::size_t i = 0; i < numbers_.size(); ++i) {
      Choice& choice = choices_[i];
      const double distance = std::fabs(*number - numbers_[i]);
      if (!Better(choice, *number, distance, numbers_[i])) continue;
      if (!cellFound) {
        cell = Cell(line);
        cellFound = true;
      }
      choice.chosen = true;
      choice.number = *number;
      choice.distance = distance;
      choice.first.assign(first);
      choice.cell.assign(cell);
    }
  }

  const std::vector<Choice>& choices() const { return choices_; }

 private:
  bool Better(const Choice& choice, double number, double distance, double value) const {
    if (std::isnan(value)) return false;  // not a number: never chosen
    if (!Nearest()) return !choice.chosen && number == value;
    if (request_.within && distance > *request_.within + Slack(value, number, *request_.within)) return false;
    return !choice.chosen || distance < choice.distance - Slack(value, number, choice.number);
  }

  bool Nearest() const { return request_.nearest || request_.within; }

  std::string_view Cell(std::string_view line) const {
    Fields fields(line);
    std::string_view field;
    for (std::size_t k = 0; k < request_.column; ++k) {
      field = fields.Next();
      if (field.empty()) break;
    }
    return field;
  }

  const TableRequest& request_;
  const std::vector<double>& numbers_;
  std::vector<Choice> choices_;
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

Status LookUpFile(FileSystem& fs, const std::filesystem::path& path, const KeyLineSearch& everyLine,
                  std::int64_t headerLines, FileLookup* lookup) {
  std::unique_ptr<InputFile> file;
  if (Status error = fs.OpenForReading(path, &file)) return error;
  DataReader reader(*file, path, everyLine);
  if (Status error = reader.SkipLines(headerLines)) return error;
  for (;;) {
    std::optional<std::string_view> line;
    if (Status error = reader.NextCandidate(&line)) return error;
    if (!line) return std::nullopt;
    lookup->Consider(*line);
  }
}

}  // namespace

std::optional<double> DecimalNumber(std::string_view text) {
  std::size_t pos = 0;
  const auto skipDigits = [&] {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos - start;
  };
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::size_t digits = skipDigits();
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    digits += skipDigits();
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (skipDigits() == 0) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  // from_chars takes no '+', and reads the same syntax otherwise, in no locale.
  const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
  double value = 0;
  const std::from_chars_result result = std::from_chars(begin, text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

Status MakeTable(FileSystem& fs, const TextCodec& codec, const TableRequest& request, std::string* csv,
                 TableSummary* summary) {
  *summary = TableSummary{};
  summary->values = request.values.size();
  const bool nearest = request.nearest || request.within;
  std::vector<double> numbers;
  std::string text = "file";
  for (const std::string& value : request.values) {
    numbers.push_back(DecimalNumber(value).value_or(std::numeric_limits<double>::quiet_NaN()));
    text.push_back(',');
    AppendCsvField(text, value);
    if (nearest) {
      text.push_back(',');
      AppendCsvField(text, value + " x");
    }
  }
  text.append("\r\n");

  const KeyLineSearch everyLine("");
  const std::int64_t headerLines = HeaderLineCount(request.skipText);
  for (const std::filesystem::path& name : request.list.FileNames) {
    const std::filesystem::path path = request.folder / name;
    const std::optional<std::string> encodedName = codec.Encode(name.native());
    if (!encodedName) return Error{ErrorKind::kNameNotInCodePage, path, {}};
    FileLookup lookup(request, numbers);
    if (Status error = LookUpFile(fs, path, everyLine, headerLines, &lookup)) return error;
    ++summary->filesRead;

    AppendCsvField(text, FileStem(*encodedName));
    for (const Choice& choice : lookup.choices()) {
      text.push_back(',');
      AppendCsvField(text, choice.cell);
      if (choice.cell.empty()) ++summary->emptyCells;
      if (nearest) {
        text.push_back(',');
        AppendCsvField(text, choice.first);
      }
    }
    text.append("\r\n");
  }
  *csv = std::move(text);
  return std::nullopt;
}

}  // namespace kesmaro
