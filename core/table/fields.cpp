#include "core/table/fields.h"

#include "core/run/line_rules.h"

namespace kesmaro {
namespace {

/// A byte that may stand in a decimal number.
bool MayBeInNumber(char ch, DecimalMark mark) {
  return IsDigit(ch) || ch == static_cast<char>(mark) || ch == '+' || ch == '-' || ch == 'e' || ch == 'E';
}

}  // namespace

std::size_t SkipFieldSeparators(std::string_view line, std::size_t pos, DecimalMark mark) {
  while (pos < line.size() && IsFieldSeparator(line[pos], mark)) ++pos;
  return pos;
}

std::size_t FieldEnd(std::string_view line, std::size_t pos, DecimalMark mark) {
  while (pos < line.size() && !IsFieldSeparator(line[pos], mark)) ++pos;
  return pos;
}

std::size_t FieldStart(std::string_view line, std::size_t k, DecimalMark mark) {
  std::size_t start = SkipFieldSeparators(line, 0, mark);
  for (std::size_t field = 2; field <= k && start < line.size(); ++field)
    start = SkipFieldSeparators(line, FieldEnd(line, start, mark), mark);
  return start;
}

std::string_view Field(std::string_view line, std::size_t k, DecimalMark mark) {
  const std::size_t start = FieldStart(line, k, mark);
  return line.substr(start, FieldEnd(line, start, mark) - start);
}

Status ReadLongFirstField(DataReader& reader, LineView* line, DecimalMark mark, std::string* first,
                          std::size_t* end) {
  first->clear();
  bool started = false;
  std::size_t pos = 0;
  for (;;) {
    for (; pos < line->text.size(); ++pos) {
      const char ch = line->text[pos];
      if (IsFieldSeparator(ch, mark)) {
        if (!started) continue;
        *end = pos;
        return std::nullopt;
      }
      if (!MayBeInNumber(ch, mark)) {
        first->clear();
        *end = pos;
        return std::nullopt;
      }
      started = true;
      first->push_back(ch);
    }
    if (line->whole) {
      *end = pos;
      return std::nullopt;
    }
    if (Status error = reader.ReadOn(line->text.size(), line)) return error;
    pos = 0;
  }
}

Status ReadLongField(DataReader& reader, LineView line, std::size_t pos, std::size_t k, DecimalMark mark,
                     std::string* field) {
  field->clear();
  std::size_t counted = 0;
  bool inField = true;
  for (;;) {
    for (; pos < line.text.size() && counted <= k; ++pos) {
      const char ch = line.text[pos];
      if (IsFieldSeparator(ch, mark)) {
        inField = false;
        continue;
      }
      if (!inField) {
        inField = true;
        ++counted;
      }
      if (counted == k) field->push_back(ch);
    }
    if (line.whole || counted > k) return std::nullopt;
    if (Status error = reader.ReadOn(line.text.size(), &line)) return error;
    pos = 0;
  }
}

}  // namespace kesmaro
