#include "core/table/number_line_search.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "core/run/byte_lanes.h"
#include "core/run/byte_words.h"
#include "core/table/fields.h"
#include "core/table/line_starts.h"
#include "core/table/table_numbers.h"

namespace kesmaro {
namespace {

using byte_words::FirstBytes;
using byte_words::FirstMarked;
using byte_words::kHigh;
using byte_words::kWord;

/// Whole parts of up to this many digits are looked up; longer ones are always taken.
constexpr std::size_t kMostDigits = 7;
/// The least whole part with more digits than that.
constexpr double kFirstTooLong = static_cast<double>(kIntegerPowers[kMostDigits]);
/// A field whose digits and points run on this far is always taken; shorter ones are judged by
/// that many bytes from the field's start.
constexpr std::size_t kLongRun = 16;

/// A whole number below kFirstTooLong as its decimal digits are written, in memory order.
std::uint64_t WrittenDigits(std::uint64_t whole) {
  const std::string text = whole == 0 ? std::string() : std::to_string(whole);
  std::uint64_t digits = 0;
  std::memcpy(&digits, text.data(), text.size());
  return digits;
}

std::size_t Mix(std::uint64_t word) { return static_cast<std::size_t>((word * 0x9E3779B97F4A7C15) >> 32); }

std::size_t SlotCount(std::size_t values) {
  std::size_t count = 16;
  while (count < 8 * values) count *= 2;
  return count;
}

}  // namespace

/// The search, written once and compiled once per instruction set by the entry points below.
struct NumberLineScan {
  using Search = NumberLineSearch;

  /// The search's whole parts as plain values, so that they stay in registers, and the verdict
  /// on the last whole part looked up: in a series sorted by its first column, neighbouring
  /// lines mostly share theirs.
  struct Wholes {
    const std::uint64_t* slots;
    std::size_t lastSlot;
    std::uint64_t last = Search::kNoDigits;
    bool lastHeld = false;

    [[gnu::always_inline]] bool Hold(std::uint64_t digits) {
      if (digits == last) return lastHeld;
      last = digits;
      for (std::size_t slot = Mix(digits) & lastSlot;; slot = (slot + 1) & lastSlot) {
        if (slots[slot] == digits) return lastHeld = true;
        if (slots[slot] == Search::kNoDigits) return lastHeld = false;
      }
    }
  };

  /// Whether a line that starts with a digit from 1 to 9, with sixteen bytes held, is taken: the
  /// common line of a data file, judged from one vector of its bytes.
  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] static bool MayEqualPlain(const Search& search, Wholes& wholes, const char* data,
                                                   std::size_t pos) {
    using namespace byte_lanes;
    const Lanes head = Load(data + pos);
    // ('/' lies between the point and the digits in ASCII and joins the run, which makes no
    // number of it either way.)
    const std::uint32_t run = LaneBits<kIsa>((head >= Splat('.')) & (head <= Splat('9')));
    if (run == 0xFFFF) return true;
    const auto runEnd = static_cast<std::size_t>(std::countr_one(run));
    if ((data[pos + runEnd] | 0x20) == 'e') return true;
    const std::uint32_t points = LaneBits<kIsa>(head == Splat('.'));
    const auto wholeEnd = static_cast<std::size_t>(std::countr_one(run & ~points));
    if (wholeEnd > kMostDigits) return true;
    const std::uint64_t low = byte_words::Load(data + pos);
    if (!wholes.Hold(FirstBytes(low, wholeEnd))) return false;
    // Zeros at the end of a fraction, and then its point, are no part of the shortest writing.
    std::size_t size = runEnd;
    if (points & (1u << wholeEnd)) {
      const std::uint32_t written = ~LaneBits<kIsa>(head == Splat('0')) & ((1u << runEnd) - 1);
      size = 32 - static_cast<std::size_t>(std::countl_zero(written));
      if (size == wholeEnd + 1) size = wholeEnd;
    }
    Search::Writing writing;
    writing.bytes[0] = FirstBytes(low, std::min(size, kWord));
    writing.bytes[1] = size > kWord ? FirstBytes(byte_words::Load(data + pos + kWord), size - kWord) : 0;
    return search.HoldsWriting(writing);
  }

  /// Whether the line at `pos` is taken: from one vector of its start where that can tell.
  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] static bool Takes(const Search& search, Wholes& wholes, const char* data,
                                           std::size_t pos, std::size_t to) {
    const bool plain = data[pos] >= '1' && data[pos] <= '9' && to - pos >= kLongRun;
    return plain ? MayEqualPlain<kIsa>(search, wholes, data, pos) : search.MayEqual(data, pos, to);
  }

  template <byte_lanes::Isa kIsa>
  [[gnu::always_inline]] static std::size_t Find(const Search& search, const char* data, std::size_t from,
                                                 std::size_t to) {
    Wholes wholes{search.wholes_.data(), search.wholes_.size() - 1};
    // Every line a round starts has sixteen bytes held.
    return ForEachLineStart<kLongRun, kIsa>(
        data, from, to, [&](std::size_t pos, auto) __attribute__((always_inline)) {
          return Takes<kIsa>(search, wholes, data, pos, to) ? pos : kGoOn;
        });
  }
};

namespace {
using Entries = byte_lanes::EntryPoints<NumberLineScan::Find<byte_lanes::Isa::kBuild>,
                                        NumberLineScan::Find<byte_lanes::Isa::kSse2>>;
}  // namespace

NumberLineSearch::NumberLineSearch(const std::vector<double>& values, Instructions instructions)
    : wholes_(SlotCount(values.size()), kNoDigits),
      writings_(SlotCount(values.size())),
      scan_(instructions == Instructions::kFastest ? Entries::Fastest() : Entries::Portable) {
  const std::size_t lastSlot = wholes_.size() - 1;
  for (const double value : Numbers(values)) {
    // A value of eight whole digits or more is equal only to numbers written with as many, or
    // with an exponent, and those lines are all taken.
    const double whole = std::trunc(std::fabs(value));
    if (whole >= kFirstTooLong) continue;
    const std::uint64_t digits = WrittenDigits(static_cast<std::uint64_t>(whole));
    std::size_t slot = Mix(digits) & lastSlot;
    while (wholes_[slot] != kNoDigits && wholes_[slot] != digits) slot = (slot + 1) & lastSlot;
    wholes_[slot] = digits;

    // Lines whose field starts with a digit from 1 to 9 are compared with the value's writing to
    // fifteen significant digits, which only values of 1 and more have. A value that writing does
    // not give back equals no decimal of fifteen digits or fewer.
    if (value < 1) continue;
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    double back = 0;
    std::from_chars(text, written.ptr, back);
    const auto size = static_cast<std::size_t>(written.ptr - text);
    if (back != value || size >= kLongRun || std::memchr(text, 'e', size) != nullptr) continue;
    Writing writing;
    std::memcpy(writing.bytes, text, size);
    slot = FirstSlot(writing);
    while (writings_[slot] != Writing{} && writings_[slot] != writing) slot = (slot + 1) & lastSlot;
    writings_[slot] = writing;
  }
}

std::size_t NumberLineSearch::FirstSlot(const Writing& writing) const {
  return Mix(writing.bytes[0] ^ Mix(writing.bytes[1])) & (writings_.size() - 1);
}

bool NumberLineSearch::HoldsWriting(const Writing& writing) const {
  const std::size_t lastSlot = writings_.size() - 1;
  for (std::size_t slot = FirstSlot(writing);; slot = (slot + 1) & lastSlot) {
    if (writings_[slot] == writing) return true;
    if (writings_[slot] == Writing{}) return false;
  }
}

bool NumberLineSearch::MayEqual(const char* data, std::size_t pos, std::size_t to) const {
  while (pos < to && IsFieldSeparator(data[pos])) ++pos;
  if (pos < to && (data[pos] == '+' || data[pos] == '-')) ++pos;
  while (pos < to && data[pos] == '0') ++pos;
  // The field's start, sixteen bytes of it, in two words; nearer the end of what is held the
  // line is left to the full reading, which happens once a block at most.
  if (to - pos < kLongRun) return true;
  const std::uint64_t head = byte_words::Load(data + pos);
  const std::size_t wholeDigits = FirstMarked(~byte_words::BytesBetween(head, '0', '9') & kHigh);
  if (wholeDigits > kMostDigits) return true;
  // Where the run of digits and points ends, the number ends; an exponent there moves its point.
  std::uint64_t rest = ~byte_words::BytesBetween(head, '.', '9') & kHigh;
  std::size_t runEnd = 0;
  if (rest != 0) {
    runEnd = FirstMarked(rest);
  } else {
    rest = ~byte_words::BytesBetween(byte_words::Load(data + pos + kWord), '.', '9') & kHigh;
    if (rest == 0) return true;
    runEnd = kWord + FirstMarked(rest);
  }
  if (data[pos + runEnd] == 'e' || data[pos + runEnd] == 'E') return true;
  NumberLineScan::Wholes wholes{wholes_.data(), wholes_.size() - 1};
  return wholes.Hold(FirstBytes(head, wholeDigits));
}

bool NumberLineSearch::Takes(const char* data, std::size_t pos, std::size_t to) const {
  NumberLineScan::Wholes wholes{wholes_.data(), wholes_.size() - 1};
  return NumberLineScan::Takes<byte_lanes::Isa::kBuild>(*this, wholes, data, pos, to);
}

std::size_t NumberLineSearch::Find(const char* data, std::size_t from, std::size_t to) {
  return scan_(*this, data, from, to);
}

}  // namespace kesmaro
