// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/PixelReduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <ostream>
#include <random>
#include <string>

namespace mfb {
namespace {

struct ColumnSummary {
    ChartPoint first, last;
    double minY, maxY;
};

bool Same(const ChartPoint& a, const ChartPoint& b) {
    return a.x == b.x && a.y == b.y;
}

double Column(const PixelGrid& grid, double x) {
    return std::floor(grid.left + (x - grid.xMin) * (grid.width / (grid.xMax - grid.xMin)));
}

template <typename Range>
std::map<double, ColumnSummary> Summarise(const Range& points, const PixelGrid& grid) {
    std::map<double, ColumnSummary> columns;
    for (const ChartPoint& p : points) {
        if (p.x < grid.xMin || p.x > grid.xMax) continue;
        const auto [it, fresh] =
            columns.try_emplace(Column(grid, p.x), ColumnSummary{p, p, p.y, p.y});
        it->second.last = p;
        it->second.minY = std::min(it->second.minY, p.y);
        it->second.maxY = std::max(it->second.maxY, p.y);
    }
    return columns;
}

// Checks what makes the reduced curve paint like the full one: every pixel column enters, leaves
// and spans the same y values, and the nearest points beyond the visible range are kept.
void ExpectSamePicture(const CurvePoints& all, const PixelGrid& grid,
                       const std::vector<ChartPoint>& reduced) {
    ASSERT_TRUE(std::is_sorted(reduced.begin(), reduced.end(),
                               [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; }));
    const auto full = Summarise(all, grid);
    const auto kept = Summarise(reduced, grid);
    ASSERT_EQ(full.size(), kept.size());
    for (const auto& [column, expected] : full) {
        SCOPED_TRACE("column " + std::to_string(column));
        const ColumnSummary& got = kept.at(column);
        EXPECT_TRUE(Same(got.first, expected.first));
        EXPECT_TRUE(Same(got.last, expected.last));
        EXPECT_EQ(got.minY, expected.minY);
        EXPECT_EQ(got.maxY, expected.maxY);
    }
    EXPECT_LE(reduced.size(), 4 * (full.size()) + 2);

    const auto rend = std::make_reverse_iterator(all.begin());
    const auto before = std::find_if(std::make_reverse_iterator(all.end()), rend,
                                     [&](const ChartPoint& p) { return p.x < grid.xMin; });
    const auto keptBefore = std::count_if(reduced.begin(), reduced.end(),
                                          [&](const ChartPoint& p) { return p.x < grid.xMin; });
    if (before == rend) {
        EXPECT_EQ(keptBefore, 0);
    } else {
        ASSERT_EQ(keptBefore, 1);
        EXPECT_TRUE(Same(reduced.front(), *before));
    }
    const auto after =
        std::find_if(all.begin(), all.end(), [&](const ChartPoint& p) { return p.x > grid.xMax; });
    const auto keptAfter = std::count_if(reduced.begin(), reduced.end(),
                                         [&](const ChartPoint& p) { return p.x > grid.xMax; });
    if (after == all.end()) {
        EXPECT_EQ(keptAfter, 0);
    } else {
        ASSERT_EQ(keptAfter, 1);
        EXPECT_TRUE(Same(reduced.back(), *after));
    }
}

CurvePoints View(const RowStore& rows) {
    return {&rows, 0, rows.size()};
}

enum class Shape { Noise, Sine, Constant, Steps };

// The points of one curve, in the first column of rows.
RowStore MakePoints(Shape shape, std::size_t count, double x0, double x1, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    RowStore points;
    for (std::size_t i = 0; i < count; ++i) {
        // Steps repeats every x value several times, giving runs of equal x.
        const double t = shape == Shape::Steps ? static_cast<double>(i / 5 * 5) / count
                                               : static_cast<double>(i) / count;
        const double x = x0 + (x1 - x0) * t;
        double y = 0;
        switch (shape) {
            case Shape::Noise:
                y = unit(random) * 1000 - 500;
                break;
            case Shape::Sine:
                y = std::sin(t * 40) * 3000 + 20000;
                break;
            case Shape::Constant:
                y = 42;
                break;
            case Shape::Steps:
                y = static_cast<double>(i % 7);
                break;
        }
        points.push_back({x, {y, 0, 0}});
    }
    return points;
}

struct ReduceCase {
    const char* name;
    Shape shape;
    std::size_t count;
    double x0, x1;  // span of the data
    PixelGrid grid;
};

void PrintTo(const ReduceCase& c, std::ostream* os) {
    *os << c.name;
}

class PixelReductionCases : public ::testing::TestWithParam<ReduceCase> {};

TEST_P(PixelReductionCases, KeepsEveryColumnsExtremesAndTheEdges) {
    const ReduceCase& c = GetParam();
    const auto points = MakePoints(c.shape, c.count, c.x0, c.x1, 7);
    PixelReduction reduction;
    reduction.Build(View(points), 0, points.size());
    std::vector<ChartPoint> reduced;
    reduction.Reduce(View(points), c.grid, reduced);
    ExpectSamePicture(View(points), c.grid, reduced);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, PixelReductionCases,
    ::testing::Values(
        ReduceCase{"DenseNoise", Shape::Noise, 200000, 0, 100, {0, 100, 0, 728}},
        ReduceCase{"FewColumnsUseBlocks", Shape::Noise, 100000, 0, 100, {0, 100, 0.5, 7}},
        ReduceCase{"FractionalLeftEdge", Shape::Sine, 50000, 0, 100, {0, 100, 57.37, 611.2}},
        ReduceCase{"SparserThanPixels", Shape::Sine, 300, 0, 100, {0, 100, 10, 728}},
        ReduceCase{"BothEndsCut", Shape::Noise, 100000, 0, 100, {20.05, 70.3, 3, 400}},
        ReduceCase{"ConstantY", Shape::Constant, 10000, 0, 100, {0, 100, 0, 50}},
        ReduceCase{"EqualXRuns", Shape::Steps, 30000, 0, 100, {0, 100, 0, 300}},
        ReduceCase{"AllLeftOfRange", Shape::Noise, 1000, 0, 10, {20, 30, 0, 100}},
        ReduceCase{"AllRightOfRange", Shape::Noise, 1000, 40, 50, {20, 30, 0, 100}},
        ReduceCase{"OnePixel", Shape::Noise, 5000, 0, 100, {0, 100, 0, 1}},
        ReduceCase{"RangeOf1e-10", Shape::Noise, 5000, 99.9, 100.1, {100, 100 + 1e-10, 0, 500}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        std::replace(name.begin(), name.end(), '.', '_');
        return name;
    });

TEST(PixelReduction, ReducesOnlyTheBuiltRange) {
    auto points = MakePoints(Shape::Noise, 20000, 0, 100, 3);
    const std::size_t first = 5000, last = 15000;
    PixelReduction reduction;
    reduction.Build(View(points), first, last);
    const PixelGrid grid{0, 100, 0, 80};
    std::vector<ChartPoint> reduced;
    reduction.Reduce(View(points), grid, reduced);
    const RowStore part(points.begin() + first, points.begin() + last);
    ExpectSamePicture(View(part), grid, reduced);
}

TEST(PixelReduction, PointByPointThenRedoingWhatChanged) {
    // Summarised as the points arrive, then the points from `changed` on are replaced, as sorting
    // in late points does; at every cut the summary must match the new points.
    for (const std::size_t changed : {std::size_t{0}, std::size_t{1000}, std::size_t{6421}}) {
        SCOPED_TRACE(changed);
        auto points = MakePoints(Shape::Sine, 10000, 0, 100, 5);
        PixelReduction reduction;
        reduction.Reset();
        for (const ChartRow& row : points) reduction.Push(row.y[0]);
        EXPECT_EQ(reduction.Last(), points.size());

        const auto noise = MakePoints(Shape::Noise, points.size(), 0, 100, 9);
        for (std::size_t i = changed; i < points.size(); ++i) points[i].y[0] = noise[i].y[0];
        points.push_back({100, {1e6, 0, 0}});
        reduction.Truncate(changed);
        EXPECT_LE(reduction.Last(), changed);
        reduction.Extend(View(points), points.size());

        const PixelGrid grid{0, 100, 0, 40};
        std::vector<ChartPoint> reduced;
        reduction.Reduce(View(points), grid, reduced);
        ExpectSamePicture(View(points), grid, reduced);
    }
}

TEST(PixelReduction, EmptyForNoPointsOrDegenerateGrid) {
    const auto points = MakePoints(Shape::Noise, 100, 0, 100, 1);
    std::vector<ChartPoint> reduced{{1, 1}};
    PixelReduction reduction;
    reduction.Reduce(View(points), {0, 100, 0, 100}, reduced);
    EXPECT_TRUE(reduced.empty()) << "nothing built yet";

    reduction.Build(View(points), 0, points.size());
    for (const PixelGrid& grid : {PixelGrid{0, 100, 0, 0}, PixelGrid{5, 5, 0, 100}}) {
        reduced.assign(1, {1, 1});
        reduction.Reduce(View(points), grid, reduced);
        EXPECT_TRUE(reduced.empty());
    }
}

}  // namespace
}  // namespace mfb
