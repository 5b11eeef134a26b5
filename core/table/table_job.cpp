#include "core/table/table_job.h"

#include <utility>

#include "core/run/output_name.h"
#include "core/table/csv.h"
#include "core/text/data_encoding.h"

namespace kesmaro {

Status RunTableJob(FileSystem& fs, const TextCodec& codec, const TableJob& job, TableJobResult* result) {
  *result = TableJobResult{};
  const Series& series = job.request.series;
  std::filesystem::path csvPath, chartPath;
  if (!job.output.empty()) {
    if (Status error =
            PrepareOutput(fs, series.folder, series.list, job.output, ".csv", job.nameScheme, &csvPath))
      return error;
  }
  // The chart is a file even when the table goes to standard output, which has no room for one.
  if (job.plot) {
    const std::filesystem::path name = job.output.empty() ? kDefaultTableName : job.output;
    if (Status error =
            PrepareOutput(fs, series.folder, series.list, name, ".svg", job.nameScheme, &chartPath))
      return error;
  }

  DataFileSystem data(fs, codec.Page());
  TableSummary summary;  // kept only of a table made
  if (Status error = MakeTable(data, codec, job.request, &result->table, &summary)) return error;
  result->summary = std::move(summary);
  result->csv = TableCsv(result->table);
  result->csvPath = csvPath;
  result->chartPath = chartPath;
  if (!csvPath.empty()) return data.WriteFileAtomically(csvPath, result->csv);
  return std::nullopt;
}

}  // namespace kesmaro
