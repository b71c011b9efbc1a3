#include "tracklib/TrackOperations.h"

#include "FooterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
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
    // Queues for 10 fundaments, among them the last alone and all of them.
    std::vector<std::pair<int, std::vector<int>>> cases{{10, {2, 5}},
                                                        {10, {5, 2}},
                                                        {10, {0}},
                                                        {10, {9}},
                                                        {10, {9, 0, 4}},
                                                        {10, {3, 4, 5, 2, 6}},
                                                        {10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}};
    // Then shuffled queues of 1, 3, ... 39 of 40 fundaments.
    std::mt19937 random(20240611);
    for (std::ptrdiff_t length = 1; length < 40; length += 2) {
        std::vector<int> queue(40);
        std::iota(queue.begin(), queue.end(), 0);
        std::shuffle(queue.begin(), queue.end(), random);
        cases.emplace_back(40, std::vector<int>(queue.begin(), queue.begin() + length));
    }
    for (const auto& [fundaments, queue] : cases) {
        Track expected = trackWithEndsOnEveryFundament(fundaments);
        Track actual = expected;
        removeOneByOne(queue, expected);
        removeFundaments(queue, actual);
        EXPECT_EQ(actual, expected) << "queue of " << queue.size() << " starting " << queue[0];
    }

    // A damaged file's length at the int32 limit wraps, as its 32 stored bits would.
    Track expected = trackWithEndsOnEveryFundament(3);
    expected.fundamentLength = INT32_MIN + 5;
    Track actual = expected;
    removeOneByOne({1}, expected);
    removeFundaments({1}, actual);
    EXPECT_EQ(actual.fundamentLength, INT32_MAX - 86);
    EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace pw
