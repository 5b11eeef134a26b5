#ifndef KESMARO_CORE_TABLE_PARALLEL_FOR_H_
#define KESMARO_CORE_TABLE_PARALLEL_FOR_H_

#include <cstddef>
#include <functional>

namespace kesmaro {

/// Calls `work(i)` once for every i below `count`, on as many threads as the processor runs at
/// once (just the caller's when it cannot say, or when no thread can be started), handing out the
/// lower indices first. `work` returns false to stop: indices above one that stopped are then
/// not started, while every index below the lowest that stopped is worked, so the caller finds
/// the same first failure as a loop would. An exception `work` throws stops it likewise, and is
/// thrown again here, the lowest index's, once every thread has ended.
void ParallelFor(std::size_t count, const std::function<bool(std::size_t)>& work);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_PARALLEL_FOR_H_
