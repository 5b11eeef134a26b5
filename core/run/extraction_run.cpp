#include "core/run/extraction_run.h"

#include <atomic>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/run/data_reader.h"
#include "core/run/line_rules.h"
#include "core/run/output_name.h"
#include "core/run/parallel_for.h"

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

/// The rows of one data file, apart by what a run that met an exact line before this file keeps:
/// the rows after the file's first exact line, which only exact lines give, and not those of
/// the lines before it that merely begin with the key.
struct FileRows {
  std::string beforeExact;  ///< rows of lines that begin with the key, before the first exact one
  std::string fromExact;    ///< rows from the first exact line on
  std::size_t beforeExactCount = 0;
  std::size_t fromExactCount = 0;
};

/// The lowest file of a run known to hold an exact line, as the files read side by side find
/// them: a file after it keeps no rows of lines that merely begin with the key.
class FirstExactFile {
 public:
  explicit FirstExactFile(std::size_t none) : lowest_(none) {}

  bool Before(std::size_t file) const { return lowest_.load(std::memory_order_relaxed) < file; }

  void MetIn(std::size_t file) { LowerTo(lowest_, file); }

 private:
  std::atomic<std::size_t> lowest_;
};

/// Reads the rows of the run's `file`-th data file.
Status ExtractFile(FileSystem& fs, CharScheme scheme, const std::filesystem::path& path,
                   std::string_view stem, std::string_view key, std::int64_t headerLines, std::size_t file,
                   FirstExactFile& firstExact, FileRows* rows) {
  KeyLineSearch search(key);
  return ForEachKeyLine(fs, path, search, headerLines, scheme, [&](KeyLine& hit) -> Status {
    std::optional<CharSpan> separator = hit.exact;
    if (separator && rows->fromExactCount == 0) firstExact.MetIn(file);
    const bool exact = separator || rows->fromExactCount > 0;
    if (!separator) {
      if (exact || firstExact.Before(file)) return std::nullopt;
      if (Status error = FindFirstSeparator(hit.reader, scheme, &hit.line, &separator)) return error;
      if (!separator) return std::nullopt;  // a prefix line without a separator gives no row
    }
    std::string& text = exact ? rows->fromExact : rows->beforeExact;
    if (Status error = AppendRow(hit.reader, hit.line, *separator, stem, &text)) return error;
    ++(exact ? rows->fromExactCount : rows->beforeExactCount);
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

  // The stems first, on this thread: a name that has none ends the run before its file is read.
  const std::vector<std::filesystem::path>& names = series.list.FileNames;
  std::vector<std::string> stems(names.size());
  Status failure;
  std::size_t count = 0;
  for (; count < names.size(); ++count) {
    if ((failure = EncodedStem(codec, series.folder, names[count], &stems[count]))) break;
  }

  // The files are read side by side and taken in list order. Until the run meets its first exact
  // line, the rows of lines that merely begin with the key count too; a file read ahead keeps
  // them apart, as it cannot know yet whether a file before it holds an exact line.
  std::vector<FileRows> rows(count);
  std::vector<Status> errors(count);
  FirstExactFile firstExact(count);
  bool exactFound = false;
  std::string text;
  ParallelFor(
      count,
      [&](std::size_t i) {
        errors[i] = ExtractFile(fs, codec.Scheme(), series.folder / names[i], stems[i], request.key,
                                series.headerLines, i, firstExact, &rows[i]);
        return !errors[i];
      },
      [&](std::size_t i) {
        if (errors[i]) return;
        FileRows taken = std::move(rows[i]);
        if (!exactFound) {
          text += taken.beforeExact;
          summary->rowsWritten += taken.beforeExactCount;
        }
        text += taken.fromExact;
        summary->rowsWritten += taken.fromExactCount;
        exactFound = exactFound || taken.fromExactCount > 0;
        ++summary->filesRead;
        if (progress) progress(summary->filesRead, series.list.FileCount());
      });
  for (const Status& error : errors) {
    if (error) return error;
  }
  if (failure) return failure;

  if (Status error = fs.WriteFileAtomically(output, text)) return error;
  return std::nullopt;
}

}  // namespace kesmaro
