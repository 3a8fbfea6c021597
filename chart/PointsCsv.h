// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/CurveTable.h"

namespace mfb {

// Receives comma-separated text a piece at a time with the share of the lines written so far (0 to
// 1); false stops the writing.
using CsvSink = std::function<bool(std::string_view piece, double done)>;

// Every stored point of several curves over one x axis as comma-separated text: a header line of
// `names` (the x column first, then one per curve), then data lines ending in "\n". Numbers are
// written in the shortest form that reads back to the same double, with '.' whatever the locale,
// since ',' separates the columns.
//
// When the curves hold the same number of points with equal x at every index, as a sweep fills
// them, each line is one index: x and every curve's y there. Otherwise the curves follow one
// another, each in x order, a line holding x and that curve's y with the other curves' cells
// empty. Either way every stored point appears exactly once.
//
// The text goes to `sink` in pieces of whole lines of about `pieceSize` bytes, so that a chart of
// millions of points is written without ever holding its text. False when the sink stopped it.
bool WritePointsCsv(const std::vector<std::string>& names, const std::vector<CurvePoints>& curves,
                    const CsvSink& sink, std::size_t pieceSize = std::size_t{1} << 20);

// The whole text at once, for charts small enough to hold it.
std::string PointsCsv(const std::vector<std::string>& names,
                      const std::vector<CurvePoints>& curves);

}  // namespace mfb
