#include "core/run/parallel_for.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kesmaro {
namespace {

// Each case runs with and without a collector: the work is the same either way, and the
// collector sees, on the caller's thread, each index worked up to the lowest that stopped,
// after its work and in order.
TEST(ParallelForTest, WorksEveryIndexOnceUpToTheLowestThatStopsAndCollectsThemInOrder) {
  struct Case {
    std::size_t count;
    std::vector<std::size_t> stops;
  };
  for (const Case& c : {Case{0, {}}, Case{1, {}}, Case{1000, {}}, Case{1000, {0}}, Case{1000, {700, 300}}}) {
    const std::size_t lowest = c.stops.empty() ? c.count : *std::min_element(c.stops.begin(), c.stops.end());
    for (const bool collecting : {false, true}) {
      std::vector<std::atomic<int>> worked(c.count);
      std::vector<std::size_t> collected;
      const std::thread::id caller = std::this_thread::get_id();
      const auto work = [&](std::size_t i) {
        ++worked[i];
        return std::find(c.stops.begin(), c.stops.end(), i) == c.stops.end();
      };
      const auto collect = [&](std::size_t i) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        EXPECT_EQ(worked[i], 1) << i;
        collected.push_back(i);
      };
      ParallelFor(c.count, work, collecting ? std::function<void(std::size_t)>(collect) : nullptr);
      for (std::size_t i = 0; i < c.count; ++i) {
        EXPECT_EQ(worked[i], 1) << i << " of " << c.count;
        if (i == lowest) break;  // those above may or may not have started
      }
      std::vector<std::size_t> inOrder(collecting ? std::min(lowest + 1, c.count) : 0);
      std::iota(inOrder.begin(), inOrder.end(), std::size_t{0});
      EXPECT_EQ(collected, inOrder) << c.count;
    }
  }
}

// A throw from either side is thrown again: the lowest index's from the work, with no index
// from there on collected, or the collector's own.
TEST(ParallelForTest, ThrowsTheLowestIndexsException) {
  struct Case {
    std::size_t workThrowsAt, collectThrowsAt;
    const char* thrown;
    std::size_t collected;
  };
  for (const Case& c : {Case{300, 2000, "work 300", 300}, Case{2000, 10, "collect 10", 10}}) {
    std::size_t collected = 0;
    try {
      ParallelFor(
          1000,
          [&](std::size_t i) -> bool {
            if (i == c.workThrowsAt || i == 700) throw std::runtime_error("work " + std::to_string(i));
            return true;
          },
          [&](std::size_t i) {
            if (i == c.collectThrowsAt) throw std::runtime_error("collect " + std::to_string(i));
            ++collected;
          });
      ADD_FAILURE() << "nothing thrown";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), c.thrown);
    }
    EXPECT_EQ(collected, c.collected);
  }
}

}  // namespace
}  // namespace kesmaro
