// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/NearestPoint.h"

#include <algorithm>
#include <iterator>

namespace mfb {

std::size_t NearestPoint(const CurvePoints& points, double x) {
    const auto firstAtOrAbove = [&](double v) {
        return std::lower_bound(points.begin(), points.end(), v,
                                [](const ChartPoint& p, double bound) { return p.x < bound; });
    };
    const auto above = firstAtOrAbove(x);
    if (above == points.begin()) return 0;
    double nearest = std::prev(above)->x;
    if (above != points.end() && above->x - x < x - nearest) nearest = above->x;
    return static_cast<std::size_t>(firstAtOrAbove(nearest) - points.begin());
}

}  // namespace mfb
