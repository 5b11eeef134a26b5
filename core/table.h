#ifndef KESMARO_CORE_TABLE_H_
#define KESMARO_CORE_TABLE_H_

// The table: several values looked up as numbers in every file of a series, one CSV column each.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_file_list.h"
#include "core/error.h"
#include "core/file_system.h"
#include "core/text_codec.h"

namespace kesmaro {

/// The value of a text that is wholly a decimal number: an optional sign, digits with an optional
/// fraction (or a fraction alone, `.5`), and an optional exponent (`e` or `E`, an optional sign,
/// digits). Nothing else, no blanks, and nothing a double cannot hold; nullopt otherwise.
std::optional<double> DecimalNumber(std::string_view text);

struct TableRequest {
  std::filesystem::path folder;
  DataFileList list;
  std::string skipText;             ///< the header-line count as the user typed it
  std::vector<std::string> values;  ///< as typed, in the data code page; each a DecimalNumber
  std::size_t column = 2;           ///< the field a cell holds, counted from 1
  bool nearest = false;             ///< take the nearest line when no line holds the value
  std::optional<double> within = {};  ///< only lines at most this far away count; implies nearest
};

struct TableSummary {
  std::size_t filesRead = 0;
  std::size_t values = 0;
  std::size_t emptyCells = 0;  ///< value cells left empty: no line chosen, or too few fields
};

/// Builds the table as CSV (RFC 4180, CR LF rows) in the data code page: a header row
/// `file,X1,X2,...`, then one row per listed file, in list order, of its stem and one cell per
/// value. A data line's fields are separated by runs of spaces, tabs, commas and semicolons;
/// lines whose first field is not a DecimalNumber, and the header lines, are passed over. A value
/// picks the first line whose first field equals it as a number, or with `nearest` the nearest
/// line (the first of equally near ones), and its cell is that line's field `column`, unchanged.
/// With `nearest` every value also gets a column "X x" of the chosen line's first field. Every
/// file is read once, whatever the number of values; memory grows with files times values. Of a
/// line longer than the reader's block only its first field and its cell are kept, the cell
/// whole, as it goes into the table; a first field that does not end within the line's first
/// block is taken for no number.
Status MakeTable(FileSystem& fs, const TextCodec& codec, const TableRequest& request, std::string* csv,
                 TableSummary* summary);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_H_
