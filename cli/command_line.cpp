#include "cli/command_line.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string_view>

#include "chart/table_chart.h"
#include "cli/options.h"
#include "core/run/data_file_list.h"
#include "core/run/extraction_run.h"
#include "core/run/key_check.h"
#include "core/run/output_name.h"
#include "core/table/table_job.h"
#include "core/text/data_encoding.h"
#include "platform/native_text.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"

namespace kesmaro::cli {
namespace {

constexpr std::string_view kTryHelp = "Try 'kesmaro-cli --help'.\n";

std::string VerdictWord(VerdictKind kind) {
  switch (kind) {
    case VerdictKind::kExact:
      return "exact";
    case VerdictKind::kUniquePrefix:
      return "prefix";
    case VerdictKind::kMissing:
      return "missing";
    case VerdictKind::kAmbiguous:
      return "ambiguous";
  }
  return "missing";
}

}  // namespace

/// The state and output of one invocation; a command's function carries it out.
class Invocation {
 public:
  Invocation(const Options& options, Host& host, std::string& out, std::string& err, std::string& data)
      : options_(options), out_(out), err_(err), data_(data), host_(host) {}

  int List() {
    if (int code = OpenFolder(); code != kSuccess) return code;
    if (Status error = ListFiles()) return Fail(*error);
    for (const auto& name : list_.FileNames) out_ += NativeToTerminal(name.native()) + "\n";
    return kSuccess;
  }

  int Check() {
    if (int code = OpenSeries(".txt"); code != kSuccess) return code;
    if (int code = EncodeKey(); code != kSuccess) return code;
    if (list_.FileCount() == 0) return NoDataFiles();
    KeyVerdict verdict;
    if (Status error = CheckFirstFile(&verdict)) return Fail(*error);
    std::string line = VerdictWord(verdict.kind);
    if (verdict.CanRun() && verdict.proposedName) {
      // The verdict stands without its name; why there is none goes to stderr.
      if (const std::optional<std::string> name = ProposedName(verdict)) {
        line += "\t" + *name;
      } else {
        err_ += "kesmaro-cli: " + NotValidText() + "\n";
      }
    }
    out_ += line + "\n";
    return verdict.CanRun() ? kSuccess : kRefused;
  }

  int Extract() {
    if (int code = OpenSeries(".txt"); code != kSuccess) return code;
    if (int code = EncodeKey(); code != kSuccess) return code;
    std::optional<std::string> outputName = options_.output;
    if (list_.FileCount() == 0) {
      if (!options_.force) return NoDataFiles();
    } else {
      KeyVerdict verdict;
      if (Status error = CheckFirstFile(&verdict)) return Fail(*error);
      if (!verdict.CanRun() && !options_.force) {
        err_ += VerdictWord(verdict.kind) + "\n";
        return Fail("the key does not pick out one line of " + NativeToTerminal(list_.FileNames[0].native()) +
                        "; use --force to run all the same",
                    kRefused);
      }
      if (!outputName && verdict.proposedName && !verdict.proposedName->empty()) {
        outputName = ProposedName(verdict);
        if (!outputName) return Fail(NotValidText() + "; give one with --output", kRefused);
        // The proposal comes from the data, so it is only ever a name in the working folder.
        if (Status error = CheckOutputName(TerminalToNative(*outputName), ".txt", NativeTextScheme(),
                                           OutputNamePart::kWhole))
          return Fail(*error);
      }
    }
    if (!outputName) return Fail("the key check proposes no output name; give one with --output", kUsage);

    RunRequest request{
        {key_, {folder_, list_, options_.skip}}, TerminalToNative(*outputName), NativeTextScheme()};
    RunSummary summary;
    DataFileSystem data = DataFiles();
    if (Status error = RunExtraction(data, *codec_, request, &summary)) return Fail(*error);
    err_ += "read " + std::to_string(summary.filesRead) + " files, wrote " +
            std::to_string(summary.rowsWritten) + " rows to " + NativeToTerminal(summary.output.native()) +
            "\n";
    NoteOutputInSeries(summary.output);
    return kSuccess;
  }

  int Table() {
    if (int code = OpenSeries(".csv"); code != kSuccess) return code;
    if (list_.FileCount() == 0) return NoDataFiles();
    const TableJob job = TableJobOf(options_, {folder_, list_, options_.skip});
    TableJobResult result;
    const Status status = RunTableJob(host_.files, *codec_, job, &result);
    // What the data showed is said of a table made, even when writing it failed.
    if (result.summary.decimalCommaHint) NoteDecimalCommas(*result.summary.decimalCommaHint);
    if (status) return Fail(*status);
    const TableSummary& summary = result.summary;
    const std::filesystem::path& output = result.csvPath;  // empty for standard output
    if (output.empty()) data_ += EncodeOutput(codec_->Page().form, result.csv);
    // Whether standard output took the table is known only once it is written: the line does not
    // claim it, and a failure to write says so after it.
    err_ += "read " + std::to_string(summary.filesRead) + " files for " + std::to_string(summary.values) +
            " values, " + std::to_string(summary.emptyCells) + " of " +
            std::to_string(summary.filesRead * summary.values) + " cells empty" +
            (output.empty() ? std::string() : "; wrote " + NativeToTerminal(output.native())) + "\n";
    return job.plot ? Plot(result.table, result.chartPath) : kSuccess;
  }

 private:
  int OpenFolder() {
    // An empty argument is most likely an unset variable, and no folder is not the current one.
    if (options_.operands[0].empty()) return Fail("FOLDER is empty; name the current folder as .", kUsage);
    folder_ = TerminalToNative(options_.operands[0]);
    return kSuccess;
  }

  /// The folder, a name given with --output (for an output ending in `outputExtension`), the code
  /// page and the data files, in that order, so that what the user wrote is checked before anything
  /// is read.
  int OpenSeries(std::string_view outputExtension) {
    if (int code = OpenFolder(); code != kSuccess) return code;
    // A name given with --output may lead into another folder, since the user chose it; its
    // last part is still one plain file name. A table's "-" is standard output.
    if (options_.output && !(outputExtension == ".csv" && *options_.output == "-")) {
      if (Status error = CheckOutputName(TerminalToNative(*options_.output), outputExtension,
                                         NativeTextScheme(), OutputNamePart::kLast))
        return Fail(*error);
    }
    // An unknown encoding is a usage error, found before the folder is read.
    CodePageChoice choice = host_.system;
    CodePageFailure failure;
    if (options_.encoding) {
      choice.named = *options_.encoding;
      codec_ = OpenTextCodec(choice, &failure, host_.makeCodec);
      if (failure.unknown) return Fail("unknown encoding '" + failure.name + "'", kUsage);
    }
    if (Status error = ListFiles()) return Fail(*error);
    if (!options_.encoding) {
      if (int code = ChooseCodePage(choice, &failure); code != kSuccess) return code;
    }
    if (!codec_) return Fail("code page " + failure.name + " is not available on this system");
    return kSuccess;
  }

  /// A key the data cannot hold is the user's to change, like an unknown encoding.
  int EncodeKey() {
    const std::optional<std::string> key = codec_->Encode(TerminalToNative(options_.operands[1]));
    if (!key) return Fail("the key cannot be written in code page " + ShownName(codec_->Page()), kUsage);
    key_ = *key;
    return kSuccess;
  }

  int Fail(const std::string& message, int code = kFailure) {
    err_ += "kesmaro-cli: " + message + "\n";
    if (code == kUsage) err_ += kTryHelp;
    return code;
  }

  int Fail(const Error& error) {
    if (error.kind == ErrorKind::kBadOutputName) {
      return Fail("the output name '" + NativeToTerminal(error.file.native()) + "' " + error.cause +
                      "; give one with --output",
                  kRefused);
    }
    std::string message = std::string(error.What());
    if (!error.file.empty()) message += ": " + NativeToTerminal(error.file.native());
    if (!error.cause.empty()) message += ": " + error.cause;
    // Replacing a data file is not a failure to read or write but a run refused, as a bad name is.
    return Fail(message, error.kind == ErrorKind::kOutputIsDataFile ? kRefused : kFailure);
  }

  /// The file system the series is read and its outputs written through, in its code page.
  DataFileSystem DataFiles() const { return DataFileSystem(host_.files, codec_->Page()); }

  /// A note when the output is one of the data folder's data files: the next listing takes it
  /// for a member of the series.
  void NoteOutputInSeries(const std::filesystem::path& output) {
    DataFileList after;
    if (ListDataFiles(host_.files, folder_, options_.extension, &after)) return;
    for (const std::filesystem::path& name : after.FileNames) {
      if (!host_.files.IsSameFile(output, folder_ / name)) continue;
      err_ += "kesmaro-cli: note: " + NativeToTerminal(output.native()) +
              " is in the data folder and will be listed as a data file of the series from now on; "
              "move it out, or run kesmaro-cli outside the data folder\n";
      return;
    }
  }

  /// The data code page when none is named: the one the series' first file chooses
  /// (ChooseSeriesCodePage), or else the system's; said on stderr where the data may choose UTF-8,
  /// and whenever the data chose.
  int ChooseCodePage(const CodePageChoice& choice, CodePageFailure* failure) {
    std::optional<CodePage> chosen;
    if (list_.FileCount() > 0) {
      if (Status error = ChooseSeriesCodePage(host_.files, folder_ / list_.FileNames[0],
                                              host_.dataMayChooseUtf8, &chosen))
        return Fail(*error);
    }
    if (chosen) {
      codec_ = host_.makeCodec(*chosen);
      if (!codec_) *failure = CodePageFailure{false, chosen->name};
    } else {
      codec_ = OpenTextCodec(choice, failure, host_.makeCodec);
    }
    if (failure->unknown) {
      return Fail("the system's code page (" + failure->name + ") is not supported; name one with --encoding",
                  kUsage);
    }
    if (host_.dataMayChooseUtf8 || chosen) {
      const std::string first =
          list_.FileNames.empty() ? std::string() : NativeToTerminal(list_.FileNames[0].native());
      const std::string why = !chosen ? "the Windows code page for " + choice.systemName
                              : chosen->form == FileForm::kAsIs
                                  ? first + " is UTF-8 text"
                                  : first + " starts with a UTF-16 byte order mark";
      err_ += "kesmaro-cli: reading the data as " + (codec_ ? ShownName(codec_->Page()) : failure->name) +
              " (" + why + "); --encoding names another\n";
    }
    return kSuccess;
  }

  Status ListFiles() { return ListDataFiles(host_.files, folder_, options_.extension, &list_); }

  /// The proposed name as terminal text; nullopt when it is not valid text of the code page.
  std::optional<std::string> ProposedName(const KeyVerdict& verdict) const {
    const std::optional<TextCodec::Native> name = codec_->Decode(*verdict.proposedName);
    return name ? std::optional<std::string>(NativeToTerminal(*name)) : std::nullopt;
  }

  std::string NotValidText() const {
    return "the proposed name is not valid " + ShownName(codec_->Page()) + " text";
  }

  /// The key check on the series' first file, as the window makes it while the key is typed.
  Status CheckFirstFile(KeyVerdict* verdict) {
    DataFileSystem data = DataFiles();
    return CheckKey(data, *codec_, SeriesRequest{key_, {folder_, list_, options_.skip}}, verdict);
  }

  int NoDataFiles() {
    return Fail("no " + options_.extension + " data files in " + NativeToTerminal(folder_.native()),
                kRefused);
  }

  /// A note that the first file reads as decimal commas, which the table read as decimal points.
  void NoteDecimalCommas(const DecimalCommaHint& hint) {
    const std::optional<TextCodec::Native> line = codec_->Decode(hint.line);
    err_ += "kesmaro-cli: note: line " + std::to_string(hint.lineNumber) + " of " +
            NativeToTerminal(list_.FileNames[0].native()) +
            (line ? " (" + NativeToTerminal(*line) + ")" : std::string()) +
            " reads like numbers with decimal commas, which the table took for separators; --decimal-comma "
            "reads them as decimal marks\n";
  }

  /// Writes the chart of `table` to `output`, after the table: a failure to write it leaves the
  /// table, which is said above, in place.
  int Plot(const kesmaro::Table& table, const std::filesystem::path& output) {
    TableChart chart;
    const Status status = WriteTableChart(host_.files, *codec_, table, folder_, output, &chart);
    if (!chart.withoutNumbers.empty()) {
      std::string columns;
      for (const std::string& header : chart.withoutNumbers)
        columns += (columns.empty() ? "'" : ", '") +
                   NativeToTerminal(Utf8ToNative(header).value_or(NativeText())) + "'";
      err_ += "kesmaro-cli: note: the chart leaves out " + columns + ": no cell holds a number\n";
    }
    if (status) return Fail(*status);
    err_ += "drew " + std::to_string(chart.input.panels.size()) + " panels; wrote " +
            NativeToTerminal(output.native()) + "\n";
    return kSuccess;
  }

  const Options& options_;
  std::string& out_;
  std::string& err_;
  std::string& data_;
  Host& host_;
  std::unique_ptr<TextCodec> codec_;
  std::filesystem::path folder_;
  DataFileList list_;
  std::string key_;
};

namespace {

constexpr Command kCommands[] = {
    {"list", kList, 1, 1, "one FOLDER", &Invocation::List},
    {"check", kCheck, 2, 2, "a FOLDER and a KEY", &Invocation::Check},
    {"run", kRun, 2, 2, "a FOLDER and a KEY", &Invocation::Extract},
    {"table", kTable, 2, SIZE_MAX, "a FOLDER and one or more items", &Invocation::Table},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

TableJob TableJobOf(const Options& options, const Series& series) {
  TableJob job;
  // The items are decimal numbers and measure names, in ASCII, which every data code page holds
  // as it is.
  job.request = options.table;
  job.request.series = series;
  const std::string name = options.output.value_or(kDefaultTableName);
  if (name != "-") job.output = TerminalToNative(name);
  job.plot = options.plot;
  job.nameScheme = NativeTextScheme();
  return job;
}

int RunCommandLine(const std::vector<std::string>& args, Host& host, std::string& out, std::string& err,
                   std::string& data) {
  Options options;
  if (const std::optional<std::string> problem = Parse(args, kCommands, &options)) {
    err += "kesmaro-cli: " + *problem + "\n" + std::string(kTryHelp);
    return kUsage;
  }
  if (options.help) {
    out += UsageText();
    return kSuccess;
  }
  if (options.version) {
    out += "kesmaro-cli " KESMARO_VERSION "\n";
    return kSuccess;
  }
  try {
    Invocation invocation(options, host, out, err, data);
    return (invocation.*options.command->run)();
  } catch (const std::bad_alloc&) {  // a run holds its rows, a table its cells, until they are written
    err += "kesmaro-cli: out of memory; nothing was written\n";
    return kFailure;
  }
}

int RunAndReport(const std::vector<std::string>& args, Host& host, std::FILE* out, std::FILE* err) {
  std::string outText;
  std::string errText;
  std::string data;
  int code = RunCommandLine(args, host, outText, errText, data);
  errno = 0;
  WriteTerminal(out, outText);
  const bool dataWritten = data.empty() || WriteData(out, data);
  // A verdict, a listing or a table that never arrived (a full disk, a closed stdout) is no success.
  if (!dataWritten || std::fflush(out) != 0 || std::ferror(out)) {
    const int error = errno;
    errText += "kesmaro-cli: cannot write to standard output";
    if (error != 0) errText += std::string(": ") + std::strerror(error);
    errText += "\n";
    code = kFailure;
  }
  WriteTerminal(err, errText);
  return code;
}

}  // namespace kesmaro::cli
