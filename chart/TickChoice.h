// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace mfb {

// Where an axis puts its ticks: at anchor + k * interval for every whole k that lands inside the
// axis range. The interval is 1, 2 or 5 times a power of ten, and the anchor is the first multiple
// of it at or above the range's minimum, so every tick sits at a round value while the range
// itself stays exactly as given. (A range that starts within an interval of the lowest double is
// anchored at its minimum.) `decimals` is how many decimals show every tick value exactly.
struct TickChoice {
    double anchor = 0;
    double interval = 1;
    int decimals = 0;
};

// About `approximateCount` intervals across [min, max] (between two thirds and one and a half times
// as many). A range too narrow to be divided at the precision of a double, or a degenerate one,
// gets its two ends as the only ticks.
TickChoice ChooseTicks(double min, double max, int approximateCount);

// How far a tick's label reaches along its axis, in pixels, given the tick's value and the number
// of decimals it is written with: its width on a horizontal axis, its height on a vertical one.
using LabelExtent = std::function<double(double value, int decimals)>;

// Ticks whose labels can be read on an axis `length` pixels long: ChooseTicks' choice, with the
// interval widened through 1, 2 and 5 times powers of ten until every label, plus `gap`, fits the
// room it has. That room is the distance between neighbouring ticks, or the axis shared out
// among its ticks if that is less (the axis draws a label no wider). An axis not laid out yet (no
// length) keeps ChooseTicks' choice, and so does one whose labels fit nowhere with two ticks.
TickChoice ChooseReadableTicks(double min, double max, int approximateCount, double length,
                               const LabelExtent& extent, double gap);

}  // namespace mfb
