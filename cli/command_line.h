#ifndef KESMARO_CLI_COMMAND_LINE_H_
#define KESMARO_CLI_COMMAND_LINE_H_

#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cli/options.h"
#include "core/file_system.h"
#include "core/run/data_file_list.h"
#include "core/table/table_job.h"
#include "platform/text_codec.h"

namespace kesmaro::cli {

/// Exit codes of kesmaro-cli.
enum ExitCode : int {
  kSuccess = 0,
  kFailure = 1,  ///< a file could not be read or written; nothing was written
  kUsage = 2,    ///< the command line is wrong
  kRefused = 3,  ///< the key does not pick out one line, there are no data files, or the output name
                 ///< or file may not be used
};

/// What a command line works on: the real disk and code pages in the program, stand-ins in tests.
struct Host {
  FileSystem& files;
  CodePageChoice system;  ///< the data code page when none is named (CodePageChoice::System())
  bool dataMayChooseUtf8 = DataMayChooseUtf8();
  TextCodecMaker makeCodec = MakeTextCodec;
};

/// kesmaro-cli's commands, for Parse.
std::span<const Command> Commands();

/// The job of a parsed `table` command line over `series`, the listed files of its FOLDER: the
/// one the table window builds from the same choices.
TableJob TableJobOf(const Options& options, const Series& series);

/// Runs one command line (without the program name) on `host`. Arguments and the text put into `out` and
/// `err` are terminal text (see platform/terminal.h); `data` gets bytes for standard output that
/// must pass unchanged (a table written with `--output -`, in the data code page).
int RunCommandLine(const std::vector<std::string>& args, Host& host, std::string& out, std::string& err,
                   std::string& data);

/// Runs one command line and writes its output to `out` and `err`; returns the exit code, a
/// failure when the output could not be written.
int RunAndReport(const std::vector<std::string>& args, Host& host, std::FILE* out = stdout,
                 std::FILE* err = stderr);

}  // namespace kesmaro::cli

#endif  // KESMARO_CLI_COMMAND_LINE_H_
