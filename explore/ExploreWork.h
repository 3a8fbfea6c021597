// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace mfb {

// One motor, cell type and fan of a space: the pack sizes of every such triple are one work item.
struct WorkUnit {
    std::size_t motor;  // positions in the space's lists, not catalogue indexes
    std::size_t battery;
    std::size_t fan;
};

// The work items of an exploration, in combination order (motor, then cell type, then fan), made
// from their number when a worker takes one. Nothing is listed ahead, so a run holds the same few
// words of work state whether the space has a hundred items or a hundred million. A shard K of N
// takes the items whose number leaves the remainder K - 1 when divided by N: a deterministic,
// interleaved share, so that shards of a catalogue sorted by size cost about the same.
class WorkUnits {
public:
    WorkUnits(std::size_t motors, std::size_t batteries, std::size_t fans,
              std::size_t shardIndex = 0, std::size_t shardCount = 1)
        : batteries_(batteries),
          fans_(fans),
          all_(motors * batteries * fans),
          shardIndex_(shardIndex),
          shardCount_(shardCount) {}

    // Items in this shard.
    std::size_t Count() const {
        return all_ > shardIndex_ ? (all_ - shardIndex_ + shardCount_ - 1) / shardCount_ : 0;
    }
    // The i-th item of this shard, i < Count().
    WorkUnit At(std::size_t i) const {
        const std::size_t n = shardIndex_ + i * shardCount_;
        return {n / (batteries_ * fans_), n / fans_ % batteries_, n % fans_};
    }

private:
    std::size_t batteries_;
    std::size_t fans_;
    std::size_t all_;
    std::size_t shardIndex_;
    std::size_t shardCount_;
};

// The order a ranking that settles combinations by bounds takes `count` items in: first a spread of
// about kSpread items across them all, then the rest in their own order. A catalogue sorted by name
// often lists its small motors first; the spread finds good rows, and so a high bar, before the
// search gets far whatever the order. Every item comes once, and nothing is listed ahead.
class SpreadOrder {
public:
    static constexpr std::size_t kSpread = 64;

    explicit SpreadOrder(std::size_t count)
        : count_(count), stride_(count >= 4 * kSpread ? count / kSpread : 1) {}

    std::size_t At(std::size_t j) const {
        if (stride_ == 1) return j;
        // The spread: the middle item of each of the first kSpread strides.
        if (j < kSpread) return j * stride_ + stride_ / 2;
        const std::size_t k = j - kSpread;
        const std::size_t stride = k / (stride_ - 1), within = k % (stride_ - 1);
        if (stride < kSpread) return stride * stride_ + within + (within >= stride_ / 2 ? 1 : 0);
        return kSpread * stride_ + (k - kSpread * (stride_ - 1));
    }
    std::size_t Count() const { return count_; }

private:
    std::size_t count_;
    std::size_t stride_;
};

}  // namespace mfb
