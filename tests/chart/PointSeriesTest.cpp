// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/PointSeries.h"

#include <gtest/gtest.h>

#include <vector>

namespace mfb {
namespace {

// Any three distinct colours: the store only compares them.
constexpr PointColour kRed = 1, kGreen = 2, kYellow = 3;

std::vector<std::pair<double, double>> Contents(const PointSeries& s) {
    std::vector<std::pair<double, double>> out;
    for (const auto& p : s.Points()) out.emplace_back(p.x, p.y);
    return out;
}

struct Case {
    const char* name;
    std::vector<std::pair<double, double>> added;  // in arrival order
    std::vector<std::pair<double, double>> sorted;
};

TEST(PointSeriesTest, KeepsXAscendingWithTiesInArrivalOrder) {
    const Case cases[] = {
        {"in order", {{1, 10}, {2, 20}, {3, 30}}, {{1, 10}, {2, 20}, {3, 30}}},
        {"smaller x inserted at its place",
         {{1, 10}, {3, 30}, {2, 20}},
         {{1, 10}, {2, 20}, {3, 30}}},
        {"ties keep arrival order",
         {{2, 1}, {1, 2}, {2, 3}, {1, 4}, {2, 5}},
         {{1, 2}, {1, 4}, {2, 1}, {2, 3}, {2, 5}}},
        {"rising then falling like a sweep near the pack limit",
         {{1, 0}, {3, 1}, {5, 2}, {4, 3}, {3, 4}, {2, 5}},
         {{1, 0}, {2, 5}, {3, 1}, {3, 4}, {4, 3}, {5, 2}}},
        {"falling tail tied with the rising run",
         {{1, 0}, {2, 1}, {2, 2}, {1, 3}},
         {{1, 0}, {1, 3}, {2, 1}, {2, 2}}},
        {"negative x", {{0, 0}, {-1, 1}, {-2, 2}}, {{-2, 2}, {-1, 1}, {0, 0}}},
    };
    for (const auto& c : cases) {
        PointSeries series(kRed);
        for (const auto& [x, y] : c.added) series.Add(x, y, kRed);
        EXPECT_EQ(Contents(series), c.sorted) << c.name;
    }
}

TEST(PointSeriesTest, AddingAfterReadingSortsAgain) {
    PointSeries series;
    series.Add(5, 0, kRed);
    series.Add(1, 1, kRed);
    EXPECT_EQ(series.Points().front().x, 1);
    series.Add(3, 2, kRed);
    series.Add(0, 3, kRed);
    EXPECT_EQ(Contents(series),
              (std::vector<std::pair<double, double>>{{0, 3}, {1, 1}, {3, 2}, {5, 0}}));
    series.Clear();
    EXPECT_TRUE(series.Empty());
    EXPECT_TRUE(series.ColourRuns().empty());
}

TEST(PointSeriesTest, ColoursTravelWithTheirPoints) {
    PointSeries series(kRed);
    series.Add(3, 0, kRed);
    series.Add(1, 0, kGreen);
    series.Add(2, 0, kGreen);
    series.Add(4, 0, kRed);
    using Runs = std::vector<std::pair<std::size_t, PointColour>>;
    // Sorted: 1 green, 2 green, 3 red, 4 red.
    EXPECT_EQ(series.ColourRuns(), (Runs{{0, kGreen}, {2, kRed}}));
    PointSeries uniform(kYellow);
    for (int i = 10; i > 0; --i) uniform.Add(i, i, kYellow);
    EXPECT_EQ(uniform.ColourRuns(), (Runs{{0, kYellow}}));
}

}  // namespace
}  // namespace mfb
