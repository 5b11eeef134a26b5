#include "core/table/number_line_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/table/table.h"
#include "testing/status_testing.h"

namespace kesmaro {
namespace {

class NumberLineSearchOn : public testing::TestWithParam<LineSearch::Instructions> {};

INSTANTIATE_TEST_SUITE_P(Instructions, NumberLineSearchOn, kEveryInstructionSet, InstructionsName);

// The rule the search keeps: a line whose first field equals a value, as the decimals tell it, is
// taken, on every alignment of its steps; and a line held for fewer than sixteen bytes is taken.
TEST_P(NumberLineSearchOn, TakesEveryLineEqualToAValue) {
  // The last but one is a value no decimal of fifteen digits gives back.
  const std::vector<double> pool = {1010,        1010.5, 999.456, 1234.56789, 1009.9,
                                    0.5,         1,      7,       999,        0,
                                    3e-5,        -7,     1e7,     12345678,   std::nextafter(1010.0, 2000.0),
                                    std::nan("")};
  const char* const separators[] = {"", "", "", " ", "\t", ",;"};
  const char* const signs[] = {"", "", "", "+", "-", "0", "-00"};
  const char* const integers[] = {"1010",     "1009",     "1011", "101", "1",    "0",
                                  "",         "7",        "6",    "999", "998",  "9999999",
                                  "12345678", "12345679", "3",    "123", "1000", "1234"};
  const char* const fractions[] = {"",       ".",       ".0",    ".000", ".5", ".50", ".456",
                                   ".4560",  ".05",     ".456",  ".45",  ".9", ".90", ".999999999999999999",
                                   ".56789", ".567890", ".56788"};
  const char* const exponents[] = {"", "", "", "", "", "e0", "E+1", "e-1", "e3", "e-5", "e", "x"};
  const char* const tails[] = {"", " 5", "\t5", ",5 6", ";a", " 1.5e3", "  0.0001234567"};
  const char* const ends[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
  std::mt19937 random(12345);
  auto pick = [&random](const auto& from) { return std::string(from[random() % std::size(from)]); };
  for (int round = 0; round < 2000; ++round) {
    std::vector<double> values;
    for (int i = 0; i < 3; ++i) values.push_back(pool[random() % pool.size()]);
    std::string text;
    std::vector<std::size_t> lines;  // where each line that must be taken starts
    for (int i = 0; i < 30; ++i) {
      const std::string separator = pick(separators);
      const std::string field = pick(signs) + pick(integers) + pick(fractions) + pick(exponents);
      const std::optional<Decimal> decimal = ParseDecimal(field);
      if (decimal && std::count(values.begin(), values.end(), ToDouble(*decimal)))
        lines.push_back(text.size());
      text += separator + field + pick(tails) + pick(ends);
    }
    text += "################\r\n";  // a last line, so that the search holds sixteen bytes of every other
    NumberLineSearch search(values, GetParam());
    // The first line at or after `from` that must be taken, or the text's end.
    auto firstToTake = [&](std::size_t from) {
      const auto line = std::lower_bound(lines.begin(), lines.end(), from);
      return line == lines.end() ? text.size() : *line;
    };
    // From every line start and every line end, as a reader goes on after the lines it was
    // handed, so that the search's steps fall on every alignment: it stops at a line start, at the
    // first line it must take or before.
    for (std::size_t from = 0; from < text.size(); ++from) {
      if (from > 0 && !IsLineEnd(text[from - 1]) && !IsLineEnd(text[from])) continue;
      const std::size_t found = search.Find(text.data(), from, text.size());
      const bool lineStart =
          found == text.size() || ((found == 0 || IsLineEnd(text[found - 1])) && !IsLineEnd(text[found]));
      EXPECT_TRUE(lineStart && found <= firstToTake(from))
          << "from " << from << " found " << text.substr(found, text.find_first_of("\r\n", found) - found)
          << " for " << ::testing::PrintToString(values);
    }
    // A block that ends inside a line, fewer than sixteen bytes into it: that line is taken,
    // unless one before it is.
    const std::size_t cut = 1 + random() % (text.size() - 1);
    const std::size_t lineEnd = text.find_last_of("\r\n", cut - 1);
    const std::size_t lineStart = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    if (lineStart < cut && cut - lineStart < 16) {
      EXPECT_LE(search.Find(text.data(), 0, cut), std::min(lineStart, firstToTake(0)))
          << text.substr(lineStart, cut - lineStart);
    }
  }
}

}  // namespace
}  // namespace kesmaro
