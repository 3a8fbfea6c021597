// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <iterator>
#include <limits>
#include <memory>
#include <thread>
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

// Where a curve's points stand in x order: the first `kept` in `low`, in order, the rest in
// `high` from its back to its front. Rows read in order all stand in `low`.
struct RowLayout {
    const RowStore* low = nullptr;
    const RowStore* high = nullptr;
    std::size_t kept = 0;
    std::size_t last = 0;  // the index of the last point

    const ChartRow& operator[](std::size_t i) const {
        return i < kept ? (*low)[i] : (*high)[last - i];
    }
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
        Iterator(const RowLayout& rows, std::size_t column, std::size_t index)
            : IndexIterator(index), rows_(rows), column_(column) {}

        ChartPoint operator*() const {
            const ChartRow& row = rows_[index()];
            return {row.x, row.y[column_]};
        }
        pointer operator->() const { return {**this}; }
        ChartPoint operator[](std::ptrdiff_t n) const { return *(*this + n); }

    private:
        RowLayout rows_;
        std::size_t column_ = 0;
    };
    using iterator = Iterator;
    using const_iterator = Iterator;
    using value_type = ChartPoint;

    CurvePoints() = default;
    CurvePoints(const RowLayout& rows, std::size_t column, std::size_t size)
        : rows_(rows), column_(column), size_(size) {}
    // Rows in order in one store.
    CurvePoints(const RowStore* rows, std::size_t column, std::size_t size)
        : CurvePoints(RowLayout{rows, rows, size, size - 1}, column, size) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    ChartPoint operator[](std::size_t i) const {
        const ChartRow& row = rows_[i];
        return {row.x, row.y[column_]};
    }
    ChartPoint front() const { return (*this)[0]; }
    ChartPoint back() const { return (*this)[size_ - 1]; }
    Iterator begin() const { return {rows_, column_, 0}; }
    Iterator end() const { return {rows_, column_, size_}; }

private:
    RowLayout rows_;
    std::size_t column_ = 0;
    std::size_t size_ = 0;
};

// The points of a chart's three curves, each ordered by ascending x with equal x values in arrival
// order.
//
// A sweep gives the three curves a point each at the same x, step after step; those steps are
// kept as shared rows, the x stored once (about 12 bytes a point), and sorted once for all three.
// Points given to one curve alone part the curves: each then keeps rows of its own, using its own
// column, until all three are cleared. Nothing the sweep does parts them.
//
// Near the pack's limit the shaft power falls while the input power still rises, so long stretches
// arrive with x smaller than earlier points. A sweep's rows rise to that limit and then fall to the
// end: each falling row is merged as it comes, behind the rows of the rising run above it, so that
// read, the rows are in order without a pass over millions of them; and since that merge moves
// rows through memory at every step, it runs a batch behind the sweep on another core. Rows of any
// other order are appended in arrival order and sorted stably the first time they are read after a
// change: O(n log n) in all, nothing when they arrived in order. Colours are kept as runs, since a
// sweep gives every point of a curve the same colour. Point texts are not kept: the chart never
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
        if (runs_[0].empty()) [[unlikely]] {
            OpenSharedRuns();
        }
        rows_[0].AddStep({x, y});
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
    // Rows in arrival order until read, then sorted; or a rising run and a falling tail being
    // merged into `merged` as it comes.
    struct Rows {
        RowStore store;
        std::size_t sortedCount = 0;  // store[0, sortedCount) are in order
        double lastX = -std::numeric_limits<double>::infinity();
        // While merging: store[0, kept) are the rising run's rows below every falling row so far,
        // `merged` the rest of the rows in falling order.
        bool merging = false;
        std::size_t kept = 0;
        RowStore merged;

        std::size_t Size() const { return merging ? kept + merged.size() : store.size(); }
        RowLayout Layout() const {
            const std::size_t size = Size();
            return merging ? RowLayout{&store, &merged, kept, size - 1}
                           : RowLayout{&store, &store, size, size - 1};
        }
        void Append(const ChartRow& row) {
            // In order so far and still in order: the common case stays sorted without any work.
            if (sortedCount == store.size() && !(row.x < lastX)) ++sortedCount;
            lastX = row.x;
            store.push_back(row);
        }
        // A row of a sweep: the first to fall after a rising run starts the merge.
        void Place(const ChartRow& row) {
            if (merging || (row.x < lastX && sortedCount == store.size())) [[unlikely]] {
                Merge(row);
                return;
            }
            Append(row);
        }
        void Merge(const ChartRow& row);
        // Back to rows in order in `store`, as if they had been appended and sorted.
        void EndMerge();
        void Clear();

        // A sweep's rows wait in a batch small enough to stay in the cache, while the batch
        // before it is placed on another core: the memory traffic of placing and merging millions
        // of rows then no longer holds up the sweep. Nothing else touches the rows meanwhile.
        Rows() = default;
        // Moving places every row first, so that no batch is placed into the rows moved from.
        Rows(Rows&& other) { *this = std::move(other); }
        Rows& operator=(Rows&& other);
        ~Rows();
        void AddStep(const ChartRow& row) {
            if (next == batchEnd) [[unlikely]] {
                if (!direct) HandOff();
                if (direct) {
                    Append(row);
                    return;
                }
            }
            *next++ = row;
        }
        // Every row placed, for reading or changing them.
        void Settle() {
            if (placing.joinable() || next != batchBegin) [[unlikely]] {
                PlaceWaiting();
            }
        }
        // Starts placing the full batch and fills the other; or, where rows come too fast for
        // the hand-over to pay, as from a chart being copied, or the other core does not keep
        // up, appends them from now on.
        void HandOff();
        void PlaceWaiting();
        void PlaceBatch(const ChartRow* rows, std::size_t count);
        // Until the batch being placed is.
        void Wait();

        bool direct = false;  // appended as they come
        std::array<std::unique_ptr<ChartRow[]>, 2> batches;
        ChartRow* batchBegin = nullptr;  // the batch being filled
        ChartRow* next = nullptr;
        ChartRow* batchEnd = nullptr;
        std::chrono::steady_clock::time_point batchStarted;
        std::thread placing;
        // Since the rows were cleared: the time the sweep filled batches, and waited for the one
        // before to be placed.
        std::chrono::steady_clock::duration filling{}, waiting{};
        std::exception_ptr failure;  // what placing the batch threw, for the next to wait
    };

    // Every step's row placed.
    void Settle() const { rows_[0].Settle(); }
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
