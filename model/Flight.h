// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/Extended.h"
#include "model/OptionSlot.h"
#include "model/Sweep.h"

namespace mfb {

// Standard sea-level air, and the gram-force's g.
inline constexpr double kAirDensity = 1.225;         // kg/m3
inline constexpr double kStandardGravity = 9.80665;  // m/s2

// How the modeller flies, the same for all four options. Fractions, not percent.
struct FlightSettings {
    double throttle = 0.65;   // part throttle: a share of the operating point's fan rpm, (0, 1]
    double fullShare = 0.25;  // the share of a flight's time at full throttle, [0, 1]
    double usable = 0.80;     // the share of the pack's capacity a flight draws, (0, 1]
    std::optional<double> modelWeight;  // g, the model without its pack; absent: not known
};

// The shares a setting may take wherever it is entered or read. A part throttle or a capacity drawn
// of nothing would fly no flight; a flight may be flown wholly at either throttle.
struct ShareRange {
    double least, most;
    bool holds(double share) const { return share >= least && share <= most; }
};
inline constexpr ShareRange kThrottleRange{0.01, 1};
inline constexpr ShareRange kFullShareRange{0, 1};
inline constexpr ShareRange kUsableRange{0.01, 1};

// The heaviest model the calculator takes, g: far beyond any ducted-fan model. A weight is above 0:
// with none, thrust per pack weight would be shown as thrust to weight.
inline constexpr double kMostModelWeight = 100000;
constexpr bool HoldsModelWeight(double grams) {
    return grams > 0 && grams <= kMostModelWeight;
}

// The static jet of a fan whose jet leaves through its swept area, by momentum theory: with shaft
// power P, static efficiency e and swept area A, the efflux speed is v = (2 e P / (rho A))^(1/3)
// and the thrust T = rho A v^2.
struct Jet {
    double thrust = 0;  // gram-force
    double efflux = 0;  // km/h
};
// None when the fan's swept area or static efficiency is not known, or the power is not positive.
// The explorer's bounds (explore/KeyBound.cpp) invert these formulas: a change here is one there.
std::optional<Jet> StaticJet(Extended shaftPower, const TFanJetData& fan);

// The power train when the speed controller holds the fan at `settings.throttle` of its rpm at the
// operating point: the motor's voltage lowered until it turns at that rpm, the controller lossless.
struct PartThrottle {
    double fanRpm = 0;        // the throttle times the operating point's fan rpm
    double shaftPower = 0;    // W, where the fan curve gives fanRpm
    double motorCurrent = 0;  // A
    double motorPower = 0;    // W, electrical input of the motor
    double packCurrent = 0;   // A
};

// Why a part-throttle operating point could not be had, with the values the reason names.
enum class PartRefusal {
    None,
    NoFan,              // no fan carries the option's fan name
    NoRange,            // the operating point's shaft power is not above the sweep start's
    CurveDoesNotRise,   // between the start's shaft power (first) and the operating point's
    BelowStart,         // the throttle's rpm (first) is below the fan's at the sweep's start
    NoTorque,           // the motor's no-load loss leaves no torque at the throttle's rpm (first)
    PackCannotDeliver,  // the motor's input power (first)
};
struct Refusal {
    PartRefusal reason = PartRefusal::None;
    double first = 0, second = 0;
};
// "the fan curve does not rise between 60.00 W and 1200.00 W of shaft power"; empty for None.
std::string DescribeRefusal(const Refusal& refusal, char decimalSeparator);

// The figures a modeller flies by, at the operating point and at part throttle. Each is absent
// where something it needs is not known or cannot be had; `refusal` says why part throttle could
// not be had.
struct FlightFigures {
    std::optional<Jet> full;  // at the operating point
    std::optional<PartThrottle> part;
    Refusal refusal;
    std::optional<Jet> partJet;
    std::optional<double> flightTime;      // minutes of a mixed flight
    std::optional<double> allUpWeight;     // g, model and pack
    std::optional<double> thrustToWeight;  // full thrust over all-up weight
};

// The figures of the kept step `point` of the slot (as the Calculate that found it left the slot:
// its pack and motor; the fan it names, the last of that name as in the model). Never leaves a
// floating-point flag raised.
FlightFigures Fly(const TOptionSlot& slot, const FanTable& fans, const FanJetTable& jets,
                  const FlightSettings& settings, const ResultPoint& point);

// The figures as text and data show them, one row each; a row is absent where its figure is.
struct FlightRow {
    std::string_view key;      // in JSON and CSV
    std::string_view caption;  // in text, before a colon
    std::string_view unit;
    std::optional<double> (*value)(const FlightFigures& figures);
};
extern const std::array<FlightRow, 7> kFlightRows;

// "Static thrust: 1940.12 g", or nothing when the figure is absent.
std::optional<std::string> DescribeFlight(const FlightRow& row, const FlightFigures& figures,
                                          char decimalSeparator);

}  // namespace mfb
