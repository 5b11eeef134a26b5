#include "cli/options.h"

#include <array>
#include <charconv>
#include <limits>
#include <utility>

#include "core/table/table.h"
#include "options/arguments.h"
#include "options/window_options.h"

namespace kesmaro::cli {
namespace {

using options::Problem;

/// One option: the rule the parser applies, what it sets and its lines in the usage. An option
/// without a value sets `flag`; one with a value hands it to `set`, which says what is wrong with it.
struct OptionRow {
  std::string_view name;
  std::string_view value;  ///< the value's name in the usage; empty when the option takes none
  unsigned commands;       ///< the CommandSet it goes with
  void (*flag)(Options& options);
  Problem (*set)(const std::string& value, Options& options);
  std::string_view help;  ///< the usage's text for it; each '\n' starts an indented line
};

constexpr unsigned kAnyCommand = kList | kReading;

/// A new option is a row here, its field in Options and its name in the synopsis of its commands.
constexpr OptionRow kOptionRows[] = {
    {"--ext", ".txt|.asc", kAnyCommand, nullptr,
     [](const std::string& value, Options& options) -> Problem {
       if (value != ".txt" && value != ".asc") return "--ext must be .txt or .asc, not '" + value + "'";
       options.extension = value;
       return std::nullopt;
     },
     "the data files' extension (default .txt)"},
    {"--skip", "N", kReading, nullptr,
     [](const std::string& value, Options& options) -> Problem {
       if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)
         return "--skip takes a count in decimal digits, not '" + value + "'";
       // Digits alone fail only past the largest count, far more lines than any file holds.
       if (std::from_chars(value.data(), value.data() + value.size(), options.skip).ec != std::errc())
         options.skip = std::numeric_limits<std::int64_t>::max();
       return std::nullopt;
     },
     "header lines at the top of every file (default 0)"},
    {options::kEncodingOption.name, "NAME", kReading, nullptr,
     [](const std::string& value, Options& options) -> Problem {
       options.encoding = value;
       return std::nullopt;
     },
     "the data files' code page: gbk, gb18030, utf-8, utf-16le, utf-16be,\n"
     "big5, shift_jis, cp1252, ... (default: UTF-16 when the first file\n"
     "starts with a UTF-16 mark; else on Windows the system's ANSI code\n"
     "page; on Linux UTF-8 when the first file is UTF-8 text, otherwise the\n"
     "code page Windows uses for the locale's language)"},
    {"--output", "NAME", kRun | kTable, nullptr,
     [](const std::string& value, Options& options) -> Problem {
       // An empty name would write the hidden file ".txt": most likely an unset variable.
       if (value.empty()) return std::string("--output takes a name, not an empty one");
       options.output = value;
       return std::nullopt;
     },
     "the output name without .txt or .csv (run: default the name the key\n"
     "check proposes; table: default table, and - for standard output)"},
    {"--force", "", kRun, [](Options& options) { options.force = true; }, nullptr,
     "run even when the key check or an empty folder would refuse"},
    {"--column", "K", kTable, nullptr,
     [](const std::string& value, Options& options) -> Problem {
       const std::optional<std::size_t> column = ParseColumn(value);
       if (!column) return "--column takes a field number from 1, not '" + value + "'";
       options.table.column = *column;
       return std::nullopt;
     },
     "the field a table cell holds, counted from 1 (default 2)"},
    {"--nearest", "", kTable, [](Options& options) { options.table.nearest = true; }, nullptr,
     "the nearest line when none holds X; a column 'X x' shows its first field"},
    {"--within", "D", kTable, nullptr,
     [](const std::string& value, Options& options) -> Problem {
       options.within = value;  // read in CheckTable, once --decimal-comma may have followed
       return std::nullopt;
     },
     "like --nearest, but only lines at most D away from X"},
    {"--interpolate", "", kTable, [](Options& options) { options.table.interpolate = true; }, nullptr,
     "the value at X on the straight line between the lines either side of X"},
    {"--baseline", "", kTable, [](Options& options) { options.table.baseline = true; }, nullptr,
     "area, max and min above the straight line between the range's ends"},
    {"--decimal-comma", "", kTable, [](Options& options) { options.table.mark = DecimalMark::kComma; },
     nullptr, "the data write 550,5 for 550.5; fields are separated by blanks and ';'"},
    {"--plot", "", kTable, [](Options& options) { options.plot = true; }, nullptr,
     "also write NAME.svg, a chart of every column across the series\n"
     "(table.svg with --output -)"},
};

/// The rows' names for the shared reading of arguments.
constexpr auto kOptionNames = [] {
  std::array<options::OptionName, std::size(kOptionRows)> names{};
  for (std::size_t i = 0; i < names.size(); ++i)
    names[i] = {kOptionRows[i].name, kOptionRows[i].flag == nullptr};
  return names;
}();

/// The usage up to the options' lines. Its synopsis is written out, as its groups and line breaks
/// are chosen by hand; a test holds it to the rows above.
constexpr std::string_view kSynopsis =
    "usage: kesmaro-cli list  [--ext .txt|.asc] FOLDER\n"
    "       kesmaro-cli check [--ext .txt|.asc] [--skip N] [--encoding NAME] FOLDER KEY\n"
    "       kesmaro-cli run   [--ext .txt|.asc] [--skip N] [--encoding NAME] [--output NAME] [--force] "
    "FOLDER KEY\n"
    "       kesmaro-cli table [--ext .txt|.asc] [--skip N] [--encoding NAME] [--column K]\n"
    "                         [--nearest | --within D | --interpolate] [--baseline] [--decimal-comma]\n"
    "                         [--output NAME] [--plot] FOLDER ITEM [ITEM ...]\n"
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
    "  table   write NAME.csv in the current folder: a row per data file and a column per ITEM.\n"
    "          An ITEM X takes a field of the first line whose first field equals X as a number\n"
    "          (550, 550.0 and 5.5e2 are equal); area:X1:X2, max:X1:X2, min:X1:X2 and mean:X1:X2\n"
    "          measure that field over the lines whose first field lies from X1 to X2\n"
    "\n";

constexpr std::string_view kClosing =
    "\n"
    "An argument that looks like a negative number (-5, -.5) is an operand, not an option, and\n"
    "every argument after -- is an operand.\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 usage error, 3 refused.\n";

/// An option's line in the usage: its name and value, then its text from this column on.
constexpr std::size_t kHelpColumn = 20;

void AppendOptionLine(std::string_view label, std::string_view help, std::string* text) {
  *text += "  ";
  *text += label;
  *text += std::string(kHelpColumn - 2 - label.size(), ' ');
  for (std::size_t start = 0;;) {
    const std::size_t end = help.find('\n', start);
    *text += help.substr(start, end - start);
    *text += '\n';
    if (end == std::string_view::npos) break;
    *text += std::string(kHelpColumn, ' ');
    start = end + 1;
  }
}

/// "check, run and table": the commands of `set` for a usage error.
std::string CommandNames(unsigned set, std::span<const Command> commands) {
  std::vector<std::string_view> names;
  for (const Command& command : commands) {
    if ((set & command.set) != 0) names.push_back(command.name);
  }
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

/// The rules between the options and the operands of the table; reads the items.
Problem CheckTable(Options& options) {
  TableRequest& table = options.table;
  const DecimalMark mark = table.mark;
  if (options.within) {
    table.within = ParseDistance(*options.within, mark);
    if (!table.within) return "--within takes a decimal distance of 0 or more, not '" + *options.within + "'";
  }
  if (table.interpolate && (table.nearest || table.within))
    return std::string("--interpolate goes with neither --nearest nor --within");
  for (std::size_t i = 1; i < options.operands.size(); ++i) {
    const std::string& item = options.operands[i];
    ItemFault fault{};
    if (std::optional<TableItem> parsed = ParseTableItem(item, mark, &fault)) {
      table.items.push_back(std::move(*parsed));
      continue;
    }
    if (fault == ItemFault::kNotANumber)
      return "the value '" + item + "' is not a decimal number (such as 550, -5.5 or 5.5e2)";
    return "the item '" + item +
           "' is not a measure over a range: area, max, min or mean, then :X1:X2 (such as max:540:560)";
  }
  return std::nullopt;
}

/// The arguments of a command line that are not options, and the options given, in order.
struct Given {
  options::Arguments arguments;
  std::vector<const OptionRow*> rows;
};

/// Sets `options` from the options in `args`; returns the message of a usage error.
Problem ReadOptions(const std::vector<std::string>& args, Options* options, Given* given) {
  const auto take = [&](std::size_t option, std::optional<std::string> value) -> Problem {
    const OptionRow& row = kOptionRows[option];
    if (row.flag != nullptr) {
      row.flag(*options);
    } else if (Problem problem = row.set(*value, *options)) {
      return problem;
    }
    given->rows.push_back(&row);
    return std::nullopt;
  };
  const Problem problem = options::ReadArguments(args, kOptionNames, take, &given->arguments);
  options->help = given->arguments.help;
  options->version = given->arguments.version;
  return problem;
}

}  // namespace

std::optional<std::string> Parse(const std::vector<std::string>& args, std::span<const Command> commands,
                                 Options* options) {
  Given given;
  if (Problem problem = ReadOptions(args, options, &given)) return problem;
  if (options->help || options->version) return std::nullopt;
  std::string commandName;  // an empty first word leaves room for the next
  for (std::string& word : given.arguments.words) {
    if (commandName.empty()) {
      commandName = std::move(word);
    } else {
      options->operands.push_back(std::move(word));
    }
  }
  if (commandName.empty()) return std::string("no command given");
  for (const Command& candidate : commands) {
    if (candidate.name == commandName) options->command = &candidate;
  }
  const Command* command = options->command;
  if (command == nullptr) return "unknown command '" + commandName + "'";
  const std::size_t operands = options->operands.size();
  if (operands < command->minOperands || operands > command->maxOperands)
    return commandName + " takes " + std::string(command->operands);
  for (const OptionRow* row : given.rows) {
    if ((row->commands & command->set) == 0)
      return std::string(row->name) + " goes with " + CommandNames(row->commands, commands) + " only";
  }
  return command->set == kTable ? CheckTable(*options) : std::nullopt;
}

std::string UsageText() {
  std::string text(kSynopsis);
  for (const OptionRow& row : kOptionRows) {
    AppendOptionLine(
        row.value.empty() ? std::string(row.name) : std::string(row.name) + " " + std::string(row.value),
        row.help, &text);
  }
  AppendOptionLine("--help, --version", "this text; the version", &text);
  text += kClosing;
  return text;
}

std::vector<std::string_view> OptionNames(unsigned commands) {
  std::vector<std::string_view> names;
  for (const OptionRow& row : kOptionRows) {
    if ((row.commands & commands) != 0) names.push_back(row.name);
  }
  return names;
}

}  // namespace kesmaro::cli
