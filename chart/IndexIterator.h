// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstddef>
#include <iterator>

namespace mfb {

// The moving and comparing of a random-access iterator that is a position in an indexed
// container, for the chart's containers to derive from: `Derived` adds how to read at index().
template <class Derived>
class IndexIterator {
public:
    using iterator_category = std::random_access_iterator_tag;
    using difference_type = std::ptrdiff_t;

    Derived& operator++() { return ++index_, Self(); }
    Derived operator++(int) { return Moved(1); }
    Derived& operator--() { return --index_, Self(); }
    Derived operator--(int) { return Moved(-1); }
    Derived& operator+=(difference_type n) { return index_ += n, Self(); }
    Derived& operator-=(difference_type n) { return index_ -= n, Self(); }
    friend Derived operator+(Derived it, difference_type n) { return it += n; }
    friend Derived operator+(difference_type n, Derived it) { return it += n; }
    friend Derived operator-(Derived it, difference_type n) { return it -= n; }
    friend difference_type operator-(const Derived& a, const Derived& b) {
        return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const Derived& a, const Derived& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const Derived& a, const Derived& b) { return a.index_ <=> b.index_; }

protected:
    IndexIterator() = default;
    explicit IndexIterator(std::size_t index) : index_(index) {}
    std::size_t index() const { return index_; }

private:
    Derived& Self() { return static_cast<Derived&>(*this); }
    // The iterator as it was, this one moved on by `step`.
    Derived Moved(difference_type step) {
        Derived before = Self();
        index_ += step;
        return before;
    }

    std::size_t index_ = 0;
};

}  // namespace mfb
