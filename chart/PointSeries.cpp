// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/PointSeries.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <tuple>

namespace mfb {

namespace {

// A function object rather than a function, so that the merges inline the comparison.
constexpr auto XLess = [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; };

// The shape of a sweep that reached the pack's limit: one rising run, then x falling to the end.
// Merging from the back, with the falling run read backwards, needs neither the reversal nor the
// general merge, and moves each point once. Returns false, touching nothing, for any other shape.
bool MergeFallingTail(PointStore& points, std::size_t sorted) {
    const std::size_t n = points.size();
    if (sorted == 0) return false;
    for (std::size_t i = sorted + 1; i < n; ++i) {
        if (!(points[i].x < points[i - 1].x)) return false;
    }
    const std::size_t tailSize = n - sorted;
    const auto tail = std::make_unique_for_overwrite<ChartPoint[]>(tailSize);
    for (std::size_t k = 0; k < tailSize; ++k) tail[k] = points[n - 1 - k];
    std::size_t rising = sorted, falling = tailSize, out = n;
    // On equal x the tail's point goes behind: it arrived later. Once the tail is used up, the
    // rest of the rising run is already in place.
    while (falling > 0) {
        if (rising > 0 && tail[falling - 1].x < points[rising - 1].x) {
            points[--out] = points[--rising];
        } else {
            points[--out] = tail[--falling];
        }
    }
    return true;
}

// A stable sort that takes the shape of sweep data into account: a few long runs of rising or
// falling x. Strictly falling runs are reversed in place (they hold no ties, so stability is kept),
// then adjacent runs are merged pairwise, which keeps equal x values in arrival order. Sweep data
// costs O(n); any data at most O(n log n). points[0, sorted) are known to be one rising run and are
// not scanned again, so a chart sorts in time of the points that came in out of order.
void MergeRuns(PointStore& points, std::size_t sorted) {
    if (MergeFallingTail(points, sorted)) return;
    const auto begin = points.begin();
    const std::size_t n = points.size();
    std::vector<std::size_t> starts;
    if (sorted > 0) starts.push_back(0);
    for (std::size_t i = sorted; i < n;) {
        std::size_t j = i + 1;
        if (j < n && points[j].x < points[i].x) {
            while (j < n && points[j].x < points[j - 1].x) ++j;
            std::reverse(begin + static_cast<std::ptrdiff_t>(i),
                         begin + static_cast<std::ptrdiff_t>(j));
        } else {
            while (j < n && !(points[j].x < points[j - 1].x)) ++j;
        }
        starts.push_back(i);
        i = j;
    }
    starts.push_back(n);
    const auto at = [&](std::size_t i) { return begin + static_cast<std::ptrdiff_t>(i); };
    while (starts.size() > 2) {
        std::vector<std::size_t> merged;
        for (std::size_t r = 0; r + 1 < starts.size(); r += 2) {
            merged.push_back(starts[r]);
            if (r + 2 < starts.size()) {
                std::inplace_merge(at(starts[r]), at(starts[r + 1]), at(starts[r + 2]), XLess);
            }
        }
        merged.push_back(n);
        starts = std::move(merged);
    }
}

}  // namespace

void PointSeries::Clear() {
    points_.clear();
    runs_.clear();
    sortedCount_ = 0;
    lastColour_ = kNoColour;
    lastX_ = -std::numeric_limits<double>::infinity();
}

void PointSeries::StartRun(PointColour colour) {
    runs_.emplace_back(points_.size(), colour);
    lastColour_ = colour;
}

const PointStore& PointSeries::Points() const {
    SortIfNeeded();
    return points_;
}

const std::vector<std::pair<std::size_t, PointColour>>& PointSeries::ColourRuns() const {
    SortIfNeeded();
    return runs_;
}

void PointSeries::SortIfNeeded() const {
    if (sortedCount_ == points_.size()) return;
    if (runs_.size() <= 1) {
        MergeRuns(points_, sortedCount_);
    } else {
        // Mixed colours never come from a sweep; carry each point's colour through the sort.
        struct Tagged {
            ChartPoint point;
            PointColour colour;
        };
        std::vector<Tagged> tagged;
        for (std::size_t run = 0; run < runs_.size(); ++run) {
            const std::size_t end = run + 1 < runs_.size() ? runs_[run + 1].first : points_.size();
            for (std::size_t i = runs_[run].first; i < end; ++i) {
                tagged.push_back({points_[i], runs_[run].second});
            }
        }
        std::stable_sort(tagged.begin(), tagged.end(),
                         [](const Tagged& a, const Tagged& b) { return a.point.x < b.point.x; });
        runs_.clear();
        for (std::size_t i = 0; i < tagged.size(); ++i) {
            points_[i] = tagged[i].point;
            if (runs_.empty() || runs_.back().second != tagged[i].colour) {
                runs_.emplace_back(i, tagged[i].colour);
            }
        }
    }
    sortedCount_ = points_.size();
    lastX_ = points_.back().x;  // the largest: a later point is in order only from there
}

}  // namespace mfb
