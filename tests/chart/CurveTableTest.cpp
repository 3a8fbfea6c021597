// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/CurveTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace mfb {
namespace {

// Any three distinct colours: the table only compares them.
constexpr PointColour kRed = 1, kGreen = 2, kYellow = 3;
constexpr std::array<PointColour, kCurveCount> kColours{kRed, kGreen, kYellow};

using Points = std::vector<std::pair<double, double>>;

Points Contents(const CurveTable& table, std::size_t curve) {
    Points out;
    for (const ChartPoint p : table.Points(curve)) out.emplace_back(p.x, p.y);
    return out;
}

struct Case {
    const char* name;
    Points added;  // in arrival order
    Points sorted;
};

// Every curve gets the same points, as rows of a sweep and as single points: both must sort alike.
TEST(CurveTableTest, KeepsXAscendingWithTiesInArrivalOrder) {
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
        SCOPED_TRACE(c.name);
        CurveTable rows(kColours), single(kColours);
        for (const auto& [x, y] : c.added) {
            rows.AddRow(x, {y, y, y});
            for (std::size_t curve = 0; curve < kCurveCount; ++curve) {
                single.Add(curve, x, y, kColours[curve]);
            }
        }
        for (std::size_t curve = 0; curve < kCurveCount; ++curve) {
            EXPECT_EQ(Contents(rows, curve), c.sorted);
            EXPECT_EQ(Contents(single, curve), c.sorted);
            EXPECT_EQ(rows.ColourRuns(curve), single.ColourRuns(curve));
        }
    }
}

// Sweeps long enough that their rows are placed a batch at a time on another core while the
// falling tail is merged, each read mid-way as a chart window may, and refilled; and the same rows
// copied as fast as they come, which are appended as they come. All must read exactly as the rows
// stably sorted.
TEST(CurveTableTest, LongSweepsReadAsTheirRowsStablySorted) {
    constexpr int kRising = 150'000;
    struct Shape {
        const char* name;
        double (*x)(int step);  // the step's x
        int steps;
    };
    const Shape shapes[] = {
        // Falling below the start, every falling x tied with a rising one.
        {"past the limit", [](int i) { return i < kRising ? i * 1.0 : 2.0 * kRising - i; },
         320'000},
        // Falling, then rising again: no sweep does it, but the rows must still sort.
        {"falling and rising again",
         [](int i) { return i < kRising ? i * 0.5 : std::abs(200'000 - i) * 0.75; }, 260'000},
        {"in order", [](int i) { return i * 1.0; }, 200'000},
    };
    CurveTable table(kColours);
    volatile double modelWork = 0;
    for (int fill = 0; fill < 3; ++fill) {
        const bool copied = fill == 2;
        for (const Shape& shape : shapes) {
            SCOPED_TRACE(std::string(shape.name) + (copied ? ", copied" : ", swept"));
            for (std::size_t curve = 0; curve < kCurveCount; ++curve) table.Clear(curve);
            std::vector<ChartRow> rows;
            for (int i = 0; i < shape.steps; ++i) {
                const double y = i;
                // As long as a model step takes at least.
                for (int k = 0; !copied && k < 40; ++k) modelWork = modelWork * 0.5 + k;
                rows.push_back({shape.x(i), {y, -y, 2 * y}});
                table.AddRow(rows.back().x, rows.back().y);
                if (i == shape.steps * 2 / 3) {
                    EXPECT_EQ(table.Size(1), rows.size());
                }
            }
            std::stable_sort(rows.begin(), rows.end(),
                             [](const ChartRow& a, const ChartRow& b) { return a.x < b.x; });
            for (std::size_t curve = 0; curve < kCurveCount; ++curve) {
                const CurvePoints points = table.Points(curve);
                ASSERT_EQ(points.size(), rows.size());
                std::size_t misplaced = 0;
                for (std::size_t i = 0; i < rows.size(); ++i) {
                    const ChartPoint p = points[i];
                    misplaced += p.x != rows[i].x || p.y != rows[i].y[curve];
                }
                EXPECT_EQ(misplaced, 0u) << "curve " << curve;
            }
        }
    }
}

TEST(CurveTableTest, ACurveChangedAloneKeepsTheOthersAndClearingAllSharesAgain) {
    CurveTable table(kColours);
    table.AddRow(2, {20, 200, 2000});
    table.AddRow(1, {10, 100, 1000});
    EXPECT_EQ(Contents(table, 1), (Points{{1, 100}, {2, 200}}));  // sorted while shared

    table.Clear(0);
    table.AddRow(3, {30, 300, 3000});  // curve 0 starts again, the others go on
    EXPECT_EQ(Contents(table, 0), (Points{{3, 30}}));
    EXPECT_EQ(Contents(table, 1), (Points{{1, 100}, {2, 200}, {3, 300}}));
    table.Add(2, 0, 0, kYellow);
    EXPECT_EQ(Contents(table, 2), (Points{{0, 0}, {1, 1000}, {2, 2000}, {3, 3000}}));
    EXPECT_EQ(table.Size(1), 3u);

    for (std::size_t curve = 0; curve < kCurveCount; ++curve) table.Clear(curve);
    for (std::size_t curve = 0; curve < kCurveCount; ++curve) {
        EXPECT_TRUE(table.Empty(curve));
        EXPECT_TRUE(table.ColourRuns(curve).empty());
    }
    table.AddRow(5, {50, 500, 5000});
    EXPECT_EQ(Contents(table, 2), (Points{{5, 5000}}));
}

TEST(CurveTableTest, AddingAfterReadingSortsAgain) {
    CurveTable table(kColours);
    table.Add(0, 5, 0, kRed);
    table.Add(0, 1, 1, kRed);
    EXPECT_EQ(table.Points(0).front().x, 1);
    table.Add(0, 3, 2, kRed);
    table.Add(0, 0, 3, kRed);
    EXPECT_EQ(Contents(table, 0), (Points{{0, 3}, {1, 1}, {3, 2}, {5, 0}}));
    EXPECT_TRUE(table.Empty(1));
}

TEST(CurveTableTest, ColoursTravelWithTheirPoints) {
    CurveTable table(kColours);
    table.Add(0, 3, 0, kRed);
    table.Add(0, 1, 0, kGreen);
    table.Add(0, 2, 0, kGreen);
    table.Add(0, 4, 0, kRed);
    using Runs = std::vector<CurveTable::ColourRun>;
    // Sorted: 1 green, 2 green, 3 red, 4 red.
    EXPECT_EQ(table.ColourRuns(0), (Runs{{0, kGreen}, {2, kRed}}));
    for (int i = 10; i > 0; --i) table.Add(2, i, i, kYellow);
    EXPECT_EQ(table.ColourRuns(2), (Runs{{0, kYellow}}));
}

}  // namespace
}  // namespace mfb
