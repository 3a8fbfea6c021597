// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/PointsCsv.h"

#include <gtest/gtest.h>

namespace mfb {
namespace {

PointSeries Series(const std::vector<ChartPoint>& points) {
    PointSeries series;
    for (const ChartPoint& p : points) series.Add(p.x, p.y, 0);
    return series;
}

TEST(PointsCsvTest, OneLinePerIndexWhenTheCurvesShareX) {
    const PointSeries a = Series({{0.1, 1e-7}, {2, 3}});
    const PointSeries b = Series({{0.1, -0.30000000000000004}, {2, 12345.678}});
    EXPECT_EQ(PointsCsv({"x", "a", "b"}, {&a, &b}),
              "x,a,b\n0.1,1e-07,-0.30000000000000004\n2,3,12345.678\n");
}

TEST(PointsCsvTest, CurvesOneAfterAnotherWhenTheirXDiffer) {
    const PointSeries a = Series({{1, 10}, {2, 20}});
    const PointSeries b = Series({{1.5, 15}});
    EXPECT_EQ(PointsCsv({"x", "a", "b"}, {&a, &b}), "x,a,b\n1,10,\n2,20,\n1.5,,15\n");
}

}  // namespace
}  // namespace mfb
