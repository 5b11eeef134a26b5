#include "core/table/plain_field.h"

#include <cmath>
#include <cstring>

#include "core/table/fields.h"

namespace kesmaro {

std::optional<PlainDecimal> ReadPlainDecimal(const char* data, std::size_t pos, std::size_t to) {
  PlainDecimal number;
  number.negative = pos < to && data[pos] == '-';
  if (number.negative) ++pos;
  const auto readDigits = [&] {
    for (; pos < to && IsDigit(data[pos]); ++pos) {
      if (++number.digits <= kMostPlainDigits)
        number.mantissa = number.mantissa * 10 + static_cast<unsigned>(data[pos] - '0');
    }
  };
  readDigits();
  if (number.digits == 0) return std::nullopt;
  if (pos < to && data[pos] == '.') {
    const std::size_t wholeDigits = number.digits;
    ++pos;
    readDigits();
    number.fractionDigits = number.digits - wholeDigits;
  }
  if (pos >= to || !EndsPlain(data[pos])) return std::nullopt;
  number.end = pos;
  return number;
}

bool FieldShape::Learn(const char* p, const byte_lanes::Lanes& head, std::uint32_t digits) {
  const PlainHead field = ReadPlainHead(p, digits, 0);
  if (field.start != 0 || field.wholeEnd == 0 || field.end == 0 || field.end > byte_words::kWord ||
      !EndsPlain(p[field.end]))
    return false;
  const auto lanes = [](std::uint32_t bits) {
    byte_lanes::Lanes chosen{};
    for (std::size_t lane = 0; lane < byte_lanes::kLanes; ++lane)
      chosen[lane] = (bits >> lane & 1) != 0 ? -1 : 0;
    return chosen;
  };
  const std::uint32_t bits = (2u << field.end) - 1;  // up to the byte after the field
  bytes_ = head;
  digitLanes_ = lanes(digits & bits);
  sameLanes_ = lanes(bits & ~digits);
  neededLanes_ = lanes(bits);
  keyMask_ = byte_words::FirstBytes(~std::uint64_t{0}, field.end);
  // A point where the field has none, and zeros, fill its key out to a word's digits.
  char fill[byte_words::kWord] = {};
  for (std::size_t i = field.end; i < byte_words::kWord; ++i) fill[i] = i == field.wholeEnd ? '.' : '0';
  fill_ = byte_words::Load(fill);
  for (std::size_t i = 0; i < byte_words::kWord; ++i) {
    nibbleMask_[i] = i < field.end ? 0x0F : 0;
    nibbleFill_[i] = static_cast<signed char>(fill[i] & 0x0F);
  }
  end_ = static_cast<std::uint8_t>(field.end);
  wholeDigits_ = static_cast<std::uint8_t>(field.wholeEnd);
  return true;
}

std::size_t FieldShape::KeyFractionDigits() const {
  return wholeDigits_ < byte_words::kWord ? byte_words::kWord - 1 - wholeDigits_ : 0;
}

FieldKey FieldShape::BytesKey(const char* bytes) {
  if constexpr (sizeof(FieldKey) == sizeof(std::uint64_t)) {
    return WordKey(byte_words::Load(bytes));
  } else {
    byte_lanes::Lanes nibbles{};
    for (std::size_t i = 0; i < byte_words::kWord; ++i)
      nibbles[i] = static_cast<signed char>(bytes[i] & 0x0F);
    return PackNibbles(nibbles);
  }
}

FieldKey FieldShape::LeastKey(double bound, bool orEqual) const {
  // The keys are those of the numbers m / 10^f for m below 10^digits, written to a word's digits,
  // their doubles read as the searches read them; the least m whose double passes the bound, then
  // written out. A field with fewer decimals is one of those numbers, and its double that one's.
  const std::size_t fractionDigits = KeyFractionDigits();
  const std::uint64_t count = kIntegerPowers[wholeDigits_ + fractionDigits];
  const auto passes = [&](std::uint64_t m) {
    const double x = PlainValue(m, fractionDigits);
    return orEqual ? x >= bound : x > bound;
  };
  if (!passes(count - 1)) return ~FieldKey{0};
  const double guess = bound * kDoublePowers[fractionDigits];  // within a step or two of it
  std::uint64_t m = guess <= 0                                ? 0
                    : guess >= static_cast<double>(count - 1) ? count - 1
                                                              : static_cast<std::uint64_t>(guess);
  while (m > 0 && passes(m - 1)) --m;
  while (!passes(m)) ++m;
  char bytes[byte_words::kWord] = {};
  for (std::size_t i = byte_words::kWord; i-- > 0;) {
    if (i == wholeDigits_) {
      bytes[i] = '.';
      continue;
    }
    bytes[i] = static_cast<char>('0' + m % 10);
    m /= 10;
  }
  return BytesKey(bytes);
}

std::optional<FieldKey> KeyedWindow::KeyLine(std::size_t at, const char* p, const byte_lanes::Lanes& head,
                                             const Bounds& bounds, bool passed) {
  passed_ = passed_ || passed;
  const byte_lanes::Lanes digitLanes = DigitLanes(head);
  const FieldShape* shape = nullptr;
  for (std::size_t i = 0; i < count_ && shape == nullptr; ++i) {
    if (shapes_[i].Fits(head, digitLanes)) shape = &shapes_[i];
  }
  if (shape == nullptr) {
    FieldShape learnt;
    if (!learnt.Learn(p, head, byte_lanes::LaneBits(digitLanes))) return std::nullopt;
    std::size_t slot = 0;
    if (count_ > 0 && learnt.KeysLike(shapes_[0])) {
      // x written with other decimals than before (`1000.01` among `1000.011`): the keys made
      // serve it too. Of many such shapes the last learnt takes the last place.
      slot = std::min(count_, kShapes - 1);
    } else {
      if (made_ && !passed_) resume_ = at + kWait;
      made_ = false;
      passed_ = false;
    }
    shapes_[slot] = learnt;
    count_ = slot + 1;
    shape = &shapes_[slot];
  }
  if (!made_ || !(bounds == bounds_)) {
    made_ = true;
    bounds_ = bounds;
    low_ = shapes_[0].LeastKey(bounds.low, false);
    high_ = shapes_[0].LeastKey(bounds.high, true);
    past_ = shapes_[0].LeastKey(bounds.pastBelow, false);
    shortOf_ = shapes_[0].LeastKey(bounds.shortOfAbove, true);
  }
  const FieldKey key = shape->Key(p, head);
  if (!Inside(key)) return std::nullopt;
  return key;
}

}  // namespace kesmaro
