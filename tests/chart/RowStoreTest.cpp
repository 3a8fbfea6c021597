// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/RowStore.h"

#include <gtest/gtest.h>

#include <utility>

namespace mfb {
namespace {

// Enough rows for several chunks, so that the store faults chunks in ahead while it fills.
constexpr std::size_t kRows = 300'000;

void Fill(RowStore& store, double offset) {
    for (std::size_t i = 0; i < kRows; ++i) {
        const double v = static_cast<double>(i) + offset;
        store.push_back({v, {-v, 2 * v, 0.5}});
    }
}

bool Holds(const RowStore& store, double offset) {
    if (store.size() != kRows) return false;
    for (std::size_t i = 0; i < kRows; ++i) {
        const double v = static_cast<double>(i) + offset;
        const ChartRow& row = store[i];
        if (row.x != v || row.y[0] != -v || row.y[1] != 2 * v || row.y[2] != 0.5) return false;
    }
    return true;
}

TEST(RowStoreTest, RowsSurviveGrowingMovingAndRefilling) {
    RowStore store;
    Fill(store, 0);
    EXPECT_TRUE(Holds(store, 0));

    RowStore moved(std::move(store));  // while the chunk ahead may still be faulting in
    EXPECT_TRUE(Holds(moved, 0));
    moved.clear();
    Fill(moved, 7);  // into the chunks it kept
    EXPECT_TRUE(Holds(moved, 7));
    Fill(moved, kRows + 7.0);  // and past them
    EXPECT_EQ(moved.size(), 2 * kRows);
    EXPECT_EQ(moved.back().x, 2 * kRows + 6.0);
}

}  // namespace
}  // namespace mfb
