#include "cli/command_line.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string_view>

#include "core/data_encoding.h"
#include "core/data_file_list.h"
#include "core/extraction_run.h"
#include "core/key_check.h"
#include "core/output_name.h"
#include "core/table.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"

namespace kesmaro::cli {
namespace {

constexpr std::string_view kUsageText =
    "usage: kesmaro-cli list  [--ext .txt|.asc] FOLDER\n"
    "       kesmaro-cli check [--ext .txt|.asc] [--skip N] [--encoding NAME] FOLDER KEY\n"
    "       kesmaro-cli run   [--ext .txt|.asc] [--skip N] [--encoding NAME] [--output NAME] [--force] "
    "FOLDER KEY\n"
    "       kesmaro-cli table [--ext .txt|.asc] [--skip N] [--encoding NAME] [--column K] [--nearest]\n"
    "                         [--within D] [--output NAME] FOLDER X [X ...]\n"
    "       kesmaro-cli --help | --version\n"
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
    "  table   write NAME.csv in the current folder: a row per data file and a column per value\n"
    "          X, each cell a field of the first line whose first field equals X as a number\n"
    "          (550, 550.0 and 5.5e2 are equal)\n"
    "\n"
    "  --ext .txt|.asc   the data files' extension (default .txt)\n"
    "  --skip N          header lines at the top of every file (default 0)\n"
    "  --encoding NAME   the data files' code page: gbk, gb18030, utf-8, utf-16le, utf-16be,\n"
    "                    big5, shift_jis, cp1252, ... (default: UTF-16 when the first file\n"
    "                    starts with a UTF-16 mark; else on Windows the system's ANSI code\n"
    "                    page; on Linux UTF-8 when the first file is UTF-8 text, otherwise the\n"
    "                    code page Windows uses for the locale's language)\n"
    "  --output NAME     the output name without .txt or .csv (run: default the name the key\n"
    "                    check proposes; table: default table, and - for standard output)\n"
    "  --force           run even when the key check or an empty folder would refuse\n"
    "  --column K        the field a table cell holds, counted from 1 (default 2)\n"
    "  --nearest         the nearest line when none holds X; a column 'X x' shows its first field\n"
    "  --within D        like --nearest, but only lines at most D away from X\n"
    "  --help, --version this text; the version\n"
    "\n"
    "An argument that looks like a negative number (-5, -.5) is an operand, not an option, and\n"
    "every argument after -- is an operand.\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 usage error, 3 refused.\n";

constexpr std::string_view kTryHelp = "Try 'kesmaro-cli --help'.\n";

/// The commands an option goes with.
enum CommandSet : unsigned {
  kList = 1,
  kCheck = 2,
  kRun = 4,
  kTable = 8,
  kReading = kCheck | kRun | kTable,  ///< the commands that read the data files
};

struct OptionRule {
  std::string_view name;
  bool takesValue;
  unsigned commands;
  std::string_view goesWith;  ///< names those commands in a usage error
};

constexpr OptionRule kOptionSpecs[] = {
    {"--ext", true, kList | kReading, ""},
    {"--skip", true, kReading, "check, run and table"},
    {"--encoding", true, kReading, "check, run and table"},
    {"--output", true, kRun | kTable, "run and table"},
    {"--force", false, kRun, "run"},
    {"--column", true, kTable, "table"},
    {"--nearest", false, kTable, "table"},
    {"--within", true, kTable, "table"},
};

struct Command {
  std::string_view name;
  CommandSet set;
  std::size_t minOperands;
  std::size_t maxOperands;
  std::string_view operands;  ///< names them in a usage error
};

constexpr Command kCommands[] = {
    {"list", kList, 1, 1, "one FOLDER"},
    {"check", kCheck, 2, 2, "a FOLDER and a KEY"},
    {"run", kRun, 2, 2, "a FOLDER and a KEY"},
    {"table", kTable, 2, SIZE_MAX, "a FOLDER and one or more values X"},
};

constexpr bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

/// `-5`, `-0.5`, `-.5`: a negative number given as an operand. No option looks like one.
bool LooksLikeNegativeNumber(std::string_view arg) {
  return arg.size() >= 2 && arg[0] == '-' && (IsDigit(arg[1]) || arg[1] == '.');
}

struct Options {
  std::string command;
  std::string extension = ".txt";
  std::string skip = "0";
  std::optional<std::string> encoding;
  std::optional<std::string> output;
  bool force = false;
  std::size_t column = 2;
  bool nearest = false;
  std::optional<double> within;
  bool help = false;
  bool version = false;
  std::vector<std::string> operands;
};

/// Sets one option's field from its value; returns an error message for a bad value.
std::optional<std::string> SetOption(std::string_view name, const std::string& value, Options* options) {
  if (name == "--ext") {
    if (value != ".txt" && value != ".asc") return "--ext must be .txt or .asc, not '" + value + "'";
    options->extension = value;
  } else if (name == "--skip") {
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos) {
      return "--skip takes a count in decimal digits, not '" + value + "'";
    }
    options->skip = value;
  } else if (name == "--encoding") {
    options->encoding = value;
  } else if (name == "--output") {
    // An empty name would write the hidden file ".txt": most likely an unset variable.
    if (value.empty()) return std::string("--output takes a name, not an empty one");
    options->output = value;
  } else if (name == "--force") {
    options->force = true;
  } else if (name == "--column") {
    std::size_t column = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), column);
    if (value.empty() || !IsDigit(value[0]) || ec != std::errc() || end != value.data() + value.size() ||
        column == 0) {
      return "--column takes a field number from 1, not '" + value + "'";
    }
    options->column = column;
  } else if (name == "--nearest") {
    options->nearest = true;
  } else if (name == "--within") {
    const std::optional<double> within = DecimalNumber(value);
    if (!within || *within < 0) return "--within takes a decimal distance of 0 or more, not '" + value + "'";
    options->within = within;
  }
  return std::nullopt;
}

/// Parses the command line; returns an error message for a usage error.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options* options) {
  bool optionsEnded = false;
  std::vector<const OptionRule*> given;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-' || LooksLikeNegativeNumber(arg)) {
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
    if (arg == "--version") {
      options->version = true;
      continue;
    }
    std::optional<std::string> value;
    if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
      value = arg.substr(equals + 1);
      arg.resize(equals);
    }
    const OptionRule* rule = nullptr;
    for (const OptionRule& candidate : kOptionSpecs) {
      if (candidate.name == arg) rule = &candidate;
    }
    if (rule == nullptr) return "unknown option '" + arg + "'";
    if (!rule->takesValue && value) return "option '" + arg + "' takes no value";
    if (rule->takesValue && !value) {
      if (i + 1 == args.size()) return "option '" + arg + "' needs a value";
      value = args[++i];
    }
    if (std::optional<std::string> problem = SetOption(rule->name, value.value_or(""), options))
      return problem;
    given.push_back(rule);
  }
  if (options->help || options->version) return std::nullopt;
  if (options->command.empty()) return std::string("no command given");
  const Command* command = nullptr;
  for (const Command& candidate : kCommands) {
    if (candidate.name == options->command) command = &candidate;
  }
  if (command == nullptr) return "unknown command '" + options->command + "'";
  const std::size_t operands = options->operands.size();
  if (operands < command->minOperands || operands > command->maxOperands) {
    return options->command + " takes " + std::string(command->operands);
  }
  for (const OptionRule* rule : given) {
    if ((rule->commands & command->set) == 0) {
      return std::string(rule->name) + " goes with " + std::string(rule->goesWith) + " only";
    }
  }
  if (command->set == kTable) {
    for (std::size_t i = 1; i < operands; ++i) {
      const std::string& value = options->operands[i];
      if (!DecimalNumber(value))
        return "the value '" + value + "' is not a decimal number (such as 550, -5.5 or 5.5e2)";
    }
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
  Invocation(const Options& options, Host& host, std::string& out, std::string& err, std::string& data)
      : options_(options), out_(out), err_(err), data_(data), host_(host) {}

  int Run() {
    // An empty argument is most likely an unset variable, and no folder is not the current one.
    if (options_.operands[0].empty()) return Fail("FOLDER is empty; name the current folder as .", kUsage);
    folder_ = FromTerminal(options_.operands[0]);
    if (options_.command == "list") return List();
    // A name given with --output may lead into another folder, since the user chose it; its
    // last part is still one plain file name. Refused before anything is read. A table's "-" is
    // standard output.
    if (options_.output && !(options_.command == "table" && *options_.output == "-")) {
      if (Status error = CheckOutputName(FromTerminal(*options_.output), OutputExtension(),
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
    if (options_.command == "table") return Table();
    // A key the data cannot hold is the user's to change, like an unknown encoding.
    const std::optional<std::string> key = codec_->Encode(FromTerminal(options_.operands[1]));
    if (!key) return Fail("the key cannot be written in code page " + ShownName(codec_->Page()), kUsage);
    key_ = *key;
    return options_.command == "check" ? Check() : Extract();
  }

 private:
  int Fail(const std::string& message, int code = kFailure) {
    err_ += "kesmaro-cli: " + message + "\n";
    if (code == kUsage) err_ += kTryHelp;
    return code;
  }

  int Fail(const Error& error) {
    if (error.kind == ErrorKind::kBadOutputName) {
      return Fail("the output name '" + ToTerminal(error.file.native()) + "' " + error.cause +
                      "; give one with --output",
                  kRefused);
    }
    std::string message = std::string(error.What());
    if (!error.file.empty()) message += ": " + ToTerminal(error.file.native());
    if (!error.cause.empty()) message += ": " + error.cause;
    // Replacing a data file is not a failure to read or write but a run refused, as a bad name is.
    return Fail(message, error.kind == ErrorKind::kOutputIsDataFile ? kRefused : kFailure);
  }

  std::string_view OutputExtension() const { return options_.command == "table" ? ".csv" : ".txt"; }

  /// The file system the series is read and its outputs written through, in its code page.
  DataFileSystem DataFiles() const { return DataFileSystem(host_.files, codec_->Page()); }

  /// A note when the output is one of the data folder's data files: the next listing takes it
  /// for a member of the series.
  void NoteOutputInSeries(const std::filesystem::path& output) {
    DataFileList after;
    if (ListDataFiles(host_.files, folder_, options_.extension, &after)) return;
    for (const std::filesystem::path& name : after.FileNames) {
      if (!host_.files.IsSameFile(output, folder_ / name)) continue;
      err_ += "kesmaro-cli: note: " + ToTerminal(output.native()) +
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
          list_.FileNames.empty() ? std::string() : ToTerminal(list_.FileNames[0].native());
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

  int List() {
    if (Status error = ListFiles()) return Fail(*error);
    for (const auto& name : list_.FileNames) out_ += ToTerminal(name.native()) + "\n";
    return kSuccess;
  }

  /// The proposed name as terminal text; nullopt when it is not valid text of the code page.
  std::optional<std::string> ProposedName(const KeyVerdict& verdict) const {
    const std::optional<TextCodec::Native> name = codec_->Decode(*verdict.proposedName);
    return name ? std::optional<std::string>(ToTerminal(*name)) : std::nullopt;
  }

  std::string NotValidText() const {
    return "the proposed name is not valid " + ShownName(codec_->Page()) + " text";
  }

  /// The key check on the series' first file, as the window makes it while the key is typed.
  Status CheckFirstFile(KeyVerdict* verdict) {
    DataFileSystem data = DataFiles();
    return CheckKey(data, *codec_, SeriesRequest{folder_, list_, key_, options_.skip}, verdict);
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
        if (!outputName) return Fail(NotValidText() + "; give one with --output", kRefused);
        // The proposal comes from the data, so it is only ever a name in the working folder.
        if (Status error = CheckOutputName(FromTerminal(*outputName), ".txt", NativeTextScheme(),
                                           OutputNamePart::kWhole))
          return Fail(*error);
      }
    }
    if (!outputName) return Fail("the key check proposes no output name; give one with --output", kUsage);

    RunRequest request{folder_, list_, key_, options_.skip, FromTerminal(*outputName), NativeTextScheme()};
    RunSummary summary;
    DataFileSystem data = DataFiles();
    if (Status error = RunExtraction(data, *codec_, request, &summary)) return Fail(*error);
    err_ += "read " + std::to_string(summary.filesRead) + " files, wrote " +
            std::to_string(summary.rowsWritten) + " rows to " + ToTerminal(summary.output.native()) + "\n";
    NoteOutputInSeries(summary.output);
    return kSuccess;
  }

  int Table() {
    if (list_.FileCount() == 0) return NoDataFiles();
    const std::string name = options_.output.value_or("table");
    const bool toStandardOutput = name == "-";
    std::filesystem::path output;
    if (!toStandardOutput) {
      if (Status error = PrepareOutput(host_.files, folder_, list_, FromTerminal(name), ".csv",
                                       NativeTextScheme(), &output))
        return Fail(*error);
    }

    // The values are decimal numbers, in ASCII, which every data code page holds as it is.
    const std::vector<std::string> values(options_.operands.begin() + 1, options_.operands.end());
    const TableRequest request{folder_,          list_,          options_.skip, values, options_.column,
                               options_.nearest, options_.within};
    std::string csv;
    TableSummary summary;
    DataFileSystem data = DataFiles();
    if (Status error = MakeTable(data, *codec_, request, &csv, &summary)) return Fail(*error);
    if (toStandardOutput) {
      data_ += EncodeOutput(codec_->Page().form, csv);
    } else if (Status error = data.WriteFileAtomically(output, csv)) {
      return Fail(*error);
    }
    // Whether standard output took the table is known only once it is written: the line does not
    // claim it, and a failure to write says so after it.
    err_ += "read " + std::to_string(summary.filesRead) + " files for " + std::to_string(summary.values) +
            " values, " + std::to_string(summary.emptyCells) + " of " +
            std::to_string(summary.filesRead * summary.values) + " cells empty" +
            (toStandardOutput ? std::string() : "; wrote " + ToTerminal(output.native())) + "\n";
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

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, Host& host, std::string& out, std::string& err,
                   std::string& data) {
  Options options;
  if (const std::optional<std::string> problem = Parse(args, &options)) {
    err += "kesmaro-cli: " + *problem + "\n" + std::string(kTryHelp);
    return kUsage;
  }
  if (options.help) {
    out += kUsageText;
    return kSuccess;
  }
  if (options.version) {
    out += "kesmaro-cli " KESMARO_VERSION "\n";
    return kSuccess;
  }
  try {
    return Invocation(options, host, out, err, data).Run();
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
