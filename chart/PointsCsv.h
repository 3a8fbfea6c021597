// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "chart/CurveTable.h"

namespace mfb {

// Every stored point of several curves over one x axis as comma-separated text: a header line of
// `names` (the x column first, then one per curve), then data lines ending in "\n". Numbers are
// written in the shortest form that reads back to the same double, with '.' whatever the locale,
// since ',' separates the columns.
//
// When the curves hold the same number of points with equal x at every index, as a sweep fills
// them, each line is one index: x and every curve's y there. Otherwise the curves follow one
// another, each in x order, a line holding x and that curve's y with the other curves' cells
// empty. Either way every stored point appears exactly once.
std::string PointsCsv(const std::vector<std::string>& names,
                      const std::vector<CurvePoints>& curves);

}  // namespace mfb
