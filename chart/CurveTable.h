// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

#include "chart/IndexIterator.h"
#include "chart/RowStore.h"

namespace mfb {

// A point's colour as the chart engine is handed it; the table only compares it.
using PointColour = std::uint32_t;

struct ChartPoint {
    double x;
    double y;
};

// One curve's points read out of rows: each row's x and the curve's own y. A light view, valid
// until the table changes; its iterators stay usable on their own.
class CurvePoints {
public:
    class Iterator : public IndexIterator<Iterator> {
    public:
        using value_type = ChartPoint;
        using reference = ChartPoint;  // made on the fly: no point is stored as such
        struct pointer {
            ChartPoint point;
            const ChartPoint* operator->() const { return &point; }
        };

        Iterator() = default;
        Iterator(const RowStore* rows, std::size_t column, std::size_t index)
            : IndexIterator(index), rows_(rows), column_(column) {}

        ChartPoint operator*() const {
            const ChartRow& row = (*rows_)[index()];
            return {row.x, row.y[column_]};
        }
        pointer operator->() const { return {**this}; }
        ChartPoint operator[](std::ptrdiff_t n) const { return *(*this + n); }

    private:
        const RowStore* rows_ = nullptr;
        std::size_t column_ = 0;
    };
    using iterator = Iterator;
    using const_iterator = Iterator;
    using value_type = ChartPoint;

    CurvePoints() = default;
    CurvePoints(const RowStore* rows, std::size_t column, std::size_t size)
        : rows_(rows), column_(column), size_(size) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    ChartPoint operator[](std::size_t i) const {
        const ChartRow& row = (*rows_)[i];
        return {row.x, row.y[column_]};
    }
    ChartPoint front() const { return (*this)[0]; }
    ChartPoint back() const { return (*this)[size_ - 1]; }
    Iterator begin() const { return {rows_, column_, 0}; }
    Iterator end() const { return {rows_, column_, size_}; }

private:
    const RowStore* rows_ = nullptr;
    std::size_t column_ = 0;
    std::size_t size_ = 0;
};

// The points of a chart's three curves, each ordered by ascending x with equal x values in arrival
// order.
//
// A sweep gives the three curves a point each at the same x, step after step; those steps are
// kept as shared rows, the x stored once (about 11 bytes a point), and sorted once for all three.
// Points given to one curve alone part the curves: each then keeps rows of its own, using its own
// column, until all three are cleared. Nothing the sweep does parts them.
//
// Near the pack's limit the shaft power falls while the input power still rises, so long stretches
// arrive with x smaller than earlier points. Inserting each at its sorted place would be quadratic;
// instead rows are appended in arrival order and sorted stably the first time they are read after
// a change: O(n log n) in all, nothing when they arrived in order. Colours are kept as runs, since
// a sweep gives every point of a curve the same colour. Point texts are not kept: the chart never
// shows them.
class CurveTable {
public:
    using ColourRun = std::pair<std::size_t, PointColour>;  // (first index, colour)

    explicit CurveTable(std::array<PointColour, kCurveCount> colours = {});

    // One step: a point on every curve at x, each in its curve's colour. Amortised constant time:
    // a sweep does this millions of times.
    void AddRow(double x, const std::array<double, kCurveCount>& y) {
        if (sharing_ != kAllCurves) [[unlikely]] {
            AddRowApart(x, y);
            return;
        }
        Rows& rows = rows_[0];
        if (rows.store.empty()) [[unlikely]] {
            OpenSharedRuns();
        }
        rows.Append({x, y});
    }
    // A point of one curve only.
    void Add(std::size_t curve, double x, double y, PointColour colour);
    void Clear(std::size_t curve);

    std::size_t Size(std::size_t curve) const;
    bool Empty(std::size_t curve) const { return Size(curve) == 0; }

    // The curve's points in x order.
    CurvePoints Points(std::size_t curve) const;

    // Colour runs over Points(curve), ascending by first index; empty when the curve is. A sweep
    // gives each curve a single run.
    const std::vector<ColourRun>& ColourRuns(std::size_t curve) const;

    PointColour SeriesColour(std::size_t curve) const { return colours_[curve]; }

private:
    // Rows in arrival order until read, then sorted.
    struct Rows {
        RowStore store;
        std::size_t sortedCount = 0;  // store[0, sortedCount) are in order
        double lastX = -std::numeric_limits<double>::infinity();

        void Append(const ChartRow& row) {
            // In order so far and still in order: the common case stays sorted without any work.
            if (sortedCount == store.size() && !(row.x < lastX)) ++sortedCount;
            lastX = row.x;
            store.push_back(row);
        }
        void Clear();
    };

    void AddRowApart(double x, const std::array<double, kCurveCount>& y);
    void OpenSharedRuns();
    void Part();
    bool Shared() const { return sharing_ != 0; }
    bool Shares(std::size_t curve) const { return (sharing_ >> curve) & 1U; }
    // Where the curve's points are; none for a curve left out of shared rows.
    Rows* RowsOf(std::size_t curve) const;
    void Sort(Rows& rows, std::vector<ColourRun>& runs) const;

    std::array<PointColour, kCurveCount> colours_;
    static constexpr unsigned kAllCurves = (1U << kCurveCount) - 1;
    // A bit per curve that reads its points from the shared rows_[0]; the others are empty. None
    // means the curves are apart: rows_[c] holds curve c's points in column c. (Shared rows that
    // no curve reads are cleared at once, and all curves share them again.)
    unsigned sharing_ = kAllCurves;
    mutable std::array<Rows, kCurveCount> rows_;
    mutable std::array<std::vector<ColourRun>, kCurveCount> runs_;
};

}  // namespace mfb
