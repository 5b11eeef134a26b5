#ifndef KESMARO_CORE_DATA_READER_H_
#define KESMARO_CORE_DATA_READER_H_

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/file_system.h"
#include "core/line_search.h"

namespace kesmaro {

/// Reads a data file in large blocks and hands over only the lines that begin with the key's
/// bytes, found by searching whole blocks (KeyLineSearch), so the cost of a scan grows with the
/// matches rather than with the number of lines. A line ends at CR LF, LF or a lone CR; a last
/// line without an end is a line. Memory stays at one block, unless a single line is longer.
class DataReader {
 public:
  /// `path` only names the file in errors. `search` holds the key and must outlive the reader.
  DataReader(InputFile& file, std::filesystem::path path, const KeyLineSearch& search);

  /// Discards `count` lines (none when 0 or less); a kTooFewLines error when the file ends first.
  Status SkipLines(std::int64_t count);

  /// Sets `*line` to the next line that begins with the key, or to nullopt at the end of the
  /// file. With an empty key that is every non-empty line. The view lasts until the next call.
  Status NextCandidate(std::optional<std::string_view>* line);

 private:
  /// Reads more of the file behind the unconsumed bytes; sets eof_ at the end.
  Status Fill();
  /// The position of the first CR or LF at or after `from`, or `to`.
  std::size_t LineEnd(std::size_t from, std::size_t to) const;
  /// The position after the line end at `end` (which may be `to`, the data's end).
  std::size_t AfterLineEnd(std::size_t end, std::size_t to) const;

  InputFile& file_;
  std::filesystem::path path_;
  const KeyLineSearch& search_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;     ///< the first unconsumed byte; always at a line start
  std::size_t complete_ = 0;  ///< the end of the last complete line read; all bytes at the end
  std::size_t end_ = 0;       ///< the end of the bytes read
  bool eof_ = false;
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_DATA_READER_H_
