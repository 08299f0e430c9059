// The renderer's worker team: helpers woken for each run, indices handed out by one counter.
#include "Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <vector>

#if ZENTRIM_SIM_HAS_THREADS
#include <condition_variable>
#include <mutex>
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

#if ZENTRIM_SIM_HAS_THREADS

struct WorkerPool::Team {
    std::mutex mutex;
    std::condition_variable wake, done;
    std::vector<std::thread> helpers;
    unsigned long long generation = 0;  // one per run; a helper works once per generation
    bool stopping = false;
    const Task* task = nullptr;
    int count = 0;
    int busy = 0;  // helpers not yet finished with the current run
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;

    void helper(int worker) {
        unsigned long long seen = 0;
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return stopping || generation != seen; });
            if (stopping) return;
            seen = generation;
            const Task* t = task;
            const int n = count;
            lock.unlock();
            drain(*t, n, worker, next, error, failed);
            lock.lock();
            if (--busy == 0) done.notify_one();
        }
    }
};

WorkerPool::WorkerPool(int threads)
    : threads_(threads <= 0 ? defaultThreadCount() : std::min(threads, kMaxRenderThreads)) {}

WorkerPool::~WorkerPool() {
    if (!team_) return;
    {
        std::lock_guard<std::mutex> lock(team_->mutex);
        team_->stopping = true;
    }
    team_->wake.notify_all();
    for (std::thread& t : team_->helpers)
        t.join();
}

void WorkerPool::run(int count, const Task& task) {
    if (count <= 0) return;
    if (threads_ == 1 || count == 1) {
        for (int i = 0; i < count; ++i)
            task(i, 0);
        return;
    }
    if (!team_) {
        team_ = std::make_unique<Team>();
        for (int w = 1; w < threads_; ++w)
            team_->helpers.emplace_back([team = team_.get(), w] { team->helper(w); });
    }
    Team& t = *team_;
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        t.task = &task;
        t.count = count;
        t.next = 0;
        t.failed = false;
        t.error = nullptr;
        t.busy = static_cast<int>(t.helpers.size());
        ++t.generation;
    }
    t.wake.notify_all();
    drain(task, count, 0, t.next, t.error, t.failed);
    std::exception_ptr error;
    {
        std::unique_lock<std::mutex> lock(t.mutex);
        t.done.wait(lock, [&] { return t.busy == 0; });
        error = t.error;
        t.task = nullptr;
    }
    if (error) std::rethrow_exception(error);
}

#else

struct WorkerPool::Team {};

WorkerPool::WorkerPool(int) : threads_(1) {}
WorkerPool::~WorkerPool() = default;

void WorkerPool::run(int count, const Task& task) {
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    drain(task, count, 0, next, error, failed);
    if (error) std::rethrow_exception(error);
}

#endif

}  // namespace sim
