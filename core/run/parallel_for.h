#ifndef KESMARO_CORE_RUN_PARALLEL_FOR_H_
#define KESMARO_CORE_RUN_PARALLEL_FOR_H_

#include <atomic>
#include <cstddef>
#include <functional>

namespace kesmaro {

/// Calls `work(i)` once for every i below `count`, on as many threads as the processor runs at
/// once (just the caller's when it cannot say, or when no thread can be started), handing out the
/// lower indices first. `work` returns false to stop: indices above one that stopped are then
/// not started, while every index below the lowest that stopped is worked, so the caller finds
/// the same first failure as a loop would. An exception `work` throws stops it likewise, and is
/// thrown again here, the lowest index's, once every thread has ended.
///
/// `collect`, when given, is called on the caller's thread for each index worked, in the order of
/// the indices, as soon as that index and every one below it were worked: up to the lowest that
/// stopped, that one included, and short of one that threw. So the caller takes the results one
/// by one, and tells of its progress, where a loop would, while the threads work on. An exception
/// `collect` throws stops the work and is thrown again here.
void ParallelFor(std::size_t count, const std::function<bool(std::size_t)>& work,
                 const std::function<void(std::size_t)>& collect = {});

/// Lowers `lowest` to `index` when that is below it: how threads working side by side tell the
/// lowest index at which something was met.
void LowerTo(std::atomic<std::size_t>& lowest, std::size_t index);

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_PARALLEL_FOR_H_
