// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "chart/IndexIterator.h"

namespace mfb {

// The curves of a chart: fan speed, motor speed and current.
inline constexpr std::size_t kCurveCount = 3;

// One x and a y for each curve. A sweep step gives every curve a point at the same shaft power,
// so a row holds the step's three points in 32 bytes instead of 48.
struct ChartRow {
    double x;
    std::array<double, kCurveCount> y;
};

// Chart rows in fixed chunks of 64 Ki rows (2 MiB). A sweep stores millions of rows one by one: a
// vector would copy them all each time it grows and hold up to twice what it needs, a deque
// allocates every 16 rows. Chunks grow memory by whole mebibytes without moving anything, and
// indexing stays two loads. Random-access iterators let the standard algorithms sort in place.
class RowStore {
public:
    template <bool kConst>
    class Iterator : public IndexIterator<Iterator<kConst>> {
    public:
        using value_type = ChartRow;
        using pointer = std::conditional_t<kConst, const ChartRow*, ChartRow*>;
        using reference = std::conditional_t<kConst, const ChartRow&, ChartRow&>;
        using Store = std::conditional_t<kConst, const RowStore, RowStore>;

        Iterator() = default;
        Iterator(Store* store, std::size_t index) : IndexIterator<Iterator>(index), store_(store) {}
        operator Iterator<true>() const { return {store_, this->index()}; }

        reference operator*() const { return (*store_)[this->index()]; }
        pointer operator->() const { return &**this; }
        reference operator[](std::ptrdiff_t n) const { return *(*this + n); }

    private:
        Store* store_ = nullptr;
    };
    using iterator = Iterator<false>;
    using const_iterator = Iterator<true>;
    using value_type = ChartRow;

    RowStore() = default;
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;
    // Moving keeps the chunks where they are, so the write position stays valid.
    RowStore(RowStore&& other) noexcept { *this = std::move(other); }
    RowStore& operator=(RowStore&& other) noexcept {
        Settle();
        other.Settle();
        chunks_ = std::move(other.chunks_);
        size_ = std::exchange(other.size_, 0);
        used_ = std::exchange(other.used_, 0);
        next_ = std::exchange(other.next_, nullptr);
        chunkEnd_ = std::exchange(other.chunkEnd_, nullptr);
        return *this;
    }
    ~RowStore() { Settle(); }
    template <class InputIt>
    RowStore(InputIt first, InputIt last) {
        for (; first != last; ++first) push_back(*first);
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    ChartRow& operator[](std::size_t i) { return chunks_[i >> kChunkBits][i & kChunkMask]; }
    const ChartRow& operator[](std::size_t i) const {
        return chunks_[i >> kChunkBits][i & kChunkMask];
    }
    const ChartRow& front() const { return (*this)[0]; }
    const ChartRow& back() const { return (*this)[size_ - 1]; }

    void push_back(const ChartRow& row) {
        if (next_ == chunkEnd_) [[unlikely]] {
            AddChunk();
        }
        *next_++ = row;
        ++size_;
    }
    // Keeps the chunks, like a vector keeps its capacity: the next sweep of the same chart fills
    // memory that is already mapped instead of faulting in fresh pages.
    void clear() { truncate(0); }
    // Drops the rows from `count` on, keeping their chunks for later rows.
    void truncate(std::size_t count);
    // Hands the chunks that hold no row to `other`, which fills them before it allocates any.
    void GiveSpareChunks(RowStore& other);
    // Rows in a chunk: a store shorter by this many rows has a chunk to spare.
    static constexpr std::size_t ChunkRows() { return kChunkSize; }
    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size_}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }
    std::reverse_iterator<const_iterator> rbegin() const { return std::reverse_iterator(end()); }
    std::reverse_iterator<const_iterator> rend() const { return std::reverse_iterator(begin()); }

private:
    static constexpr std::size_t kChunkBits = 16;
    static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkBits;
    static constexpr std::size_t kChunkMask = kChunkSize - 1;

    // Out of line, once per 64 Ki rows, so that push_back stays small enough to inline.
    void AddChunk();
    // Waits until the chunk ahead has been faulted in.
    void Settle() {
        if (faultingAhead_.joinable()) faultingAhead_.join();
    }

    std::vector<std::unique_ptr<ChartRow[]>> chunks_;
    std::size_t size_ = 0;
    std::size_t used_ = 0;      // chunks holding rows, or the one about to
    ChartRow* next_ = nullptr;  // where the next row goes, in the last chunk
    ChartRow* chunkEnd_ = nullptr;
    // Touches the pages of the chunk after the one being filled, which nothing else uses until
    // Settle().
    std::thread faultingAhead_;
};

}  // namespace mfb
