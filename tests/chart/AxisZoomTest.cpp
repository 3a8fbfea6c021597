// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/AxisZoom.h"

#include <gtest/gtest.h>

namespace mfb {
namespace {

// Zooming out past the limit shows the limit itself, also where the limit's width taken from its
// maximum rounds to below its minimum: 1 - (1 - 0.1) is 0.09999999999999998.
TEST(AxisZoomTest, ZoomingOutEndsAtTheLimit) {
    const AxisRange limits[] = {{0.1, 1}, {-3.3, 17.7}, {8862.6, 42000}};
    for (const AxisRange& limit : limits) {
        const AxisRange shown = SubRange(limit, 0.25, 0.75);
        for (const double across : {0.0, 0.5, 1.0}) {
            SCOPED_TRACE(testing::Message() << limit.min << ".." << limit.max << " at " << across);
            const AxisRange out = ScaledAbout(shown, shown.At(across), 10, limit);
            EXPECT_EQ(out.min, limit.min);
            EXPECT_EQ(out.max, limit.max);
        }
    }
}

// The axes zoom together, each along its own direction of the plot, and not at all where one of
// them would become narrower than the ticks can follow.
TEST(AxisZoomTest, AxesZoomTogetherOrNotAtAll) {
    const ChartAxes<2> axes{{AxisRange{0, 100}, AxisRange{0, 10}},
                            {AxisRange{0, 100}, AxisRange{0, 10}},
                            {true, false}};
    const auto box = ZoomedTo(axes, {0.25, 0.5}, {0.75, 0.1});
    ASSERT_TRUE(box);
    EXPECT_EQ((*box)[0], (AxisRange{25, 75}));
    EXPECT_EQ((*box)[1], (AxisRange{1, 5}));
    EXPECT_FALSE(ZoomedTo(axes, {0.25, 0.5}, {0.75, 0.5}));

    const auto in = ZoomedAbout(axes, {0.5, 0}, 1);
    ASSERT_TRUE(in);
    EXPECT_DOUBLE_EQ((*in)[0].Width(), 80);
    EXPECT_EQ((*in)[1].min, 0);
    EXPECT_FALSE(ZoomedAbout(axes, {0.5, 0.5}, 200));
    EXPECT_EQ(*ZoomedAbout(axes, {0.5, 0.5}, -3), axes.full);
}

}  // namespace
}  // namespace mfb
