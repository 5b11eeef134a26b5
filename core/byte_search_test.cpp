#include "core/byte_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kesmaro {
namespace {

std::size_t FindAt(const ByteSearcher& searcher, std::string_view haystack, std::size_t from = 0) {
  const char* hit = searcher.Find(haystack.data() + from, haystack.data() + haystack.size());
  return static_cast<std::size_t>(hit - haystack.data());
}

TEST(ByteSearcher, AgreesWithAPlainSearchOnNumericText) {
  // Numeric data uses few distinct bytes, which is where a skip table goes wrong first.
  std::mt19937 random(7);
  const std::string alphabet = "0123456789. \r\n";
  for (int round = 0; round < 300; ++round) {
    std::string haystack;
    for (int i = 0; i < 2000; ++i) haystack.push_back(alphabet[random() % alphabet.size()]);
    const std::size_t length = 1 + random() % 8;
    const std::size_t at = random() % (haystack.size() - length);
    const std::string needle = round % 2 == 0 ? haystack.substr(at, length) : std::string(length, '5');
    const ByteSearcher searcher(needle);
    for (std::size_t from = 0; from < haystack.size(); from += 97) {
      const std::size_t expected = std::string_view(haystack).find(needle, from);
      ASSERT_EQ(FindAt(searcher, haystack, from), expected == std::string_view::npos ? haystack.size() : expected)
          << "needle '" << needle << "' from " << from;
    }
  }
}

TEST(ByteSearcher, EdgesOfTheHaystack) {
  EXPECT_EQ(FindAt(ByteSearcher("ab"), "ab"), 0u);
  EXPECT_EQ(FindAt(ByteSearcher("ab"), "xab"), 1u);
  EXPECT_EQ(FindAt(ByteSearcher("ab"), "a"), 1u);
  EXPECT_EQ(FindAt(ByteSearcher(""), "abc"), 0u);
  EXPECT_EQ(FindAt(ByteSearcher("\xFF\x80"), "12\xFF\x80"), 2u);
  const std::string longNeedle(600, '7');
  EXPECT_EQ(FindAt(ByteSearcher(longNeedle), std::string(50, '1') + longNeedle), 50u);
}

}  // namespace
}  // namespace kesmaro
