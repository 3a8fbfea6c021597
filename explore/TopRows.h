// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <queue>
#include <vector>

#include "explore/Explorer.h"
#include "explore/ParetoFront.h"

namespace mfb {

// The key a combination must reach to enter a ranking, shared by every worker of a run: the least
// key among the best `top` rows of the worker that has found the best such rows so far. Every
// worker's rows end in the merge, so a key below the bar is below the run's `top` best keys too.
// It only rises.
class RankBar {
public:
    double Get() const { return bar_.load(std::memory_order_relaxed); }
    void Raise(double key) {
        double seen = bar_.load(std::memory_order_relaxed);
        while (key > seen && !bar_.compare_exchange_weak(seen, key, std::memory_order_relaxed)) {
        }
    }

private:
    std::atomic<double> bar_{-std::numeric_limits<double>::infinity()};
};

// Keeps the best `top` rows of those offered, trimming only now and then; or, for a Pareto
// request, the front of all of them, of which the best `top` by the key are shown. Given a bar, it
// raises it to the least of the best `top` keys offered so far.
class TopRows {
public:
    TopRows(const ExploreRequest& request, ParetoAxes axes, RankBar* bar = nullptr);

    void Offer(const ExploreRow& row);
    void Merge(const TopRows& other);
    // The front's size, before the best `top` of it are taken.
    std::optional<std::size_t> FrontSize() const {
        return front_ ? std::optional<std::size_t>(front_->Rows().size()) : std::nullopt;
    }
    std::vector<ExploreRow> Sorted();

private:
    void Trim();

    std::size_t top_;
    ExploreKey key_;
    double target_;
    std::optional<ParetoFront> front_;
    std::vector<ExploreRow> rows_;
    RankBar* bar_;
    // The best `top` keys offered, the least on top.
    std::priority_queue<double, std::vector<double>, std::greater<>> keys_;
};

}  // namespace mfb
