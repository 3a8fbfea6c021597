// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <vector>

#include "explore/Explorer.h"

namespace mfb {

// The trade-off a modeller weighs: more thrust, less weight, a longer flight. A combination is on
// the front when no other is at least as good on all three and better on one. Where the fans'
// thrust is not known, shaft power stands for it; where the model's weight is not, the pack's
// weight stands for the all-up weight. A row without a flight time counts as the shortest flight.
struct ParetoAxes {
    bool thrust = true;  // else shaft power
    bool allUp = true;   // else pack weight
};
ParetoAxes ParetoAxesOf(const Catalogue& catalogue, const ExploreRequest& request);
// The key the front is sorted by: its first axis.
ExploreKey ParetoKey(const ParetoAxes& axes);

// Each larger-is-better: the first axis, minus the weight, the flight time.
std::array<double, 3> ParetoValues(const ExploreRow& row, const ParetoAxes& axes);
bool Dominates(const ExploreRow& a, const ExploreRow& b, const ParetoAxes& axes);

// The rows no other row dominates, kept as rows are offered one at a time. Rows of equal values
// all stay.
class ParetoFront {
public:
    explicit ParetoFront(ParetoAxes axes) : axes_(axes) {}
    void Offer(const ExploreRow& row);
    const std::vector<ExploreRow>& Rows() const { return rows_; }

private:
    ParetoAxes axes_;
    std::vector<ExploreRow> rows_;
};

// The front of `rows`, in no particular order.
std::vector<ExploreRow> ParetoFilter(const std::vector<ExploreRow>& rows, const ParetoAxes& axes);

}  // namespace mfb
