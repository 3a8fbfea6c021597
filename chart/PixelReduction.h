// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "chart/CurveTable.h"

namespace mfb {

// Where a curve lands on screen: x = xMin is drawn at pixel coordinate `left`, x = xMax at
// `left + width`. A pixel column is an interval [k, k + 1) of pixel coordinates, so giving the
// plot's real (possibly fractional) left edge lines the columns up with the device pixels.
struct PixelGrid {
    double xMin = 0;
    double xMax = 0;
    double left = 0;
    double width = 0;
};

// A line through millions of points paints no more than a few per pixel column: entering the
// column, its lowest and highest point, and leaving it. Keeping those four per column (in x order)
// plus the nearest point beyond each end of the visible x range draws the same picture as the full
// curve, with the edges crossing the plot border where they did.
//
// Build() summarises a sorted range once (the y extremes of every block of points), so that each
// later Reduce() costs about the number of pixel columns times a block rather than the number of
// points: a resize of a chart of millions of points does not read them all again. The summary
// refers to the points by index; it is valid until the points change.
class PixelReduction {
public:
    // Summarises points[first, last), sorted by ascending x.
    void Build(const CurvePoints& points, std::size_t first, std::size_t last) {
        Reset(first);
        Extend(points, last);
    }

    // The summary can also grow point by point as points arrive in order, which spreads its cost
    // over the adding instead of paying it all when the chart is first drawn.
    void Reset(std::size_t first = 0);
    // Adds the y of the point at index Last().
    void Push(double y) {
        const auto offset = static_cast<std::uint32_t>((last_ - first_) % kBlock);
        if (offset == 0) {
            blocks_.push_back({y, y, 0, 0});
        } else {
            BlockExtremes& block = blocks_.back();
            if (y < block.minY) block.minY = y, block.minAt = offset;
            if (y > block.maxY) block.maxY = y, block.maxAt = offset;
        }
        ++last_;
    }
    // Adds points[Last(), last).
    void Extend(const CurvePoints& points, std::size_t last);
    // Forgets the points from index `keep` on (and the rest of its block), for Extend to redo
    // after the points there changed.
    void Truncate(std::size_t keep);

    // The reduced curve of the built range, in x order. `points` must be the sequence given to
    // Build, unchanged since. Empty when nothing was built or the grid is degenerate.
    void Reduce(const CurvePoints& points, const PixelGrid& grid,
                std::vector<ChartPoint>& out) const;

    std::size_t First() const { return first_; }
    std::size_t Last() const { return last_; }

private:
    struct BlockExtremes {
        double minY;
        double maxY;
        std::uint32_t minAt;  // offsets into the block
        std::uint32_t maxAt;
    };
    static constexpr std::size_t kBlock = 64;

    // Indices of the first lowest and first highest point of points[from, to), from < to.
    void Extremes(const CurvePoints& points, std::size_t from, std::size_t to, std::size_t& minAt,
                  std::size_t& maxAt) const;

    std::size_t first_ = 0;
    std::size_t last_ = 0;
    std::vector<BlockExtremes> blocks_;
};

}  // namespace mfb
