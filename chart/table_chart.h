#ifndef KESMARO_CHART_TABLE_CHART_H_
#define KESMARO_CHART_TABLE_CHART_H_

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "chart/chart_layout.h"
#include "core/error.h"
#include "core/file_system.h"
#include "core/table/decimal.h"
#include "core/table/table.h"
#include "core/text/text_codec.h"

namespace kesmaro {

/// What the chart of a table draws, and what it leaves out.
struct TableChart {
  ChartInput input;
  std::vector<std::string> withoutNumbers;  ///< headers (UTF-8) of the columns no cell of which is a number
};

/// The decimal number a cell is wholly written as (ParseDecimal): an optional sign, digits with an
/// optional fraction, an optional exponent; with `decimalComma` the fraction starts at a comma.
/// nullopt for anything else.
std::optional<Decimal> CellNumber(const std::string& cell, bool decimalComma);

/// The chart of `table`, made from the series in `folder`: a panel per column that holds a
/// number (CellNumber), headed by the column's header in UTF-8; a cell that is empty or no number
/// is a gap. A column with a number beyond a double (`1e400`) has its values in units of the power
/// of ten of its largest; one nearer 0 than a double reaches (`1e-400`) is 0. The x values are the
/// files' leading numbers when every file has one, and their positions 1 to N otherwise. The
/// title is the folder's name.
TableChart ChartOfTable(const Table& table, const TextCodec& codec, const std::filesystem::path& folder);

/// Draws the chart of `table` (ChartOfTable) and writes it to `path` as one step, through `fs`
/// itself: an SVG is UTF-8 whatever the data's code page. `*chart` is what was drawn, set even
/// when writing fails.
Status WriteTableChart(FileSystem& fs, const TextCodec& codec, const Table& table,
                       const std::filesystem::path& folder, const std::filesystem::path& path,
                       TableChart* chart);

}  // namespace kesmaro

#endif  // KESMARO_CHART_TABLE_CHART_H_
