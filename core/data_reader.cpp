#include "core/data_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kesmaro {
namespace {

constexpr std::size_t kBlockSize = 128 * 1024;

}  // namespace

DataReader::DataReader(InputFile& file, std::filesystem::path path, const KeyLineSearch& search)
    : file_(file), path_(std::move(path)), search_(search), buffer_(kBlockSize) {}

Status DataReader::Fill() {
  if (eof_) return std::nullopt;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    complete_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // one line fills the block
  std::size_t count = 0;
  if (Status error = file_.Read(buffer_.data() + end_, buffer_.size() - end_, &count)) {
    error->file = path_;
    return error;
  }
  const std::size_t oldEnd = end_;
  end_ += count;
  if (count == 0) {
    eof_ = true;
    complete_ = end_;
    return std::nullopt;
  }
  // Only the new bytes can end a line, and a CR just before them now shows whether an LF follows.
  const std::size_t scanFrom = std::max(complete_, oldEnd > 0 ? oldEnd - 1 : 0);
  for (std::size_t pos = end_; pos > scanFrom; --pos) {
    const char ch = buffer_[pos - 1];
    if (ch == '\n' || (ch == '\r' && pos != end_)) {
      complete_ = pos;
      break;
    }
  }
  return std::nullopt;
}

std::size_t DataReader::LineEnd(std::size_t from, std::size_t to) const {
  const char* data = buffer_.data();
  while (from < to && !IsLineEnd(data[from])) ++from;
  return from;
}

std::size_t DataReader::AfterLineEnd(std::size_t end, std::size_t to) const {
  if (end >= to) return to;
  if (buffer_[end] == '\r' && end + 1 < end_ && buffer_[end + 1] == '\n') return end + 2;
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
    if (Status error = Fill()) return error;
  }
  return std::nullopt;
}

Status DataReader::NextCandidate(std::optional<std::string_view>* line) {
  *line = std::nullopt;
  for (;;) {
    const std::size_t start = search_.Find(buffer_.data(), begin_, complete_);
    if (start < complete_) {
      const std::size_t end = LineEnd(start, complete_);
      *line = std::string_view(buffer_.data() + start, end - start);
      begin_ = AfterLineEnd(end, complete_);
      return std::nullopt;
    }
    begin_ = complete_;
    if (eof_) return std::nullopt;
    if (Status error = Fill()) return error;
  }
}

}  // namespace kesmaro
