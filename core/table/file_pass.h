#ifndef KESMARO_CORE_TABLE_FILE_PASS_H_
#define KESMARO_CORE_TABLE_FILE_PASS_H_

// One file's pass for the table: what each item takes from the file's lines as they come, and
// the row of cells it makes of them.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/file_system.h"
#include "core/table/number_line_search.h"
#include "core/table/table.h"
#include "core/table/table_numbers.h"

namespace kesmaro {

/// An item with what a file's pass needs of it.
struct PlannedItem {
  TableItem item;
  Number low;
  Number high;
};

enum class ValueMode { kExact, kNearest, kInterpolate };

/// Which search passes over the lines no item can take: one for each kind of items alone, or
/// none, so that every line is read.
enum class PlanSearch { kEveryLine, kExactValues, kNearestValues, kInterpolatedValues, kRanges };

/// What every file's pass shares: the items, how they read the lines, and the search.
struct Plan {
  std::vector<PlannedItem> items;
  ValueMode mode = ValueMode::kExact;
  std::optional<Number> within;  ///< as a number of that distance from 0
  bool baseline = false;
  DecimalMark mark = DecimalMark::kPoint;
  std::size_t column = 2;
  PlanSearch search = PlanSearch::kEveryLine;
  std::vector<double> values;                     ///< each item's X, or its range's lower end
  std::vector<std::pair<double, double>> ranges;  ///< each item's range; X to X for a value
  /// For exact values, the lines that may equal one, which every file's search shares: equal only
  /// to numbers written in a few ways, most lines are told apart by their first sixteen bytes.
  std::optional<NumberLineSearch> mayEqual;
};

/// The plan of a request.
Plan PlanOf(const TableRequest& request);

/// One file's row.
struct FileRow {
  std::vector<std::string> cells;  ///< a cell per column, " x" columns included
  std::size_t emptyCells = 0;      ///< item cells left empty
  std::size_t pointsHeld = 0;      ///< points inside ranges held at once
};

/// Reads the file at `path`, after its `headerLines`, into its row: once, or a second time holding
/// the areas' points when its x turns inside an area's range after running up there.
Status ReadFileRow(FileSystem& fs, const std::filesystem::path& path, std::int64_t headerLines,
                   const Plan& plan, FileRow* row);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_FILE_PASS_H_
