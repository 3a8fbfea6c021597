// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Flight.h"

#include <algorithm>
#include <cmath>

#include "model/DisplayFormat.h"
#include "model/PowerTrain.h"

namespace mfb {

namespace {

// The fan curve in extended precision, unrounded, at a shaft power as the model clamps it.
Extended CurveRpm(const TFanData& fan, Extended l) {
    const Extended l2 = l * l;
    return (((fan.a1 * l + fan.a0) + fan.a2 * l2) + fan.a3 * (l * l2)) + fan.a4 * (l2 * l2);
}

// The curve's slope in L = ln P.
Extended CurveSlope(const TFanData& fan, Extended l) {
    return fan.a1 + 2 * fan.a2 * l + 3 * fan.a3 * l * l + 4 * fan.a4 * l * l * l;
}

// Whether the curve rises everywhere on [lowL, highL]: its slope, a cubic in L, is positive at
// both ends and at every turn of the slope between them.
bool Rises(const TFanData& fan, Extended lowL, Extended highL) {
    if (!(CurveSlope(fan, lowL) > 0) || !(CurveSlope(fan, highL) > 0)) return false;
    // The slope turns where 12 a4 L^2 + 6 a3 L + 2 a2 = 0.
    const Extended a = 12.0L * fan.a4, b = 6.0L * fan.a3, c = 2.0L * fan.a2;
    std::array<Extended, 2> turns{lowL, lowL};
    if (a != 0) {
        const Extended d = b * b - 4 * a * c;
        if (d >= 0) turns = {(-b - std::sqrt(d)) / (2 * a), (-b + std::sqrt(d)) / (2 * a)};
    } else if (b != 0) {
        turns = {-c / b, -c / b};
    }
    return std::all_of(turns.begin(), turns.end(), [&](Extended l) {
        return l <= lowL || l >= highL || CurveSlope(fan, l) > 0;
    });
}

// The last fan of the slot's name, the one whose curve the model uses.
const TFanData* FanOf(const TOptionSlot& slot, const FanTable& fans, std::size_t* index) {
    for (std::size_t k = fans.size(); k-- > 0;) {
        if (fans[k].Name == slot.FanName) {
            *index = k;
            return &fans[k];
        }
    }
    return nullptr;
}

// The shaft power at which the rising curve gives `rpm`, between `low` and `high` (W), to the
// last bit a double can tell.
double InvertCurve(const TFanData& fan, Extended rpm, double low, double high) {
    while (true) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high) break;
        (CurveRpm(fan, std::log(static_cast<Extended>(middle))) < rpm ? low : high) = middle;
    }
    const Extended belowBy = rpm - CurveRpm(fan, std::log(static_cast<Extended>(low)));
    const Extended aboveBy = CurveRpm(fan, std::log(static_cast<Extended>(high))) - rpm;
    return belowBy <= aboveBy ? low : high;
}

// The part-throttle operating point, or why there is none.
std::optional<PartThrottle> PartThrottleOf(const TOptionSlot& slot, const FanTable& fans,
                                           const TFanData& fan, double throttle,
                                           const ResultPoint& point, Refusal& refusal) {
    const Extended fullShaft = ShaftPower(point.PinMotor, point.Efficiency);
    // The sweep's start bounds the curve from below, and the curve is held at its 1 W value
    // below 1 W.
    Evaluation start{};
    Extended startShaft = 1;
    if (Probe(slot, fans, StartPower, start) == ProbeStatus::Evaluated) {
        startShaft = std::max<Extended>(1, ShaftPower(StartPower, start.Efficiency));
    }
    if (!(fullShaft > startShaft)) {
        refusal = {PartRefusal::NoRange, 0, 0};
        return std::nullopt;
    }
    const Extended lowL = std::log(startShaft), highL = std::log(fullShaft);
    if (!Rises(fan, lowL, highL)) {
        refusal = {PartRefusal::CurveDoesNotRise, static_cast<double>(startShaft),
                   static_cast<double>(fullShaft)};
        return std::nullopt;
    }
    PartThrottle part;
    double fullRpm = 0;
    Bereken(fans, static_cast<int>(&fan - fans.data()) + 1, point.PinMotor, point.Efficiency,
            fullRpm);
    part.fanRpm = static_cast<double>(static_cast<Extended>(throttle) * fullRpm);
    if (part.fanRpm < CurveRpm(fan, lowL)) {
        refusal = {PartRefusal::BelowStart, part.fanRpm, 0};
        return std::nullopt;
    }
    part.shaftPower = InvertCurve(fan, part.fanRpm, static_cast<double>(startShaft),
                                  static_cast<double>(fullShaft));

    const TMotorData& motor = slot.Motor;
    const Extended emf = static_cast<Extended>(part.fanRpm) / motor.Kv;
    const Extended drive = emf - static_cast<Extended>(motor.Ri) * motor.Io;
    if (!(drive > 0)) {
        refusal = {PartRefusal::NoTorque, part.fanRpm, 0};
        return std::nullopt;
    }
    // The model's own losses, shaft = I (E - Ri Io) - E Io, solved for the current I.
    part.motorCurrent = static_cast<double>((part.shaftPower + emf * motor.Io) / drive);
    const Extended current = part.motorCurrent;
    part.motorPower = static_cast<double>((emf + motor.Ri * current) * current);
    const Extended u = slot.UBattery, r = slot.RTotal;
    const Extended d = u * u - 4 * r * part.motorPower;
    if (!(d > 0) || !(r > 0)) {
        refusal = {PartRefusal::PackCannotDeliver, part.motorPower, 0};
        return std::nullopt;
    }
    part.packCurrent = static_cast<double>((u - std::sqrt(d)) / (2 * r));
    return part;
}

template <class T, class F>
std::optional<double> Get(const std::optional<T>& figure, F field) {
    return figure ? std::optional<double>((*figure).*field) : std::nullopt;
}

}  // namespace

bool CurveRises(const TFanData& fan, Extended lowL, Extended highL) {
    return Rises(fan, lowL, highL);
}

std::optional<Jet> StaticJet(Extended shaftPower, const TFanJetData& fan) {
    if (!fan.SweptArea || !fan.StaticEfficiency || !(shaftPower > 0)) return std::nullopt;
    const Extended rhoA = static_cast<Extended>(kAirDensity) * *fan.SweptArea * 1e-4L;  // cm2
    const Extended v =
        std::cbrt(2 * static_cast<Extended>(*fan.StaticEfficiency) * shaftPower / rhoA);
    const Extended thrust = rhoA * v * v;
    return Jet{static_cast<double>(thrust / kStandardGravity * 1000),
               static_cast<double>(v * 3.6L)};
}

FlightFigures Fly(const TOptionSlot& slot, const FanTable& fans, const FanJetTable& jets,
                  const FlightSettings& settings, const ResultPoint& point) {
    ClearFaults();
    FlightFigures figures;
    std::size_t index = 0;
    const TFanData* fan = FanOf(slot, fans, &index);
    if (fan == nullptr) {
        figures.refusal = {PartRefusal::NoFan, 0, 0};
        return figures;
    }
    figures.full = StaticJet(ShaftPower(point.PinMotor, point.Efficiency), jets[index]);
    figures.part = PartThrottleOf(slot, fans, *fan, settings.throttle, point, figures.refusal);
    if (figures.part) {
        figures.partJet = StaticJet(figures.part->shaftPower, jets[index]);
        const Extended drawn =
            settings.fullShare * static_cast<Extended>(point.Current) +
            (1 - static_cast<Extended>(settings.fullShare)) * figures.part->packCurrent;
        const Extended ampereHours =
            static_cast<Extended>(slot.Battery.Capacity) * slot.CellsParallel / 1000;
        if (drawn > 0 && ampereHours > 0) {
            figures.flightTime = static_cast<double>(settings.usable * ampereHours / drawn * 60);
        }
    }
    if (settings.modelWeight) {
        figures.allUpWeight =
            static_cast<double>(static_cast<Extended>(*settings.modelWeight) + slot.PackWeight);
        if (figures.full && *figures.allUpWeight > 0) {
            figures.thrustToWeight = figures.full->thrust / *figures.allUpWeight;
        }
    }
    // An absurd catalogue value may overflow a figure; that must not read as a fault of the next
    // evaluation.
    ClearFaults();
    return figures;
}

std::string DescribeRefusal(const Refusal& refusal, char separator) {
    const auto value = [&](double v, const char* unit) {
        return FormatValue(v, separator) + ' ' + unit;
    };
    switch (refusal.reason) {
        case PartRefusal::None:
            return {};
        case PartRefusal::NoFan:
            return "no fan carries the option's fan name";
        case PartRefusal::NoRange:
            return "the operating point's shaft power is not above the sweep start's";
        case PartRefusal::CurveDoesNotRise:
            return "the fan curve does not rise between " + value(refusal.first, "W") + " and " +
                   value(refusal.second, "W") + " of shaft power";
        case PartRefusal::BelowStart:
            return "the fan turns faster than " + value(refusal.first, "rpm") +
                   " already at the sweep's start";
        case PartRefusal::NoTorque:
            return "the motor's no-load loss leaves no torque at " + value(refusal.first, "rpm");
        case PartRefusal::PackCannotDeliver:
            return "the pack cannot deliver " + value(refusal.first, "W");
    }
    return {};
}

const std::array<FlightRow, 7> kFlightRows{{
    {"thrust", "Static thrust", "g",
     [](const FlightFigures& f) { return Get(f.full, &Jet::thrust); }},
    {"efflux", "Efflux speed", "km/h",
     [](const FlightFigures& f) { return Get(f.full, &Jet::efflux); }},
    {"part_current", "Part-throttle current", "A",
     [](const FlightFigures& f) { return Get(f.part, &PartThrottle::packCurrent); }},
    {"part_thrust", "Part-throttle thrust", "g",
     [](const FlightFigures& f) { return Get(f.partJet, &Jet::thrust); }},
    {"flight_time", "Flight time", "min", [](const FlightFigures& f) { return f.flightTime; }},
    {"all_up_weight", "All-up weight", "g", [](const FlightFigures& f) { return f.allUpWeight; }},
    {"thrust_to_weight", "Thrust to weight", "",
     [](const FlightFigures& f) { return f.thrustToWeight; }},
}};

std::optional<std::string> DescribeFlight(const FlightRow& row, const FlightFigures& figures,
                                          char separator) {
    const auto value = row.value(figures);
    if (!value) return std::nullopt;
    std::string text = std::string(row.caption) + ": " + FormatValue(*value, separator);
    if (!row.unit.empty()) text += ' ' + std::string(row.unit);
    return text;
}

}  // namespace mfb
