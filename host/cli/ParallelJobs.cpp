#include "host/cli/ParallelJobs.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace Korvatune {

void runInParallel(int count, int jobs, const std::function<void(int)>& work) {
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::mutex failureLock;
    std::exception_ptr failure;
    const auto worker = [&] {
        while (!failed.load()) {
            const int item = next.fetch_add(1);
            if (item >= count) {
                return;
            }
            try {
                work(item);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) {
                    failure = std::current_exception();
                }
                failed.store(true);
            }
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < std::min(jobs, count); ++i) {
        helpers.emplace_back(worker);
    }
    worker();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace Korvatune
