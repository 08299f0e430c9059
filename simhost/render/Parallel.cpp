// The renderer's worker team: helper threads started for each run and joined at its end, indices
// handed out by one counter. No thread outlives a run, so a process may fork between runs (the
// fault sweeps fork for every run) without leaving a child waiting for threads it does not have.
#include "Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <vector>

#if ZENTRIM_SIM_HAS_THREADS
#include <system_error>
#include <thread>
#endif

namespace sim {

int defaultThreadCount() {
#if ZENTRIM_SIM_HAS_THREADS
    const unsigned n = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(n), 1, kMaxRenderThreads);
#else
    return 1;
#endif
}

namespace {

using Task = std::function<void(int, int)>;

// Runs the indices the shared counter hands out until one throws; keeps the first exception.
void drain(const Task& task, int count, int worker, std::atomic<int>& next,
           std::exception_ptr& error, std::atomic<bool>& failed) {
    for (int i = next.fetch_add(1); i < count && !failed; i = next.fetch_add(1)) {
        try {
            task(i, worker);
        } catch (...) {
            // Only the first failure is kept; the exchange makes sure one thread writes it.
            if (!failed.exchange(true)) error = std::current_exception();
        }
    }
}

}  // namespace

WorkerPool::WorkerPool(int threads)
    : threads_(ZENTRIM_SIM_HAS_THREADS
                   ? (threads <= 0 ? defaultThreadCount() : std::min(threads, kMaxRenderThreads))
                   : 1) {}

void WorkerPool::run(int count, const Task& task) {
    if (count <= 0) return;
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
#if ZENTRIM_SIM_HAS_THREADS
    std::vector<std::thread> helpers;
    const int wanted = std::min(threads_, count) - 1;
    for (int w = 1; w <= wanted; ++w) {
        try {
            helpers.emplace_back([&, w] { drain(task, count, w, next, error, failed); });
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones started and the caller do the rest
        }
    }
    drain(task, count, 0, next, error, failed);
    for (std::thread& t : helpers)
        t.join();
#else
    drain(task, count, 0, next, error, failed);
#endif
    if (error) std::rethrow_exception(error);
}

}  // namespace sim
