#ifndef KESMARO_CORE_PLAIN_FIELD_H_
#define KESMARO_CORE_PLAIN_FIELD_H_

// Plain decimals (`-`, digits, a point and digits, ended by a field separator or a line end) read
// from the sixteen bytes of a line's start at once, as the table's searches judge their lines.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/byte_lanes.h"
#include "core/byte_words.h"
#include "core/decimal.h"
#include "core/line_rules.h"

namespace kesmaro {

/// The digits among the sixteen bytes of `head`, as bits.
[[gnu::always_inline]] inline std::uint32_t DigitBits(byte_lanes::Lanes head) {
  using namespace byte_lanes;
  return LaneBits((head >= Splat('0')) & (head <= Splat('9')));
}

/// Whether a byte ends a plain decimal: a field separator or a line end; looked up, as the
/// searches ask it of every line.
inline constexpr auto kEndsPlain = [] {
  std::array<bool, 256> ends{};
  for (std::size_t byte = 0; byte < ends.size(); ++byte) {
    const char ch = static_cast<char>(byte);
    ends[byte] = IsFieldSeparator(ch) || IsLineEnd(ch);
  }
  return ends;
}();
[[gnu::always_inline]] inline bool EndsPlain(char ch) { return kEndsPlain[static_cast<unsigned char>(ch)]; }

/// The shape of a plain decimal within sixteen bytes.
struct PlainHead {
  std::size_t start = 0;     ///< where its digits start, after a sign
  std::size_t wholeEnd = 0;  ///< where the digits before the point end; `start` when there are none
  std::size_t end = 0;       ///< the first byte after it; 0 when that is not within the sixteen
};

/// The PlainHead of the number starting `at` (below sixteen) bytes into the sixteen at `p`, whose
/// digits are the bits of `digits`.
[[gnu::always_inline]] inline PlainHead ReadPlainHead(const char* p, std::uint32_t digits, std::size_t at) {
  constexpr std::size_t kLanes = byte_lanes::kLanes;
  PlainHead shape;
  shape.start = at + (p[at] == '-' ? 1 : 0);
  shape.wholeEnd = shape.start + static_cast<std::size_t>(std::countr_one(digits >> shape.start));
  std::size_t end = shape.wholeEnd;
  if (end == shape.start) return shape;
  if (end < kLanes && p[end] == '.')
    end += 1 + static_cast<std::size_t>(std::countr_one(digits >> (end + 1)));
  if (end < kLanes) shape.end = end;
  return shape;
}

/// The shape of a line's start whose first field is a plain decimal without a sign that fills at
/// most a word (seven digits and a point, or eight digits): where its digits lie, its point and
/// the byte after it; and, when learnt with its cell, the one field separator after it and the
/// plain decimal cell after that, with the byte after that, all within sixteen bytes (Fits), or a
/// plain decimal cell of any width there (FitsField and CellFits), as intensities are written. Fields of
/// one shape read as keys: the word of their bytes as one integer, in the order they are written,
/// whose order is their numbers' order and, as their doubles are apart for each, their doubles'
/// order. A search so tells a line from the bounds it passes lines over within, once these are
/// made keys of the line's shape, without reading the line as a number.
class FieldShape {
 public:
  /// Becomes the shape of the line at the sixteen bytes `head` at `p`, whose digits are the bits
  /// of `digits`, with its cell when `cell`: false when the line has no such shape.
  bool Learn(const char* p, const byte_lanes::Lanes& head, std::uint32_t digits, bool cell);

  /// Whether the line whose sixteen bytes are `head`, with digits `digits`, is of this shape.
  [[gnu::always_inline]] bool Fits(byte_lanes::Lanes head, std::uint32_t digits) const {
    const std::uint32_t same = byte_lanes::LaneBits(head == bytes_);
    return ((digits & digitBits_) | (same & sameBits_)) == (digitBits_ | sameBits_);
  }

  /// Whether the line fits the shape's first field and the separator after it: with a cell of
  /// another width, it is still of the shape where CellFits.
  [[gnu::always_inline]] bool FitsField(byte_lanes::Lanes head, std::uint32_t digits) const {
    const std::uint32_t same = byte_lanes::LaneBits(head == bytes_);
    return ((digits & fieldDigitBits_) | (same & fieldSameBits_)) == (fieldDigitBits_ | fieldSameBits_);
  }

  /// For a shape learnt with its cell, whether the line at `p` (a vector and a word held there),
  /// whose first sixteen bytes have digits `digits` and which Fits, has a plain decimal cell right
  /// after the separator, ended within those bytes; true for a shape without.
  [[gnu::always_inline]] bool CellFits(const char* p, std::uint32_t digits) const {
    if (!cell_) return true;
    constexpr std::size_t kLanes = byte_lanes::kLanes;
    const PlainHead cell = ReadPlainHead(p, digits, std::size_t{end_} + 1);
    if (cell.wholeEnd == cell.start) return false;
    if (cell.end != 0) return EndsPlain(p[cell.end]);
    // Its digits run past the vector (`516.3401` after `1000.00`): read on in the word.
    bool point = cell.wholeEnd < kLanes;
    for (std::size_t at = kLanes; at < kLanes + byte_words::kWord; ++at) {
      if (IsDigit(p[at])) continue;
      if (p[at] != '.' || point) return EndsPlain(p[at]);
      point = true;
    }
    return false;
  }

  /// The key of a field of this shape, from its line's first eight bytes.
  [[gnu::always_inline]] std::uint64_t Key(std::uint64_t word) const {
    word &= keyMask_;
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap64(word);
    return word;
  }

  /// The least key of a field of this shape whose double is above `bound`, or at least `bound`
  /// when `orEqual`; above every key when there is none (a NaN bound).
  std::uint64_t LeastKey(double bound, bool orEqual) const;

  /// The least step between two numbers of this shape.
  double Step() const;
  /// Where the field ends in its line.
  std::size_t End() const { return end_; }

  bool operator==(const FieldShape& other) const {
    return digitBits_ == other.digitBits_ && sameBits_ == other.sameBits_ && cell_ == other.cell_ &&
           (byte_lanes::LaneBits(bytes_ == other.bytes_) & sameBits_) == sameBits_;
  }

 private:
  byte_lanes::Lanes bytes_{};  ///< the learnt line's first bytes
  /// The bytes that are digits, as bits; before a shape is learnt, one past the sixteen, so that
  /// no line fits.
  std::uint32_t digitBits_ = 1u << byte_lanes::kLanes;
  std::uint32_t sameBits_ = 0;                               ///< the bytes that are as in the learnt line
  std::uint32_t fieldDigitBits_ = 1u << byte_lanes::kLanes;  ///< the same for the first field alone
  std::uint32_t fieldSameBits_ = 0;
  std::uint64_t keyMask_ = 0;     ///< the field's bytes in the word
  std::uint8_t wholeDigits_ = 0;  ///< the field's digits before its point, and after it
  std::uint8_t fractionDigits_ = 0;
  std::uint8_t end_ = 0;  ///< where the field ends
  bool cell_ = false;     ///< whether learnt with its cell
};

/// The bounds of a window that a search passes lines over within, made keys of one shape of line
/// (FieldShape), so that the lines of that shape are told from them without being read as numbers.
class KeyedWindow {
 public:
  /// The doubles the keys are made from: the window's open bounds, the x above which a line,
  /// moving up, is passed over, and the x below which one, moving down, is.
  struct Bounds {
    double low = 0, high = 0, pastBelow = 0, shortOfAbove = 0;
    bool operator==(const Bounds&) const = default;
  };

  /// Keys the window for the line at the sixteen bytes `head` at `p`, with digits `digits`: makes
  /// the keys of `bounds` for the line's shape, with its cell when `cell`, and gives the line's
  /// key when it lies inside the window. None too when the line has no such shape, or when two
  /// lines' doubles closer than `slack` could not be told apart. `passed` says whether a line was
  /// passed over by key since the last call.
  ///
  /// Lines written in turn in several shapes would make keys for every line, so a shape learnt
  /// that no line was passed over by key with makes the search wait some thousands of bytes from
  /// `at`, the line's place in the block, before it keys the window again (Ready).
  std::optional<std::uint64_t> KeyLine(std::size_t at, const char* p, const byte_lanes::Lanes& head,
                                       std::uint32_t digits, bool cell, const Bounds& bounds, double slack,
                                       bool passed);

  /// A block of data from `from` on is walked: what is still to wait counts from there.
  void Begin(std::size_t from) { resume_ = from + wait_; }
  /// Whether the window may be keyed for the line at `at` in the block.
  bool Ready(std::size_t at) const { return at >= resume_; }
  /// The block ends at `to`: what is still to wait is kept for the next one.
  void End(std::size_t to) { wait_ = resume_ > to ? resume_ - to : 0; }

  /// Whether there are keys for the shape learnt last: those of the bounds that a line was
  /// last keyed with, for a search whose every window stays one it may pass lines over within.
  [[gnu::always_inline]] bool Keyed() const { return made_; }
  /// Whether the line at `p`, a vector and a word held there, is of the shape keyed, with its cell
  /// (FieldShape::CellFits) when `kCell`.
  template <bool kCell>
  [[gnu::always_inline]] bool LineFits(const char* p, byte_lanes::Lanes head, std::uint32_t digits) const {
    if (shape_.Fits(head, digits)) return true;
    return kCell && shape_.FitsField(head, digits) && shape_.CellFits(p, digits);
  }
  [[gnu::always_inline]] std::uint64_t Key(std::uint64_t word) const { return shape_.Key(word); }
  [[gnu::always_inline]] std::size_t FieldEnd() const { return shape_.End(); }
  /// Whether a key lies inside the window.
  [[gnu::always_inline]] bool Inside(std::uint64_t key) const { return key >= low_ && key < high_; }
  /// Whether the line at `key`, inside the window and followed by the line at `nextKey`, moves
  /// away from what it could matter to.
  [[gnu::always_inline]] bool Passed(std::uint64_t key, std::uint64_t nextKey) const {
    return nextKey > key ? key >= past_ : nextKey < key && key < shortOf_;
  }

 private:
  /// The bytes that wait for another shape to be learnt: some hundreds of lines.
  static constexpr std::size_t kWait = 8192;

  FieldShape shape_;
  bool made_ = false;  ///< whether the keys are those of `bounds_` for `shape_`
  Bounds bounds_;
  std::uint64_t low_ = 0, high_ = 0, past_ = 0, shortOf_ = 0;
  bool passed_ = false;     ///< whether a line was passed over by key since `shape_` was learnt
  std::size_t resume_ = 0;  ///< where in the block being walked the window may be keyed again
  std::size_t wait_ = 0;    ///< the bytes still to wait when a block ends
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_PLAIN_FIELD_H_
