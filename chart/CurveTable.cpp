// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/CurveTable.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <system_error>
#include <utility>

namespace mfb {

namespace {

// A function object rather than a function, so that the merges inline the comparison.
constexpr auto XLess = [](const ChartRow& a, const ChartRow& b) { return a.x < b.x; };

// The shape of a sweep that reached the pack's limit: one rising run, then x falling to the end.
// Merging from the back, with the falling run read backwards, needs neither the reversal nor the
// general merge, and moves each row once. Returns false, touching nothing, for any other shape.
bool MergeFallingTail(RowStore& rows, std::size_t sorted) {
    const std::size_t n = rows.size();
    if (sorted == 0) return false;
    for (std::size_t i = sorted + 1; i < n; ++i) {
        if (!(rows[i].x < rows[i - 1].x)) return false;
    }
    const std::size_t tailSize = n - sorted;
    const auto tail = std::make_unique_for_overwrite<ChartRow[]>(tailSize);
    for (std::size_t k = 0; k < tailSize; ++k) tail[k] = rows[n - 1 - k];
    std::size_t rising = sorted, falling = tailSize, out = n;
    // On equal x the tail's row goes behind: it arrived later. Once the tail is used up, the
    // rest of the rising run is already in place.
    while (falling > 0) {
        if (rising > 0 && tail[falling - 1].x < rows[rising - 1].x) {
            rows[--out] = rows[--rising];
        } else {
            rows[--out] = tail[--falling];
        }
    }
    return true;
}

// A stable sort that takes the shape of sweep data into account: a few long runs of rising or
// falling x. Strictly falling runs are reversed in place (they hold no ties, so stability is kept),
// then adjacent runs are merged pairwise, which keeps equal x values in arrival order. Sweep data
// costs O(n); any data at most O(n log n). rows[0, sorted) are known to be one rising run and are
// not scanned again, so a chart sorts in time of the rows that came in out of order.
void MergeRuns(RowStore& rows, std::size_t sorted) {
    if (MergeFallingTail(rows, sorted)) return;
    const auto begin = rows.begin();
    const std::size_t n = rows.size();
    std::vector<std::size_t> starts;
    if (sorted > 0) starts.push_back(0);
    for (std::size_t i = sorted; i < n;) {
        std::size_t j = i + 1;
        if (j < n && rows[j].x < rows[i].x) {
            while (j < n && rows[j].x < rows[j - 1].x) ++j;
            std::reverse(begin + static_cast<std::ptrdiff_t>(i),
                         begin + static_cast<std::ptrdiff_t>(j));
        } else {
            while (j < n && !(rows[j].x < rows[j - 1].x)) ++j;
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

void CurveTable::Rows::Merge(const ChartRow& row) {
    if (!merging) {
        merging = true;
        kept = store.size();
    } else if (!(row.x < lastX)) {
        // Rising again: no sweep does that. Such rows are sorted when read, as any others.
        EndMerge();
        Append(row);
        return;
    }
    // Rising rows of equal x stay below: they arrived earlier.
    while (kept > 0 && row.x < store[kept - 1].x) merged.push_back(store[--kept]);
    merged.push_back(row);
    lastX = row.x;
    // The rising run's chunks that the merge has emptied take its next rows, so that a merged
    // chart holds no more memory than one sorted in place.
    if (store.size() - kept >= RowStore::ChunkRows()) {
        store.truncate(kept);
        store.GiveSpareChunks(merged);
    }
}

void CurveTable::Rows::EndMerge() {
    if (!merging) return;
    store.truncate(kept);
    for (std::size_t i = merged.size(); i-- > 0;) store.push_back(merged[i]);
    merged.clear();
    merged.GiveSpareChunks(store);
    merging = false;
    sortedCount = store.size();
    lastX = store.back().x;  // the largest, as after sorting
}

namespace {

// Rows of a batch: the two batches fill a megabyte, well inside a core's own cache, and a sweep of
// a million steps hands off a few dozen of them.
constexpr std::size_t kBatchRows = std::size_t{1} << 14;
// Less than a sweep step takes on any machine a chart is drawn on (the model's step alone takes
// some 80 ns here).
constexpr std::chrono::nanoseconds kSweepStepTime{20};
// How much longer a sweep may take for waiting on the other core before the rows are no longer
// handed over: an eighth, for a core that is busy with something else.
constexpr int kFillingPerWaiting = 8;

}  // namespace

CurveTable::Rows::~Rows() {
    if (placing.joinable()) placing.join();
}

CurveTable::Rows& CurveTable::Rows::operator=(Rows&& other) {
    Clear();
    other.Settle();
    store = std::move(other.store);
    sortedCount = std::exchange(other.sortedCount, 0);
    lastX = std::exchange(other.lastX, -std::numeric_limits<double>::infinity());
    merging = std::exchange(other.merging, false);
    kept = std::exchange(other.kept, 0);
    merged = std::move(other.merged);
    direct = std::exchange(other.direct, false);
    filling = std::exchange(other.filling, {});
    waiting = std::exchange(other.waiting, {});
    batches = std::move(other.batches);
    batchBegin = std::exchange(other.batchBegin, nullptr);
    next = std::exchange(other.next, nullptr);
    batchEnd = std::exchange(other.batchEnd, nullptr);
    return *this;
}

void CurveTable::Rows::Wait() {
    if (placing.joinable()) placing.join();
    if (failure) std::rethrow_exception(std::exchange(failure, nullptr));
}

void CurveTable::Rows::PlaceBatch(const ChartRow* rows, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) Place(rows[i]);
}

void CurveTable::Rows::HandOff() {
    const auto now = std::chrono::steady_clock::now();
    if (!batches[0]) {
        for (auto& batch : batches) batch = std::make_unique_for_overwrite<ChartRow[]>(kBatchRows);
    }
    if (!batchBegin) {
        batchBegin = next = batches[0].get();
        batchEnd = batchBegin + kBatchRows;
        batchStarted = now;
        return;
    }
    Wait();
    const auto waited = std::chrono::steady_clock::now();
    filling += now - batchStarted;
    waiting += waited - now;
    const ChartRow* full = batchBegin;
    if (now - batchStarted < kBatchRows * kSweepStepTime ||
        waiting * kFillingPerWaiting > filling) {
        // Faster than any sweep, the rows are copied from somewhere, and the cost of handing
        // them over would exceed that of placing them; or the other core is busy, and the sweep
        // waits for it. They are sorted when read, if need be, as before.
        direct = true;
        batchBegin = next = batchEnd = nullptr;
        PlaceBatch(full, kBatchRows);
        EndMerge();
        return;
    }
    batchBegin = next = full == batches[0].get() ? batches[1].get() : batches[0].get();
    batchEnd = batchBegin + kBatchRows;
    batchStarted = waited;
    try {
        placing = std::thread([this, full] {
            try {
                PlaceBatch(full, kBatchRows);
            } catch (...) {
                failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        // No thread to spare: placed here, as the sweep waits.
        PlaceBatch(full, kBatchRows);
    }
}

void CurveTable::Rows::PlaceWaiting() {
    Wait();
    const std::size_t count = static_cast<std::size_t>(next - batchBegin);
    next = batchBegin;
    PlaceBatch(batchBegin, count);
}

void CurveTable::Rows::Clear() {
    if (placing.joinable()) placing.join();
    failure = nullptr;
    direct = false;
    filling = waiting = {};
    batchBegin = next = batchEnd = nullptr;
    store.clear();
    merged.clear();
    merged.GiveSpareChunks(store);
    merging = false;
    kept = 0;
    sortedCount = 0;
    lastX = -std::numeric_limits<double>::infinity();
}

CurveTable::CurveTable(std::array<PointColour, kCurveCount> colours) : colours_(colours) {}

void CurveTable::OpenSharedRuns() {
    for (std::size_t c = 0; c < kCurveCount; ++c) runs_[c] = {{0, colours_[c]}};
}

void CurveTable::AddRowApart(double x, const std::array<double, kCurveCount>& y) {
    for (std::size_t c = 0; c < kCurveCount; ++c) Add(c, x, y[c], colours_[c]);
}

void CurveTable::Part() {
    Settle();
    Rows& shared = rows_[0];
    shared.EndMerge();
    for (std::size_t c = 1; c < kCurveCount; ++c) {
        if (!Shares(c)) continue;
        Rows& own = rows_[c];
        own.sortedCount = shared.sortedCount;
        own.lastX = shared.lastX;
        for (const ChartRow& row : shared.store) own.store.push_back(row);
    }
    if (!Shares(0)) rows_[0].Clear();
    sharing_ = 0;
}

void CurveTable::Add(std::size_t curve, double x, double y, PointColour colour) {
    if (Shared()) Part();
    Rows& rows = rows_[curve];
    std::vector<ColourRun>& runs = runs_[curve];
    if (runs.empty() || runs.back().second != colour) runs.emplace_back(rows.store.size(), colour);
    ChartRow row{x, {}};
    row.y[curve] = y;
    rows.Append(row);
}

void CurveTable::Clear(std::size_t curve) {
    runs_[curve].clear();
    if (Shared()) {
        sharing_ &= ~(1U << curve);
    } else {
        rows_[curve].Clear();
    }
    const bool allEmpty =
        std::all_of(runs_.begin(), runs_.end(),
                    [](const std::vector<ColourRun>& runs) { return runs.empty(); });
    if (allEmpty) {
        // Empty curves share again, whatever parted them: the next sweep's rows are stored once.
        for (Rows& rows : rows_) rows.Clear();
        sharing_ = kAllCurves;
    }
}

CurveTable::Rows* CurveTable::RowsOf(std::size_t curve) const {
    if (!Shared()) return &rows_[curve];
    return Shares(curve) ? &rows_[0] : nullptr;
}

std::size_t CurveTable::Size(std::size_t curve) const {
    Settle();
    const Rows* rows = RowsOf(curve);
    return rows ? rows->Size() : 0;
}

CurvePoints CurveTable::Points(std::size_t curve) const {
    Settle();
    Rows* rows = RowsOf(curve);
    if (!rows) return {};
    Sort(*rows, runs_[curve]);
    return {rows->Layout(), curve, rows->Size()};
}

const std::vector<CurveTable::ColourRun>& CurveTable::ColourRuns(std::size_t curve) const {
    Settle();
    // Shared curves have one run each, which sorting leaves as it is.
    if (!Shared()) Sort(rows_[curve], runs_[curve]);
    return runs_[curve];
}

void CurveTable::Sort(Rows& rows, std::vector<ColourRun>& runs) const {
    RowStore& store = rows.store;
    if (rows.merging || rows.sortedCount == store.size()) return;
    if (runs.size() <= 1) {
        MergeRuns(store, rows.sortedCount);
    } else {
        // Mixed colours never come from a sweep, and rows of one curve only from single points:
        // carry each row's colour through the sort.
        struct Tagged {
            ChartRow row;
            PointColour colour;
        };
        std::vector<Tagged> tagged;
        tagged.reserve(store.size());
        for (std::size_t run = 0; run < runs.size(); ++run) {
            const std::size_t end = run + 1 < runs.size() ? runs[run + 1].first : store.size();
            for (std::size_t i = runs[run].first; i < end; ++i) {
                tagged.push_back({store[i], runs[run].second});
            }
        }
        std::stable_sort(tagged.begin(), tagged.end(),
                         [](const Tagged& a, const Tagged& b) { return a.row.x < b.row.x; });
        runs.clear();
        for (std::size_t i = 0; i < tagged.size(); ++i) {
            store[i] = tagged[i].row;
            if (runs.empty() || runs.back().second != tagged[i].colour) {
                runs.emplace_back(i, tagged[i].colour);
            }
        }
    }
    rows.sortedCount = store.size();
    rows.lastX = store.back().x;  // the largest: a later row is in order only from there
}

}  // namespace mfb
