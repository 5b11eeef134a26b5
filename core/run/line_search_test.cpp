#include "core/run/line_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "testing/status_testing.h"

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

INSTANTIATE_TEST_SUITE_P(Instructions, KeyLineSearchOn, kEveryInstructionSet, InstructionsName);

TEST_P(KeyLineSearchOn, AgreesWithAPositionByPositionSearch) {
  // Numeric text with every kind of line end: the bytes a skip or a vector filter gets wrong first.
  std::mt19937 random(11);
  const std::string alphabet = "0123456789.. \t\r\n\n";
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const std::size_t size = 1 + random() % 600;
    for (std::size_t i = 0; i < size; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    // A key that begins a line, in a block that ends at the text's end or inside that key.
    const std::size_t lineEnd = text.find_last_of("\r\n", random() % text.size());
    const std::size_t at = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    const std::string key = text.substr(at, random() % 12);
    const std::size_t to = random() % 2 == 0 || key.empty() ? text.size() : at + key.size() - 1;
    for (std::size_t from = 0; from < to;) {
      const std::size_t expected = FindSlowly(text, key, from, to);
      ASSERT_EQ(KeyLineSearch(key, GetParam()).Find(text.data(), from, to), expected)
          << "key '" << key << "' from " << from << " to " << to << " in '" << text << "'";
      // On from the next line, as a reader goes.
      from = std::min(text.find_first_of("\r\n", expected), to) + 1;
    }
  }
}

}  // namespace
}  // namespace kesmaro
