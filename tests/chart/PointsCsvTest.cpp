// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/PointsCsv.h"

#include <gtest/gtest.h>

namespace mfb {
namespace {

TEST(PointsCsvTest, OneLinePerIndexWhenTheCurvesShareX) {
    CurveTable table;
    table.AddRow(0.1, {1e-7, -0.30000000000000004, 0});
    table.AddRow(2, {3, 12345.678, 0});
    EXPECT_EQ(PointsCsv({"x", "a", "b"}, {table.Points(0), table.Points(1)}),
              "x,a,b\n0.1,1e-07,-0.30000000000000004\n2,3,12345.678\n");
}

TEST(PointsCsvTest, CurvesOneAfterAnotherWhenTheirXDiffer) {
    CurveTable table;
    table.Add(0, 1, 10, 0);
    table.Add(0, 2, 20, 0);
    table.Add(1, 1.5, 15, 0);
    EXPECT_EQ(PointsCsv({"x", "a", "b"}, {table.Points(0), table.Points(1)}),
              "x,a,b\n1,10,\n2,20,\n1.5,,15\n");
}

}  // namespace
}  // namespace mfb
