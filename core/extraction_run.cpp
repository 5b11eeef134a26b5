#include "core/extraction_run.h"

#include <memory>
#include <optional>
#include <string_view>

#include "core/data_reader.h"
#include "core/line_rules.h"
#include "core/line_search.h"

namespace kesmaro {
namespace {

/// Appends the rows of one data file; `exactFound` carries across the files of a run.
Status ExtractFile(FileSystem& fs, CharScheme scheme, const std::filesystem::path& path,
                   std::string_view stem, const KeyLineSearch& search, std::int64_t headerLines,
                   bool* exactFound, std::string* output, std::size_t* rows) {
  std::unique_ptr<InputFile> file;
  if (Status error = fs.OpenForReading(path, &file)) return error;
  DataReader reader(*file, path, search);
  if (Status error = reader.SkipLines(headerLines)) return error;
  const std::string_view key = search.key();
  for (;;) {
    std::optional<std::string_view> line;
    if (Status error = reader.NextCandidate(&line)) return error;
    if (!line) return std::nullopt;
    if (const std::optional<CharSpan> hit = ExactHitPosition(*line, key, scheme)) {
      AppendOutputRow(*output, stem, *line, *hit);
      *exactFound = true;
      ++*rows;
    } else if (!*exactFound && BeginsWithKey(*line, key, scheme)) {
      if (const std::optional<CharSpan> first = FirstSeparator(*line, scheme)) {
        AppendOutputRow(*output, stem, *line, *first);
        ++*rows;
      }
    }
  }
}

}  // namespace

Status RunExtraction(FileSystem& fs, const TextCodec& codec, CharScheme scheme, const RunRequest& request,
                     RunSummary* summary) {
  *summary = RunSummary{};
  std::filesystem::path output = request.outputName;
  output += ".txt";
  summary->output = output;

  if (Status error = RefuseDataFileAsOutput(fs, request.folder, request.list, output)) return error;

  const KeyLineSearch search(request.key);
  const std::int64_t headerLines = HeaderLineCount(request.skipText);
  bool exactFound = false;
  std::string text;
  for (const std::filesystem::path& name : request.list.FileNames) {
    const std::filesystem::path path = request.folder / name;
    const std::optional<std::string> encodedName = codec.Encode(name.native());
    if (!encodedName) return Error{ErrorKind::kNameNotInCodePage, path, {}};
    if (Status error = ExtractFile(fs, scheme, path, FileStem(*encodedName), search, headerLines, &exactFound,
                                   &text, &summary->rowsWritten)) {
      return error;
    }
    ++summary->filesRead;
  }

  if (Status error = fs.WriteFileAtomically(output, text)) return error;
  return std::nullopt;
}

}  // namespace kesmaro
