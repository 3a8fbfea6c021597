// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace mfb {

struct ChartPoint {
    double x;
    double y;
};

// Chart points in fixed chunks of 64 Ki points (1 MiB). A sweep stores millions of points one by
// one: a vector would copy them all each time it grows and hold up to twice what it needs, a deque
// allocates every 32 points. Chunks grow memory by whole mebibytes without moving anything, and
// indexing stays two loads. Random-access iterators let the standard algorithms sort in place.
class PointStore {
public:
    template <bool kConst>
    class Iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = ChartPoint;
        using difference_type = std::ptrdiff_t;
        using pointer = std::conditional_t<kConst, const ChartPoint*, ChartPoint*>;
        using reference = std::conditional_t<kConst, const ChartPoint&, ChartPoint&>;
        using Store = std::conditional_t<kConst, const PointStore, PointStore>;

        Iterator() = default;
        Iterator(Store* store, std::size_t index) : store_(store), index_(index) {}
        operator Iterator<true>() const { return {store_, index_}; }

        reference operator*() const { return (*store_)[index_]; }
        pointer operator->() const { return &(*store_)[index_]; }
        reference operator[](difference_type n) const { return *(*this + n); }
        Iterator& operator++() { return ++index_, *this; }
        Iterator operator++(int) { return {store_, index_++}; }
        Iterator& operator--() { return --index_, *this; }
        Iterator operator--(int) { return {store_, index_--}; }
        Iterator& operator+=(difference_type n) { return index_ += n, *this; }
        Iterator& operator-=(difference_type n) { return index_ -= n, *this; }
        friend Iterator operator+(Iterator it, difference_type n) { return it += n; }
        friend Iterator operator+(difference_type n, Iterator it) { return it += n; }
        friend Iterator operator-(Iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const Iterator& a, const Iterator& b) {
            return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
        }
        friend bool operator==(const Iterator& a, const Iterator& b) {
            return a.index_ == b.index_;
        }
        friend auto operator<=>(const Iterator& a, const Iterator& b) {
            return a.index_ <=> b.index_;
        }

    private:
        Store* store_ = nullptr;
        std::size_t index_ = 0;
    };
    using iterator = Iterator<false>;
    using const_iterator = Iterator<true>;
    using value_type = ChartPoint;

    PointStore() = default;
    PointStore(const PointStore&) = delete;
    PointStore& operator=(const PointStore&) = delete;
    // Moving keeps the chunks where they are, so the write position stays valid.
    PointStore(PointStore&& other) noexcept { *this = std::move(other); }
    PointStore& operator=(PointStore&& other) noexcept {
        chunks_ = std::move(other.chunks_);
        size_ = std::exchange(other.size_, 0);
        used_ = std::exchange(other.used_, 0);
        next_ = std::exchange(other.next_, nullptr);
        chunkEnd_ = std::exchange(other.chunkEnd_, nullptr);
        return *this;
    }
    template <class InputIt>
    PointStore(InputIt first, InputIt last) {
        for (; first != last; ++first) push_back(*first);
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    ChartPoint& operator[](std::size_t i) { return chunks_[i >> kChunkBits][i & kChunkMask]; }
    const ChartPoint& operator[](std::size_t i) const {
        return chunks_[i >> kChunkBits][i & kChunkMask];
    }
    const ChartPoint& front() const { return (*this)[0]; }
    const ChartPoint& back() const { return (*this)[size_ - 1]; }

    void push_back(const ChartPoint& point) {
        if (next_ == chunkEnd_) [[unlikely]] {
            AddChunk();
        }
        *next_++ = point;
        ++size_;
    }
    // Keeps the chunks, like a vector keeps its capacity: the next sweep of the same chart fills
    // memory that is already mapped instead of faulting in fresh pages.
    void clear() {
        size_ = 0;
        next_ = chunks_.empty() ? nullptr : chunks_.front().get();
        chunkEnd_ = chunks_.empty() ? nullptr : next_ + kChunkSize;
        used_ = chunks_.empty() ? 0 : 1;
    }
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

    // Out of line, once per 64 Ki points, so that push_back stays small enough to inline.
    void AddChunk();

    std::vector<std::unique_ptr<ChartPoint[]>> chunks_;
    std::size_t size_ = 0;
    std::size_t used_ = 0;        // chunks holding points, or the one about to
    ChartPoint* next_ = nullptr;  // where the next point goes, in the last chunk
    ChartPoint* chunkEnd_ = nullptr;
};

}  // namespace mfb
