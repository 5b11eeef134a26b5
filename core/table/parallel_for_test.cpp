#include "core/table/parallel_for.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

namespace kesmaro {
namespace {

TEST(ParallelForTest, WorksEveryIndexOnceUpToTheLowestThatStops) {
  struct Case {
    std::size_t count;
    std::vector<std::size_t> stops;
  };
  for (const Case& c : {Case{0, {}}, Case{1, {}}, Case{1000, {}}, Case{1000, {0}}, Case{1000, {700, 300}}}) {
    std::vector<std::atomic<int>> worked(c.count);
    ParallelFor(c.count, [&](std::size_t i) {
      ++worked[i];
      return std::find(c.stops.begin(), c.stops.end(), i) == c.stops.end();
    });
    const std::size_t lowest = c.stops.empty() ? c.count : *std::min_element(c.stops.begin(), c.stops.end());
    for (std::size_t i = 0; i < c.count; ++i) {
      EXPECT_EQ(worked[i], 1) << i << " of " << c.count;
      if (i == lowest) break;  // those above may or may not have started
    }
  }
}

TEST(ParallelForTest, ThrowsTheLowestIndexsException) {
  try {
    ParallelFor(1000, [](std::size_t i) -> bool {
      if (i == 300 || i == 700) throw std::runtime_error(std::to_string(i));
      return true;
    });
    ADD_FAILURE() << "nothing thrown";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "300");
  }
}

}  // namespace
}  // namespace kesmaro
