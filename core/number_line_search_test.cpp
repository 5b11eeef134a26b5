#include "core/number_line_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/table.h"

namespace kesmaro {
namespace {

/// The line starts in `text` that the search takes, found as a reader finds them.
std::vector<std::size_t> Taken(const LineSearch& search, const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t pos = search.Find(text.data(), 0, text.size()); pos < text.size();
       pos = search.Find(text.data(), pos, text.size())) {
    starts.push_back(pos);
    pos = text.find_first_of("\r\n", pos);
    if (pos == std::string::npos) break;
    pos += text.compare(pos, 2, "\r\n") == 0 ? 2u : 1u;
  }
  return starts;
}

TEST(NumberLineSearch, TakesEveryWayOfWritingAValueAndPassesOverOtherWholeParts) {
  struct Case {
    std::vector<double> values;
    const char* line;
    bool taken;
  };
  const Case cases[] = {
      {{1010}, "1010.000 5", true},
      {{1010}, "  +01010 5", true},
      {{1010}, ";-1010,5", true},  // the sign is the full reading's to judge
      {{1010}, "1.01e3 5", true},
      {{1010}, "10100E-1 5", true},
      {{1010}, "1009.99999999999999999 5", true},  // rounds up to 1010
      {{1010}, "1009.9999999999 5", false},
      {{1010}, "1009.5 5", false},
      {{1010}, "1011.0 5", false},
      {{1010}, "101 5", false},
      {{1010}, "10100 5", false},
      {{1010}, "1010x 5", true},  // no number; the full reading says so
      {{1010.5}, "1009.9999999999 5", false},
      {{0.5}, ".5 5", true},
      {{0.5}, "0000.50 5", true},
      {{0.5}, "1.5 5", false},
      {{1}, "0.99999999999999999 5", true},
      {{1}, "0.99999999999999 5", false},
      {{1}, "0.8 5", false},
      {{5e8}, "500000000 5", true},  // whole parts of eight digits and more are always read
      {{12345678}, "12345679 5", true},
      {{9999999}, "9999999 5", true},
      {{9999999}, "9999998.5 5", false},
      {{1e7}, "9999999.99999999999 5", true},
      {{0x1p53}, "7 5", true},  // beyond exact whole numbers every line is read
      {{std::nan("")}, "7 5", false},
      {{1010, 2020, 7}, "2020 5", true},
      {{1010, 2020, 7}, "7 5", true},
      {{1010, 2020, 7}, "6 5", false},
      {{1010}, "", false},
      {{1010}, "END", false},
  };
  for (const Case& c : cases) {
    // The line is followed by one the search never takes, so that its bytes are all held.
    const std::string text = std::string(c.line) + "\r\n################\r\n";
    const NumberLineSearch search(c.values);
    EXPECT_EQ(search.Find(text.data(), 0, text.size()) == 0, c.taken) << c.line << " for " << c.values[0];
  }
}

/// The first field of a line as the table reads it: after any separators, up to the next.
std::string FirstField(const std::string& line) {
  const std::size_t start = line.find_first_not_of(" \t,;");
  if (start == std::string::npos) return "";
  return line.substr(start, line.find_first_of(" \t,;", start) - start);
}

TEST(NumberLineSearch, NeverPassesOverALineWhoseFirstFieldEqualsAValue) {
  const std::vector<double> pool = {1010, 1010.5, 0.5, 1, 7, 999, 1e7, 123.456, 0, 3e-5};
  const char* const leads[] = {"", "", "", " ", "\t", ",;", "+", "-", "0", "00"};
  const char* const wholes[] = {"1010", "1009", "1011", "101",     "1",   "0",    "",         "7",
                                "6",    "999",  "998",  "9999999", "123", "1000", "10000000", "3"};
  const char* const fractions[] = {"",   "",  ".", ".0", ".000", ".5", ".50", ".456", ".999999999999999999",
                                   ".9", ".1"};
  const char* const exponents[] = {"", "", "", "", "e0", "E+1", "e-1", "e3", "e-5", "e", "x"};
  const char* const tails[] = {"", " 5", "\t5", ",5 6", ";a", " 1.5e3", "/2 5"};
  const char* const ends[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
  std::mt19937 random(12345);
  auto pick = [&random](const auto& from) { return from[random() % std::size(from)]; };
  for (int round = 0; round < 2000; ++round) {
    std::vector<double> values;
    for (int i = 0; i < 3; ++i) values.push_back(pool[random() % pool.size()]);
    std::string text;
    std::vector<std::size_t> equal;  // where the lines that must be taken start
    for (int i = 0; i < 30; ++i) {
      const std::string line =
          std::string(pick(leads)) + pick(wholes) + pick(fractions) + pick(exponents) + pick(tails);
      const std::optional<double> number = DecimalNumber(FirstField(line));
      for (const double value : values) {
        if (number == value) {
          equal.push_back(text.size());
          break;
        }
      }
      text += line + pick(ends);
    }
    const std::vector<std::size_t> taken = Taken(NumberLineSearch(values), text);
    for (const std::size_t start : equal) {
      EXPECT_TRUE(std::find(taken.begin(), taken.end(), start) != taken.end())
          << "passed over: " << text.substr(start, text.find_first_of("\r\n", start) - start);
    }
  }
}

}  // namespace
}  // namespace kesmaro
