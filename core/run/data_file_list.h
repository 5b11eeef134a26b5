#ifndef KESMARO_CORE_RUN_DATA_FILE_LIST_H_
#define KESMARO_CORE_RUN_DATA_FILE_LIST_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/file_system.h"
#include "core/text/text_codec.h"

namespace kesmaro {

/// The data files of a series: names without the folder, in ascending order of the numbers the
/// names begin with.
struct DataFileList {
  std::vector<std::filesystem::path> FileNames;

  std::size_t FileCount() const { return FileNames.size(); }

  friend bool operator==(const DataFileList&, const DataFileList&) = default;
};

/// A series as the key check, the run and the table read it: its folder, its listed files, and
/// the header lines every file starts with.
struct Series {
  std::filesystem::path folder;
  DataFileList list;
  std::int64_t headerLines = 0;  ///< as the front end read it: 0 or less is none (DataReader::SkipLines)

  friend bool operator==(const Series&, const Series&) = default;
};

/// Lists the plain files of `folder` whose names end in `extension` (".txt" or ".asc", in any
/// case) and orders them by their leading numbers (`LeadingNumber`); names with equal numbers
/// are ordered by name, so the order does not depend on how the file system lists the folder.
Status ListDataFiles(FileSystem& fs, const std::filesystem::path& folder, std::string_view extension,
                     DataFileList* list);

/// Refuses (kOutputIsDataFile) an output path that names one of the listed files of `folder`,
/// however it is spelled, so that no output ever replaces the data it is made from.
Status RefuseDataFileAsOutput(FileSystem& fs, const std::filesystem::path& folder, const DataFileList& list,
                              const std::filesystem::path& output);

/// The stem of the data file `name` in `folder` as the data's code page writes it: what its rows
/// are marked with. A kNameNotInCodePage error naming the file when the page cannot hold the name.
Status EncodedStem(const TextCodec& codec, const std::filesystem::path& folder,
                   const std::filesystem::path& name, std::string* stem);

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_DATA_FILE_LIST_H_
