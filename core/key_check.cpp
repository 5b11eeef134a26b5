#include "core/key_check.h"

#include <cstddef>
#include <memory>
#include <optional>

#include "core/data_reader.h"
#include "core/line_rules.h"
#include "core/line_search.h"

namespace kesmaro {

Status CheckKey(FileSystem& fs, CharScheme scheme, const std::filesystem::path& folder,
                const std::filesystem::path& firstFileName, std::string_view key, std::string_view skipText,
                KeyVerdict* verdict) {
  const std::filesystem::path path = folder / firstFileName;
  std::unique_ptr<InputFile> file;
  if (Status error = fs.OpenForReading(path, &file)) return error;
  const KeyLineSearch search(key);
  DataReader reader(*file, path, search);
  if (Status error = reader.SkipLines(HeaderLineCount(skipText))) return error;

  std::size_t prefixLines = 0;
  std::optional<std::string> prefixName;  // from the first line that begins with the key
  for (;;) {
    std::optional<std::string_view> line;
    if (Status error = reader.NextCandidate(&line)) return error;
    if (!line) break;
    if (ExactHitPosition(*line, key, scheme)) {
      *verdict = KeyVerdict{VerdictKind::kExact, std::string(key), true};
      return std::nullopt;
    }
    if (!BeginsWithKey(*line, key, scheme)) continue;
    if (++prefixLines == 1) {
      if (const std::optional<CharSpan> last = LastSeparator(*line, scheme)) {
        prefixName = std::string(line->substr(0, last->offset));
      }
    }
  }

  if (prefixLines == 0) {
    *verdict = KeyVerdict{VerdictKind::kMissing, {}, true};
  } else if (prefixLines > 1) {
    *verdict = KeyVerdict{VerdictKind::kAmbiguous, {}, true};
  } else {
    *verdict =
        KeyVerdict{VerdictKind::kUniquePrefix, prefixName.value_or(std::string()), prefixName.has_value()};
  }
  return std::nullopt;
}

}  // namespace kesmaro
