// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/NearestPoint.h"

#include <gtest/gtest.h>

#include <vector>

namespace mfb {
namespace {

TEST(NearestPointTest, StoredPointNearestInX) {
    // x in order; 4 is held twice, as where a sweep's shaft power turns back.
    const std::vector<ChartRow> stored{{1, {10}}, {2, {20}}, {4, {40}}, {4, {41}}, {8, {80}}};
    const RowStore rows(stored.begin(), stored.end());
    const CurvePoints points(&rows, 0, rows.size());
    struct Case {
        const char* name;
        double x;
        std::size_t index;
    };
    const Case cases[] = {
        {"left of every point", -5, 0},     {"on a point", 2, 1},
        {"nearer the lower", 2.9, 1},       {"nearer the upper", 3.1, 2},
        {"half way takes the lower", 3, 1}, {"a shared x gives its first point", 4, 2},
        {"just above a shared x", 4.5, 2},  {"right of every point", 100, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NearestPoint(points, c.x), c.index);
    }
    EXPECT_EQ(NearestPoint(CurvePoints(), 1), 0u);
}

}  // namespace
}  // namespace mfb
