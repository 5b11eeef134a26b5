#ifndef KESMARO_CLI_COMMAND_LINE_H_
#define KESMARO_CLI_COMMAND_LINE_H_

#include <cstdio>
#include <string>
#include <vector>

namespace kesmaro::cli {

/// Exit codes of kesmaro-cli.
enum ExitCode : int {
  kSuccess = 0,
  kFailure = 1,  ///< a file could not be read or written; nothing was written
  kUsage = 2,    ///< the command line is wrong
  kRefused = 3,  ///< the key does not pick out one line, there are no data files, or the output name
                 ///< or file may not be used
};

/// Runs one command line (without the program name). Arguments and the text put into `out` and
/// `err` are terminal text (see platform/terminal.h); `data` gets bytes for standard output that
/// must pass unchanged (a table written with `--output -`, in the data code page).
int RunCommandLine(const std::vector<std::string>& args, std::string& out, std::string& err, std::string& data);

/// Runs one command line and writes its output to `out` and `err`; returns the exit code, a
/// failure when the output could not be written.
int RunAndReport(const std::vector<std::string>& args, std::FILE* out = stdout, std::FILE* err = stderr);

}  // namespace kesmaro::cli

#endif  // KESMARO_CLI_COMMAND_LINE_H_
