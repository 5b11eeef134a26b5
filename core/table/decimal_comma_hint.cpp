#include "core/table/decimal_comma_hint.h"

#include <string>
#include <string_view>

#include "core/run/data_reader.h"
#include "core/run/line_search.h"
#include "core/table/decimal.h"
#include "core/table/fields.h"

namespace kesmaro {
namespace {

/// Takes every line, empty ones too, so that the lines handed over can be counted.
class EveryLineSearch final : public LineSearch {
 public:
  std::size_t Find(const char*, std::size_t from, std::size_t) override { return from; }
  std::size_t Reach() const override { return 0; }
};

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

}  // namespace

Status FindDecimalCommaHint(FileSystem& fs, const std::filesystem::path& path, std::int64_t headerLines,
                            std::optional<DecimalCommaHint>* hint) {
  EveryLineSearch everyLine;
  std::size_t number = static_cast<std::size_t>(std::max<std::int64_t>(headerLines, 0));
  std::size_t read = 0;
  return ForEachLineTaken(fs, path, everyLine, headerLines,
                          [&](DataReader&, const LineView& line, bool* stop) -> Status {
                            ++number;
                            read += line.text.size() + 1;
                            // A line longer than a block, or past the first 64 KiB, is looked at no more.
                            *stop = !line.whole || read > 64 * 1024;
                            if (*stop || !ParseDecimal(Field(line.text, 1, DecimalMark::kPoint)))
                              return std::nullopt;
                            if (LooksLikeDecimalCommas(line.text))
                              *hint = DecimalCommaHint{number, std::string(line.text)};
                            *stop = true;
                            return std::nullopt;
                          });
}

}  // namespace kesmaro
