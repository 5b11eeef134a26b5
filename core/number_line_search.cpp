#include "core/number_line_search.h"

#include <cmath>
#include <cstring>
#include <string>

#include "core/byte_words.h"

namespace kesmaro {
namespace {

using namespace byte_words;

/// Whole parts of up to this many digits are looked up; longer ones are always taken.
constexpr std::size_t kMostDigits = 7;
constexpr double kFirstTooLong = 10'000'000;

/// A whole number below kFirstTooLong as its decimal digits are written, in memory order.
std::uint64_t WrittenDigits(std::uint64_t whole) {
  const std::string text = whole == 0 ? std::string() : std::to_string(whole);
  std::uint64_t digits = 0;
  std::memcpy(&digits, text.data(), text.size());
  return digits;
}

std::size_t SlotOf(std::uint64_t digits, std::size_t slotCount) {
  return static_cast<std::size_t>((digits * 0x9E3779B97F4A7C15) >> 32) & (slotCount - 1);
}

/// The start of the line after the one that holds `pos`, or `to`.
std::size_t NextLineStart(const char* data, std::size_t pos, std::size_t to) {
  pos = FindLineEnd(data, pos, to);
  if (pos == to) return to;
  return pos + (data[pos] == '\r' && pos + 1 < to && data[pos + 1] == '\n' ? 2 : 1);
}

}  // namespace

NumberLineSearch::NumberLineSearch(const std::vector<double>& values) {
  std::size_t slotCount = 16;
  while (slotCount < 8 * values.size()) slotCount *= 2;
  slots_.assign(slotCount, kNoDigits);
  for (const double value : values) {
    // A value of eight whole digits or more is equal only to numbers written with as many, or
    // with an exponent, and those lines are all taken.
    const double whole = std::trunc(std::fabs(value));
    if (std::isnan(value) || whole >= kFirstTooLong) continue;
    const std::uint64_t digits = WrittenDigits(static_cast<std::uint64_t>(whole));
    std::size_t slot = SlotOf(digits, slotCount);
    while (slots_[slot] != kNoDigits && slots_[slot] != digits) slot = (slot + 1) & (slotCount - 1);
    slots_[slot] = digits;
  }
}

bool NumberLineSearch::Holds(std::uint64_t digits) const {
  for (std::size_t slot = SlotOf(digits, slots_.size());; slot = (slot + 1) & (slots_.size() - 1)) {
    if (slots_[slot] == digits) return true;
    if (slots_[slot] == kNoDigits) return false;
  }
}

bool NumberLineSearch::MayEqual(const char* data, std::size_t pos, std::size_t to) const {
  while (pos < to && IsFieldSeparator(data[pos])) ++pos;
  if (pos < to && (data[pos] == '+' || data[pos] == '-')) ++pos;
  while (pos < to && data[pos] == '0') ++pos;
  // The field's start, sixteen bytes of it, in two words; nearer the end of what is held the
  // line is left to the full reading, which happens once a block at most.
  if (to - pos < 2 * kWord) return true;
  const std::uint64_t head = Load(data + pos);
  const std::size_t wholeDigits = FirstMarked(~BytesBetween(head, '0', '9') & kHigh);
  if (wholeDigits > kMostDigits) return true;
  // Where the run of digits and points ends, the number ends; an exponent there moves its point.
  // ('/' lies between them in ASCII and joins the run, which makes no number of it either way.)
  std::uint64_t rest = ~BytesBetween(head, '.', '9') & kHigh;
  std::size_t runEnd = 0;
  if (rest != 0) {
    runEnd = FirstMarked(rest);
  } else {
    rest = ~BytesBetween(Load(data + pos + kWord), '.', '9') & kHigh;
    if (rest == 0) return true;
    runEnd = kWord + FirstMarked(rest);
  }
  if (data[pos + runEnd] == 'e' || data[pos + runEnd] == 'E') return true;
  return Holds(FirstBytes(head, wholeDigits));
}

std::size_t NumberLineSearch::Find(const char* data, std::size_t from, std::size_t to) const {
  while (from < to) {
    if (IsLineEnd(data[from])) {
      ++from;  // an empty line, or the LF of a CR LF
      continue;
    }
    if (MayEqual(data, from, to)) return from;
    from = NextLineStart(data, from, to);
  }
  return to;
}

}  // namespace kesmaro
