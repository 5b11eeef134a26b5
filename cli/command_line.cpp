#include "cli/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string_view>

#include "core/data_file_list.h"
#include "core/data_reader.h"
#include "core/extraction_run.h"
#include "core/key_check.h"
#include "core/output_name.h"
#include "platform/disk_file_system.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"

namespace kesmaro::cli {
namespace {

constexpr std::string_view kUsageText =
    "usage: kesmaro-cli list  [--ext .txt|.asc] FOLDER\n"
    "       kesmaro-cli check [--ext .txt|.asc] [--skip N] [--encoding NAME] FOLDER KEY\n"
    "       kesmaro-cli run   [--ext .txt|.asc] [--skip N] [--encoding NAME] [--output NAME] [--force] "
    "FOLDER KEY\n"
    "\n"
    "Consolidates a numbered series of data files (1.txt, 2.txt, 10.txt, ...) in FOLDER: from\n"
    "every file it picks the lines whose first column holds KEY (or, when no line holds it\n"
    "exactly, the lines that begin with it) and writes them, each prefixed with its file's stem.\n"
    "\n"
    "  list    print the data files in series order\n"
    "  check   test KEY against the first data file and print the verdict:\n"
    "          exact<TAB>NAME, prefix<TAB>NAME, prefix, missing or ambiguous\n"
    "  run     write NAME.txt in the current folder; refused, like check, when KEY does not pick\n"
    "          out one line of the first file\n"
    "\n"
    "  --ext .txt|.asc   the data files' extension (default .txt)\n"
    "  --skip N          header lines at the top of every file (default 0)\n"
    "  --encoding NAME   the data files' code page: gbk, gb18030, utf-8, big5, shift_jis,\n"
    "                    cp1252, ... (default: on Windows the system's ANSI code page; on\n"
    "                    Linux UTF-8 when the first file is UTF-8 text, otherwise the code\n"
    "                    page Windows uses for the locale's language)\n"
    "  --output NAME     the output name without .txt (default: the name the key check proposes)\n"
    "  --force           run even when the key check or an empty folder would refuse\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 usage error, 3 refused.\n";

struct Options {
  std::string command;
  std::string extension = ".txt";
  std::string skip = "0";
  std::optional<std::string> encoding;
  std::optional<std::string> output;
  bool force = false;
  bool help = false;
  std::vector<std::string> operands;
};

/// Parses the command line; returns an error message for a usage error.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options* options) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      if (options->command.empty()) {
        options->command = arg;
      } else {
        options->operands.push_back(arg);
      }
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      options->help = true;
      continue;
    }
    if (arg == "--force") {
      options->force = true;
      continue;
    }
    std::optional<std::string> value;
    if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
      value = arg.substr(equals + 1);
      arg.resize(equals);
    }
    if (arg != "--ext" && arg != "--skip" && arg != "--encoding" && arg != "--output") {
      return "unknown option '" + arg + "'";
    }
    if (!value) {
      if (i + 1 == args.size()) return "option '" + arg + "' needs a value";
      value = args[++i];
    }
    if (arg == "--ext") {
      options->extension = *value;
    } else if (arg == "--skip") {
      options->skip = *value;
    } else if (arg == "--encoding") {
      options->encoding = *value;
    } else {
      options->output = *value;
    }
  }
  if (options->help) return std::nullopt;
  const std::string& command = options->command;
  if (command.empty()) return std::string("no command given");
  if (command != "list" && command != "check" && command != "run") return "unknown command '" + command + "'";
  const std::size_t wanted = command == "list" ? 1 : 2;
  if (options->operands.size() != wanted) {
    return command == "list" ? "list takes one FOLDER" : command + " takes a FOLDER and a KEY";
  }
  if (options->extension != ".txt" && options->extension != ".asc") {
    return "--ext must be .txt or .asc, not '" + options->extension + "'";
  }
  if (options->skip.empty() || options->skip.find_first_not_of("0123456789") != std::string::npos) {
    return "--skip takes a count in decimal digits, not '" + options->skip + "'";
  }
  if (command != "run" && (options->output || options->force)) return "--output and --force go with run only";
  if (command == "list" && (options->encoding || options->skip != "0")) {
    return "--skip and --encoding go with check and run only";
  }
  return std::nullopt;
}

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

/// The state and output of one invocation.
class Invocation {
 public:
  Invocation(const Options& options, std::string& out, std::string& err)
      : options_(options), out_(out), err_(err) {}

  int Run() {
    // An empty argument is most likely an unset variable, and no folder is not the current one.
    if (options_.operands[0].empty()) return Fail("FOLDER is empty; name the current folder as .", kUsage);
    folder_ = FromTerminal(options_.operands[0]);
    if (options_.command == "list") return List();
    // A name given with --output may lead into another folder, since the user chose it; its
    // last part is still one plain file name. Refused before anything is read.
    if (options_.output) {
      const std::filesystem::path given = FromTerminal(*options_.output);
      if (int code = CheckOutputName(given.filename().native(), *options_.output); code != kSuccess) return code;
    }
    if (options_.encoding) {
      const std::optional<CodePage> named = CodePageByName(*options_.encoding);
      if (!named) return Fail("unknown encoding '" + *options_.encoding + "'", kUsage);
      codePage_ = *named;
    }
    if (Status error = ListFiles()) return Fail(*error);
    if (!options_.encoding) {
      if (int code = ChooseCodePage(); code != kSuccess) return code;
    }
    codec_ = MakeTextCodec(codePage_);
    if (!codec_) return Fail("code page " + codePage_.name + " is not available on this system");
    const std::optional<std::string> key = codec_->Encode(FromTerminal(options_.operands[1]));
    if (!key) return Fail("the key cannot be written in code page " + codePage_.name);
    key_ = *key;
    return options_.command == "check" ? Check() : Extract();
  }

 private:
  int Fail(const std::string& message, int code = kFailure) {
    err_ += "kesmaro-cli: " + message + "\n";
    return code;
  }

  int Fail(const Error& error) {
    std::string message = std::string(error.What());
    if (!error.file.empty()) message += ": " + ToTerminal(error.file.native());
    if (!error.cause.empty()) message += ": " + error.cause;
    // Replacing a data file is not a failure to read or write but a run refused, as a bad name is.
    return Fail(message, error.kind == ErrorKind::kOutputIsDataFile ? kRefused : kFailure);
  }

  /// Refuses an output name (`shownAs` as the user gave or was proposed it) that is not one plain
  /// file name; kSuccess when it is.
  int CheckOutputName(const TextCodec::Native& name, const std::string& shownAs) {
    const std::optional<OutputNameFault> fault = FindOutputNameFault(name);
    if (!fault) return kSuccess;
    const std::string what = fault->wholeName ? "is '" + fault->shown + "'"
                                              : "holds '" + fault->shown + "'";
    return Fail("the output name '" + shownAs + "' " + what + ", which no file name may; give one with --output",
                kRefused);
  }

  /// A note when the output is one of the data folder's data files: the next listing takes it
  /// for a member of the series.
  void NoteOutputInSeries(const std::filesystem::path& output) {
    DataFileList after;
    if (ListDataFiles(disk_, folder_, options_.extension, &after)) return;
    for (const std::filesystem::path& name : after.FileNames) {
      if (!disk_.IsSameFile(output, folder_ / name)) continue;
      err_ += "kesmaro-cli: note: " + ToTerminal(output.native()) +
              " is in the data folder and will be listed as a data file of the series from now on; "
              "move it out, or run kesmaro-cli outside the data folder\n";
      return;
    }
  }

  /// The data code page when none is named: the system's, or UTF-8 for a series whose first file
  /// is UTF-8 text where the system lets the data choose; then the choice is said on stderr.
  int ChooseCodePage() {
    std::string systemName;
    const std::optional<CodePage> system = SystemCodePage(&systemName);
    bool utf8 = false;
    if (DataMayChooseUtf8() && list_.FileCount() > 0) {
      if (Status error = IsUtf8DataFile(disk_, folder_ / list_.FileNames[0], &utf8)) return Fail(*error);
    }
    if (!utf8 && !system) {
      return Fail("the system's code page (" + systemName + ") is not supported; name one with --encoding",
                  kUsage);
    }
    codePage_ = utf8 ? *CodePageByName("utf-8") : *system;
    if (DataMayChooseUtf8()) {
      const std::string why = utf8 ? ToTerminal(list_.FileNames[0].native()) + " is UTF-8 text"
                                   : "the Windows code page for " + systemName;
      err_ +=
          "kesmaro-cli: reading the data as " + codePage_.name + " (" + why + "); --encoding names another\n";
    }
    return kSuccess;
  }

  Status ListFiles() { return ListDataFiles(disk_, folder_, options_.extension, &list_); }

  int List() {
    if (Status error = ListFiles()) return Fail(*error);
    for (const auto& name : list_.FileNames) out_ += ToTerminal(name.native()) + "\n";
    return kSuccess;
  }

  /// The proposed name as terminal text; nullopt (with a message) when it is not valid text.
  std::optional<std::string> ProposedName(const KeyVerdict& verdict) {
    const std::optional<TextCodec::Native> name = codec_->Decode(*verdict.proposedName);
    if (!name) {
      Fail("the proposed name is not valid " + codePage_.name + " text");
      return std::nullopt;
    }
    return ToTerminal(*name);
  }

  /// The key check on the series' first file, as the window makes it while the key is typed.
  Status CheckFirstFile(KeyVerdict* verdict) {
    return CheckKey(disk_, *codec_, SeriesRequest{folder_, list_, key_, options_.skip}, verdict);
  }

  int NoDataFiles() {
    return Fail("no " + options_.extension + " data files in " + ToTerminal(folder_.native()), kRefused);
  }

  int Check() {
    if (list_.FileCount() == 0) return NoDataFiles();
    KeyVerdict verdict;
    if (Status error = CheckFirstFile(&verdict)) return Fail(*error);
    std::string line = VerdictWord(verdict.kind);
    if (verdict.CanRun() && verdict.proposedName) {
      const std::optional<std::string> name = ProposedName(verdict);
      if (!name) return kFailure;
      line += "\t" + *name;
    }
    out_ += line + "\n";
    return verdict.CanRun() ? kSuccess : kRefused;
  }

  int Extract() {
    std::optional<std::string> outputName = options_.output;
    if (list_.FileCount() == 0) {
      if (!options_.force) return NoDataFiles();
    } else {
      KeyVerdict verdict;
      if (Status error = CheckFirstFile(&verdict)) return Fail(*error);
      if (!verdict.CanRun() && !options_.force) {
        err_ += VerdictWord(verdict.kind) + "\n";
        return Fail("the key does not pick out one line of " + ToTerminal(list_.FileNames[0].native()) +
                        "; use --force to run all the same",
                    kRefused);
      }
      if (!outputName && verdict.proposedName && !verdict.proposedName->empty()) {
        outputName = ProposedName(verdict);
        if (!outputName) return kFailure;
        // The proposal comes from the data, so it is only ever a name in the working folder.
        if (int code = CheckOutputName(FromTerminal(*outputName), *outputName); code != kSuccess) return code;
      }
    }
    if (!outputName) return Fail("the key check proposes no output name; give one with --output", kUsage);

    RunRequest request{folder_, list_, key_, options_.skip, FromTerminal(*outputName)};
    RunSummary summary;
    if (Status error = RunExtraction(disk_, *codec_, request, &summary))
      return Fail(*error);
    err_ += "read " + std::to_string(summary.filesRead) + " files, wrote " +
            std::to_string(summary.rowsWritten) + " rows to " + ToTerminal(summary.output.native()) + "\n";
    NoteOutputInSeries(summary.output);
    return kSuccess;
  }

  const Options& options_;
  std::string& out_;
  std::string& err_;
  DiskFileSystem disk_;
  CodePage codePage_;
  std::unique_ptr<TextCodec> codec_;
  std::filesystem::path folder_;
  DataFileList list_;
  std::string key_;
};

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, std::string& out, std::string& err) {
  Options options;
  if (const std::optional<std::string> problem = Parse(args, &options)) {
    err += "kesmaro-cli: " + *problem + "\n" + std::string(kUsageText);
    return kUsage;
  }
  if (options.help) {
    out += kUsageText;
    return kSuccess;
  }
  try {
    return Invocation(options, out, err).Run();
  } catch (const std::bad_alloc&) {  // a run holds its rows until they are written
    err += "kesmaro-cli: out of memory; nothing was written\n";
    return kFailure;
  }
}

int RunAndReport(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  std::string outText;
  std::string errText;
  int code = RunCommandLine(args, outText, errText);
  errno = 0;
  WriteTerminal(out, outText);
  // A verdict or a listing that never arrived (a full disk, a closed stdout) is no success.
  if (std::fflush(out) != 0 || std::ferror(out)) {
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
