// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/KeyBound.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "catalogue/Catalogue.h"
#include "model/Flight.h"

namespace mfb {

namespace {

// The relative widening of every figure a bound is made of. The model rounds to double and
// evaluates in extended precision, and this file in double: their errors are near 1e-15 of the
// largest term, a million times less.
constexpr double kSlack = 1e-9;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// How far past a power of 1 W the rising part of a curve is looked for: e^30 W is far beyond any
// power train.
constexpr double kFurthestRiseL = 30;
constexpr double kRiseGrid = 0.25;

// Halvings of the bracket of the bound's best Lc: each one tightens the bound, none makes it wrong.
constexpr int kHalvings = 12;

bool Finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

double Curve(const TFanData& fan, double l) {
    const double l2 = l * l;
    return (((fan.a1 * l + fan.a0) + fan.a2 * l2) + fan.a3 * (l * l2)) + fan.a4 * (l2 * l2);
}

// The size of the curve's terms, which its rounding errors are a small share of.
double CurveTerms(const TFanData& fan, double l) {
    const double m = std::abs(l);
    return std::abs(fan.a0) + std::abs(fan.a1) * m + std::abs(fan.a2) * m * m +
           std::abs(fan.a3) * m * m * m + std::abs(fan.a4) * m * m * m * m;
}

double Slope(const TFanData& fan, double l) {
    return fan.a1 + 2 * fan.a2 * l + 3 * fan.a3 * l * l + 4 * fan.a4 * l * l * l;
}

double SlopeTerms(const TFanData& fan, double l) {
    const double m = std::abs(l);
    return std::abs(fan.a1) + 2 * std::abs(fan.a2) * m + 3 * std::abs(fan.a3) * m * m +
           4 * std::abs(fan.a4) * m * m * m;
}

bool SlopePositive(const TFanData& fan, double l) {
    return Slope(fan, l) > kSlack * SlopeTerms(fan, l);
}

// Whether the slope, a cubic of positive leading coefficient, is positive from `l` on: positive
// at `l` and at its one local minimum, where its own slope 12 a4 L^2 + 6 a3 L + 2 a2 turns from
// negative to positive, if that lies beyond `l`.
bool RisesFrom(const TFanData& fan, double l) {
    if (!SlopePositive(fan, l)) return false;
    const double a = 12 * fan.a4, b = 6 * fan.a3, c = 2 * fan.a2;
    const double d = b * b - 4 * a * c;
    if (d <= 0) return true;
    const double minimum = (-b + std::sqrt(d)) / (2 * a);
    return minimum <= l || SlopePositive(fan, minimum);
}

}  // namespace

std::optional<FanRise> FanRiseOf(const TFanData& fan) {
    if (!Finite({fan.a0, fan.a1, fan.a2, fan.a3, fan.a4}) || !(fan.a4 > 0)) return std::nullopt;
    for (double l = 0; l <= kFurthestRiseL; l += kRiseGrid) {
        if (RisesFrom(fan, l)) return FanRise{l};
    }
    return std::nullopt;
}

std::optional<double> ShaftPowerBound(const TMotorData& motor, const TFanData& fan,
                                      const std::optional<FanRise>& rise, double volts, double ohms,
                                      const RankedCeilings& ceilings) {
    if (!Finite({motor.Kv, motor.Ri, motor.Io, volts, ohms}) || !(motor.Kv > 0) ||
        !(motor.Ri >= 0) || !(motor.Io >= 0) || !(volts > 0) || !(ohms > 0)) {
        return std::nullopt;
    }
    const double u = volts * (1 + kSlack);
    const double r = (ohms + motor.Ri) * (1 - kSlack);
    const double mostCurrent = ceilings.current * (1 + kSlack);
    const double mostE = ceilings.motorRpm / motor.Kv * (1 + kSlack);
    // The current where I min(most E, U - I r) stops rising: it rises with I while the rpm ceiling
    // holds E, and then as I (U - I r) up to U / 2r.
    const double peak = std::max(u / (2 * r), (u - mostE) / r);
    // The most shaft power a motor voltage of `e` or more leaves.
    const auto most = [&](double e) {
        if (e > mostE) return 0.0;
        const double current = std::min({mostCurrent, (u - e) / r, peak});
        if (!(current > 0)) return 0.0;
        return current * std::min(mostE, u - current * r);
    };
    const double pack = most(-kInfinity);
    if (!std::isfinite(pack)) return std::nullopt;
    const double ceiling = std::min(ceilings.inputPower, ceilings.shaftPower) * (1 + kSlack);
    const auto widened = [&](double bound) {
        return std::min(bound * (1 + kSlack) + kSlack * pack, ceiling);
    };
    if (!rise) return widened(pack);

    // The least E of a kept step whose shaft power lies beyond e^l.
    const auto leastE = [&](double l) {
        return (Curve(fan, l) - kSlack * CurveTerms(fan, l)) / motor.Kv * (1 - kSlack);
    };
    // exp(l) minus the most beyond it rises with l; its sign change is the best Lc.
    double low = std::max(rise->fromL, 0.0);
    double high = pack > 1 ? std::log(pack) : 0.0;
    if (!(high > low)) return widened(std::max(std::exp(low), most(leastE(low))));
    for (int i = 0; i < kHalvings; ++i) {
        const double middle = (low + high) / 2;
        (std::exp(middle) < most(leastE(middle)) ? low : high) = middle;
    }
    const double atLow = std::max(std::exp(low), most(leastE(low)));
    const double atHigh = std::max(std::exp(high), most(leastE(high)));
    return widened(std::min({atLow, atHigh, pack}));
}

std::optional<KeyBound> KeyBound::For(const ExploreRequest& request, const TOptionSlot& unit,
                                      const Catalogue& catalogue, std::size_t fan,
                                      const std::optional<FanRise>& rise) {
    const double wireResistance = catalogue.WireResistance;
    switch (request.key) {
        case ExploreKey::Efficiency:
        case ExploreKey::RunTime:
        case ExploreKey::FlightTime:
            return std::nullopt;
        default:
            break;
    }
    const TBatteryData& cell = unit.Battery;
    if (!Finite({cell.RCell, cell.UCell, cell.CellWeight, wireResistance}) || !(cell.RCell >= 0) ||
        !(cell.UCell > 0) || !(cell.CellWeight > 0) || !(wireResistance > 0)) {
        return std::nullopt;
    }
    KeyBound bound;
    bound.request_ = &request;
    bound.motor_ = unit.Motor;
    bound.cell_ = cell;
    bound.fan_ = &catalogue.Fans[fan];
    bound.rise_ = rise;
    bound.jet_ = &catalogue.FanJet[fan];
    bound.wireResistance_ = wireResistance;
    const auto ceiling = [](std::initializer_list<std::optional<double>> values) {
        double least = kInfinity;
        for (const std::optional<double>& value : values) {
            if (value) least = std::min(least, *value);
        }
        return least;
    };
    // A limit check counts only a limit above 0, and NaN keeps nothing under it.
    const auto limit = [&](const std::optional<double>& value) -> std::optional<double> {
        if (request.ignoreLimits || !value || !(*value > 0)) return std::nullopt;
        return value;
    };
    bound.ceilings_ = {
        ceiling({limit(unit.MotorLimits.MaxCurrent), request.filter.maxCurrent}),
        ceiling({limit(unit.MotorLimits.MaxPower)}),
        ceiling({request.maxPower}),
        ceiling({limit(catalogue.FanLimits[fan])}),
    };
    if (limit(unit.CellLimits.MaxRate) && cell.Capacity > 0 && std::isfinite(cell.Capacity)) {
        bound.maxRate_ = *unit.CellLimits.MaxRate;
        bound.cellAmpereHours_ = cell.Capacity / 1000;
    }
    return bound;
}

double KeyBound::Over(int serie1, int serie2, int parallel1, int parallel2) const {
    const double volts = serie2 * cell_.UCell;
    if (request_->key == ExploreKey::Rpm) {
        if (!(motor_.Kv > 0) || !(motor_.Ri >= 0) || !std::isfinite(motor_.Kv)) return kInfinity;
        return std::min(motor_.Kv * volts, ceilings_.motorRpm) * (1 + kSlack);
    }
    const double ohms = serie1 * cell_.RCell / parallel2 + wireResistance_;
    const std::optional<double> shaft =
        ShaftPowerBound(motor_, *fan_, rise_, volts, ohms, CeilingsAt(parallel2));
    if (!shaft) return kInfinity;
    return KeyOf(*shaft, serie1 * cell_.CellWeight * parallel1 * (1 - kSlack));
}

RankedCeilings KeyBound::CeilingsAt(int parallel) const {
    RankedCeilings ceilings = ceilings_;
    // The cells' rate limit holds the current to rate times the pack's capacity in Ah.
    if (cellAmpereHours_ > 0) {
        ceilings.current = std::min(ceilings.current, maxRate_ * cellAmpereHours_ * parallel);
    }
    return ceilings;
}

double KeyBound::KeyOf(double shaftPower, double packWeight) const {
    const ExploreRequest& request = *request_;
    const auto thrust = [&]() -> std::optional<double> {
        const std::optional<Jet> jet = StaticJet(shaftPower, *jet_);
        if (!jet) return std::nullopt;
        return jet->thrust * (1 + kSlack);
    };
    switch (request.key) {
        case ExploreKey::Power:
            return shaftPower;
        case ExploreKey::PowerPerWeight:
            return shaftPower / packWeight * 1000 * (1 + kSlack);
        case ExploreKey::Target:
            return -std::max(0.0, request.targetPower - shaftPower);
        case ExploreKey::Thrust:
            return thrust().value_or(-kInfinity);
        case ExploreKey::Efflux: {
            const std::optional<Jet> jet = StaticJet(shaftPower, *jet_);
            return jet ? jet->efflux * (1 + kSlack) : -kInfinity;
        }
        case ExploreKey::ThrustToWeight: {
            const std::optional<double> t = thrust();
            if (!t || !request.flight.modelWeight) return -kInfinity;
            return *t / ((*request.flight.modelWeight + packWeight) * (1 - kSlack));
        }
        case ExploreKey::TargetThrust: {
            const std::optional<double> t = thrust();
            return t ? -std::max(0.0, request.targetThrust - *t) : -kInfinity;
        }
        case ExploreKey::Rpm:
        case ExploreKey::Efficiency:
        case ExploreKey::RunTime:
        case ExploreKey::FlightTime:
            break;
    }
    return kInfinity;
}

}  // namespace mfb
