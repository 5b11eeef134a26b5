#ifndef KESMARO_CORE_RUN_KEY_LINES_H_
#define KESMARO_CORE_RUN_KEY_LINES_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/error.h"
#include "core/file_system.h"
#include "core/run/data_file_list.h"
#include "core/run/data_reader.h"
#include "core/run/line_rules.h"
#include "core/text/code_page.h"

namespace kesmaro {

/// What the key check and the run read: the key, and the series it is looked up in.
struct SeriesRequest {
  std::string key;  ///< in the data code page
  Series series;
};

/// A line that holds the key, as ForEachKeyLine hands it over.
struct KeyLine {
  DataReader& reader;  ///< reads on within the line (DataReader::ReadOn)
  LineView line;
  std::optional<CharSpan> exact;  ///< the separator after the key when the key is its first column
  bool stop = false;              ///< set to end the walk after this line
};

/// Opens `path`, passes over `headerLines` lines and hands `visit` every following line that
/// begins with the key (exactly or as a prefix), in file order, until the end of the file, a
/// failure, or a line whose `stop` the visitor set.
Status ForEachKeyLine(FileSystem& fs, const std::filesystem::path& path, KeyLineSearch& search,
                      std::int64_t headerLines, CharScheme scheme,
                      const std::function<Status(KeyLine&)>& visit);

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_KEY_LINES_H_
