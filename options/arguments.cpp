#include "options/arguments.h"

namespace kesmaro::options {
namespace {

/// `-5`, `-0.5`, `-.5`: a negative number given as an operand. No option looks like one.
bool LooksLikeNegativeNumber(std::string_view arg) {
  return arg.size() >= 2 && arg[0] == '-' && ((arg[1] >= '0' && arg[1] <= '9') || arg[1] == '.');
}

}  // namespace

Problem ReadArguments(const std::vector<std::string>& args, std::span<const OptionName> known,
                      const TakeOption& take, Arguments* arguments) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-' || LooksLikeNegativeNumber(arg)) {
      arguments->words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      arguments->help = true;
      continue;
    }
    if (arg == "--version") {
      arguments->version = true;
      continue;
    }
    std::optional<std::string> value;
    if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
      value = arg.substr(equals + 1);
      arg.resize(equals);
    }
    std::size_t option = known.size();
    for (std::size_t candidate = 0; candidate < known.size(); ++candidate) {
      if (known[candidate].name == arg) option = candidate;
    }
    if (option == known.size()) return "unknown option '" + arg + "'";
    if (!known[option].takesValue) {
      if (value) return "option '" + arg + "' takes no value";
    } else if (!value) {
      if (i + 1 == args.size()) return "option '" + arg + "' needs a value";
      value = args[++i];
    }
    if (Problem problem = take(option, std::move(value))) return problem;
  }
  return std::nullopt;
}

}  // namespace kesmaro::options
