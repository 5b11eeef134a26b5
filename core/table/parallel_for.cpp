#include "core/table/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace kesmaro {

void ParallelFor(std::size_t count, const std::function<bool(std::size_t)>& work) {
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> stopped{count};  // the lowest index that stopped
  std::mutex failureMutex;
  std::exception_ptr failure;
  std::size_t failureIndex = count;
  const auto stop = [&](std::size_t index) {
    std::size_t lowest = stopped.load();
    while (index < lowest && !stopped.compare_exchange_weak(lowest, index)) {
    }
  };
  const auto worker = [&] {
    for (std::size_t index = next++; index < stopped.load(); index = next++) {
      try {
        if (work(index)) continue;
      } catch (...) {
        const std::lock_guard<std::mutex> lock(failureMutex);
        if (index < failureIndex) {
          failure = std::current_exception();
          failureIndex = index;
        }
      }
      stop(index);
    }
  };
  const std::size_t threads = std::min<std::size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  {
    std::vector<std::jthread> helpers;
    helpers.reserve(threads);
    for (std::size_t started = 1; started < threads; ++started) {
      try {
        helpers.emplace_back(worker);
      } catch (const std::system_error&) {
        break;  // the threads started so far, and this one, share the work
      }
    }
    worker();
  }  // joins the helpers
  if (failure) std::rethrow_exception(failure);
}

}  // namespace kesmaro
