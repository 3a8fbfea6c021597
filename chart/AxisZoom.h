// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>

namespace mfb {

// A closed range of axis values, min < max.
struct AxisRange {
    double min = 0;
    double max = 1;
    double Width() const { return max - min; }
    bool operator==(const AxisRange&) const = default;
    // The value a fraction of the way from min (0) to max (1).
    double At(double fraction) const { return min + fraction * (max - min); }
};

// The part of `range` between two fractions of it, in either order.
inline AxisRange SubRange(const AxisRange& range, double from, double to) {
    return {range.At(std::min(from, to)), range.At(std::max(from, to))};
}

// `range` scaled by `factor` about `centre` (a value inside it), kept inside `limit`: zooming out
// never shows more than the limit, and a range pushed past one end of it slides back in whole.
inline AxisRange ScaledAbout(const AxisRange& range, double centre, double factor,
                             const AxisRange& limit) {
    const double width = std::min(range.Width() * factor, limit.Width());
    double min = centre - (centre - range.min) * (width / range.Width());
    // Not std::clamp: limit.max - width may round to a hair below limit.min, and the limit's own
    // minimum is the one to keep.
    min = std::max(std::min(min, limit.max - width), limit.min);
    return {min, std::min(min + width, limit.max)};
}

}  // namespace mfb
