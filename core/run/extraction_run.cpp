#include "core/run/extraction_run.h"

#include <optional>
#include <string_view>

#include "core/run/data_reader.h"
#include "core/run/line_rules.h"
#include "core/run/output_name.h"

namespace kesmaro {
namespace {

/// Finds the first separator of a line, reading on as far as it takes; `*line` is then the part
/// that holds it.
Status FindFirstSeparator(DataReader& reader, CharScheme scheme, LineView* line,
                          std::optional<CharSpan>* separator) {
  for (;;) {
    std::size_t pos = 0;
    *separator = NextSeparator(line->text, &pos, line->whole, scheme);
    if (*separator || line->whole) return std::nullopt;
    if (Status error = reader.ReadOn(pos, line)) return error;
  }
}

/// Appends the output row of a line whose first column ends at `separator`: the stem, a space,
/// the rest of the line unchanged, read on to its end however long it is, and CR LF.
Status AppendRow(DataReader& reader, LineView line, CharSpan separator, std::string_view stem,
                 std::string* output) {
  output->append(stem);
  output->push_back(' ');
  for (std::size_t consumed = separator.offset + separator.length;; consumed = line.text.size()) {
    if (Status error = reader.ReadOn(consumed, &line)) return error;
    output->append(line.text);
    if (line.whole) break;
  }
  output->append("\r\n");
  return std::nullopt;
}

/// Appends the rows of one data file; `exactFound` carries across the files of a run.
Status ExtractFile(FileSystem& fs, CharScheme scheme, const std::filesystem::path& path,
                   std::string_view stem, KeyLineSearch& search, std::int64_t headerLines, bool* exactFound,
                   std::string* output, std::size_t* rows) {
  return ForEachKeyLine(fs, path, search, headerLines, scheme, [&](KeyLine& hit) -> Status {
    std::optional<CharSpan> separator = hit.exact;
    if (separator) {
      *exactFound = true;
    } else if (*exactFound) {
      return std::nullopt;
    } else if (Status error = FindFirstSeparator(hit.reader, scheme, &hit.line, &separator)) {
      return error;
    }
    if (!separator) return std::nullopt;  // a prefix line without a separator gives no row
    if (Status error = AppendRow(hit.reader, hit.line, *separator, stem, output)) return error;
    ++*rows;
    return std::nullopt;
  });
}

}  // namespace

Status RunExtraction(FileSystem& fs, const TextCodec& codec, const RunRequest& request, RunSummary* summary,
                     const RunProgress& progress) {
  *summary = RunSummary{};
  const Series& series = request.series;
  std::filesystem::path output;
  if (Status error = PrepareOutput(fs, series.folder, series.list, request.outputName, ".txt",
                                   request.nameScheme, &output)) {
    return error;
  }
  summary->output = output;

  KeyLineSearch search(request.key);
  const std::int64_t headerLines = series.headerLines;
  bool exactFound = false;
  std::string text;
  for (const std::filesystem::path& name : series.list.FileNames) {
    std::string stem;
    if (Status error = EncodedStem(codec, series.folder, name, &stem)) return error;
    if (Status error = ExtractFile(fs, codec.Scheme(), series.folder / name, stem, search, headerLines,
                                   &exactFound, &text, &summary->rowsWritten)) {
      return error;
    }
    ++summary->filesRead;
    if (progress) progress(summary->filesRead, series.list.FileCount());
  }

  if (Status error = fs.WriteFileAtomically(output, text)) return error;
  return std::nullopt;
}

}  // namespace kesmaro
