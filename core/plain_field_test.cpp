#include "core/plain_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

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

bool Learns(FieldShape* shape, const std::string& line, bool cell) {
  const Held held(line);
  return shape->Learn(held.data(), held.head(), held.digits(), cell);
}

TEST(FieldShapeTest, FitsTheLinesWrittenAlike) {
  struct Case {
    std::string learnt;
    bool cell;
    std::string line;
    bool fits;
    bool withCell;  ///< of the first field's shape, with a plain cell of any width (FitsField, CellFits)
  };
  const Case cases[] = {
      {"1000.007 56.076\r\n", true, "1199.999 10.000\r\n", true, true},
      {"1000.007 56.076\r\n", true, "1000.007\t56.076\r\n", false, false},   // another separator
      {"1000.007 56.076\r\n", true, "1000.007 56.0761\r", false, true},      // a longer cell
      {"1000.007 56.076\r\n", true, "1000.007 -6.076\r\n", false, true},     // a sign where a digit was
      {"1000.007 56.076\r\n", true, "1000.007 56.076\n", false, true},       // another line end
      {"1000.007 56.076\r\n", true, "1000.007 516.3401234\n", false, true},  // past sixteen bytes
      {"1000.007 56.076\r\n", true, "1000.007 516.340123456789\n", false, false},
      {"1000.007 56.076\r\n", true, "1000.007 5.1.2\n", false, false},
      {"1000.007 56.076\r\n", true, "1000.007 56,\n", false, true},
      {"1000.007 56.076\r\n", true, "1000.007 n/a\n", false, false},
      {"1000.007 56.076\r\n", false, "1000.007 n/a\n", true, true},  // learnt without the cell
      {"1000.007 56.076\r\n", false, "1000.0070 5\n", false, false},
      {"1000.007 56.076\r\n", false, "100.0007 5\n", false, false},
      {"1000.00\t516.3401\r\n", true, "1000.00\t6.3401\r\n", false, true},  // a cell learnt past sixteen
      {"12345678;-1.5\n", true, "87654321;-9.0\n", true, true},
      {"5. 1\n", true, "7. 2\n", true, true},
      {"5. 1\n", true, "5.0 1\n", false, false},
  };
  for (const Case& c : cases) {
    FieldShape shape;
    ASSERT_TRUE(Learns(&shape, c.learnt, c.cell)) << c.learnt;
    const Held held(c.line);
    EXPECT_EQ(shape.Fits(held.head(), held.digits()), c.fits) << c.learnt << " / " << c.line;
    EXPECT_EQ(shape.FitsField(held.head(), held.digits()) && shape.CellFits(held.data(), held.digits()),
              c.withCell)
        << c.learnt << " / " << c.line;
  }
  EXPECT_FALSE(FieldShape{}.Fits(Held("1.5 2\n").head(), Held("1.5 2\n").digits())) << "nothing learnt";
  for (const char* line : {"-1.5 2\n", "123456789 2\n", "1.5x 2\n", ".5 2\n", "x 1\n"}) {
    FieldShape shape;
    EXPECT_FALSE(Learns(&shape, line, false)) << line;
  }
  for (const char* line : {"1.5\n", "1.5\r2\r", "1.5  2\n"}) {
    FieldShape shape;
    EXPECT_FALSE(Learns(&shape, line, true)) << line;
  }
}

/// Every field of a shape, or those near each bound where there are too many, against bounds on,
/// between and beyond them: a field's key is at least LeastKey exactly when its double, as the
/// decimal's nearest, passes the bound.
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
    ASSERT_TRUE(Learns(&shape, format + " 1\n", true)) << format;
    const std::size_t point = format.find('.');
    const std::size_t fraction = point == std::string::npos ? 0 : format.size() - point - 1;
    const auto count =
        static_cast<long long>(std::pow(10, format.size() - (point == std::string::npos ? 0 : 1)));
    for (const double bound : bounds) {
      const std::uint64_t above = shape.LeastKey(bound, false), atLeast = shape.LeastKey(bound, true);
      const auto check = [&](long long m) {
        std::string field = format;
        for (std::size_t i = field.size(); i-- > 0;) {
          if (i == point) continue;
          field[i] = static_cast<char>('0' + m % 10);
          m /= 10;
        }
        const double x = std::strtod(field.c_str(), nullptr);
        const std::uint64_t key = shape.Key(byte_words::Load(Held(field + " 1\n").data()));
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
