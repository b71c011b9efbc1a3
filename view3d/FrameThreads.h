#pragma once
// Helper threads kept for as long as a picture lives, so that a frame can share its work out
// without starting threads: starting one allocates, and a frame allocates nothing.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace pw {

class FrameThreads {
public:
    // Up to `parts` parts at once: this thread and `parts - 1` helpers, fewer where the
    // machine has fewer cores or no thread can be started.
    explicit FrameThreads(int parts);
    FrameThreads(const FrameThreads&) = delete;
    FrameThreads& operator=(const FrameThreads&) = delete;
    ~FrameThreads();

    int parts() const { return static_cast<int>(helpers_.size()) + 1; }
    // Runs work(part, parts) for every part from 0 to parts - 1, part 0 on this thread, and
    // returns when all have finished. `work` must not throw.
    template <class Work>
    void run(Work& work)
    {
        run(&call<Work>, &work);
    }

private:
    using Call = void (*)(void*, int, int);
    template <class Work>
    static void call(void* work, int part, int parts)
    {
        (*static_cast<Work*>(work))(part, parts);
    }
    void run(Call call, void* work);
    void serve(const std::stop_token& stop, int part);

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

}  // namespace pw
