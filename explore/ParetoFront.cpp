// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ParetoFront.h"

#include <algorithm>
#include <limits>

#include "model/PowerTrain.h"

namespace mfb {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

ParetoAxes AxesOf(bool thrust, const ExploreRequest& request) {
    ParetoAxes axes{thrust, request.flight.modelWeight.has_value()};
    // A budget says what is enough; without one, a model must at least lift itself.
    if (request.filter.minThrustToWeight) axes.leastThrustToWeight = -kInfinity;
    return axes;
}

}  // namespace

ParetoAxes ParetoAxesOf(const Catalogue& catalogue, const ExploreRequest& request) {
    return AxesOf(ThrustKnown(catalogue, request.space), request);
}

ParetoAxes ParetoAxesOf(ExploreKey key, const ExploreRequest& request) {
    return AxesOf(key != ExploreKey::Power, request);
}

ExploreKey ParetoKey(const ParetoAxes& axes) {
    if (axes.thrustToWeight()) return ExploreKey::ThrustToWeight;
    return axes.thrust ? ExploreKey::Thrust : ExploreKey::Power;
}

std::array<double, 3> ParetoValues(const ExploreRow& row, const ParetoAxes& axes) {
    const double flightTime = row.flight.flightTime.value_or(-kInfinity);
    if (axes.thrustToWeight()) {
        return {row.flight.thrustToWeight.value_or(-kInfinity), flightTime, 0};
    }
    const double weight =
        axes.allUp && row.flight.allUpWeight ? *row.flight.allUpWeight : row.packWeight;
    return {KeyValue(row, ParetoKey(axes)), -weight, flightTime};
}

bool OnFrontAxes(const ExploreRow& row, const ParetoAxes& axes) {
    return !axes.thrustToWeight() ||
           row.flight.thrustToWeight.value_or(-kInfinity) >= axes.leastThrustToWeight;
}

bool Dominates(const ExploreRow& a, const ExploreRow& b, const ParetoAxes& axes) {
    const auto va = ParetoValues(a, axes);
    const auto vb = ParetoValues(b, axes);
    bool better = false;
    for (std::size_t i = 0; i < va.size(); ++i) {
        if (va[i] < vb[i]) return false;
        better = better || va[i] > vb[i];
    }
    return better;
}

void ParetoFront::Offer(const ExploreRow& row) {
    if (!OnFrontAxes(row, axes_)) return;
    for (const ExploreRow& kept : rows_) {
        if (Dominates(kept, row, axes_)) return;
    }
    std::erase_if(rows_, [&](const ExploreRow& kept) { return Dominates(row, kept, axes_); });
    rows_.push_back(row);
}

std::vector<ExploreRow> ParetoFilter(const std::vector<ExploreRow>& rows, const ParetoAxes& axes) {
    ParetoFront front(axes);
    for (const ExploreRow& row : rows) front.Offer(row);
    return front.Rows();
}

}  // namespace mfb
