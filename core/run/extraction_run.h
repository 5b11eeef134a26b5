#ifndef KESMARO_CORE_RUN_EXTRACTION_RUN_H_
#define KESMARO_CORE_RUN_EXTRACTION_RUN_H_

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "core/error.h"
#include "core/file_system.h"
#include "core/run/data_file_list.h"
#include "core/run/key_lines.h"
#include "core/text/code_page.h"
#include "core/text/text_codec.h"

namespace kesmaro {

struct RunRequest : SeriesRequest {
  std::filesystem::path
      outputName;  ///< ".txt" is appended; a relative name is taken from the working directory
  /// How the system's own text of `outputName` groups into characters (PrepareOutput).
  CharScheme nameScheme = CharScheme::kUtf8;
};

struct RunSummary {
  std::size_t filesRead = 0;
  std::size_t rowsWritten = 0;
  std::filesystem::path output;  ///< the file written
};

/// Told after each data file of a run was read: how many were, of how many listed.
using RunProgress = std::function<void(std::size_t filesRead, std::size_t filesListed)>;

/// Consolidates the series: from every listed file, in list order, each line after the header
/// lines whose first column holds the key becomes a row "stem remainder" + CR LF; until the run
/// meets its first such exact line, lines that merely begin with the key become rows too, cut at
/// their first separator. The output file is replaced only once every data file was read, and
/// as one step, so a failure leaves an existing output as it was. An output that PrepareOutput
/// refuses (a name that is no plain file name, or one of the data files) is refused before
/// anything is read. The files are read side by side, a thread a processor (ParallelFor), so `fs`
/// opens files from several threads at once; `progress`, when given, is told on the caller's
/// thread, after each file in list order.
Status RunExtraction(FileSystem& fs, const TextCodec& codec, const RunRequest& request, RunSummary* summary,
                     const RunProgress& progress = {});

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_EXTRACTION_RUN_H_
