#ifndef KESMARO_CORE_RUN_DATA_READER_H_
#define KESMARO_CORE_RUN_DATA_READER_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/file_system.h"
#include "core/run/line_search.h"

namespace kesmaro {

/// What a reader holds of the line it handed over.
struct LineView {
  std::string_view text;  ///< the line's bytes from the first one not yet consumed, without the line end
  bool whole = true;      ///< whether `text` runs to the end of the line
};

/// The bytes a DataReader reads at a time, and the most of a long line it holds at once.
inline constexpr std::size_t kDataBlockSize = 128 * 1024;

/// Reads a data file in blocks of kDataBlockSize and hands over only the lines its LineSearch
/// takes (those that begin with the key, or with a number asked for), found by searching whole
/// blocks, so the cost of a scan grows with the matches rather than with the number of lines. A
/// line ends at CR LF, LF or a lone CR; a last line without an end is a line. A UTF-8 byte order
/// mark at the start of the file is no part of its first line. Memory stays at one block whatever
/// the length of a line: a line that is passed over is never held, and a longer candidate is
/// handed over a block at a time.
class DataReader {
 public:
  /// `path` only names the file in errors. `search` must outlive the reader.
  DataReader(InputFile& file, std::filesystem::path path, LineSearch& search);

  /// Discards `count` lines (none when 0 or less); a kTooFewLines error when the file ends first.
  Status SkipLines(std::int64_t count);

  /// Sets `*line` to the next line the search takes, or to nullopt at the end of the file;
  /// whatever the caller left of the previous line is passed over. A line longer than a block
  /// comes in parts: then `whole` is false, the text holds at least the search's reach and the
  /// four bytes after it (enough to tell an exact hit of a key in any code page), and ReadOn
  /// gives the rest. The view lasts until the next call.
  Status NextCandidate(std::optional<LineView>* line);

  /// Moves on within the current line: drops the first `consumed` bytes of `line->text` and
  /// sets `*line` to what follows, up to the line's end or a block's worth. What is not consumed
  /// is handed over again, so a character cut off at the end of a part can be read whole; it
  /// must be no more than a few bytes.
  Status ReadOn(std::size_t consumed, LineView* line);

 private:
  /// Reads more of the file behind the unconsumed bytes; sets eof_ at the end.
  Status Fill();
  /// Whether the unconsumed bytes, which hold no line end, fill the whole buffer.
  bool Full() const { return end_ - begin_ == buffer_.size(); }
  /// Passes over the line the byte at begin_ belongs to, up to and including its end, whether
  /// that end is held already or is still to be read.
  void PassRestOfLine();
  /// Drops the bytes just read that still belong to a line passed over.
  void DropPassedBytes();
  void SkipByteOrderMark();
  /// The position of the first CR or LF at or after `from`, or `to`.
  std::size_t LineEnd(std::size_t from, std::size_t to) const;
  /// The position after the line end at `end` (which may be `to`, the data's end).
  std::size_t AfterLineEnd(std::size_t end, std::size_t to) const;

  InputFile& file_;
  std::filesystem::path path_;
  LineSearch& search_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;     ///< the first unconsumed byte: a line start, or inside lineOpen_'s line
  std::size_t complete_ = 0;  ///< the end of the last complete line held; all bytes at the end
  std::size_t end_ = 0;       ///< the end of the bytes read
  bool eof_ = false;
  bool startChecked_ = false;  ///< whether the file's start was checked for a byte order mark
  bool lineOpen_ = false;      ///< a candidate was handed over in parts and its rest is to come
  bool passing_ = false;       ///< the next bytes belong to a line passed over, up to its end
  bool passLf_ = false;        ///< the line passed over ended in a CR, so a next LF is its end too
};

/// Opens the data file at `path`, passes over its first `headerLines` lines, and hands `visit`
/// each following line that `search` takes, in file order, with the reader that holds it (to read
/// on within a long line), until the end of the file, a failure, or a line after which `visit`
/// sets `*stop`.
Status ForEachLineTaken(
    FileSystem& fs, const std::filesystem::path& path, LineSearch& search, std::int64_t headerLines,
    const std::function<Status(DataReader& reader, const LineView& line, bool* stop)>& visit);

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_DATA_READER_H_
