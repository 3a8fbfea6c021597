// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/PixelReduction.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mfb {

namespace {

using Points = CurvePoints;

void ScanExtremes(const Points& points, std::size_t from, std::size_t to, std::size_t& minAt,
                  std::size_t& maxAt, double& minY, double& maxY) {
    auto it = points.begin() + static_cast<std::ptrdiff_t>(from);
    for (std::size_t i = from; i < to; ++i, ++it) {
        if (it->y < minY) {
            minY = it->y;
            minAt = i;
        }
        if (it->y > maxY) {
            maxY = it->y;
            maxAt = i;
        }
    }
}

}  // namespace

void PixelReduction::Reset(std::size_t first) {
    first_ = last_ = first;
    blocks_.clear();
}

void PixelReduction::Extend(const Points& points, std::size_t last) {
    if (last <= last_) return;
    blocks_.reserve((last - first_ + kBlock - 1) / kBlock);
    auto it = points.begin() + static_cast<std::ptrdiff_t>(last_);
    for (std::size_t i = last_; i < last; ++i, ++it) Push(it->y);
}

void PixelReduction::Truncate(std::size_t keep) {
    const std::size_t blocks = (std::clamp(keep, first_, last_) - first_) / kBlock;
    blocks_.resize(blocks);
    last_ = first_ + blocks * kBlock;
}

void PixelReduction::Extremes(const Points& points, std::size_t from, std::size_t to,
                              std::size_t& minAt, std::size_t& maxAt) const {
    minAt = maxAt = from;
    double minY = points[from].y, maxY = minY;
    const std::size_t firstBlock = (from - first_ + kBlock - 1) / kBlock;
    const std::size_t endBlock = (to - first_) / kBlock;
    if (firstBlock >= endBlock) {
        ScanExtremes(points, from + 1, to, minAt, maxAt, minY, maxY);
        return;
    }
    ScanExtremes(points, from + 1, first_ + firstBlock * kBlock, minAt, maxAt, minY, maxY);
    for (std::size_t b = firstBlock; b < endBlock; ++b) {
        const BlockExtremes& block = blocks_[b];
        const std::size_t start = first_ + b * kBlock;
        if (block.minY < minY) {
            minY = block.minY;
            minAt = start + block.minAt;
        }
        if (block.maxY > maxY) {
            maxY = block.maxY;
            maxAt = start + block.maxAt;
        }
    }
    ScanExtremes(points, first_ + endBlock * kBlock, to, minAt, maxAt, minY, maxY);
}

void PixelReduction::Reduce(const Points& points, const PixelGrid& grid,
                            std::vector<ChartPoint>& out) const {
    out.clear();
    if (first_ == last_ || !(grid.xMax > grid.xMin) || !(grid.width > 0)) return;

    const auto begin = points.begin() + static_cast<std::ptrdiff_t>(first_);
    const auto end = points.begin() + static_cast<std::ptrdiff_t>(last_);
    const auto lowIt =
        std::partition_point(begin, end, [&](const ChartPoint& p) { return p.x < grid.xMin; });
    const auto highIt =
        std::partition_point(lowIt, end, [&](const ChartPoint& p) { return p.x <= grid.xMax; });
    const std::size_t low = first_ + static_cast<std::size_t>(lowIt - begin);
    const std::size_t high = first_ + static_cast<std::size_t>(highIt - begin);

    if (low > first_) out.push_back(points[low - 1]);

    // Monotone in x, so each column's points are one contiguous run.
    const double scale = grid.width / (grid.xMax - grid.xMin);
    const auto column = [&](std::size_t i) {
        return std::floor(grid.left + (points[i].x - grid.xMin) * scale);
    };
    std::size_t i = low;
    while (i < high) {
        const double c = column(i);
        // Gallop to the end of the column: columns of few points cost little, full ones log n.
        std::size_t inside = i, step = 1;
        while (inside + step < high && column(inside + step) <= c) {
            inside += step;
            step *= 2;
        }
        std::size_t lo = inside + 1, hi = std::min(inside + step, high);
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (column(mid) <= c) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        const std::size_t next = lo;

        std::array<std::size_t, 4> keep{i, 0, 0, next - 1};
        Extremes(points, i, next, keep[1], keep[2]);
        std::sort(keep.begin(), keep.end());
        const auto keepEnd = std::unique(keep.begin(), keep.end());
        for (auto k = keep.begin(); k != keepEnd; ++k) out.push_back(points[*k]);
        i = next;
    }

    if (high < last_) out.push_back(points[high]);
}

}  // namespace mfb
