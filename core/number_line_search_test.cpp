#include "core/number_line_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/table.h"

namespace kesmaro {
namespace {

// The rule the search keeps: a line whose first field equals a value is taken; one whose field is
// a plain decimal (no exponent, shorter than the sixteen bytes a fraction of nines rounding up to
// the next whole number needs) of fewer than eight whole digits is passed over, unless a value
// has its whole part.
TEST(NumberLineSearch, TakesEveryLineEqualToAValueAndPassesOverOtherWholeParts) {
  const std::vector<double> pool = {1010, 1010.5, 0.5, 1, 7, 999, 1e7, 12345678, 0, 3e-5, std::nan("")};
  const char* const separators[] = {"", "", " ", "\t", ",;"};
  const char* const signs[] = {"", "", "+", "-", "0", "-00"};
  const char* const integers[] = {"1010", "1009", "1011",    "101",      "1",        "0", "",    "7",   "6",
                                  "999",  "998",  "9999999", "12345678", "12345679", "3", "123", "1000"};
  const char* const fractions[] = {"", ".", ".0", ".000", ".5", ".50", ".456", ".999999999999999999", ".9"};
  const char* const exponents[] = {"", "", "", "", "e0", "E+1", "e-1", "e3", "e-5", "e", "x"};
  const char* const tails[] = {"", " 5", "\t5", ",5 6", ";a", " 1.5e3"};
  const char* const ends[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
  std::mt19937 random(12345);
  auto pick = [&random](const auto& from) { return std::string(from[random() % std::size(from)]); };
  for (int round = 0; round < 2000; ++round) {
    std::vector<double> values, wholes;
    for (int i = 0; i < 3; ++i) values.push_back(pool[random() % pool.size()]);
    for (const double value : values) wholes.push_back(std::trunc(std::fabs(value)));
    std::string text;
    std::map<std::size_t, bool> lines;  // where each line that must be taken, or passed over, starts
    for (int i = 0; i < 30; ++i) {
      const std::string field = pick(signs) + pick(integers) + pick(fractions) + pick(exponents);
      const std::optional<double> number = DecimalNumber(field);
      const double whole = number ? std::trunc(std::fabs(*number)) : 0;
      const bool plain = field.find_first_of("eE") == std::string::npos && field.size() < 16 && whole < 1e7;
      if (number && std::count(values.begin(), values.end(), *number)) lines[text.size()] = true;
      if (number && plain && !std::count(wholes.begin(), wholes.end(), whole)) lines[text.size()] = false;
      text += pick(separators) + field + pick(tails) + pick(ends);
    }
    text += "################\r\n";  // a last line, so that the search holds every field whole
    // Walked through as a reader walks them, from each line taken on to its end: the search passes
    // over line ends as it does over empty lines.
    const NumberLineSearch search(values);
    std::map<std::size_t, bool> taken;
    for (std::size_t pos = 0; (pos = search.Find(text.data(), pos, text.size())) < text.size();
         pos = text.find_first_of("\r\n", pos))
      taken[pos] = true;
    for (const auto& [start, mustTake] : lines) {
      EXPECT_EQ(taken.count(start) == 1, mustTake)
          << text.substr(start, text.find_first_of("\r\n", start) - start) << " for "
          << ::testing::PrintToString(values);
    }
  }
}

}  // namespace
}  // namespace kesmaro
