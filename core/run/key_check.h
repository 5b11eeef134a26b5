#ifndef KESMARO_CORE_RUN_KEY_CHECK_H_
#define KESMARO_CORE_RUN_KEY_CHECK_H_

#include <optional>
#include <string>

#include "core/error.h"
#include "core/file_system.h"
#include "core/run/key_lines.h"
#include "core/text/code_page.h"
#include "core/text/text_codec.h"

namespace kesmaro {

enum class VerdictKind {
  kExact,         ///< a line of the first file holds the key in its first column
  kUniquePrefix,  ///< no exact line, and exactly one line begins with the key
  kMissing,       ///< no line begins with the key
  kAmbiguous,     ///< no exact line, and two or more lines begin with the key
};

/// Whether a key picks out one line of the series' first file, and the output name it suggests.
struct KeyVerdict {
  VerdictKind kind = VerdictKind::kMissing;
  /// The output name it suggests, in the data code page; nullopt when it suggests none.
  std::optional<std::string> proposedName;

  /// Exact and unique-prefix verdicts let a run start.
  bool CanRun() const { return kind == VerdictKind::kExact || kind == VerdictKind::kUniquePrefix; }
};

/// Checks the request's key against the lines of the series' first file after its header lines;
/// a series without files holds no line of it. Exact: the key is proposed as the name. Unique prefix: the
/// text of that line before its last separator, or no name when it has no separator or that text is too long
/// for a file name (over kLongestOutputName units of the system's own text). Missing and ambiguous propose no
/// name.
Status CheckKey(FileSystem& fs, const TextCodec& codec, const SeriesRequest& request, KeyVerdict* verdict);

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_KEY_CHECK_H_
