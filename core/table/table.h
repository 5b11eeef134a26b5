#ifndef KESMARO_CORE_TABLE_TABLE_H_
#define KESMARO_CORE_TABLE_TABLE_H_

// The table: values looked up, and measures taken over ranges, in every file of a series, a
// column each.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/file_system.h"
#include "core/run/data_file_list.h"
#include "core/table/decimal.h"
#include "core/table/fields.h"
#include "core/table/table_item.h"
#include "core/text/text_codec.h"

namespace kesmaro {

struct TableRequest {
  Series series;
  std::vector<TableItem> items;        ///< each read by ParseTableItem, and written as typed
  std::size_t column = 2;              ///< the field a cell holds, counted from 1
  bool nearest = false;                ///< values take the nearest line when no line holds them
  std::optional<Decimal> within = {};  ///< values take only lines at most this far away; implies nearest
  bool interpolate = false;            ///< values take y on the line between the lines either side
  bool baseline = false;               ///< range measures less the straight line between the range's ends
  DecimalMark mark = DecimalMark::kPoint;
  /// Every line read in full, none passed over by the searches: slower, and the table the fast
  /// searches must equal, so that they can be checked against it.
  bool readEveryLine = false;

  /// Equal requests make equal tables: the window's and the command line's are held to that.
  friend bool operator==(const TableRequest&, const TableRequest&) = default;
};

struct TableRow {
  std::string stem;  ///< the file's stem, in the data code page
  std::optional<double>
      seriesNumber;                ///< the file's leading number, which orders the series; nullopt if none
  std::vector<std::string> cells;  ///< one per column, as written or computed, data code page; "" = empty
};

struct Table {
  std::vector<std::string> header;  ///< column headers after "file", as typed (plus " x" columns)
  std::vector<TableRow> rows;
  bool decimalComma = false;  ///< computed cells were written with a decimal comma
};

/// A line of the first file that reads as numbers written with decimal commas while the table
/// reads decimal points: `550,5;0,418`.
struct DecimalCommaHint {
  std::size_t lineNumber = 0;  ///< from 1, header lines included
  std::string line;            ///< in the data code page
};

struct TableSummary {
  std::size_t filesRead = 0;
  std::size_t values = 0;      ///< items
  std::size_t emptyCells = 0;  ///< item cells left empty (the " x" columns not counted)
  std::size_t pointsHeld = 0;  ///< the most points inside ranges that one file's pass held
  std::optional<DecimalCommaHint> decimalCommaHint;
};

/// Builds the table: a row per listed file, in list order, and a column per item, in the order
/// typed, each headed by the item as typed.
///
/// A data line's fields are separated by runs of field separators (IsFieldSeparator); lines whose
/// first field is not a decimal number, and the header lines, are passed over. The others count,
/// and their first field is their x; their cell is field `column`, unchanged. Numbers are compared
/// as the decimals they are written as (Decimal): exactly up to 19 significant digits, and so
/// are the distances between them (DistanceBetween), except where one number's digits end more
/// than 18 places below the other's: that one is cut there, so `1e-400` and `0` are equally near
/// `1` (and the first line wins). A value X takes:
/// - by default, the first line whose x equals X;
/// - with `nearest`, the nearest line (the first of equally near ones); with `within`, only lines
///   at most that far; each such value has a column "X x" of the chosen line's x as written;
/// - with `interpolate`, the first line whose x equals X, or the first two consecutive lines
///   whose x lie either side of X, whichever comes first: y at X on the straight line between
///   them; empty when either cell is no number.
/// A range item measures the counted lines whose x lies in [X1, X2] and whose cell is a number:
/// `area` the trapezoidal area in order of x, equal x in file order (RangeCurve), the curve cut at
/// each end the data go on past;
/// `max`, `min` the largest, smallest cell, as written (the first of equal ones), with a column
/// "max:X1:X2 x" of that line's x as written; `mean` the cells' mean. With `baseline`, area, max
/// and min are taken above the straight line between the curve's two ends. Empty when no line
/// lies in the range. Computed cells are the shortest decimal that reads back as their double,
/// with the request's decimal mark.
///
/// Every file is read once, whatever the number of items (twice only when its x turns inside an
/// area's range after running up there), and the files are read side by side,
/// a thread a processor (ParallelFor): `fs` opens files from several threads at once. The rows,
/// and the failure returned, are those of reading the files one after another in list order.
/// Memory grows with files times items, and with the lines within the ranges of `max` and `min`
/// with `baseline`, and of `area` items in a file whose x does not run up inside their range (an
/// area is summed as its lines come while x runs up; a file in no order is read twice): those
/// are held as two doubles each, once however many ranges hold them; of a line longer than
/// the reader's block only its first field and its cell are held. Without decimal commas, a hint is given
/// when the first counted line of the first file reads as decimal commas (see DecimalCommaHint).
Status MakeTable(FileSystem& fs, const TextCodec& codec, const TableRequest& request, Table* table,
                 TableSummary* summary);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_TABLE_H_
