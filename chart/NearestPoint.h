// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "chart/CurveTable.h"

namespace mfb {

// The index of the stored point whose x is nearest to `x` in `points` (sorted by ascending x), so
// that a readout shows values the curve really holds rather than values read off the drawing.
// Of two equally near x values the smaller wins; of points sharing that x, the first in order,
// which for a sweep is the earliest step. points.size() when there are none.
std::size_t NearestPoint(const CurvePoints& points, double x);

}  // namespace mfb
