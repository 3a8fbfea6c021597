// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TickChoice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace mfb {
namespace {

struct Case {
    const char* name;
    double min, max;
    int count;
    double anchor, interval;
    int decimals;
};

TEST(TickChoiceTest, RoundValuesInsideTheRange) {
    const Case cases[] = {
        // Ranges a sweep sets: 0.9 times the fan's chart power to 1.05 times the top shaft power,
        // and 0.9 of the first fan rpm to 1.05 of the first motor rpm.
        {"power axis", 72.9, 2205.0, 8, 200, 200, 0},
        {"rpm axis", 8862.6, 42000, 6, 10000, 5000, 0},
        {"current axis", 1.9, 178.5, 6, 20, 20, 0},
        {"mantissa below 1.5 rounds to 1", 0, 12, 10, 0, 1, 0},
        {"mantissa 3 rounds to 2", 0, 30, 10, 0, 2, 0},
        {"mantissa 4 rounds to 5", 0, 40, 10, 0, 5, 0},
        {"mantissa 8 rounds up to the next decade", 0, 80, 10, 0, 10, 0},
        {"tenths", 0.31, 1.7, 6, 0.4, 0.2, 1},
        {"hundredths", 1.001, 1.3, 6, 1.05, 0.05, 2},
        {"exactly on a multiple", 20, 120, 5, 20, 20, 0},
        {"negative range", -7, -3, 4, -7, 1, 0},
        {"across zero", -250, 1000, 5, -200, 200, 0},
        {"the narrowest range a sweep axis gets", 0, 1e-10, 5, 0, 2e-11, 11},
        {"a large range", 0, 3e12, 3, 0, 1e12, 0},
        // An axis counts from one interval below its minimum, which must stay finite.
        {"within an interval of the lowest double", -1.79e308, 0, 6, -1.79e308, 2e307, 0},
        {"wider than the largest double", -1.7e308, 1.7e308, 6, -1.7e308, 5e307, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TickChoice ticks = ChooseTicks(c.min, c.max, c.count);
        EXPECT_DOUBLE_EQ(ticks.anchor, c.anchor);
        EXPECT_DOUBLE_EQ(ticks.interval, c.interval);
        EXPECT_EQ(ticks.decimals, c.decimals);
        EXPECT_GE(ticks.anchor, c.min);
        EXPECT_LE(ticks.anchor, c.max);
    }
}

// An axis widened to its smallest step at a large value cannot be divided into round steps; it
// gets its two ends, and the tick loop still advances.
TEST(TickChoiceTest, RangeBelowTheDoublesSpacingGetsItsEnds) {
    const double min = 5e6;
    const double max = std::nextafter(min, 1e7);
    const TickChoice ticks = ChooseTicks(min, max, 6);
    EXPECT_EQ(ticks.anchor, min);
    EXPECT_EQ(ticks.interval, max - min);
    EXPECT_GT(min + ticks.interval, min);
}

TEST(TickChoiceTest, DegenerateInputKeepsAPositiveInterval) {
    const double nan = std::nan("");
    for (const auto& [min, max, count] :
         {std::tuple{5.0, 5.0, 6}, {6.0, 5.0, 6}, {0.0, 1.0, 0}, {nan, 1.0, 6}}) {
        EXPECT_GT(ChooseTicks(min, max, count).interval, 0);
    }
}

// Labels 7 pixels a character across, or 16 pixels high on an axis that runs up the chart, or
// wider than any axis.
TEST(TickChoiceTest, LabelsFitTheirRoom) {
    const LabelExtent across = [](double value, int decimals) {
        char text[64];
        return 7.0 * std::snprintf(text, sizeof text, "%.*f", decimals, value);
    };
    const LabelExtent up = [](double, int) { return 16.0; };
    const LabelExtent huge = [](double, int) { return 1000.0; };
    struct Readable {
        const char* name;
        double min, max;
        int count;
        double length;
        const LabelExtent* extent;
        double anchor, interval;
    };
    const Readable cases[] = {
        // Every 20,000 W on 600 pixels gives six-digit labels 33 pixels.
        {"a wide power range", 900, 267272, 8, 600, &across, 50000, 50000},
        {"the same on a wide window", 900, 267272, 8, 1600, &across, 20000, 20000},
        {"the same on a narrow window", 900, 267272, 8, 250, &across, 100000, 100000},
        {"zoomed in, the labels are shorter", 900, 30000, 8, 600, &across, 5000, 5000},
        {"decimals count", 0.31, 1.7, 6, 100, &across, 0.5, 0.5},
        {"an axis not laid out yet", 900, 267272, 8, 0, &across, 20000, 20000},
        {"a low chart", 8862.6, 42000, 6, 100, &up, 10000, 10000},
        {"a chart of the designed height", 8862.6, 42000, 6, 400, &up, 10000, 5000},
        {"labels that fit nowhere keep one interval", 0, 10, 5, 100, &huge, 0, 10},
    };
    for (const Readable& c : cases) {
        SCOPED_TRACE(c.name);
        const TickChoice ticks = ChooseReadableTicks(c.min, c.max, c.count, c.length, *c.extent,
                                                     c.extent == &up ? 4 : 12);
        EXPECT_DOUBLE_EQ(ticks.anchor, c.anchor);
        EXPECT_DOUBLE_EQ(ticks.interval, c.interval);
    }
}

}  // namespace
}  // namespace mfb
