// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/Derived.h"
#include "model/Flight.h"

namespace mfb {

// The figures an option column shows below its nine values, each with what explains it. A figure
// that is not known shows no value, and its note says what it would need.
struct ShownFigure {
    std::string_view caption;  // without its colon
    std::string value;         // two decimals and the unit, or empty
    std::string note;          // the tooltip
};
inline constexpr std::size_t kShownFigureCount = 7;
using ShownFigures = std::array<ShownFigure, kShownFigureCount>;

// The captions, top to bottom, for a column that has not been calculated.
std::array<std::string_view, kShownFigureCount> ShownFigureCaptions();

ShownFigures ShowFigures(const Assessment& assessment, const FlightSettings& settings,
                         char decimalSeparator);

}  // namespace mfb
