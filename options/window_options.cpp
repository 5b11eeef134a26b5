#include "options/window_options.h"

namespace kesmaro::options {

std::optional<WindowOptions> ParseWindowCommandLine(const std::vector<std::string>& args,
                                                    std::size_t folders) {
  WindowOptions options;
  Arguments arguments;
  const OptionName known[] = {kEncodingOption};
  const Problem problem = ReadArguments(
      args, known,
      [&](std::size_t /*option*/, std::optional<std::string> value) -> Problem {
        options.encoding = std::move(value);
        return std::nullopt;
      },
      &arguments);
  if (problem || arguments.version || arguments.words.size() > folders) return std::nullopt;
  options.folders = std::move(arguments.words);
  options.help = arguments.help;
  return options;
}

}  // namespace kesmaro::options
