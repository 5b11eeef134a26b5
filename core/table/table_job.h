#ifndef KESMARO_CORE_TABLE_TABLE_JOB_H_
#define KESMARO_CORE_TABLE_TABLE_JOB_H_

// The table and the files it goes to, as one job: what `kesmaro-cli table` and the table window
// run, so that both check, read and write alike.

#include <filesystem>
#include <string>

#include "core/error.h"
#include "core/file_system.h"
#include "core/table/table.h"
#include "core/text/code_page.h"
#include "core/text/text_codec.h"

namespace kesmaro {

/// The name of a table's outputs when the user names none: table.csv, and table.svg for its chart.
inline constexpr char kDefaultTableName[] = "table";

/// A table request and where its outputs go.
struct TableJob {
  TableRequest request;
  /// NAME, without ".csv": the table goes to NAME.csv. A path, which may lead into another folder;
  /// its last part is one plain file name. Empty: the table is only returned, for standard output.
  std::filesystem::path output;
  /// The chart goes to NAME.svg too, or to table.svg in the working folder when `output` is empty.
  bool plot = false;
  /// How the system's own text of the names groups into characters, for their checks.
  CharScheme nameScheme = CharScheme::kUtf8;

  friend bool operator==(const TableJob&, const TableJob&) = default;
};

struct TableJobResult {
  Table table;
  TableSummary summary;
  /// The table's CSV as TableCsv makes it, in the data code page: UTF-8 for UTF-16 data, whose
  /// file and standard output (EncodeOutput) get it as UTF-16.
  std::string csv;
  std::filesystem::path csvPath;    ///< where the CSV goes; empty for standard output
  std::filesystem::path chartPath;  ///< where the chart goes (WriteTableChart); empty without `plot`
};

/// Runs `job` over the series as the data's code page `codec` reads it: first prepares the
/// outputs' names (PrepareOutput: the CSV's, then with `plot` the chart's), so that a name
/// refused, or one of the data files, is refused before anything is read; then makes the table
/// (MakeTable) and writes its CSV as one step, both through the series' DataFileSystem, so that
/// UTF-16 data get a UTF-16 table. On failure nothing is written, and `*result` holds what was
/// done before it: the table, when only writing it failed. The chart is the caller's to write,
/// since a failure to write it leaves the table in place.
Status RunTableJob(FileSystem& fs, const TextCodec& codec, const TableJob& job, TableJobResult* result);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_TABLE_JOB_H_
