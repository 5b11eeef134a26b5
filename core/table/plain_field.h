#ifndef KESMARO_CORE_TABLE_PLAIN_FIELD_H_
#define KESMARO_CORE_TABLE_PLAIN_FIELD_H_

// Plain decimals (`-`, digits, a point and digits, ended by a field separator or a line end) read
// from the sixteen bytes of a line's start at once, as the table's searches judge their lines,
// and byte by byte (ReadPlainDecimal), the reading those must equal.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>

#include "core/run/byte_lanes.h"
#include "core/run/byte_words.h"
#include "core/run/line_rules.h"
#include "core/table/decimal.h"
#include "core/table/fields.h"

namespace kesmaro {

/// The lanes of the sixteen bytes `head` that hold digits.
[[gnu::always_inline]] inline byte_lanes::Lanes DigitLanes(byte_lanes::Lanes head) {
  // Less '0' and moved by 128 (in unsigned bytes, which wrap), the digits are the ten least signed
  // bytes: a subtraction and one compare, where a test of both bounds takes three.
  using Bytes = unsigned char __attribute__((vector_size(16)));
  const Bytes moved = reinterpret_cast<Bytes>(head) - static_cast<unsigned char>('0' - 128);
  return byte_lanes::Splat(-128 + 10) > reinterpret_cast<byte_lanes::Lanes>(moved);
}

/// The digits among the sixteen bytes of `head`, as bits.
template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
[[gnu::always_inline]] inline std::uint32_t DigitBits(byte_lanes::Lanes head) {
  return byte_lanes::LaneBits<kIsa>(DigitLanes(head));
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

/// The most digits of a plain decimal whose double the searches read: a double tells apart all
/// decimals of fifteen digits.
inline constexpr std::size_t kMostPlainDigits = 15;

/// A plain decimal as ReadPlainDecimal reads it.
struct PlainDecimal {
  bool negative = false;
  std::uint64_t mantissa = 0;      ///< its digits as one integer, when there are kMostPlainDigits at most
  std::size_t digits = 0;          ///< either side of the point
  std::size_t fractionDigits = 0;  ///< after the point
  std::size_t end = 0;             ///< where the separator or line end after it is

  /// Its double, for kMostPlainDigits digits at most.
  double Value() const {
    const double value = PlainValue(mantissa, fractionDigits);
    return negative ? -value : value;
  }
};

/// The plain decimal, of any length, at `pos`, ended within `to` by a field separator or a line
/// end; nullopt when there is none. Read byte by byte: the reference that the readers of a line's
/// sixteen bytes at once fall back on, and are held to.
std::optional<PlainDecimal> ReadPlainDecimal(const char* data, std::size_t pos, std::size_t to);

/// Whether the field at `pos` is a plain decimal, of any length, ended within `to`: told from one
/// vector where the field ends within it.
template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
[[gnu::always_inline]] inline bool IsPlainField(const char* data, std::size_t pos, std::size_t to) {
  if constexpr (std::endian::native == std::endian::little) {
    if (to - pos >= byte_lanes::kLanes) {
      const PlainHead shape = ReadPlainHead(data + pos, DigitBits<kIsa>(byte_lanes::Load(data + pos)), 0);
      if (shape.wholeEnd == shape.start) return false;
      if (shape.end != 0) return EndsPlain(data[pos + shape.end]);
    }
  }
  return ReadPlainDecimal(data, pos, to).has_value();
}

/// Where a plain decimal whose first digit is in lane 0 of `digits` ends, told from the bits of its
/// vector's digits and points: its digits and its first point run on to the byte after it, which
/// ends the decimal where it is plain (a second point stops the run short of the end). At most
/// `lanes`, the lanes the vector holds of it.
[[gnu::always_inline]] inline std::size_t PlainRunEnd(std::uint32_t digits, std::uint32_t points,
                                                      std::size_t lanes) {
  return static_cast<unsigned>(std::countr_zero(~(digits | (points & (0u - points))) | 1u << lanes));
}

/// The fields after one that ends at the first of sixteen bytes, as their bits: where the field
/// separators and the line ends lie, and where field `k` (from 1) begins, after the run of
/// separators that follows the field before it (lane 0 follows the one that ended), or at the
/// line's end where the line has fewer fields; kLanes when it lies beyond the sixteen.
struct FieldLanes {
  std::uint32_t separators = 0;
  std::uint32_t lineEnds = 0;
  std::size_t at = 0;
};

/// The FieldLanes of the sixteen bytes `bytes`, for field `k` (1 or more).
template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
[[gnu::always_inline]] inline FieldLanes ReadFieldLanes(byte_lanes::Lanes bytes, std::size_t k) {
  constexpr std::size_t kLanes = byte_lanes::kLanes;
  using byte_lanes::Splat;
  FieldLanes lanes;
  lanes.separators = byte_lanes::LaneBits<kIsa>((bytes == Splat(' ')) | (bytes == Splat('\t')) |
                                                (bytes == Splat(',')) | (bytes == Splat(';')));
  lanes.lineEnds = byte_lanes::LaneBits<kIsa>(byte_lanes::LineEndLanes(bytes));
  const auto lineEnd = static_cast<unsigned>(std::countr_zero(lanes.lineEnds | 1u << kLanes));
  std::uint32_t begins = ~lanes.separators & (lanes.separators << 1 | 1) & ((2u << lineEnd) - 1);
  for (std::size_t field = 1; field < k && begins != 0; ++field) begins &= begins - 1;
  lanes.at = begins != 0 ? static_cast<unsigned>(std::countr_zero(begins)) : lineEnd;
  return lanes;
}

/// Where field `k` (from 1) of a line starts, counted on from the field that ends at `end` (k 0):
/// after the run of separators that follows the field before it, or at a line end when the line
/// has fewer fields. Told from one vector where those fields lie within it, as the cells of lines
/// of four columns mostly do; byte by byte otherwise.
template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
[[gnu::always_inline]] inline std::size_t FieldAfter(const char* data, std::size_t end, std::size_t to,
                                                     std::size_t k) {
  if (k > 0 && to - end >= byte_lanes::kLanes) {
    const std::size_t at = ReadFieldLanes<kIsa>(byte_lanes::Load(data + end), k).at;
    if (at < byte_lanes::kLanes) return end + at;
  }
  std::size_t pos = end;
  for (std::size_t field = 1; field <= k; ++field) {
    if (field > 1) {
      while (pos < to && !IsFieldSeparator(data[pos]) && !IsLineEnd(data[pos])) ++pos;
    }
    while (pos < to && IsFieldSeparator(data[pos])) ++pos;
  }
  return pos;
}

/// Whether field `k` (from 1), counted on from the field that ends at `end` as FieldAfter counts,
/// is a plain decimal (IsPlainField): told from the one vector of FieldAfter where the field ends
/// within it too (PlainRunEnd).
template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
[[gnu::always_inline]] inline bool IsPlainFieldAfter(const char* data, std::size_t end, std::size_t to,
                                                     std::size_t k) {
  constexpr std::size_t kLanes = byte_lanes::kLanes;
  if (k > 0 && to - end >= kLanes) {
    const byte_lanes::Lanes bytes = byte_lanes::Load(data + end);
    const FieldLanes lanes = ReadFieldLanes<kIsa>(bytes, k);
    const std::size_t at = lanes.at;
    if (at < kLanes) {
      const std::uint32_t digits = DigitBits<kIsa>(bytes) >> at;
      if ((digits & 1) != 0) {
        const std::uint32_t points = byte_lanes::LaneBits<kIsa>(bytes == byte_lanes::Splat('.')) >> at;
        const std::size_t after = at + PlainRunEnd(digits, points, kLanes - at);
        if (after < kLanes) return ((lanes.separators | lanes.lineEnds) >> after & 1) != 0;
      } else if (data[end + at] != '-') {
        return false;
      }
    }
  }
  return IsPlainField<kIsa>(data, FieldAfter<kIsa>(data, end, to, k), to);
}

/// The value of the `count` decimal digits, one to eight, in the low bytes of `word`, in the
/// order they are written; the bytes above them are not looked at.
[[gnu::always_inline]] inline std::uint64_t DigitsWordValue(std::uint64_t word, std::size_t count) {
  // The digits' bytes less '0', moved to the top of the word as if zeros came before them (no
  // borrow crosses from a digit into the byte above it); then pairs, fours and eights of them
  // summed in place.
  word = (word - 0x3030303030303030) << (8 * (8 - count));
  word = word * 10 + (word >> 8);
  return (((word & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
          (((word >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
         32;
}

/// The value of `count` decimal digits, at most eight, at `p`; eight bytes are held there.
[[gnu::always_inline]] inline std::uint64_t DigitsValue(const char* p, std::size_t count) {
  return count == 0 ? 0 : DigitsWordValue(byte_words::Load(p), count);
}

/// A line's first field as the searches judge it.
struct FirstField {
  bool plain = false;  ///< whether it is a plain decimal of kMostPlainDigits digits at most
  double x = 0;
  std::size_t end = 0;  ///< where it ends, when plain
};

/// What ReadFirstField reads of a line's start: a vector, and a word after it for the digits that
/// end near the vector's end.
inline constexpr std::size_t kFieldReach = byte_lanes::kLanes + byte_words::kWord;

/// The first field of the line at `pos`, as ReadPlainDecimal reads it, from one vector of the
/// line's start for a field that ends within its first sixteen bytes with up to eight digits
/// either side of the point: the common first field. Others are read byte by byte. With `kHeld`,
/// the caller knows that kFieldReach bytes are held from `pos` on.
template <bool kHeld, byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
[[gnu::always_inline]] inline void ReadFirstField(const char* data, std::size_t pos, std::size_t to,
                                                  FirstField* field) {
  if constexpr (std::endian::native == std::endian::little) {
    if (kHeld || to - pos >= kFieldReach) {
      const char* p = data + pos;
      const std::uint32_t digits = DigitBits<kIsa>(byte_lanes::Load(p));
      const PlainHead shape = ReadPlainHead(p, digits, 0);
      const std::size_t wholeDigits = shape.wholeEnd - shape.start;
      const std::size_t fractionDigits = shape.end > shape.wholeEnd ? shape.end - shape.wholeEnd - 1 : 0;
      if (wholeDigits == 0) return;
      // Within one word, or ended within sixteen bytes with eight digits at most either side of the
      // point, the field has fifteen digits at most.
      const bool inWord = shape.end - shape.start <= byte_words::kWord;
      if (shape.end != 0 &&
          (inWord || (wholeDigits <= byte_words::kWord && fractionDigits <= byte_words::kWord))) {
        if (!EndsPlain(p[shape.end])) return;
        std::uint64_t mantissa;
        if (inWord) {
          // The common field, digits and point within one word: the point taken out by moving the
          // fraction's digits down a byte, and all the digits read at once.
          const std::uint64_t word = byte_words::Load(p + shape.start);
          const std::uint64_t whole = ~std::uint64_t{0} >> (64 - 8 * wholeDigits);
          mantissa = DigitsWordValue((word & whole) | ((word >> 8) & ~whole), wholeDigits + fractionDigits);
        } else {
          mantissa = DigitsValue(p + shape.start, wholeDigits) * kIntegerPowers[fractionDigits] +
                     DigitsValue(p + shape.wholeEnd + 1, fractionDigits);
        }
        const double value = PlainValue(mantissa, fractionDigits);
        field->plain = true;
        field->x = shape.start != 0 ? -value : value;
        field->end = pos + shape.end;
        return;
      }
    }
  }
  const std::optional<PlainDecimal> number = ReadPlainDecimal(data, pos, to);
  field->plain = number && number->digits <= kMostPlainDigits;
  if (!field->plain) return;
  field->x = number->Value();
  field->end = number->end;
}

/// A field's key (FieldShape). Where words are 64 bits, the word of its bytes as one integer, in
/// the order they are written. Where they are 32, the low nibbles of those bytes, in that order,
/// as one word: 0 to 9 for the digits, and 0xE for the point, which stands in one place in all
/// the shapes that key alike. So the keys keep their order, and each is compared in one register
/// rather than in a pair.
using FieldKey =
    std::conditional_t<(sizeof(std::size_t) >= sizeof(std::uint64_t)), std::uint64_t, std::uint32_t>;

/// The first eight of sixteen bytes, each below 16, as the nibbles of one word in the order the
/// bytes are written (FieldKey).
template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
[[gnu::always_inline]] inline std::uint32_t PackNibbles(byte_lanes::Lanes nibbles) {
  if constexpr (std::endian::native == std::endian::little) {
    // Each pair's two nibbles into its first byte, the first nibble above; then the pairs' first
    // bytes in one word, whose bytes are turned to be in the order written.
    using byte_lanes::Pairs;
    Pairs pairs = reinterpret_cast<Pairs>(nibbles);
    pairs = ((pairs << 4) | (pairs >> 8)) & (Pairs{} + 0xFF);
    return __builtin_bswap32(byte_lanes::FirstPairsAsBytes<kIsa>(pairs));
  } else {
    std::uint32_t packed = 0;
    for (std::size_t lane = 0; lane < byte_words::kWord; ++lane)
      packed = packed << 4 | static_cast<std::uint32_t>(nibbles[lane]);
    return packed;
  }
}

/// The shape of a line's start whose first field is a plain decimal without a sign that fills at
/// most a word (seven digits and a point, or eight digits): where its digits lie, its point and
/// the byte after it (Fits). Fields read as keys (FieldKey): the word of their bytes as one
/// integer, in the order they are written, filled out with a point and zeros to eight bytes, so
/// that the keys of every shape with as many digits before the point (KeysLike: `1000`, `1000.1`,
/// `1000.01` and `1000.011`, as exports write x at its shortest) are in their numbers' order and,
/// as their doubles are apart for each, their doubles' order. A search so tells a line from the
/// bounds it passes lines over within, once these are made keys of the line's shape, without
/// reading the line as a number.
class FieldShape {
 public:
  /// Becomes the shape of the line at the sixteen bytes `head` at `p`, whose digits are the bits
  /// of `digits`: false when the line has no such shape.
  bool Learn(const char* p, const byte_lanes::Lanes& head, std::uint32_t digits);

  /// Whether the line whose sixteen bytes are `head`, with digits in the lanes `digits`
  /// (DigitLanes), is of this shape.
  template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
  [[gnu::always_inline]] bool Fits(byte_lanes::Lanes head, byte_lanes::Lanes digits) const {
    return Holds<kIsa>(head, digits, digitLanes_, sameLanes_, neededLanes_);
  }

  /// The key of a field of this shape, from its line's start at `p`, whose first sixteen bytes are
  /// `head`.
  template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
  [[gnu::always_inline]] FieldKey Key(const char* p, const byte_lanes::Lanes& head) const {
    if constexpr (sizeof(FieldKey) == sizeof(std::uint64_t)) {
      return WordKey((byte_words::Load(p) & keyMask_) | fill_);
    } else {
      return PackNibbles<kIsa>((head & nibbleMask_) | nibbleFill_);
    }
  }

  /// The least key of a field of this shape, or of one that KeysLike it, whose double is above
  /// `bound`, or at least `bound` when `orEqual`; above every key when there is none (a NaN bound).
  FieldKey LeastKey(double bound, bool orEqual) const;

  /// Where the field ends in its line.
  std::size_t End() const { return end_; }

  /// Whether the keys of `other` are in one order with this shape's: as many digits before the
  /// point, whatever the digits after it.
  bool KeysLike(const FieldShape& other) const { return wholeDigits_ == other.wholeDigits_; }

 private:
  /// Whether each of the `needed` lanes of `head` holds a digit where `digitLanes` say so, or
  /// the learnt line's byte where `sameLanes` do; a lane needed that is neither never does. Told
  /// in the vector, all lanes in one test.
  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] bool Holds(byte_lanes::Lanes head, byte_lanes::Lanes digits,
                                    byte_lanes::Lanes digitLanes, byte_lanes::Lanes sameLanes,
                                    byte_lanes::Lanes needed) const {
    return !byte_lanes::Any<kIsa>(needed & ~((digits & digitLanes) | ((head == bytes_) & sameLanes)));
  }
  /// A word's bytes as one integer, in the order they are written.
  [[gnu::always_inline]] static std::uint64_t WordKey(std::uint64_t word) {
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap64(word);
    return word;
  }
  /// The key of the eight bytes of a field, filled out, at `bytes`.
  static FieldKey BytesKey(const char* bytes);
  /// The decimals that keys are written to: as many as fill a word after the point.
  std::size_t KeyFractionDigits() const;

  byte_lanes::Lanes bytes_{};       ///< the learnt line's first bytes
  byte_lanes::Lanes digitLanes_{};  ///< the lanes that are digits
  byte_lanes::Lanes sameLanes_{};   ///< the lanes that are as in the learnt line
  /// The lanes a line must have as the learnt one, digits or the same bytes; all sixteen, with
  /// none to be digits or the same, before a shape is learnt, so that no line is of it.
  byte_lanes::Lanes neededLanes_ = byte_lanes::Splat(-1);
  std::uint64_t keyMask_ = 0;       ///< the field's bytes in the word
  std::uint64_t fill_ = 0;          ///< the point and zeros that fill a key out to eight bytes
  byte_lanes::Lanes nibbleMask_{};  ///< the field's bytes' low nibbles, where keys are nibbles
  byte_lanes::Lanes nibbleFill_{};  ///< the nibbles of the fill
  std::uint8_t wholeDigits_ = 0;    ///< the field's digits before its point
  std::uint8_t end_ = 0;            ///< where the field ends
};

/// The bounds of a window that a search passes lines over within, made keys of one kind of line:
/// a few shapes (FieldShape) that key alike, as x written at its shortest comes in several, so
/// that the lines of those shapes are told from them without being read as numbers.
class KeyedWindow {
 public:
  /// The doubles the keys are made from: the window's open bounds, the x above which a line,
  /// moving up, is passed over, and the x below which one, moving down, is.
  struct Bounds {
    double low = 0, high = 0, pastBelow = 0, shortOfAbove = 0;
    bool operator==(const Bounds&) const = default;
  };

  /// Keys the window for the line at the sixteen bytes `head` at `p`: makes
  /// the keys of `bounds` for the line's shape, and gives the line's key when it lies inside the
  /// window; none too when the line has no such shape. Two fields of
  /// these shapes lie a step apart at least, far more than their doubles' rounding, so the keys
  /// tell lines apart as their doubles do. `passed` says whether a line was passed over by key
  /// since the last call. A shape that keys like those learnt joins them, and their keys stay;
  /// another takes their place.
  ///
  /// Lines written in turn in shapes that key apart would make keys for every line, so shapes
  /// learnt that no line was passed over by key with make the search wait some thousands of bytes
  /// from `at`, the line's place in the block, before it keys the window again (Ready).
  std::optional<FieldKey> KeyLine(std::size_t at, const char* p, const byte_lanes::Lanes& head,
                                  const Bounds& bounds, bool passed);

  /// A block of data from `from` on is walked: what is still to wait counts from there.
  void Begin(std::size_t from) { resume_ = from + wait_; }
  /// Whether the window may be keyed for the line at `at` in the block.
  bool Ready(std::size_t at) const { return at >= resume_; }
  /// The block ends at `to`: what is still to wait is kept for the next one.
  void End(std::size_t to) { wait_ = resume_ > to ? resume_ - to : 0; }

  /// Whether there are keys for the shapes learnt last: those of the bounds that a line was
  /// last keyed with, for a search whose every window stays one it may pass lines over within.
  [[gnu::always_inline]] bool Keyed() const { return made_; }
  /// Whether the line whose sixteen bytes are `head`, with digits in the lanes `digits`, is of the
  /// first shape keyed: the shape of the last line that fitted, mostly that of most lines. Before
  /// any is learnt, no line is.
  template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
  [[gnu::always_inline]] bool FitsFirst(byte_lanes::Lanes head, byte_lanes::Lanes digits) const {
    return shapes_[0].Fits<kIsa>(head, digits);
  }
  [[gnu::always_inline]] const FieldShape& First() const { return shapes_[0]; }
  /// The other shape keyed that the line at `at` in the block is of; null when none. Out of the
  /// line of the common one. A shape found for a line soon after another line the first shape
  /// missed comes first from then on, as the first is then not the common one (a first line of
  /// `1000` before lines of `1000.001`); one found for a line among many of the first shape, as
  /// `1000.01` among `1000.011`, does not, so that the next line looks no further.
  template <byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild>
  [[gnu::always_inline]] const FieldShape* OtherFitting(std::size_t at, const char* p) {
    using byte_lanes::Isa;
    return byte_lanes::EntryPoints<&OtherFittingIn<Isa::kBuild>,
                                   &OtherFittingIn<Isa::kSse2>>::template For<kIsa>(this, at, p);
  }
  /// Whether a key lies inside the window.
  [[gnu::always_inline]] bool Inside(FieldKey key) const { return key >= low_ && key < high_; }
  /// Whether the line at `key`, inside the window and followed by the line at `nextKey`, moves
  /// away from what it could matter to.
  [[gnu::always_inline]] bool Passed(FieldKey key, FieldKey nextKey) const {
    return nextKey > key ? key >= past_ : nextKey < key && key < shortOf_;
  }

 private:
  /// OtherFitting's body, compiled into an entry point of its own for each instruction set.
  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] static const FieldShape* OtherFittingIn(KeyedWindow* window, std::size_t at,
                                                                 const char* p) {
    // Read again rather than handed over: a vector passed by reference is stored for every
    // line, in case the call is made.
    const byte_lanes::Lanes head = byte_lanes::Load(p);
    const byte_lanes::Lanes digits = DigitLanes(head);
    const bool soon = at - window->lastMissed_ <= kSoon;  // at the start of a block, a wrap past kSoon
    window->lastMissed_ = at;
    for (std::size_t i = 1; i < window->count_; ++i) {
      if (!window->shapes_[i].Fits<kIsa>(head, digits)) continue;
      if (!soon) return &window->shapes_[i];
      std::swap(window->shapes_[0], window->shapes_[i]);
      return &window->shapes_[0];
    }
    return nullptr;
  }

  /// The bytes within which a line the first shape missed follows another, for the shape it is
  /// of to come first: a few lines.
  static constexpr std::size_t kSoon = 64;
  /// The bytes that wait for another shape to be learnt: some hundreds of lines.
  static constexpr std::size_t kWait = 8192;
  /// The shapes that key alike held at once: x at its shortest with up to three decimals.
  static constexpr std::size_t kShapes = 4;

  std::array<FieldShape, kShapes> shapes_;
  std::size_t count_ = 0;       ///< the shapes learnt, which all key alike
  std::size_t lastMissed_ = 0;  ///< where the last line the first shape missed starts in its block
  bool made_ = false;           ///< whether the keys are those of `bounds_` for the shapes
  Bounds bounds_;
  FieldKey low_ = 0, high_ = 0, past_ = 0, shortOf_ = 0;
  bool passed_ = false;     ///< whether a line was passed over by key since the shapes were learnt
  std::size_t resume_ = 0;  ///< where in the block being walked the window may be keyed again
  std::size_t wait_ = 0;    ///< the bytes still to wait when a block ends
};

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_PLAIN_FIELD_H_
