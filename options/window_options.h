#ifndef KESMARO_OPTIONS_WINDOW_OPTIONS_H_
#define KESMARO_OPTIONS_WINDOW_OPTIONS_H_

// What the window programs take on their command line: `[--encoding NAME]`, and the table
// window a `[FOLDER]`, read by the rules of kesmaro-cli's arguments.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "options/arguments.h"

namespace kesmaro::options {

/// --encoding NAME: the data files' code page by name, taken alike by the windows and by
/// kesmaro-cli's commands that read the data.
inline constexpr OptionName kEncodingOption{"--encoding", true};

struct WindowOptions {
  std::optional<std::string> encoding;  ///< the code page named
  std::vector<std::string> folders;     ///< the FOLDER operands, as given
  bool help = false;
};

/// Reads a window program's command line, `[--encoding NAME]` and up to `folders` FOLDER operands;
/// nullopt for anything else, --version included.
std::optional<WindowOptions> ParseWindowCommandLine(const std::vector<std::string>& args,
                                                    std::size_t folders = 0);

}  // namespace kesmaro::options

#endif  // KESMARO_OPTIONS_WINDOW_OPTIONS_H_
