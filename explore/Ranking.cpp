// SPDX-License-Identifier: GPL-3.0-or-later
// The space of a catalogue and the keys its rows are ranked by.
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "catalogue/Catalogue.h"
#include "explore/Explorer.h"
#include "model/PowerTrain.h"

namespace mfb {

namespace {

auto CombinationOrder(const ExploreRow& row) {
    return std::tie(row.motor, row.battery, row.fan, row.serie, row.parallel);
}

}  // namespace

std::vector<int> ExploreSpace::Counts(int first, int last) {
    std::vector<int> counts;
    for (int n = first; n <= last; ++n) counts.push_back(n);
    return counts;
}

ExploreSpace WholeSpace(const Catalogue& catalogue) {
    ExploreSpace space;
    for (std::size_t i = 0; i < catalogue.MotorLines.size(); ++i) space.motors.push_back(i);
    for (std::size_t i = 0; i < catalogue.BatteryLines.size(); ++i) space.batteries.push_back(i);
    for (int fan = 1; fan <= kFanCount; ++fan) space.fans.push_back(fan);
    return space;
}

double KeyValue(const ExploreRow& row, ExploreKey key, double target) {
    const auto shaftPower = [&] {
        return static_cast<double>(ShaftPower(row.result.PinMotor, row.result.Efficiency));
    };
    static constexpr double kUnknown = -std::numeric_limits<double>::infinity();
    const auto known = [](const std::optional<double>& value) { return value.value_or(kUnknown); };
    const FlightFigures& flight = row.flight;
    switch (key) {
        case ExploreKey::Rpm:
            return row.result.RpmMotor;
        case ExploreKey::Power:
            return shaftPower();
        case ExploreKey::Efficiency:
            return row.result.Efficiency;
        case ExploreKey::PowerPerWeight:
            return row.derived.powerPerWeight;
        case ExploreKey::RunTime:
            return row.derived.runTime;
        case ExploreKey::Target:
            return -std::abs(shaftPower() - target);
        case ExploreKey::Thrust:
            return flight.full ? flight.full->thrust : kUnknown;
        case ExploreKey::ThrustToWeight:
            return known(flight.thrustToWeight);
        case ExploreKey::Efflux:
            return flight.full ? flight.full->efflux : kUnknown;
        case ExploreKey::FlightTime:
            return known(flight.flightTime);
        case ExploreKey::TargetThrust:
            return flight.full ? -std::abs(flight.full->thrust - target) : kUnknown;
    }
    return 0;
}

double TargetOf(const ExploreRequest& request) {
    return request.key == ExploreKey::TargetThrust ? request.targetThrust : request.targetPower;
}

bool ThrustKnown(const Catalogue& catalogue, const ExploreSpace& space) {
    return std::all_of(space.fans.begin(), space.fans.end(), [&](int fan) {
        const auto view = ViewOfFan(catalogue, fan);
        if (!view) return false;
        const TFanJetData& jet = view->jets.at(static_cast<std::size_t>(view->button - 1));
        return jet.SweptArea && jet.StaticEfficiency;
    });
}

ExploreKey DefaultKey(const Catalogue& catalogue, const ExploreRequest& request) {
    if (!ThrustKnown(catalogue, request.space)) return ExploreKey::PowerPerWeight;
    return request.flight.modelWeight ? ExploreKey::ThrustToWeight : ExploreKey::Thrust;
}

bool RanksBefore(const ExploreRow& a, const ExploreRow& b, ExploreKey key, double target) {
    const double ka = KeyValue(a, key, target);
    const double kb = KeyValue(b, key, target);
    if (ka != kb) return ka > kb;
    return CombinationOrder(a) < CombinationOrder(b);
}

}  // namespace mfb
