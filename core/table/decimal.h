#ifndef KESMARO_CORE_TABLE_DECIMAL_H_
#define KESMARO_CORE_TABLE_DECIMAL_H_

// Numbers as the data write them. The table compares the numbers in a first column as the
// decimals they are written as, exactly; a file's name is read for the number that orders the
// series.

#include <array>
#include <cfloat>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/run/line_rules.h"

namespace kesmaro {

/// Powers of ten: as integers, every one a 64-bit word holds; as doubles, those that are exact.
inline constexpr std::array<std::uint64_t, 20> kIntegerPowers = [] {
  std::array<std::uint64_t, 20> powers{};
  std::uint64_t power = 1;
  for (std::uint64_t& p : powers) {
    p = power;
    power *= 10;
  }
  return powers;
}();
inline constexpr double kDoublePowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/// The double nearest to `mantissa` / 10^`fractionDigits`, for a mantissa up to 2^53 and up to
/// 22 digits after the point: both are exact doubles, so the one division rounds once, to the
/// nearest (where doubles are evaluated as doubles, FLT_EVAL_METHOD 0). The searches read a plain
/// field so, and ToDouble a decimal that fits.
[[gnu::always_inline]] inline double PlainValue(std::uint64_t mantissa, std::size_t fractionDigits) {
  return static_cast<double>(mantissa) / kDoublePowers[fractionDigits];
}

/// A decimal number as written: `mantissa` × 10^`exponent`, with no zeros at the end of the
/// mantissa, so that two equal numbers are equal members (zero is all zeros, never negative).
/// The mantissa holds up to 19 significant digits, and every decimal of up to 19 is held exactly;
/// of a longer one the 20th digit rounds the 19th (halves away from zero). The exponent is at
/// most 999,999,999 either way, far beyond any double: `1e-400` is a number, and it is not 0.
struct Decimal {
  static constexpr int kMantissaDigits = 19;

  std::uint64_t mantissa = 0;
  std::int32_t exponent = 0;
  bool negative = false;

  friend bool operator==(const Decimal&, const Decimal&) = default;
};

/// The character a number's fraction starts at: `.`, or `,` for data written with decimal commas.
enum class DecimalMark : char { kPoint = '.', kComma = ',' };

/// LeadingDecimal's and ToDouble's reading of any number, which they fall back on for all but the
/// common ones.
std::optional<Decimal> LeadingDecimalInFull(std::string_view text, std::size_t* end, DecimalMark mark);
double ToDoubleInFull(const Decimal& number);

/// Reads the decimal number at the start of `text` as far as its syntax goes and sets `*end`
/// behind it: an optional sign, digits with an optional fraction (or a fraction alone, `.5`), and
/// an optional exponent (`e` or `E`, an optional sign, digits). nullopt when there is none there.
/// The common number, digits with a fraction or without and no exponent, up to 19 digits in all,
/// is read inline: each of its digits is held, so they are read in one pass without telling which
/// are significant.
inline std::optional<Decimal> LeadingDecimal(std::string_view text, std::size_t* end,
                                             DecimalMark mark = DecimalMark::kPoint) {
  const std::size_t size = text.size();
  std::size_t pos = 0;
  const bool negative = pos < size && text[pos] == '-';
  if (pos < size && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::uint64_t mantissa = 0;
  // Nine digits at most at a time in a 32-bit word, which 32-bit x86 multiplies by ten in one
  // step, where it takes three for a 64-bit one.
  const auto readDigits = [&] {
    const std::size_t from = pos;
    for (std::size_t count = 9; count == 9;) {
      std::uint32_t part = 0;
      for (count = 0; count < 9 && pos < size; ++count, ++pos) {
        const unsigned digit = static_cast<unsigned char>(text[pos]) - unsigned{'0'};
        if (digit > 9) break;
        part = part * 10 + digit;
      }
      mantissa = mantissa * kIntegerPowers[count] + part;
    }
    return pos - from;
  };
  const std::size_t whole = readDigits();
  std::size_t fraction = 0;
  if (pos < size && text[pos] == static_cast<char>(mark)) {
    ++pos;
    fraction = readDigits();
  }
  if (whole + fraction == 0 || whole + fraction > static_cast<std::size_t>(Decimal::kMantissaDigits) ||
      (pos < size && (text[pos] == 'e' || text[pos] == 'E')))
    return LeadingDecimalInFull(text, end, mark);
  *end = pos;
  if (mantissa == 0) return Decimal{};
  std::int32_t exponent = -static_cast<std::int32_t>(fraction);
  while (mantissa % 10 == 0) {
    mantissa /= 10;
    ++exponent;
  }
  return Decimal{mantissa, exponent, negative};
}

/// The number a text is wholly written as, with no blanks; nullopt otherwise.
inline std::optional<Decimal> ParseDecimal(std::string_view text, DecimalMark mark = DecimalMark::kPoint) {
  std::size_t end = 0;
  const std::optional<Decimal> number = LeadingDecimal(text, &end, mark);
  if (!number || end != text.size()) return std::nullopt;
  return number;
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

/// Whether a double's arithmetic rounds once, to a double, as Clinger's fast path needs: wherever
/// doubles are evaluated as doubles (FLT_EVAL_METHOD 0), and on the x87 while it rounds to a
/// double's 53 bits, as the 32-bit Windows programs have it do from their start. At its own 64
/// bits the x87 rounds a result twice, to 64 bits and then to 53, and now and then to the farther
/// double.
bool X87RoundsOnce();
[[gnu::always_inline]] inline bool DoublesRoundOnce() {
  if constexpr (FLT_EVAL_METHOD == 0) {
    return true;
  } else {
    static const bool once = X87RoundsOnce();
    return once;
  }
}

/// The double nearest to the decimal; ±0 or ±infinity beyond a double's range. Clinger's fast
/// path inline: a mantissa up to 2^53 and a power of ten up to 10^22 are both exact doubles, so
/// one multiplication or division rounds the decimal correctly, as from_chars does, where doubles
/// round once (DoublesRoundOnce).
inline double ToDouble(const Decimal& number) {
  if (number.mantissa > (std::uint64_t{1} << 53) || number.exponent < -22 || number.exponent > 22 ||
      !DoublesRoundOnce())
    return ToDoubleInFull(number);
  const double value = number.exponent < 0
                           ? PlainValue(number.mantissa, static_cast<std::size_t>(-number.exponent))
                           : static_cast<double>(number.mantissa) * kDoublePowers[number.exponent];
  return number.negative ? -value : value;
}

/// How far apart two decimals are: `high` × 2^64 + `low` units of 10^`exponent`. Exact when the
/// two numbers' last digits lie within 18 places of each other; otherwise the one whose digits
/// end 18 places or more below the other's is cut there, so a distance keeps at least 37
/// significant digits.
struct Distance {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  std::int32_t exponent = 0;
};

Distance DistanceBetween(const Decimal& a, const Decimal& b);

std::strong_ordering operator<=>(const Distance& a, const Distance& b);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_DECIMAL_H_
