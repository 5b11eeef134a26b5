#include "core/key_lines.h"

#include <memory>

namespace kesmaro {

Status ForEachKeyLine(FileSystem& fs, const std::filesystem::path& path, const KeyLineSearch& search,
                      std::int64_t headerLines, CharScheme scheme, const std::function<Status(KeyLine&)>& visit) {
  std::unique_ptr<InputFile> file;
  if (Status error = fs.OpenForReading(path, &file)) return error;
  DataReader reader(*file, path, search);
  if (Status error = reader.SkipLines(headerLines)) return error;
  const std::string_view key = search.key();
  for (;;) {
    std::optional<LineView> text;
    if (Status error = reader.NextCandidate(&text)) return error;
    if (!text) return std::nullopt;
    KeyLine line{reader, *text, ExactHitPosition(text->text, key, scheme)};
    if (!line.exact && !BeginsWithKey(text->text, key, scheme)) continue;
    if (Status error = visit(line)) return error;
    if (line.stop) return std::nullopt;
  }
}

}  // namespace kesmaro
