#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "platform/terminal.h"

int main(int argc, char** argv) {
  // The locale's codeset is both the terminal's text and the default data code page.
  std::setlocale(LC_CTYPE, "");
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string out;
  std::string err;
  const int code = kesmaro::cli::RunCommandLine(args, out, err);
  kesmaro::WriteTerminal(stdout, out);
  kesmaro::WriteTerminal(stderr, err);
  return code;
}
