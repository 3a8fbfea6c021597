// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Flight.h"

#include <algorithm>
#include <cmath>

#include "model/DisplayFormat.h"
#include "model/PowerTrain.h"

namespace mfb {

namespace {

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

// The shaft power at which the rising curve gives `rpm`, between `low` and `high` (W), to the
// last bit a double can tell.
double InvertCurve(const TFanData& fan, Extended rpm, double low, double high) {
    while (true) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high) break;
        (FanCurve(fan, std::log(static_cast<Extended>(middle))) < rpm ? low : high) = middle;
    }
    const Extended belowBy = rpm - FanCurve(fan, std::log(static_cast<Extended>(low)));
    const Extended aboveBy = FanCurve(fan, std::log(static_cast<Extended>(high))) - rpm;
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
    // The curve is used from the lower of the start and the operating point up to the operating
    // point; a sweep whose efficiency falls faster than its power rises ends below its start.
    const Extended lowShaft = std::min(startShaft, fullShaft);
    const Extended lowL = std::log(lowShaft), highL = std::log(fullShaft);
    if (fullShaft > startShaft && !Rises(fan, lowL, highL)) {
        refusal = {PartRefusal::CurveDoesNotRise, static_cast<double>(startShaft),
                   static_cast<double>(fullShaft)};
        return std::nullopt;
    }
    PartThrottle part;
    double fullRpm = 0;
    Bereken(fans, static_cast<int>(&fan - fans.data()) + 1, point.PinMotor, point.Efficiency,
            fullRpm);
    part.fanRpm = static_cast<double>(static_cast<Extended>(throttle) * fullRpm);
    const Extended lowRpm = FanCurve(fan, lowL);
    if (part.fanRpm >= lowRpm) {
        part.shaftPower = InvertCurve(fan, part.fanRpm, static_cast<double>(lowShaft),
                                      static_cast<double>(fullShaft));
    } else if (lowRpm > 0) {
        // The curve is fitted to the powers a sweep reaches and says nothing below them. A fan
        // there absorbs a shaft power that goes with the cube of its rpm, the fan law, taken on
        // from the lowest point of the curve used so that the two meet there.
        const Extended ratio = part.fanRpm / lowRpm;
        part.shaftPower = static_cast<double>(lowShaft * (ratio * ratio * ratio));
        part.fanLaw = true;
        part.fanLawFrom = static_cast<double>(lowRpm);
    } else {
        refusal = {PartRefusal::NoRange, static_cast<double>(lowShaft), 0};
        return std::nullopt;
    }

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
    const Extended d = Discriminant(slot, part.motorPower);
    if (!(d > 0) || !(r > 0)) {
        refusal = {PartRefusal::PackCannotDeliver, part.motorPower, 0};
        return std::nullopt;
    }
    part.packCurrent = static_cast<double>(PackCurrent(u, r, d));
    return part;
}

template <class T, class F>
std::optional<double> Get(const std::optional<T>& figure, F field) {
    return figure ? std::optional<double>((*figure).*field) : std::nullopt;
}

}  // namespace

bool JetQuestioned(const TFanJetData& fan) {
    return (fan.SweptArea && !kPlausibleSweptArea.holds(*fan.SweptArea)) ||
           (fan.StaticEfficiency && !kPlausibleStaticEfficiency.holds(*fan.StaticEfficiency));
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

std::optional<double> StaticThrustAt(const TOptionSlot& slot, const FanTable& fans,
                                     const FanJetTable& jets, double shaftPower) {
    const TFanData* fan = DecidingFan(slot, fans);
    if (fan == nullptr) return std::nullopt;
    const auto jet = StaticJet(shaftPower, jets[static_cast<std::size_t>(fan - fans.data())]);
    ClearFaults();
    return jet ? std::optional<double>(jet->thrust) : std::nullopt;
}

FlightFigures Fly(const TOptionSlot& slot, const FanTable& fans, const FanJetTable& jets,
                  const FlightSettings& settings, const ResultPoint& point) {
    ClearFaults();
    FlightFigures figures;
    const TFanData* fan = DecidingFan(slot, fans);
    if (fan == nullptr) {
        figures.refusal = {PartRefusal::NoFan, 0, 0};
        return figures;
    }
    const auto index = static_cast<std::size_t>(fan - fans.data());
    figures.full = StaticJet(ShaftPower(point.PinMotor, point.Efficiency), jets[index]);
    figures.jetQuestioned = figures.full.has_value() && JetQuestioned(jets[index]);
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

std::optional<PartThrottle> PartThrottleAt(const TOptionSlot& slot, const FanTable& fans,
                                           double throttle, const ResultPoint& point,
                                           Refusal& refusal) {
    ClearFaults();
    std::optional<PartThrottle> part;
    if (const TFanData* fan = DecidingFan(slot, fans)) {
        part = PartThrottleOf(slot, fans, *fan, throttle, point, refusal);
    } else {
        refusal = {PartRefusal::NoFan, 0, 0};
    }
    ClearFaults();
    return part;
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
            return "the fan curve gives no positive rpm at " + value(refusal.first, "W") +
                   " of shaft power, where the fan law would take over";
        case PartRefusal::CurveDoesNotRise:
            return "the fan curve does not rise between " + value(refusal.first, "W") + " and " +
                   value(refusal.second, "W") + " of shaft power";
        case PartRefusal::NoTorque:
            return "the motor's no-load loss leaves no torque at " + value(refusal.first, "rpm");
        case PartRefusal::PackCannotDeliver:
            return "the pack cannot deliver " + value(refusal.first, "W");
    }
    return {};
}

std::string DescribeFanLaw(const PartThrottle& part, char separator) {
    if (!part.fanLaw) return {};
    return "Part throttle lies below " + FormatValue(part.fanLawFrom, separator) +
           " rpm, the least the sweep gives the fan: its shaft power there follows the fan law, " +
           "the cube of the rpm";
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
