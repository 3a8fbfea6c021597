// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "chart/CurveTable.h"

// What the windows beside the chart windows read of each option's chart: the points of its last
// sweep, by mfb::Series, and the shaft power of the step it kept. A comparison reads the chart
// windows through this and never holds them, so its tests can hand it curves of their own.
class OptionCharts {
public:
    virtual ~OptionCharts() = default;
    // Option k's (1..4) curves, or null while there is no chart to read.
    virtual const mfb::CurveTable* curves(int option) const = 0;
    // In W; none when the option's sweep kept no step.
    virtual std::optional<double> operatingPoint(int option) const = 0;
};
