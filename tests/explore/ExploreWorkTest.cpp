// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ExploreWork.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

namespace mfb {
namespace {

auto Tuple(const WorkUnit& u) {
    return std::make_tuple(u.motor, u.battery, u.fan);
}

TEST(ExploreWorkTest, ItemsComeInCombinationOrder) {
    const WorkUnits items(3, 2, 5);
    ASSERT_EQ(items.Count(), 30u);
    std::size_t i = 0;
    for (std::size_t m = 0; m < 3; ++m) {
        for (std::size_t b = 0; b < 2; ++b) {
            for (std::size_t f = 0; f < 5; ++f) {
                EXPECT_EQ(Tuple(items.At(i++)), std::make_tuple(m, b, f));
            }
        }
    }
}

TEST(ExploreWorkTest, ShardsShareTheItemsOutEachOnce) {
    for (const std::size_t shards : {1u, 2u, 4u, 7u, 40u}) {
        std::set<std::tuple<std::size_t, std::size_t, std::size_t>> seen;
        std::size_t total = 0;
        for (std::size_t k = 0; k < shards; ++k) {
            const WorkUnits shard(3, 2, 5, k, shards);
            total += shard.Count();
            for (std::size_t i = 0; i < shard.Count(); ++i) seen.insert(Tuple(shard.At(i)));
        }
        EXPECT_EQ(total, 30u) << shards;
        EXPECT_EQ(seen.size(), 30u) << shards;
    }
}

TEST(ExploreWorkTest, TheSpreadOrderTakesEveryItemOnce) {
    for (const std::size_t count : {0u, 5u, 1023u, 1024u, 1025u, 5000u, 77777u}) {
        const SpreadOrder order(count);
        std::vector<bool> seen(count);
        for (std::size_t j = 0; j < count; ++j) {
            const std::size_t item = order.At(j);
            ASSERT_LT(item, count) << count;
            EXPECT_FALSE(seen[item]) << count << " " << j;
            seen[item] = true;
        }
        if (count >= 4 * SpreadOrder::kSpread) {
            EXPECT_GT(order.At(SpreadOrder::kSpread - 1), count * 9 / 10) << count;
        }
    }
}

// The work of a huge space is a handful of numbers: nothing is listed ahead of the workers.
TEST(ExploreWorkTest, AHugeSpaceHoldsNoMoreStateThanASmallOne) {
    const WorkUnits items(1000000, 100, 5);
    EXPECT_EQ(items.Count(), 500000000u);
    EXPECT_EQ(Tuple(items.At(items.Count() - 1)), std::make_tuple(999999u, 99u, 4u));
    EXPECT_EQ(Tuple(items.At(123456789)), std::make_tuple(246913u, 57u, 4u));
    EXPECT_LE(sizeof(WorkUnits), 5 * sizeof(std::size_t));
}

}  // namespace
}  // namespace mfb
