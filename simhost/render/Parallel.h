// Helper threads for the renderer: the simulator stands for a host that renders on threads of its
// own. Builds whose standard library has no threads (mingw-w64's win32 thread model) run serially.
#pragma once

#include <functional>

// libstdc++ declares std::thread's constructor only with gthreads; other libraries always do.
#if defined(__GLIBCXX__) && !defined(_GLIBCXX_HAS_GTHREADS)
#define ZENTRIM_SIM_HAS_THREADS 0
#else
#define ZENTRIM_SIM_HAS_THREADS 1
#endif

namespace sim {

// Threads to use when asked for 0: the machine's processors, at most kMaxRenderThreads.
constexpr int kMaxRenderThreads = 8;
int defaultThreadCount();

// A team of threads, the caller's included, for one run at a time: the helpers start with a run
// and are joined before it returns. Not to be shared by callers on different threads.
class WorkerPool {
  public:
    explicit WorkerPool(int threads);  // 0: defaultThreadCount(); 1: the caller's thread only

    int threads() const { return threads_; }
    // Calls task(index, worker) for every index in [0, count), returns when all are done. Calls
    // running at the same time have different `worker` numbers in [0, threads()). Once a task
    // throws no further call starts, and the first exception is rethrown here when the calls
    // already running have returned.
    void run(int count, const std::function<void(int index, int worker)>& task);

  private:
    int threads_ = 1;
};

}  // namespace sim
