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

}  // namespace
}  // namespace mfb
