// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

}  // namespace mfb
