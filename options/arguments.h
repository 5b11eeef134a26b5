#ifndef KESMARO_OPTIONS_ARGUMENTS_H_
#define KESMARO_OPTIONS_ARGUMENTS_H_

// How all our programs read their arguments: options may come anywhere, a value follows its
// option as the next argument or after '=', "--" ends the options, and an argument that looks
// like a negative number (-5, -.5) is an operand.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro::options {

/// What is wrong with an argument, worded for the user; nullopt when nothing is.
using Problem = std::optional<std::string>;

/// An option a program knows: its name and whether a value follows it.
struct OptionName {
  std::string_view name;
  bool takesValue = false;
};

/// The arguments that are not options, in order, and whether --help (-h) or --version was given.
struct Arguments {
  std::vector<std::string> words;
  bool help = false;
  bool version = false;
};

/// Hands an option given to its program: its index among the known ones and its value (nullopt for
/// one that takes none); says what is wrong with it.
using TakeOption = std::function<Problem(std::size_t option, std::optional<std::string> value)>;

/// Reads `args` against the `known` options, handing each option given to `take` in order; stops at
/// the first problem: an unknown option, a value missing or given to an option that takes none, or
/// what `take` says.
Problem ReadArguments(const std::vector<std::string>& args, std::span<const OptionName> known,
                      const TakeOption& take, Arguments* arguments);

}  // namespace kesmaro::options

#endif  // KESMARO_OPTIONS_ARGUMENTS_H_
