// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "catalogue/FanFit.h"

namespace mfb {

// The points of a fan's test as a CSV text: a first line naming its columns, in any order, rpm
// and either shaft_power_w or input_power_w, optionally thrust_g; then a point per line, '.' as
// the decimal point, a thrust cell left empty where none was measured, blank lines skipped.
struct FanPointsCsv {
    std::vector<FanPoint> points;  // with the input power as shaftPower where inputPower
    bool inputPower = false;
};

// Throws Error naming `file` and the line that does not read ("FILE:LINE: ...").
FanPointsCsv ReadFanPointsCsv(const std::string& text, const std::string& file);

}  // namespace mfb
