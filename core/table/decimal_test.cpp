#include "core/table/decimal.h"

#include <gtest/gtest.h>

#include <compare>
#include <string>

namespace kesmaro {
namespace {

Decimal D(const char* text) {
  const std::optional<Decimal> number = ParseDecimal(text);
  EXPECT_TRUE(number) << text;
  return number.value_or(Decimal{});
}

TEST(DecimalTest, ReadsTheNumbersWrittenAndNothingElse) {
  const struct {
    const char* text;
    bool number;
    const char* leading;  ///< what LeadingDecimal reads of it
  } cases[] = {
      {"550", true, "550"},       {"-.5", true, "-.5"},
      {"+7.", true, "+7."},       {"5.5E+2", true, "5.5E+2"},
      {"1e-400", true, "1e-400"}, {"0e999999", true, "0e999999"},
      {"550nm", false, "550"},    {"5.5e2.0", false, "5.5e2"},
      {"5.5e", false, ""},        {".", false, ""},
      {"+-1", false, ""},         {"e5", false, ""},
      {"0x10", false, "0"},       {"", false, ""},
      {" 1", false, ""},          {"1e1000000000", false, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDecimal(c.text).has_value(), c.number) << c.text;
    std::size_t end = 0;
    const std::optional<Decimal> leading = LeadingDecimal(c.text, &end);
    EXPECT_EQ(leading ? std::string(c.text, end) : std::string(), c.leading) << c.text;
  }
  EXPECT_EQ(ParseDecimal("550,5", DecimalMark::kComma), D("550.5"));
  EXPECT_FALSE(ParseDecimal("550.5", DecimalMark::kComma));
  // 10^10 less a place is still out of range.
  EXPECT_FALSE(ParseDecimal(".1e10000000000"));
}

TEST(DecimalTest, ComparesExactly) {
  const struct {
    const char* a;
    const char* b;
    std::strong_ordering order;
  } cases[] = {
      {"550", "550.0", std::strong_ordering::equal},
      {"550", "5.5e2", std::strong_ordering::equal},
      {"0", "-0.000", std::strong_ordering::equal},
      {"600000000000001", "600000000000000", std::strong_ordering::greater},
      {"1e-400", "0", std::strong_ordering::greater},
      {"-1e-400", "0", std::strong_ordering::less},
      {"1e308", "1.000000000000000001e308", std::strong_ordering::less},
      {"-5", "-4.99", std::strong_ordering::less},
      {"99.9", "100", std::strong_ordering::less},
      {"0.1", "0.09999999999999999999", std::strong_ordering::greater},
      // Beyond 19 significant digits the 20th rounds the 19th.
      {"1.0000000000000000004", "1", std::strong_ordering::equal},
      {"1.00000000000000000051", "1.000000000000000001", std::strong_ordering::equal},
      {"9999999999999999999.5", "1e19", std::strong_ordering::equal},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(D(c.a) <=> D(c.b), c.order) << c.a << " against " << c.b;
    EXPECT_EQ(D(c.b) <=> D(c.a), 0 <=> c.order) << c.b << " against " << c.a;
    EXPECT_EQ(D(c.a) == D(c.b), c.order == 0) << c.a << " == " << c.b;
  }
}

TEST(DecimalTest, MeasuresDistancesExactly) {
  const struct {
    const char* a;
    const char* b;
    const char* distance;
  } cases[] = {
      {"12.2", "12.25", "0.05"},
      {"550.1", "550", "0.1"},
      {"600000000000001", "600000000000000", "1"},
      {"-5.2", "4.8", "10"},
      {"1e-400", "0", "1e-400"},
      {"1e308", "-1e308", "2e308"},
      {"123456789.123", "-0.000000001", "123456789.123000001"},
      // Digits more than 18 places below the other number's last are cut.
      {"1", "1e-400", "1"},
      {"1", "0.9999999999999999999999", "0"},
  };
  for (const auto& c : cases) {
    const Distance distance = DistanceBetween(D(c.a), D(c.b));
    const Distance written = DistanceBetween(D(c.distance), Decimal{});
    EXPECT_TRUE(distance <=> written == 0) << c.a << " to " << c.b;
    EXPECT_TRUE(DistanceBetween(D(c.b), D(c.a)) <=> distance == 0)
        << "either way round: " << c.a << ", " << c.b;
  }
}

TEST(DecimalTest, GivesTheNearestDouble) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"550.1", 550.1},
               {"1e23", 1e23},
               {"9007199254740993", 9007199254740992.0},
               {"1e-400", 0.0},
               {"-1e999", -1e308 * 10},
               {"123456789012345678e-30", 123456789012345678e-30},
               // 21098 / 10^7 rounded to the x87's 64 bits lies halfway between two doubles, and
               // so rounds to the farther one: the one division rounds once, or not at all.
               {"0.0021098", 0.0021098}};
  for (const auto& c : cases) EXPECT_EQ(ToDouble(D(c.text)), c.value) << c.text;
}

}  // namespace
}  // namespace kesmaro
