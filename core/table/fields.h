#ifndef KESMARO_CORE_TABLE_FIELDS_H_
#define KESMARO_CORE_TABLE_FIELDS_H_

// The fields of a table's data line: separated by runs of field separators (IsFieldSeparator),
// leading ones ignored.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/run/data_reader.h"
#include "core/table/decimal.h"

namespace kesmaro {

/// The bytes that separate the fields of a table's data line, in runs: space, tab, comma and
/// semicolon; with decimal commas, where a comma belongs to a number, space, tab and semicolon.
/// They are single ASCII bytes, and no byte of a double-byte character of the code pages we read
/// (GBK, GB18030, Big5, Shift_JIS, UHC, UTF-8) is one of them, so a plain byte scan never cuts a
/// character.
constexpr bool IsFieldSeparator(char ch) { return ch == ' ' || ch == '\t' || ch == ',' || ch == ';'; }
constexpr bool IsFieldSeparator(char ch, DecimalMark mark) {
  return ch == ' ' || ch == '\t' || ch == ';' || (ch == ',' && mark == DecimalMark::kPoint);
}

/// The first position at or after `pos` that is no field separator, or the line's end.
std::size_t SkipFieldSeparators(std::string_view line, std::size_t pos, DecimalMark mark);

/// The end of the field that starts at `pos`.
std::size_t FieldEnd(std::string_view line, std::size_t pos, DecimalMark mark);

/// Where field `k` (from 1) of a line starts; the line's end when the line has fewer fields.
std::size_t FieldStart(std::string_view line, std::size_t k, DecimalMark mark);

/// Field `k` (from 1) of a line; empty when the line has fewer fields.
std::string_view Field(std::string_view line, std::size_t k, DecimalMark mark);

/// The first field of a line longer than a block, whose current part `*line` holds, read on as
/// far as it goes and held whole; `*end` is left after it in the part `*line` then holds. It is
/// left empty when the field holds a byte no decimal number has, which is then read no further.
Status ReadLongFirstField(DataReader& reader, LineView* line, DecimalMark mark, std::string* first,
                          std::size_t* end);

/// Field `k` of a line counted from the field that ends at `pos` of the part `line` holds (k 0),
/// read on and held whole: a cell of a line longer than a block.
Status ReadLongField(DataReader& reader, LineView line, std::size_t pos, std::size_t k, DecimalMark mark,
                     std::string* field);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_FIELDS_H_
