#include "footers/FundamentRemoval.h"

#include "SupportTrackBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace pw {
namespace {

using testing::onFreeNode;
using testing::onFundament;

// The removal one fundament at a time, each later entry lowered past the removed ones.
void removeOneByOne(std::vector<int> queue, Track& track)
{
    for (std::size_t i = 0; i < queue.size(); ++i) {
        removeFundament(queue[i], track);
        for (std::size_t j = i + 1; j < queue.size(); ++j)
            if (queue[j] > queue[i])
                --queue[j];
    }
}

// Every fundament carries tube ends, plus ends that name no fundament at all.
Track trackWithEndsOnEveryFundament(int fundaments)
{
    testing::SupportTrackBuilder build;
    const int node = build.freeNode(0, 0, 0);
    for (int i = 0; i < fundaments; ++i) {
        build.fundament(static_cast<float>(i), 0, 0);
        build.tube(onFundament(i), onFreeNode(node), 2);
        build.tube(onFreeNode(node), onFundament(i), 0);
        build.tube(onFundament(i), onFundament(fundaments - 1 - i), 1);
    }
    build.tube(onFundament(fundaments), onFundament(fundaments + 3), 2);
    build.tube(onFundament(-1), onFundament(-7), 2);
    return build.track();
}

TEST(FundamentRemoval, EqualsRemovingOneByOne)
{
    const std::vector<std::vector<int>> queues{
        {2, 5}, {5, 2}, {0}, {9}, {9, 0, 4}, {3, 4, 5, 2, 6}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
    for (const std::vector<int>& queue : queues) {
        Track expected = trackWithEndsOnEveryFundament(10);
        Track actual = expected;
        removeOneByOne(queue, expected);
        removeFundaments(queue, actual);
        EXPECT_EQ(actual, expected) << "queue of " << queue.size() << " starting " << queue[0];
    }
}

TEST(FundamentRemoval, EqualsRemovingOneByOneForShuffledQueues)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 20; ++round) {
        std::vector<int> queue(40);
        for (int i = 0; i < 40; ++i)
            queue[static_cast<std::size_t>(i)] = i;
        std::shuffle(queue.begin(), queue.end(), random);
        queue.resize(static_cast<std::size_t>(round * 2 + 1));
        Track expected = trackWithEndsOnEveryFundament(40);
        Track actual = expected;
        removeOneByOne(queue, expected);
        removeFundaments(queue, actual);
        ASSERT_EQ(actual, expected) << "round " << round;
    }
}

}  // namespace
}  // namespace pw
