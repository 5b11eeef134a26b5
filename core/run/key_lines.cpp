#include "core/run/key_lines.h"

#include <string_view>

namespace kesmaro {

Status ForEachKeyLine(FileSystem& fs, const std::filesystem::path& path, KeyLineSearch& search,
                      std::int64_t headerLines, CharScheme scheme,
                      const std::function<Status(KeyLine&)>& visit) {
  const std::string_view key = search.key();
  return ForEachLineTaken(fs, path, search, headerLines,
                          [&](DataReader& reader, const LineView& line, bool* stop) -> Status {
                            KeyLine hit{reader, line, ExactHitPosition(line.text, key, scheme)};
                            if (!hit.exact && !BeginsWithKey(line.text, key, scheme)) return std::nullopt;
                            if (Status error = visit(hit)) return error;
                            *stop = hit.stop;
                            return std::nullopt;
                          });
}

}  // namespace kesmaro
