#include "core/key_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "core/data_reader.h"
#include "core/line_rules.h"
#include "core/line_search.h"

namespace kesmaro {
namespace {

/// The longest name a unique-prefix line proposes: 255 bytes, the most a file name may have on
/// any common file system, less ".txt". A longer name could never be written.
constexpr std::size_t kLongestName = 251;

/// The name a unique-prefix line proposes: its text before its last separator, read to the
/// line's end. Only the start of the line is held; nullopt when it has no separator, or when that
/// text is longer than kLongestName.
Status ProposedName(DataReader& reader, CharScheme scheme, LineView line, std::optional<std::string>* name) {
  std::string head;          // the line's first kLongestName bytes
  std::uint64_t passed = 0;  // the bytes of the line before line.text
  std::optional<std::uint64_t> last;
  for (;;) {
    std::size_t pos = 0;
    while (const std::optional<CharSpan> separator = NextSeparator(line.text, &pos, line.whole, scheme)) {
      last = passed + separator->offset;
    }
    head.append(line.text.substr(0, std::min(pos, kLongestName - head.size())));
    if (line.whole) break;
    passed += pos;
    if (Status error = reader.ReadOn(pos, &line)) return error;
  }
  *name = std::nullopt;
  if (last && *last <= kLongestName) *name = head.substr(0, static_cast<std::size_t>(*last));
  return std::nullopt;
}

}  // namespace

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
    std::optional<LineView> line;
    if (Status error = reader.NextCandidate(&line)) return error;
    if (!line) break;
    if (ExactHitPosition(line->text, key, scheme)) {
      *verdict = KeyVerdict{VerdictKind::kExact, std::string(key)};
      return std::nullopt;
    }
    if (!BeginsWithKey(line->text, key, scheme)) continue;
    if (++prefixLines == 1) {
      if (Status error = ProposedName(reader, scheme, *line, &prefixName)) return error;
    }
  }

  if (prefixLines == 0) {
    *verdict = KeyVerdict{VerdictKind::kMissing, std::nullopt};
  } else if (prefixLines > 1) {
    *verdict = KeyVerdict{VerdictKind::kAmbiguous, std::nullopt};
  } else {
    *verdict = KeyVerdict{VerdictKind::kUniquePrefix, std::move(prefixName)};
  }
  return std::nullopt;
}

}  // namespace kesmaro
