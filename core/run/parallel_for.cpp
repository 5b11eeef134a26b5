#include "core/run/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace kesmaro {
namespace {

/// What became of an index, as the collector sees it.
enum class Outcome : std::uint8_t { kPending, kWorked, kStopped, kThrew };

}  // namespace

void LowerTo(std::atomic<std::size_t>& lowest, std::size_t index) {
  std::size_t now = lowest.load();
  while (index < now && !lowest.compare_exchange_weak(now, index)) {
  }
}

void ParallelFor(std::size_t count, const std::function<bool(std::size_t)>& work,
                 const std::function<void(std::size_t)>& collect) {
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> stopped{count};  // the lowest index that stopped
  std::mutex mutex;                         // guards the failure and the outcomes
  std::condition_variable settled;          // told when an outcome is set
  std::exception_ptr failure;
  std::size_t failureIndex = count;
  std::vector<Outcome> outcomes(collect ? count : 0, Outcome::kPending);
  const auto stop = [&](std::size_t index) { LowerTo(stopped, index); };
  const auto fail = [&](std::size_t index) {
    const std::lock_guard<std::mutex> lock(mutex);
    if (index < failureIndex) {
      failure = std::current_exception();
      failureIndex = index;
    }
  };
  const auto settle = [&](std::size_t index, Outcome outcome) {
    if (!collect) return;
    {
      const std::lock_guard<std::mutex> lock(mutex);
      outcomes[index] = outcome;
    }
    settled.notify_one();
  };

  // The collector, on the caller's thread: hands over, in order, every index settled so far, or
  // with `wait` every one still to come. Indices below the next to collect were all worked, so
  // the lowest that stops can never be below it, and the one waited for is always worked.
  std::size_t collected = 0;
  bool collecting = static_cast<bool>(collect);
  const auto collectSettled = [&](bool wait) {
    while (collecting && collected < count) {
      Outcome outcome;
      {
        std::unique_lock<std::mutex> lock(mutex);
        if (wait) settled.wait(lock, [&] { return outcomes[collected] != Outcome::kPending; });
        outcome = outcomes[collected];
      }
      if (outcome == Outcome::kPending) return;
      if (outcome == Outcome::kThrew) break;
      try {
        collect(collected);
      } catch (...) {
        fail(collected);
        stop(0);
        break;
      }
      if (outcome == Outcome::kStopped) break;
      ++collected;
    }
    collecting = false;
  };

  const auto worker = [&](bool caller) {
    for (std::size_t index = next++; index < stopped.load(); index = next++) {
      Outcome outcome = Outcome::kThrew;
      try {
        outcome = work(index) ? Outcome::kWorked : Outcome::kStopped;
      } catch (...) {
        fail(index);
      }
      if (outcome != Outcome::kWorked) stop(index);
      settle(index, outcome);
      if (caller) collectSettled(false);
    }
  };
  const std::size_t threads = std::min<std::size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  {
    std::vector<std::jthread> helpers;
    helpers.reserve(threads);
    for (std::size_t started = 1; started < threads; ++started) {
      try {
        helpers.emplace_back(worker, false);
      } catch (const std::system_error&) {
        break;  // the threads started so far, and this one, share the work
      }
    }
    worker(true);
    collectSettled(true);
  }  // joins the helpers
  if (failure) std::rethrow_exception(failure);
}

}  // namespace kesmaro
