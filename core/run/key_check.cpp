#include "core/run/key_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/run/data_reader.h"
#include "core/run/line_rules.h"
#include "core/run/output_name.h"

namespace kesmaro {
namespace {

/// The most bytes of a line a proposed name may take: a character of any code page is at most
/// four bytes, and is at least one unit of the system's own text, so a longer text could never
/// be a name of kLongestOutputName units.
constexpr std::size_t kLongestName = 4 * kLongestOutputName;

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

Status CheckKey(FileSystem& fs, const TextCodec& codec, const SeriesRequest& request, KeyVerdict* verdict) {
  const CharScheme scheme = codec.Scheme();
  *verdict = KeyVerdict{VerdictKind::kMissing, std::nullopt};
  if (request.series.list.FileCount() == 0) return std::nullopt;
  bool exact = false;
  std::size_t prefixLines = 0;
  std::optional<std::string> prefixName;  // from the first line that begins with the key
  const auto judge = [&](KeyLine& hit) -> Status {
    exact = hit.stop = hit.exact.has_value();
    if (exact || ++prefixLines > 1) return std::nullopt;
    return ProposedName(hit.reader, scheme, hit.line, &prefixName);
  };
  KeyLineSearch search(request.key);
  if (Status error = ForEachKeyLine(fs, request.series.folder / request.series.list.FileNames.front(), search,
                                    request.series.headerLines, scheme, judge)) {
    return error;
  }
  if (exact) {
    *verdict = KeyVerdict{VerdictKind::kExact, request.key};
  } else if (prefixLines > 1) {
    verdict->kind = VerdictKind::kAmbiguous;
  } else if (prefixLines == 1) {
    // A name longer than the file system holds it (UTF-8 or UTF-16, not the data's bytes) could
    // never be written; text that is not valid in the code page is the caller's to tell.
    if (prefixName) {
      const std::optional<TextCodec::Native> native = codec.Decode(*prefixName);
      if (native && native->size() > kLongestOutputName) prefixName = std::nullopt;
    }
    *verdict = KeyVerdict{VerdictKind::kUniquePrefix, std::move(prefixName)};
  }
  return std::nullopt;
}

}  // namespace kesmaro
