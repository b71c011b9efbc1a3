#include "ThreadPool.h"

#include "tracklib/Catching.h"

#include <algorithm>

namespace pw {

ThreadPool::ThreadPool(int parts)
{
    const int cores = static_cast<int>(std::max(std::thread::hardware_concurrency(), 1u));
    const int helpers = std::max(std::min(parts, cores) - 1, 0);
    helpers_.reserve(static_cast<std::size_t>(helpers));
    for (int part = 1; part <= helpers; ++part) {
        if (!catchingSystemFailure([&] {
                helpers_.emplace_back([this, part](std::stop_token stop) { serve(stop, part); });
            }))
            break;  // fewer parts, each larger
    }
}

ThreadPool::~ThreadPool()
{
    for (std::jthread& helper : helpers_)
        helper.request_stop();
}

void ThreadPool::run(int count, Call call, void* work)
{
    count = std::clamp(count, 1, parts());
    if (count == 1 || busy_.exchange(true, std::memory_order_acquire)) {
        for (int part = 0; part < count; ++part)
            call(work, part, count);
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        call_ = call;
        work_ = work;
        count_ = count;
        running_ = parts() - 1;
        ++round_;
    }
    wake_.notify_all();
    call(work, 0, count);
    {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [this] { return running_ == 0; });
    }
    busy_.store(false, std::memory_order_release);
}

void ThreadPool::serve(const std::stop_token& stop, int part)
{
    std::uint64_t done = 0;
    for (;;) {
        Call call = nullptr;
        void* work = nullptr;
        int count = 0;
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait(lock, stop, [&] { return round_ != done; }))
                return;
            done = round_;
            call = call_;
            work = work_;
            count = count_;
        }
        if (part < count)
            call(work, part, count);
        const std::lock_guard lock(mutex_);
        if (--running_ == 0)
            finished_.notify_one();
    }
}

ThreadPool& sharedThreadPool()
{
    static ThreadPool pool(4);
    return pool;
}

}  // namespace pw
