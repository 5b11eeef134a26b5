// The searches' reading of a line's first field from sixteen bytes at once (plain_field.h)
// against a reading of the same bytes one at a time: the plain decimal's shape, the shape learnt
// from one line and whether another fits it; and the keys of that shape, and of another that keys
// like it, against the fields' decimals (ParseDecimal): in their order, and, with LeastKey, their
// doubles (ToDouble).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "core/run/line_rules.h"
#include "core/table/decimal.h"
#include "core/table/fields.h"
#include "core/table/plain_field.h"
#include "fuzz/check.h"

namespace kesmaro {
namespace {

/// What a line takes of the input: a vector and a word, as the searches read a first field.
constexpr std::size_t kHeld = kFieldReach;

/// A plain decimal from `at`: `-`, digits, a point and digits, as far as the bytes go.
struct Plain {
  bool read = false;
  std::size_t wholeEnd = 0, end = 0;
};

Plain ReadPlain(const std::string& p, std::size_t at) {
  std::size_t pos = at + (p[at] == '-' ? 1 : 0);
  const std::size_t start = pos;
  while (pos < p.size() && IsDigit(p[pos])) ++pos;
  if (pos == start) return {false, pos, pos};
  Plain plain{true, pos, pos};
  if (pos < p.size() && p[pos] == '.')
    for (++pos; pos < p.size() && IsDigit(p[pos]); ++pos) {
    }
  plain.end = pos;
  return plain;
}

bool Ended(const std::string& p, const Plain& plain, std::size_t within) {
  return plain.read && plain.end < within && EndsPlain(p[plain.end]);
}

/// Whether `line` is written as `learnt` up to `last`: digits where it has digits, its bytes elsewhere.
bool Alike(const std::string& learnt, const std::string& line, std::size_t last) {
  for (std::size_t i = 0; i <= last; ++i)
    if (IsDigit(learnt[i]) ? !IsDigit(line[i]) : learnt[i] != line[i]) return false;
  return true;
}

}  // namespace
}  // namespace kesmaro

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmaro;
  constexpr std::size_t kLanes = byte_lanes::kLanes;
  const auto line = [&](std::size_t from) {  // kHeld bytes of the input from `from`, or line ends
    std::string bytes(kHeld, '\n');
    if (from < size) std::memcpy(bytes.data(), data + from, std::min(kHeld, size - from));
    return bytes;
  };
  const std::string a = line(0), b = line(kHeld);
  const byte_lanes::Lanes headA = byte_lanes::Load(a.data()), headB = byte_lanes::Load(b.data());
  const std::uint32_t digitsA = DigitBits(headA), digitsB = DigitBits(headB);

  for (std::size_t at = 0; at < kLanes; ++at) {
    const PlainHead head = ReadPlainHead(a.data(), digitsA, at);
    const Plain plain = ReadPlain(a, at);
    KESMARO_CHECK(head.start == at + (a[at] == '-' ? 1 : 0));
    KESMARO_CHECK(head.wholeEnd == std::min(plain.wholeEnd, kLanes));
    if (plain.read) KESMARO_CHECK(head.end == (plain.end < kLanes ? plain.end : 0));
  }

  // A shape is learnt from a first field of digits and a point, at most a word, ended by a line
  // end or a separator; a line fits it written alike up to the byte after the field.
  const Plain field = ReadPlain(a, 0);
  const std::size_t end = field.end;
  const bool learns = a[0] != '-' && Ended(a, field, byte_words::kWord + 1);
  FieldShape shape;
  KESMARO_CHECK(shape.Learn(a.data(), headA, digitsA) == learns);
  if (!learns) return 0;
  const bool fits = Alike(a, b, end);
  KESMARO_CHECK(shape.Fits(headB, DigitLanes(headB)) == fits);
  // A field of another shape that keys alike (`1000.1` beside `1000.011`) keys in one order with it.
  if (FieldShape other; other.Learn(b.data(), headB, digitsB) && other.KeysLike(shape)) {
    const Decimal x = ParseDecimal(a.substr(0, end)).value(),
                  y = ParseDecimal(b.substr(0, ReadPlain(b, 0).end)).value();
    KESMARO_CHECK((shape.Key(a.data(), headA) <=> other.Key(b.data(), headB)) == (x <=> y));
  }
  if (!fits) return 0;

  const Decimal x = ParseDecimal(a.substr(0, end)).value(), y = ParseDecimal(b.substr(0, end)).value();
  const FieldKey keyA = shape.Key(a.data(), headA), keyB = shape.Key(b.data(), headB);
  KESMARO_CHECK((keyA <=> keyB) == (x <=> y));
  std::string digits = a.substr(0, end);
  std::erase(digits, '.');
  const std::size_t fraction = end - field.wholeEnd - (end > field.wholeEnd ? 1 : 0);
  KESMARO_CHECK(PlainValue(std::stoull(digits), fraction) == ToDouble(x));
  double fuzzed = 0;
  if (size >= 2 * kHeld + sizeof fuzzed) std::memcpy(&fuzzed, data + 2 * kHeld, sizeof fuzzed);
  const double inf = std::numeric_limits<double>::infinity();
  for (const double bound :
       {ToDouble(x), std::nextafter(ToDouble(x), inf), std::nextafter(ToDouble(x), -inf), fuzzed}) {
    for (const bool orEqual : {false, true}) {
      const bool passes = orEqual ? ToDouble(y) >= bound : ToDouble(y) > bound;
      KESMARO_CHECK((keyB >= shape.LeastKey(bound, orEqual)) == passes);
    }
  }
  return 0;
}
