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

// Small pieces put together give the whole text, each piece whole lines, with the share done
// rising to 1; a sink that says stop gets nothing more.
TEST(PointsCsvTest, PiecesOfWholeLines) {
    CurveTable shared;
    CurveTable apart;
    for (int i = 0; i < 50; ++i) {
        shared.AddRow(i * 0.1, {i * 1.5, -i / 3.0, 7});
        apart.Add(i % 2, i, i * 2.5, 0);
    }
    for (const CurveTable* table : {&shared, &apart}) {
        const std::vector<CurvePoints> curves{table->Points(0), table->Points(1)};
        std::string joined;
        double last = 0;
        EXPECT_TRUE(WritePointsCsv(
            {"x", "a", "b"}, curves,
            [&](std::string_view piece, double done) {
                EXPECT_EQ(piece.back(), '\n');
                EXPECT_GE(done, last);
                last = done;
                joined += piece;
                return true;
            },
            40));
        EXPECT_EQ(joined, PointsCsv({"x", "a", "b"}, curves));
        EXPECT_EQ(last, 1.0);
        int calls = 0;
        EXPECT_FALSE(WritePointsCsv(
            {"x"}, curves,
            [&](std::string_view, double) {
                ++calls;
                return false;
            },
            40));
        EXPECT_EQ(calls, 1);
    }
}

}  // namespace
}  // namespace mfb
