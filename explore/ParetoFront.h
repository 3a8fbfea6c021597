// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <vector>

#include "explore/Explorer.h"

namespace mfb {

// The trade-off a modeller weighs. With the model's weight and every fan's thrust known, it is the
// question a model is built around: thrust to weight against flight time, and a combination that
// cannot lift its own weight (thrust to weight below 1) is not on the front unless a budget of
// thrust to weight says what is enough. Otherwise: more thrust, less weight, a longer flight,
// shaft power standing for thrust where the fans' jet data are not known and the pack's weight for
// the all-up weight where the model's is not. A combination is on the front when no other is at
// least as good on every axis and better on one. A row without a flight time counts as the
// shortest flight.
struct ParetoAxes {
    bool thrust = true;              // else shaft power
    bool allUp = true;               // else pack weight
    double leastThrustToWeight = 1;  // with both: rows below it are not on the front

    bool thrustToWeight() const { return thrust && allUp; }
};
ParetoAxes ParetoAxesOf(const Catalogue& catalogue, const ExploreRequest& request);
// The axes of a request's front that was sorted by `key`, its first axis.
ParetoAxes ParetoAxesOf(ExploreKey key, const ExploreRequest& request);
ExploreKey ParetoKey(const ParetoAxes& axes);

// Each larger-is-better: thrust to weight and the flight time; or the first axis, minus the
// weight, the flight time.
std::array<double, 3> ParetoValues(const ExploreRow& row, const ParetoAxes& axes);
// Whether a row may stand on the front at all.
bool OnFrontAxes(const ExploreRow& row, const ParetoAxes& axes);
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
