// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ParetoFront.h"

#include <algorithm>
#include <limits>

#include "model/PowerTrain.h"

namespace mfb {

ParetoAxes ParetoAxesOf(const Catalogue& catalogue, const ExploreRequest& request) {
    return {ThrustKnown(catalogue, request.space), request.flight.modelWeight.has_value()};
}

ExploreKey ParetoKey(const ParetoAxes& axes) {
    return axes.thrust ? ExploreKey::Thrust : ExploreKey::Power;
}

std::array<double, 3> ParetoValues(const ExploreRow& row, const ParetoAxes& axes) {
    constexpr double kUnknown = -std::numeric_limits<double>::infinity();
    const double weight =
        axes.allUp && row.flight.allUpWeight ? *row.flight.allUpWeight : row.packWeight;
    return {KeyValue(row, ParetoKey(axes)), -weight, row.flight.flightTime.value_or(kUnknown)};
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
