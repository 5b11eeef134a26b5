#ifndef KESMARO_CORE_RUN_LINE_SEARCH_H_
#define KESMARO_CORE_RUN_LINE_SEARCH_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/run/byte_words.h"
#include "core/run/line_end.h"

namespace kesmaro {

/// The position of the first CR or LF in [from, to), or `to`. Eight bytes at a time, so that
/// passing over a line costs little more than reading it.
inline std::size_t FindLineEnd(const char* data, std::size_t from, std::size_t to) {
  for (; to - from >= byte_words::kWord; from += byte_words::kWord) {
    if (const std::uint64_t ends = byte_words::LineEndBytes(byte_words::Load(data + from))) {
      return from + byte_words::FirstMarked(ends);
    }
  }
  while (from < to && !IsLineEnd(data[from])) ++from;
  return from;
}

/// Which lines of a block a DataReader hands over, found without the reader walking the lines.
/// Find may learn from the lines it has seen (the table's searches remember the lines they took),
/// so a search serves one reader at a time unless it says it keeps nothing.
class LineSearch {
 public:
  virtual ~LineSearch() = default;

  /// The first position p in [from, to) that starts a line (p == from, or the byte before it is a
  /// CR or an LF) and whose line the search takes; `to` when there is none. `from` must start a
  /// line. A line that runs on past `to` is judged by its bytes before `to`.
  virtual std::size_t Find(const char* data, std::size_t from, std::size_t to) = 0;

  /// How many bytes of a line's start the search compares; a reader holds that many beyond a block.
  virtual std::size_t Reach() const = 0;

  /// Which instructions a search's sixteen-byte steps use. kFastest takes the processor's vector
  /// unit (SSE2 on x86, chosen at run time on 32-bit x86, whose oldest processors lack it);
  /// kPortable is the same search compiled for the oldest processor the build targets.
  enum class Instructions { kFastest, kPortable };
};

/// Finds, in a block of text, the lines that begin with a key, without walking the block line by
/// line: sixteen positions at a time it keeps only those that follow a line end and hold the
/// key's last two bytes where the key would end, and compares the key at those alone. In
/// numeric data that leaves a handful of positions per block, so the search runs at close to the
/// speed of memory. It keeps nothing between blocks, so one may serve several readers at once.
class KeyLineSearch final : public LineSearch {
 public:
  explicit KeyLineSearch(std::string_view key, Instructions instructions = Instructions::kFastest);

  /// Takes the lines that begin with the key's bytes; with the empty key, every non-empty line. A
  /// key that holds a CR or an LF begins no line.
  std::size_t Find(const char* data, std::size_t from, std::size_t to) override;
  std::size_t Reach() const override { return key_.size(); }

  std::string_view key() const { return key_; }

 private:
  using Scan = std::size_t (*)(std::string_view key, const char* data, std::size_t from, std::size_t to);

  std::size_t FindEmptyKey(const char* data, std::size_t from, std::size_t to) const;

  std::string key_;
  bool canMatch_ = true;
  Scan scan_;
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_LINE_SEARCH_H_
