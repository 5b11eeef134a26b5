#ifndef KESMARO_CLI_OPTIONS_H_
#define KESMARO_CLI_OPTIONS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/table/table.h"

namespace kesmaro::cli {

class Invocation;  // carries out a command (command_line.cpp)

/// The commands, as bits of the set an option goes with.
enum CommandSet : unsigned {
  kList = 1,
  kCheck = 2,
  kRun = 4,
  kTable = 8,
  kReading = kCheck | kRun | kTable,  ///< the commands that read the data files
};

/// One command: its name, the operands it takes and what carries it out.
struct Command {
  std::string_view name;
  CommandSet set;
  std::size_t minOperands;
  std::size_t maxOperands;
  std::string_view operands;  ///< names them in a usage error
  int (Invocation::*run)();
};

/// What the command line asks for.
struct Options {
  const Command* command = nullptr;
  std::string extension = ".txt";
  std::int64_t skip = 0;  ///< header lines
  std::optional<std::string> encoding;
  std::optional<std::string> output;
  bool force = false;
  /// The table asked for, but its series: the table window's request too.
  TableRequest table;
  std::optional<std::string> within;  ///< as typed: read into `table` by the mark the whole line gives
  bool plot = false;
  bool help = false;
  bool version = false;
  std::vector<std::string> operands;  ///< after the command's name; a table's items are read into `table`
};

/// Parses a command line for one of `commands`; returns the message of a usage error.
/// Options may come anywhere; an argument that looks like a negative number (-5, -.5) is an
/// operand, and so is every argument after --.
std::optional<std::string> Parse(const std::vector<std::string>& args, std::span<const Command> commands,
                                 Options* options);

/// kesmaro-cli's --help text.
std::string UsageText();

/// The names of the options that go with any of `commands`, in the usage's order.
std::vector<std::string_view> OptionNames(unsigned commands);

}  // namespace kesmaro::cli

#endif  // KESMARO_CLI_OPTIONS_H_
