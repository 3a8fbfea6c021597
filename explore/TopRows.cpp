// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/TopRows.h"

#include <algorithm>
#include <cmath>

namespace mfb {

TopRows::TopRows(const ExploreRequest& request, ParetoAxes axes, RankBar* bar)
    : top_(request.top), key_(request.key), target_(TargetOf(request)), bar_(bar) {
    if (request.pareto) front_.emplace(axes);
}

void TopRows::Offer(const ExploreRow& row) {
    if (top_ == 0) return;
    if (front_) {
        front_->Offer(row);
        return;
    }
    rows_.push_back(row);
    if (rows_.size() >= 2 * top_ + 1024) Trim();
    if (bar_ == nullptr) return;
    const double key = KeyValue(row, key_, target_);
    // A key that is not a number has no place in an order, so it never sets the bar.
    if (std::isnan(key)) return;
    if (keys_.size() < top_) {
        keys_.push(key);
    } else if (key > keys_.top()) {
        keys_.pop();
        keys_.push(key);
    }
    if (keys_.size() == top_) bar_->Raise(keys_.top());
}

void TopRows::Merge(const TopRows& other) {
    if (front_) {
        for (const ExploreRow& row : other.front_->Rows()) front_->Offer(row);
        return;
    }
    rows_.insert(rows_.end(), other.rows_.begin(), other.rows_.end());
    Trim();
}

std::vector<ExploreRow> TopRows::Sorted() {
    if (front_) rows_ = front_->Rows();
    Trim();
    std::sort(rows_.begin(), rows_.end(), [&](const ExploreRow& a, const ExploreRow& b) {
        return RanksBefore(a, b, key_, target_);
    });
    return rows_;
}

void TopRows::Trim() {
    if (rows_.size() <= top_) return;
    std::nth_element(
        rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(top_), rows_.end(),
        [&](const ExploreRow& a, const ExploreRow& b) { return RanksBefore(a, b, key_, target_); });
    rows_.resize(top_);
}

}  // namespace mfb
