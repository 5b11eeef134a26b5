#include "core/table/plain_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/run/line_rules.h"
#include "core/table/fields.h"

namespace kesmaro {
namespace {

/// A line's start as the searches hold it: sixteen bytes and more.
struct Held {
  explicit Held(const std::string& line) : text(line + std::string(32, '\n')) {}
  const char* data() const { return text.data(); }
  byte_lanes::Lanes head() const { return byte_lanes::Load(data()); }
  std::uint32_t digits() const { return DigitBits(head()); }
  std::string text;
};

/// A field's key as each copy of the searches makes it (EntryPoints): they must agree.
template <byte_lanes::Isa kIsa>
FieldKey KeyIn(const FieldShape* shape, const char* p) {
  return shape->Key<kIsa>(p, byte_lanes::Load(p));
}
using KeyEntries = byte_lanes::EntryPoints<&KeyIn<byte_lanes::Isa::kBuild>, &KeyIn<byte_lanes::Isa::kSse2>>;

bool Learns(FieldShape* shape, const std::string& line) {
  const Held held(line);
  return shape->Learn(held.data(), held.head(), held.digits());
}

/// The readers of a line's sixteen bytes at once against the byte-by-byte reference, on random
/// lines that end near and past the vector, with the bytes after them held and not, half of them
/// starting as a learnt shape does: the same fields and doubles, a line of the shape only where its
/// field is, the fields after the first where they are, and the reference's double the full
/// reading's.
TEST(PlainFieldTest, VectorReadersReadAsTheReference) {
  FieldShape shape;
  ASSERT_TRUE(Learns(&shape, "1000.00\t516.3401\r\n"));
  std::mt19937 random(5);
  const auto pick = [&](const std::string& from) { return from[random() % from.size()]; };
  for (int round = 0; round < 40000; ++round) {
    std::string line = random() % 2 ? "" : std::string("1234.56\t");
    for (char& digit : line) digit = digit == '.' || digit == '\t' ? digit : pick("0123456789");
    for (std::size_t size = line.size() + random() % 26; line.size() < size;)
      line += pick("01234567890123456789012345678901234567890123456789..-- \t;x\r\n");
    const Held held(line);
    for (const std::size_t to : {line.size(), held.text.size()}) {
      FirstField field;
      ReadFirstField<false>(held.data(), 0, to, &field);
      const std::optional<PlainDecimal> x = ReadPlainDecimal(held.data(), 0, to);
      ASSERT_EQ(field.plain, x && x->digits <= kMostPlainDigits) << line;
      ASSERT_EQ(IsPlainField(held.data(), 0, to), x.has_value()) << line;
      if (shape.Fits(held.head(), DigitLanes(held.head()))) {
        EXPECT_TRUE(x && x->end == shape.End() && held.text[x->end] == '\t') << line;
      }
      if (!field.plain) continue;
      EXPECT_EQ(field.end, x->end) << line;
      EXPECT_EQ(field.x, x->Value()) << line;
      EXPECT_EQ(x->Value(), ToDouble(*ParseDecimal(line.substr(0, x->end)))) << line;
      std::size_t cell = x->end;
      while (cell < to && IsFieldSeparator(line[cell])) ++cell;
      // The fields after it: each after the run of separators that ends the one before.
      for (std::size_t k = 1, at = cell; k <= 3; ++k) {
        EXPECT_EQ(FieldAfter(held.data(), x->end, to, k), at) << line << " field " << k;
        EXPECT_EQ(IsPlainFieldAfter(held.data(), x->end, to, k),
                  ReadPlainDecimal(held.data(), at, to).has_value())
            << line << " field " << k;
        while (at < to && !IsFieldSeparator(held.text[at]) && !IsLineEnd(held.text[at])) ++at;
        while (at < to && IsFieldSeparator(held.text[at])) ++at;
      }
    }
  }
}

/// Every field of a shape, or those near each bound where there are too many, against bounds on,
/// between and beyond them: a field's key is at least the LeastKey of a shape that keys like it,
/// here the one with the most decimals, exactly when its double, as the decimal's nearest, passes
/// the bound; made alike by each copy of the searches.
TEST(FieldShapeTest, LeastKeysPassTheFieldsWhoseDoublesPass) {
  const double kInf = std::numeric_limits<double>::infinity();
  const double bounds[] = {0,
                           -0.0,
                           -1,
                           0.5,
                           0.05,
                           1.25,
                           1.2500000000000002,
                           7,
                           9.99,
                           10,
                           99.5,
                           123.4565,
                           1234.567,
                           9999.999,
                           12345678,
                           99999999,
                           1e300,
                           -kInf,
                           kInf,
                           std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::denorm_min()};
  for (const std::string format : {"0", "0.0", "00.0", "0.00", "0.", "0000.000", "00000000", "0.000000"}) {
    FieldShape shape;
    ASSERT_TRUE(Learns(&shape, format + " 1\n")) << format;
    const std::size_t point = format.find('.');
    FieldShape keys;
    const std::string longest = format.substr(0, point) + (std::min(point, format.size()) < 8 ? "." : "");
    ASSERT_TRUE(Learns(&keys, longest + std::string(8 - longest.size(), '0') + " 1\n")) << format;
    ASSERT_TRUE(keys.KeysLike(shape)) << format;
    const std::size_t fraction = point == std::string::npos ? 0 : format.size() - point - 1;
    const auto count =
        static_cast<long long>(std::pow(10, format.size() - (point == std::string::npos ? 0 : 1)));
    for (const double bound : bounds) {
      const FieldKey above = keys.LeastKey(bound, false), atLeast = keys.LeastKey(bound, true);
      const auto check = [&](long long m) {
        std::string field = format;
        for (std::size_t i = field.size(); i-- > 0;) {
          if (i == point) continue;
          field[i] = static_cast<char>('0' + m % 10);
          m /= 10;
        }
        const double x = std::strtod(field.c_str(), nullptr);
        const Held held(field + " 1\n");
        const FieldKey key = KeyEntries::Fastest()(&shape, held.data());
        EXPECT_EQ(KeyEntries::Portable(&shape, held.data()), key) << field;
        EXPECT_EQ(key >= above, x > bound) << field << " > " << bound;
        EXPECT_EQ(key >= atLeast, x >= bound) << field << " >= " << bound;
      };
      const double near = std::fmin(std::fmax(bound * std::pow(10, fraction), 0), static_cast<double>(count));
      const long long from = std::isnan(near) ? 0 : static_cast<long long>(near);
      for (long long m = 0; m < count; m += count <= 10000 ? 1 : count / 1000 + 7) check(m);
      for (long long m = std::max(from - 50, 0LL); m < std::min(from + 50, count); ++m) check(m);
      check(count - 1);
    }
  }
}

}  // namespace
}  // namespace kesmaro
