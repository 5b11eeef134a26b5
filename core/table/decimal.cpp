#include "core/table/decimal.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace kesmaro {
namespace {

constexpr std::int64_t kLargestExponent = 999'999'999;
/// Distances align two numbers' digits at most this many places apart, so that a sum of two
/// stays below 10^38, which 128 bits hold with room for one more digit of scale.
constexpr std::int64_t kAlignedPlaces = 18;

/// An unsigned 128-bit number in two words, written out so that 32-bit targets have it too.
struct Wide {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  friend auto operator<=>(const Wide&, const Wide&) = default;
};

Wide Add(Wide a, Wide b) {
  const std::uint64_t low = a.low + b.low;
  return {a.high + b.high + (low < a.low ? 1 : 0), low};
}

Wide Subtract(Wide a, Wide b) {  // a >= b
  return {a.high - b.high - (a.low < b.low ? 1 : 0), a.low - b.low};
}

/// a × b for a product below 2^128.
Wide Multiply(Wide a, std::uint64_t b) {
  constexpr std::uint64_t kHalf = 0xFFFFFFFF;
  const std::uint64_t a0 = a.low & kHalf, a1 = a.low >> 32, b0 = b & kHalf, b1 = b >> 32;
  const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const std::uint64_t middle = (p00 >> 32) + (p01 & kHalf) + (p10 & kHalf);
  return {a.high * b + p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & kHalf)};
}

/// a × 10^places for a product below 2^128.
Wide ScaleUp(Wide a, int places) {
  for (; places > 19; places -= 19) a = Multiply(a, kIntegerPowers[19]);
  return Multiply(a, kIntegerPowers[static_cast<std::size_t>(places)]);
}

int DigitCount(Wide value) {
  int digits = 1;
  if (value.high == 0) {
    while (digits < 20 && value.low >= kIntegerPowers[static_cast<std::size_t>(digits)]) ++digits;
    return digits;
  }
  digits = 20;
  while (digits < 39 && value >= ScaleUp(Wide{0, 1}, digits)) ++digits;
  return digits;
}

/// Compares two magnitudes m × 10^e by where their first digits stand, then digit by digit.
std::strong_ordering CompareMagnitudes(Wide a, std::int64_t aExponent, Wide b, std::int64_t bExponent) {
  const Wide zero;
  if (a == zero || b == zero) return (a != zero) <=> (b != zero);
  const int aDigits = DigitCount(a), bDigits = DigitCount(b);
  if (const auto order = aDigits + aExponent <=> bDigits + bExponent; order != 0) return order;
  if (aDigits < bDigits) a = ScaleUp(a, bDigits - aDigits);
  if (bDigits < aDigits) b = ScaleUp(b, aDigits - bDigits);
  return a <=> b;
}

/// A decimal's magnitude in units of 10^exponent, cut where its digits go further down.
Wide Scaled(const Decimal& number, std::int64_t exponent) {
  const std::int64_t shift = number.exponent - exponent;
  if (shift >= 0) return Multiply(Wide{0, number.mantissa}, kIntegerPowers[static_cast<std::size_t>(shift)]);
  return {0, -shift >= 20 ? 0 : number.mantissa / kIntegerPowers[static_cast<std::size_t>(-shift)]};
}

}  // namespace

std::optional<Decimal> LeadingDecimalInFull(std::string_view text, std::size_t* end, DecimalMark mark) {
  std::size_t pos = 0;
  const std::size_t size = text.size();
  const bool negative = pos < size && text[pos] == '-';
  if (pos < size && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::uint64_t mantissa = 0;
  int kept = 0;  // significant digits in the mantissa
  std::int64_t exponent = 0;
  int firstDropped = -1;  // the first significant digit that did not fit, which rounds
  std::size_t digits = 0;
  for (; pos < size && IsDigit(text[pos]); ++pos, ++digits) {
    const int digit = text[pos] - '0';
    if (kept < Decimal::kMantissaDigits) {
      if (kept > 0 || digit != 0) {
        mantissa = mantissa * 10 + static_cast<unsigned>(digit);
        ++kept;
      }
    } else {
      if (firstDropped < 0) firstDropped = digit;
      ++exponent;
    }
  }
  if (pos < size && text[pos] == static_cast<char>(mark)) {
    for (++pos; pos < size && IsDigit(text[pos]); ++pos, ++digits) {
      const int digit = text[pos] - '0';
      if (kept < Decimal::kMantissaDigits) {
        if (kept > 0 || digit != 0) {
          mantissa = mantissa * 10 + static_cast<unsigned>(digit);
          ++kept;
        }
        --exponent;
      } else if (firstDropped < 0) {
        firstDropped = digit;
      }
    }
  }
  if (digits == 0) return std::nullopt;
  if (pos < size && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    const bool negativeExponent = pos < size && text[pos] == '-';
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::int64_t written = 0;
    const std::size_t start = pos;
    // Held at 2^58 once past it, not cut short: no text is long enough for its digits' places to
    // bring that back within range, as `0.1e10000000000` would be if it were read as 0.1e10^9.
    constexpr std::int64_t kHeld = std::int64_t{1} << 58;
    for (; pos < size && IsDigit(text[pos]); ++pos) {
      written = std::min(written * 10 + (text[pos] - '0'), kHeld);
    }
    if (pos == start) return std::nullopt;
    exponent += negativeExponent ? -written : written;
  }
  *end = pos;
  if (firstDropped >= 5 && ++mantissa == kIntegerPowers[Decimal::kMantissaDigits]) {
    mantissa /= 10;
    ++exponent;
  }
  if (mantissa == 0) return Decimal{};
  while (mantissa % 10 == 0) {
    mantissa /= 10;
    ++exponent;
  }
  if (exponent > kLargestExponent || exponent < -kLargestExponent) return std::nullopt;
  return Decimal{mantissa, static_cast<std::int32_t>(exponent), negative};
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
  if (a.negative != b.negative)
    return a.negative ? std::strong_ordering::less : std::strong_ordering::greater;
  const std::strong_ordering magnitude =
      CompareMagnitudes(Wide{0, a.mantissa}, a.exponent, Wide{0, b.mantissa}, b.exponent);
  return a.negative ? 0 <=> magnitude : magnitude;
}

bool X87RoundsOnce() {
  // 1 + 2^-53 + 2^-65 lies just above halfway from 1 to the next double: rounded once, it is that
  // next double; rounded to 64 bits first, it is the halfway point, which rounds to even, to 1.
  volatile double one = 1.0, above = 0x1p-53 + 0x1p-65;
  volatile double sum = one + above;
  return sum != 1.0;
}

double ToDoubleInFull(const Decimal& number) {
  // Beyond the fast path, the decimal is written out for from_chars, which rounds it correctly.
  double value = 0;
  const std::string text = std::to_string(number.mantissa) + "e" + std::to_string(number.exponent);
  if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) {
    value = number.exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return number.negative ? -value : value;
}

Distance DistanceBetween(const Decimal& a, const Decimal& b) {
  if (a.mantissa == 0) return {0, b.mantissa, b.exponent};
  if (b.mantissa == 0) return {0, a.mantissa, a.exponent};
  const std::int64_t top = std::max(a.exponent, b.exponent);
  const std::int64_t exponent =
      std::max<std::int64_t>(std::min(a.exponent, b.exponent), top - kAlignedPlaces);
  const Wide x = Scaled(a, exponent), y = Scaled(b, exponent);
  const Wide distance = a.negative != b.negative ? Add(x, y) : x < y ? Subtract(y, x) : Subtract(x, y);
  return {distance.high, distance.low, static_cast<std::int32_t>(exponent)};
}

std::strong_ordering operator<=>(const Distance& a, const Distance& b) {
  return CompareMagnitudes(Wide{a.high, a.low}, a.exponent, Wide{b.high, b.low}, b.exponent);
}

}  // namespace kesmaro
