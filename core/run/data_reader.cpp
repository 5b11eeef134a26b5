#include "core/run/data_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "core/run/byte_words.h"
#include "core/run/line_end.h"
#include "core/text/code_page.h"

namespace kesmaro {

// The buffer never grows: a block, and room for the search's reach.
DataReader::DataReader(InputFile& file, std::filesystem::path path, LineSearch& search)
    : file_(file), path_(std::move(path)), search_(search), buffer_(kDataBlockSize + search.Reach()) {}

Status DataReader::Fill() {
  if (eof_) return std::nullopt;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    complete_ -= begin_;
    begin_ = 0;
  }
  std::size_t count = 0;
  if (Status error = file_.Read(buffer_.data() + end_, buffer_.size() - end_, &count)) {
    error->file = path_;
    return error;
  }
  const std::size_t oldEnd = end_;
  end_ += count;
  if (count == 0) eof_ = true;
  if (passing_ || passLf_) DropPassedBytes();
  if (!startChecked_) SkipByteOrderMark();
  if (eof_) {
    complete_ = end_;
    return std::nullopt;
  }
  // Only the new bytes can end a line, and a CR just before them now shows whether an LF follows.
  const std::size_t scanFrom = std::max(complete_, oldEnd > 0 ? oldEnd - 1 : 0);
  std::size_t pos = end_;
  using byte_words::kWord;
  while (pos - scanFrom >= kWord &&
         byte_words::LineEndBytes(byte_words::Load(buffer_.data() + pos - kWord)) == 0)
    pos -= kWord;
  for (; pos > scanFrom; --pos) {
    const char ch = buffer_[pos - 1];
    if (IsLineEnd(ch) && (pos != end_ || !MayTakeNext(ch))) {
      complete_ = pos;
      break;
    }
  }
  return std::nullopt;
}

void DataReader::DropPassedBytes() {
  // Nothing else is held while a line is passed over, so the new bytes start at begin_.
  if (passing_) {
    passing_ = false;
    PassRestOfLine();  // which sets it again while the line's end is still to come
  } else if (begin_ < end_) {
    passLf_ = false;
    if (IsCrLf(kCr, buffer_[begin_])) ++begin_;  // the LF of the CR that ended the line passed over
    complete_ = std::max(complete_, begin_);
  }
}

void DataReader::SkipByteOrderMark() {
  const std::string_view held(buffer_.data() + begin_, end_ - begin_);
  if (held.size() < kUtf8ByteOrderMark.size() && kUtf8ByteOrderMark.starts_with(held) && !eof_) return;
  startChecked_ = true;
  if (held.starts_with(kUtf8ByteOrderMark)) {
    begin_ += kUtf8ByteOrderMark.size();
    complete_ = std::max(complete_, begin_);
  }
}

void DataReader::PassRestOfLine() {
  lineOpen_ = false;
  const std::size_t end = LineEnd(begin_, end_);
  if (end == end_ || (MayTakeNext(buffer_[end]) && end + 1 == end_)) {
    // Its end is still to be read (or, after a CR, whether an LF belongs to it).
    passing_ = end == end_;
    passLf_ = !passing_;
    begin_ = complete_ = end_;
    return;
  }
  begin_ = AfterLineEnd(end, end_);
  complete_ = std::max(complete_, begin_);
}

std::size_t DataReader::LineEnd(std::size_t from, std::size_t to) const {
  return FindLineEnd(buffer_.data(), from, to);
}

std::size_t DataReader::AfterLineEnd(std::size_t end, std::size_t to) const {
  if (end >= to) return to;
  if (end + 1 < end_ && IsCrLf(buffer_[end], buffer_[end + 1])) return end + 2;
  return end + 1;
}

Status DataReader::SkipLines(std::int64_t count) {
  while (count > 0) {
    if (begin_ < complete_) {
      begin_ = AfterLineEnd(LineEnd(begin_, complete_), complete_);
      --count;
      continue;
    }
    if (eof_) return Error{ErrorKind::kTooFewLines, path_, {}};
    if (Full()) {  // a header line longer than a block
      PassRestOfLine();
      --count;
    }
    if (Status error = Fill()) return error;
  }
  return std::nullopt;
}

Status DataReader::NextCandidate(std::optional<LineView>* line) {
  *line = std::nullopt;
  if (lineOpen_) PassRestOfLine();
  for (;;) {
    const std::size_t start = search_.Find(buffer_.data(), begin_, complete_);
    if (start < complete_) {
      const std::size_t end = LineEnd(start, complete_);
      *line = LineView{std::string_view(buffer_.data() + start, end - start), true};
      begin_ = AfterLineEnd(end, complete_);
      return std::nullopt;
    }
    begin_ = complete_;
    if (eof_) return std::nullopt;
    if (Full()) {
      // One line fills the block: a candidate is handed over in parts, any other passed over.
      if (search_.Find(buffer_.data(), begin_, end_) == begin_) {
        lineOpen_ = true;
        *line = LineView{std::string_view(buffer_.data() + begin_, LineEnd(begin_, end_) - begin_), false};
        return std::nullopt;
      }
      PassRestOfLine();
    }
    if (Status error = Fill()) return error;
  }
}

Status DataReader::ReadOn(std::size_t consumed, LineView* line) {
  line->text.remove_prefix(consumed);
  if (line->whole) return std::nullopt;
  begin_ += consumed;
  complete_ = std::max(complete_, begin_);
  std::size_t scanned = 0;  // bytes after begin_ known to hold no line end
  for (;;) {
    const std::size_t end = LineEnd(begin_ + scanned, end_);
    scanned = end - begin_;
    const bool ends = end < end_ || eof_;
    if (ends || Full()) {
      *line = LineView{std::string_view(buffer_.data() + begin_, end - begin_), ends};
      if (ends) {
        begin_ = end;
        PassRestOfLine();  // its end only; the bytes stay where the view shows them
      }
      return std::nullopt;
    }
    if (Status error = Fill()) return error;
  }
}

Status ForEachLineTaken(
    FileSystem& fs, const std::filesystem::path& path, LineSearch& search, std::int64_t headerLines,
    const std::function<Status(DataReader& reader, const LineView& line, bool* stop)>& visit) {
  std::unique_ptr<InputFile> file;
  if (Status error = fs.OpenForReading(path, &file)) return error;
  DataReader reader(*file, path, search);
  if (Status error = reader.SkipLines(headerLines)) return error;
  for (bool stop = false; !stop;) {
    std::optional<LineView> line;
    if (Status error = reader.NextCandidate(&line)) return error;
    if (!line) return std::nullopt;
    if (Status error = visit(reader, *line, &stop)) return error;
  }
  return std::nullopt;
}

}  // namespace kesmaro
