#include "raster/RowStrips.h"
#include "raster/ThreadPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace pw {
namespace {

TEST(ThreadPool, RunsEveryPartOnceAndReturnsWhenAllHaveFinished)
{
    ThreadPool pool(4);
    ASSERT_GE(pool.parts(), 1);
    ASSERT_LE(pool.parts(), 4);
    for (const int asked : {1, 2, 4, 9}) {
        const int expected = std::min(asked, pool.parts());
        std::array<std::atomic<int>, 4> runs{};
        std::atomic<int> wrongCount = 0;
        auto work = [&](int part, int count) {
            runs[static_cast<std::size_t>(part)] += 1;
            wrongCount += count != expected ? 1 : 0;
        };
        pool.run(asked, work);
        for (int part = 0; part < 4; ++part)
            EXPECT_EQ(runs[static_cast<std::size_t>(part)].load(), part < expected ? 1 : 0)
                << asked;
        EXPECT_EQ(wrongCount.load(), 0) << asked;
    }
}

// Callers on several threads, and work that runs the pool itself, find it busy and run their
// parts alone instead of waiting: every part still runs once, and nothing hangs.
TEST(ThreadPool, BusyPoolRunsTheCallersPartsOnItsOwnThread)
{
    ThreadPool pool(2);
    std::atomic<int> outer = 0, inner = 0;
    auto work = [&](int, int count) {
        ++outer;
        auto nested = [&](int, int) { ++inner; };
        pool.run(count, nested);
    };
    std::vector<std::thread> callers;
    for (int i = 0; i < 4; ++i)
        callers.emplace_back([&] {
            for (int round = 0; round < 50; ++round)
                pool.run(2, work);
        });
    for (std::thread& caller : callers)
        caller.join();
    const int parts = pool.parts();
    EXPECT_EQ(outer.load(), 4 * 50 * parts);
    EXPECT_EQ(inner.load(), 4 * 50 * parts * parts);
}

// Many items over many rows are shared out in strips that together cover every row once.
TEST(ThreadPool, StripsOfRowsCoverEveryRowOnce)
{
    std::vector<int> drawn(300, 0);
    std::mutex mutex;
    fillInStrips(10, 309, 20000, 2000, [&](int low, int high) {
        const std::lock_guard lock(mutex);
        for (int row = low; row <= high; ++row)
            ++drawn[static_cast<std::size_t>(row - 10)];
    });
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), 1), 300);
}

}  // namespace
}  // namespace pw
