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

namespace {

// The bound of ShaftPowerBound, tightened until `enough` holds for it (a test that holds for every
// power below one that it holds for) or as far as it goes.
template <class Enough>
std::optional<double> TightenShaftPowerBound(const TMotorData& motor, const TFanData& fan,
                                             const std::optional<FanRise>& rise, double volts,
                                             double ohms, const RankedCeilings& ceilings,
                                             Enough enough) {
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
    double best = widened(pack);
    if (!rise || enough(best)) return best;

    // The least E of a kept step whose shaft power lies beyond e^l.
    const auto leastE = [&](double l) {
        return (Curve(fan, l) - kSlack * CurveTerms(fan, l)) / motor.Kv * (1 - kSlack);
    };
    const auto at = [&](double l) { return widened(std::max(std::exp(l), most(leastE(l)))); };
    // exp(l) minus the most beyond it rises with l; its sign change is the best Lc.
    double low = std::max(rise->fromL, 0.0);
    double high = pack > 1 ? std::log(pack) : 0.0;
    best = std::min(best, at(low));
    if (!(high > low)) return best;
    for (int i = 0; i < kHalvings && !enough(best); ++i) {
        const double middle = (low + high) / 2;
        const double beyond = most(leastE(middle));
        const double power = std::exp(middle);
        (power < beyond ? low : high) = middle;
        best = std::min(best, widened(std::max(power, beyond)));
    }
    return best;
}

}  // namespace

std::optional<double> ShaftPowerBound(const TMotorData& motor, const TFanData& fan,
                                      const std::optional<FanRise>& rise, double volts, double ohms,
                                      const RankedCeilings& ceilings) {
    return TightenShaftPowerBound(motor, fan, rise, volts, ohms, ceilings,
                                  [](double) { return false; });
}

bool KeyBounded(ExploreKey key) {
    return key != ExploreKey::Efficiency && key != ExploreKey::RunTime &&
           key != ExploreKey::FlightTime;
}

std::optional<KeyBound> KeyBound::For(const ExploreRequest& request, const TOptionSlot& unit,
                                      const Catalogue& catalogue, const FanView& view,
                                      std::size_t fan, const std::optional<FanRise>& rise) {
    const double wireResistance = catalogue.WireResistance;
    if (!KeyBounded(request.key)) return std::nullopt;
    const TBatteryData& cell = unit.Battery;
    const TMotorData& motor = unit.Motor;
    if (!Finite({motor.Kv, motor.Ri, motor.Io}) || !(motor.Kv > 0) || !(motor.Ri >= 0) ||
        !(motor.Io >= 0)) {
        return std::nullopt;
    }
    if (!Finite({cell.RCell, cell.UCell, cell.CellWeight, wireResistance}) || !(cell.RCell >= 0) ||
        !(cell.UCell > 0) || !(cell.CellWeight > 0) || !(wireResistance > 0)) {
        return std::nullopt;
    }
    KeyBound bound;
    bound.request_ = &request;
    bound.motor_ = unit.Motor;
    bound.cell_ = cell;
    bound.fan_ = view.fans.at(fan);
    bound.rise_ = rise;
    bound.jet_ = view.jets.at(fan);
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
        ceiling({limit(view.limits.at(fan))}),
    };
    if (limit(unit.CellLimits.MaxRate) && cell.Capacity > 0 && std::isfinite(cell.Capacity)) {
        bound.maxRate_ = *unit.CellLimits.MaxRate;
        bound.cellAmpereHours_ = cell.Capacity / 1000;
    }
    return bound;
}

bool KeyBound::Below(int serie1, int serie2, int parallel1, int parallel2, double bar) const {
    const double volts = serie2 * cell_.UCell;
    if (request_->key == ExploreKey::Rpm) {
        return std::min(motor_.Kv * volts, ceilings_.motorRpm) * (1 + kSlack) < bar;
    }
    const double ohms = serie1 * cell_.RCell / parallel2 + wireResistance_;
    const double packWeight = serie1 * cell_.CellWeight * parallel1 * (1 - kSlack);
    const double shaftBar = ShaftPowerBar(bar, packWeight);
    const auto below = [&](double shaftPower) { return shaftPower < shaftBar; };
    const std::optional<double> shaft =
        TightenShaftPowerBound(motor_, fan_, rise_, volts, ohms, CeilingsAt(parallel2), below);
    return shaft && below(*shaft);
}

RankedCeilings KeyBound::CeilingsAt(int parallel) const {
    RankedCeilings ceilings = ceilings_;
    // The cells' rate limit holds the current to rate times the pack's capacity in Ah.
    if (cellAmpereHours_ > 0) {
        ceilings.current = std::min(ceilings.current, maxRate_ * cellAmpereHours_ * parallel);
    }
    return ceilings;
}

double KeyBound::ShaftPowerBar(double bar, double packWeight) const {
    const ExploreRequest& request = *request_;
    // The inverses below are exact in real numbers; their double rounding is a few parts in 1e16,
    // which the margin covers many times over.
    constexpr double kMargin = 1 - 1e-6;
    const std::optional<double> area = jet_.SweptArea, share = jet_.StaticEfficiency;
    const bool jet = area && share && *area > 0 && *share > 0;
    const double rhoA = jet ? kAirDensity * *area * 1e-4 : 0;
    // The shaft power whose static thrust is `grams`, StaticJet (model/Flight.h) inverted:
    // T g = rhoA^(1/3) (2 e P)^(2/3).
    const auto thrustBar = [&](double grams) {
        if (!jet) return kInfinity;  // no row of the fan has a thrust: every key is -infinity
        if (!(grams > 0)) return -kInfinity;
        const double newtons = grams * kStandardGravity / 1000;
        return newtons * std::sqrt(newtons) / (2 * *share * std::sqrt(rhoA)) * kMargin;
    };
    const auto shrunk = [&](double power) { return power > 0 ? power * kMargin : power / kMargin; };
    switch (request.key) {
        case ExploreKey::Power:
            return shrunk(bar);
        case ExploreKey::PowerPerWeight:
            // A heavier pack of the block divides a negative power into a larger key.
            return bar > 0 ? bar * packWeight / 1000 * kMargin : -kInfinity;
        case ExploreKey::Target:
            // The key is at most 0, and 0 wherever the bound reaches the target.
            return bar > 0 ? kInfinity : shrunk(request.targetPower + bar);
        case ExploreKey::Thrust:
            return thrustBar(bar);
        case ExploreKey::Efflux: {
            if (!jet) return kInfinity;
            if (!(bar > 0)) return -kInfinity;
            const double speed = bar / 3.6;  // m/s
            return speed * speed * speed * rhoA / (2 * *share) * kMargin;
        }
        case ExploreKey::ThrustToWeight:
            if (!request.flight.modelWeight) return kInfinity;  // no row has the figure
            return thrustBar(bar * (*request.flight.modelWeight + packWeight) * kMargin);
        case ExploreKey::TargetThrust:
            if (bar > 0 && jet) return kInfinity;
            return thrustBar((request.targetThrust + bar) * kMargin);
        case ExploreKey::Rpm:
        case ExploreKey::Efficiency:
        case ExploreKey::RunTime:
        case ExploreKey::FlightTime:
            break;
    }
    return -kInfinity;
}

}  // namespace mfb
