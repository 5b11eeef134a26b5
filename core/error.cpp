#include "core/error.h"

namespace kesmaro {

std::string_view Error::What() const {
  switch (kind) {
    case ErrorKind::kListFailed:
      return "cannot list folder";
    case ErrorKind::kOpenFailed:
      return "cannot open data file";
    case ErrorKind::kReadFailed:
      return "cannot read data file";
    case ErrorKind::kTooFewLines:
      return "data file has fewer lines than the header-line count";
    case ErrorKind::kNameNotInCodePage:
      return "file name cannot be written in the data code page";
    case ErrorKind::kOutputIsDataFile:
      return "output file is one of the data files";
    case ErrorKind::kWriteFailed:
      return "cannot write output file";
  }
  return "failure";
}

}  // namespace kesmaro
