#include "core/key_lines.h"

#include <string_view>

namespace kesmaro {

Status ForEachKeyLine(FileSystem& fs, const std::filesystem::path& path, const KeyLineSearch& search,
                      std::int64_t headerLines, CharScheme scheme,
                      const std::function<Status(KeyLine&)>& visit) {
  const std::string_view key = search.key();
  return ForEachLineTaken(fs, path, search, headerLines,
                          [&](DataReader& reader, const LineView& text, bool* stop) -> Status {
                            KeyLine line{reader, text, ExactHitPosition(text.text, key, scheme)};
                            if (!line.exact && !BeginsWithKey(text.text, key, scheme)) return std::nullopt;
                            if (Status error = visit(line)) return error;
                            *stop = line.stop;
                            return std::nullopt;
                          });
}

}  // namespace kesmaro
