#pragma once
// Helper threads kept for the life of the program, so that a picture can share its work out
// without starting threads: starting one allocates, and a frame of the 3D view allocates nothing.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace pw {

class ThreadPool {
public:
    // Up to `parts` parts at once: the calling thread and `parts - 1` helpers, fewer where the
    // machine has fewer cores or no thread can be started.
    explicit ThreadPool(int parts);
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;
    ~ThreadPool();

    int parts() const { return static_cast<int>(helpers_.size()) + 1; }
    // Runs work(part, count) for every part from 0 to count - 1 (count at most parts()), part 0
    // on this thread, and returns when all have finished. While another call is running, every
    // part runs here, one after another, so that callers on several threads, or work that runs
    // the pool itself, never wait for one another. `work` must not throw.
    template <class Work>
    void run(int count, Work& work)
    {
        run(count, &call<Work>, &work);
    }

private:
    using Call = void (*)(void*, int, int);
    template <class Work>
    static void call(void* work, int part, int count)
    {
        (*static_cast<Work*>(work))(part, count);
    }
    void run(int count, Call call, void* work);
    void serve(const std::stop_token& stop, int part);

    std::atomic<bool> busy_ = false;  // set by the call the helpers work for
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::condition_variable finished_;
    Call call_ = nullptr;
    void* work_ = nullptr;
    int count_ = 1;
    std::uint64_t round_ = 0;
    int running_ = 0;
    std::vector<std::jthread> helpers_;  // last: stopped and joined before the rest goes
};

// The one pool that pictures share out their rows on: up to four parts, started on first use.
ThreadPool& sharedThreadPool();

}  // namespace pw
