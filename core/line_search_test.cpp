#include "core/line_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kesmaro {
namespace {

/// The same question answered one position at a time.
std::size_t FindSlowly(const std::string& text, const std::string& key, std::size_t from, std::size_t to) {
  if (key.find_first_of("\r\n") != std::string::npos) return to;
  for (std::size_t pos = from; pos < to; ++pos) {
    const bool lineStart = pos == from || IsLineEnd(text[pos - 1]);
    const bool begins = text.compare(pos, key.size(), key) == 0 && pos + key.size() <= to;
    if (lineStart && begins && (!key.empty() || !IsLineEnd(text[pos]))) return pos;
  }
  return to;
}

class KeyLineSearchOn : public testing::TestWithParam<KeyLineSearch::Instructions> {};

INSTANTIATE_TEST_SUITE_P(Instructions, KeyLineSearchOn,
                         testing::Values(KeyLineSearch::Instructions::kFastest,
                                         KeyLineSearch::Instructions::kPortable),
                         [](const testing::TestParamInfo<KeyLineSearch::Instructions>& instructions) {
                           return instructions.param == KeyLineSearch::Instructions::kFastest ? "Fastest"
                                                                                              : "Portable";
                         });

TEST_P(KeyLineSearchOn, AgreesWithAPositionByPositionSearch) {
  // Numeric text with every kind of line end: the bytes a skip or a vector filter gets wrong first.
  std::mt19937 random(11);
  const std::string alphabet = "0123456789.. \t\r\n\n";
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const std::size_t size = 1 + random() % 600;
    for (std::size_t i = 0; i < size; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    const std::size_t keyLength = random() % 12;
    const std::size_t at = random() % text.size();
    const std::string key = text.substr(at, keyLength);
    std::size_t from = 0;
    while (true) {
      const std::size_t expected = FindSlowly(text, key, from, text.size());
      ASSERT_EQ(KeyLineSearch(key, GetParam()).Find(text.data(), from, text.size()), expected)
          << "key '" << key << "' from " << from << " in '" << text << "'";
      if (expected == text.size()) break;
      from = text.find_first_of("\r\n", expected);  // go on from the next line, as a reader does
      if (from == std::string::npos) break;
      ++from;
    }
  }
}

TEST(KeyLineSearch, FindsOnlyLineStartsAndStopsAtTheBlockEnd) {
  const std::string text = "11.5 7\r\n21.5 8\r\n1.5 9\n31.5\r1.5";
  const KeyLineSearch search("1.5");
  EXPECT_EQ(search.Find(text.data(), 0, text.size()), 16u);
  EXPECT_EQ(search.Find(text.data(), 17, text.size()), text.size() - 3);
  EXPECT_EQ(search.Find(text.data(), 17, text.size() - 1), text.size() - 1) << "the key does not fit";
  EXPECT_EQ(search.Find(text.data(), 0, 0), 0u);
}

}  // namespace
}  // namespace kesmaro
