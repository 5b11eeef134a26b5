#include "core/table/table.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/run/line_rules.h"
#include "core/run/parallel_for.h"
#include "core/table/decimal_comma_hint.h"
#include "core/table/file_pass.h"

namespace kesmaro {

Status MakeTable(FileSystem& fs, const TextCodec& codec, const TableRequest& request, Table* table,
                 TableSummary* summary) {
  *summary = TableSummary{};
  summary->values = request.items.size();
  const Plan plan = PlanOf(request);
  Table result;
  result.decimalComma = request.mark == DecimalMark::kComma;
  for (const TableItem& item : request.items) {
    result.header.push_back(item.typed);
    if (item.NamesLine() || (!item.IsRange() && plan.mode == ValueMode::kNearest))
      result.header.push_back(item.typed + " x");
  }
  const std::int64_t headerLines = request.series.headerLines;
  const std::vector<std::filesystem::path>& names = request.series.list.FileNames;
  // The files are passed over side by side, each into its own row; the first failure in list
  // order is the one reported, as a loop over them would find it.
  std::vector<Status> failures(names.size());
  std::vector<FileRow> rows(names.size());
  result.rows.resize(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    TableRow& row = result.rows[i];
    failures[i] = EncodedStem(codec, request.series.folder, names[i], &row.stem);
    row.seriesNumber = LeadingNameNumber(row.stem);
  }
  ParallelFor(names.size(), [&](std::size_t i) {
    if (failures[i]) return false;
    const std::filesystem::path path = request.series.folder / names[i];
    if (i == 0 && request.mark == DecimalMark::kPoint) {
      failures[i] = FindDecimalCommaHint(fs, path, headerLines, &summary->decimalCommaHint);
      if (failures[i]) return false;
    }
    failures[i] = ReadFileRow(fs, path, headerLines, plan, &rows[i]);
    return !failures[i];
  });
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (failures[i]) return failures[i];
    ++summary->filesRead;
    summary->emptyCells += rows[i].emptyCells;
    summary->pointsHeld = std::max(summary->pointsHeld, rows[i].pointsHeld);
    result.rows[i].cells = std::move(rows[i].cells);
  }
  *table = std::move(result);
  return std::nullopt;
}

}  // namespace kesmaro
