// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "chart/PointStore.h"

namespace mfb {

// A point's colour as the chart engine is handed it; the store only compares it.
using PointColour = std::uint32_t;

// The points of one chart curve, ordered by ascending x with equal x values in arrival order.
//
// A long sweep adds millions of points, and near the pack's limit the shaft power falls while the
// input power still rises, so long stretches arrive with x smaller than earlier points. Inserting
// each at its sorted place would be quadratic; instead points are appended in arrival order (16
// bytes each) and sorted stably the first time they are read after a change: O(n log n) in all,
// nothing when they arrived in order. Colours are kept as runs, since a sweep gives every point of
// a series the same colour. Point texts are not kept: the chart never shows them.
class PointSeries {
public:
    explicit PointSeries(PointColour colour = 0) : seriesColour_(colour) {}

    void Clear();
    // Amortised constant time: this runs three times per sweep step.
    void Add(double x, double y, PointColour colour) {
        if (colour != lastColour_) [[unlikely]] {
            StartRun(colour);
        }
        // In order so far and still in order: the common case stays sorted without any work.
        if (sortedCount_ == points_.size() && !(x < lastX_)) ++sortedCount_;
        lastX_ = x;
        points_.push_back({x, y});
    }

    std::size_t Size() const { return points_.size(); }
    bool Empty() const { return points_.empty(); }

    // The points in x order. Iterators are invalidated by Add and Clear.
    const PointStore& Points() const;

    // Colour runs over Points(): (first index, colour), ascending; empty when no point has been
    // added since Clear. A sweep produces a single run.
    const std::vector<std::pair<std::size_t, PointColour>>& ColourRuns() const;

    PointColour SeriesColour() const { return seriesColour_; }

private:
    void SortIfNeeded() const;
    void StartRun(PointColour colour);

    PointColour seriesColour_;
    mutable PointStore points_;
    mutable std::vector<std::pair<std::size_t, PointColour>> runs_;
    mutable std::size_t sortedCount_ = 0;  // points_[0, sortedCount_) are in order
    // The colour and x of the point added last. No colour of the 0x00BBGGRR form equals the
    // start value, so the first point opens a run.
    PointColour lastColour_ = kNoColour;
    mutable double lastX_ = -std::numeric_limits<double>::infinity();
    static constexpr PointColour kNoColour = 0xFFFFFFFF;
};

}  // namespace mfb
