#pragma once

#include <functional>

namespace Korvatune {

// Runs work(0) .. work(count - 1) on up to `jobs` threads, the calling thread among them.
// After a failure no new item starts; the first exception is rethrown once all threads are done.
void runInParallel(int count, int jobs, const std::function<void(int)>& work);

} // namespace Korvatune
