#ifndef KESMARO_CORE_ERROR_H_
#define KESMARO_CORE_ERROR_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kesmaro {

/// What went wrong, so that each front end can word it in its own language.
enum class ErrorKind {
  kListFailed,         ///< the folder could not be listed
  kOpenFailed,         ///< a data file could not be opened
  kReadFailed,         ///< reading a data file failed part way
  kTooFewLines,        ///< a data file ends within its header lines
  kNameNotInCodePage,  ///< a file name has characters the data code page cannot hold
  kOutputIsDataFile,   ///< the output would replace one of the run's data files
  kBadOutputName,      ///< the output's name is no plain file name (see FindOutputNameFault)
  kWriteFailed,        ///< the output file could not be written
};

/// How the front ends word a kind of failure.
struct ErrorWording {
  std::string_view english;    ///< for the terminal, e.g. "cannot open data file"
  std::string_view chinese;    ///< for the window's message, e.g. "无法打开数据文件"
  std::string_view firstFile;  ///< the window's short reason when the key check fails on the first file
};

/// The one row of wording for each kind.
const ErrorWording& WordingOf(ErrorKind kind);

/// A failure: its kind, the file it concerns and the cause as the system gave it.
struct Error {
  ErrorKind kind;
  std::filesystem::path file;
  std::string cause;  ///< English, e.g. "No such file or directory"; may be empty
  /// The same cause as the system words it for its user (UTF-8), e.g. "找不到文件。" on a
  /// Chinese Windows; empty where the system gives none.
  std::string userCause = {};

  /// A short English description of the kind, e.g. "cannot open data file".
  std::string_view What() const { return WordingOf(kind).english; }
};

/// Empty on success. Functions that can fail return it and put their results in out-parameters.
using Status = std::optional<Error>;

}  // namespace kesmaro

#endif  // KESMARO_CORE_ERROR_H_
