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

/// The ranges' ends in order, as a file's pass finds where a line's x lies among them: its piece,
/// an end or the open gap between two, and the ranges that hold that piece, so that a line is
/// told only to the ranges it lies in, however many there are.
class RangeLayout {
 public:
  RangeLayout() = default;
  /// The ranges as [low, high] pairs, low at most high.
  explicit RangeLayout(const std::vector<std::pair<Number, Number>>& ranges);

  /// The pieces: 2i + 1 is end i, 2i the open gap below it, and the last the gap above every end.
  std::size_t Pieces() const { return 2 * ends_.size() + 1; }
  /// The piece that x lies in.
  std::size_t PieceOf(const Number& x) const;
  /// The open bounds, as doubles, of gap `piece`: an x whose double lies strictly between them
  /// lies in it.
  std::pair<double, double> GapBounds(std::size_t piece) const;
  /// The ranges that hold `piece`, by their place among the ranges, appended to `ranges`.
  void Holding(std::size_t piece, std::vector<std::uint32_t>* ranges) const;
  /// The piece of a range's low end, and of its high end.
  std::size_t LowPiece(std::size_t range) const { return lowPieces_[range]; }
  std::size_t HighPiece(std::size_t range) const { return highPieces_[range]; }

 private:
  std::vector<Number> ends_;  ///< every end once
  std::vector<std::size_t> lowPieces_;
  std::vector<std::size_t> highPieces_;
  /// The ranges held by each node of a tree over the pieces, a piece's leaf at `leaves_` + piece:
  /// a range is held by the few nodes whose pieces it covers together, so a piece's ranges are
  /// those on its way to the root.
  std::size_t leaves_ = 1;
  std::vector<std::uint32_t> nodeStarts_;  ///< where each node's ranges start in nodeRanges_
  std::vector<std::uint32_t> nodeRanges_;
};

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
  RangeLayout rangeLayout;                        ///< of the range items, in their order
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
