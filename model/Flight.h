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

// The model weights the calculator takes, g: from the lightest a model can be, so that thrust per
// pack weight is never shown as thrust to weight, to far beyond any ducted-fan model.
inline constexpr double kLeastModelWeight = 1;
inline constexpr double kMostModelWeight = 100000;
constexpr bool HoldsModelWeight(double grams) {
    return grams >= kLeastModelWeight && grams <= kMostModelWeight;
}

// The jet data a ducted fan can have: a swept area from a 12 mm to a 50 cm fan, and a static
// efficiency neither beyond the best measured fans nor below the worst. Data outside them are read
// and used, but `check` questions them and every figure made from them says so.
inline constexpr ShareRange kPlausibleSweptArea{1, 2000};  // cm2
inline constexpr ShareRange kPlausibleStaticEfficiency{0.3, 0.9};
// Whether a value the fan states lies outside its plausible range.
bool JetQuestioned(const TFanJetData& fan);

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

// Whether the fan's curve rises everywhere between L = lowL and L = highL (L = ln P): the part
// throttle needs it to invert the curve, and a curve fitted to a fan's points must have it over
// the points' range.
bool CurveRises(const TFanData& fan, Extended lowL, Extended highL);

// The static thrust, g, of the fan the slot names at a shaft power, W; none without its jet data.
std::optional<double> StaticThrustAt(const TOptionSlot& slot, const FanTable& fans,
                                     const FanJetTable& jets, double shaftPower);

// The power train when the speed controller holds the fan at `settings.throttle` of its rpm at the
// operating point: the motor's voltage lowered until it turns at that rpm, the controller lossless.
// The fan curve gives the shaft power down to the least fan rpm of the sweep (at its start, or at
// the operating point where the sweep's shaft power fell); below it the fan law (shaft power with
// the cube of the rpm) takes over from there.
struct PartThrottle {
    double fanRpm = 0;        // the throttle times the operating point's fan rpm
    double shaftPower = 0;    // W, where the fan curve gives fanRpm
    double motorCurrent = 0;  // A
    double motorPower = 0;    // W, electrical input of the motor
    double packCurrent = 0;   // A
    // Below the least fan rpm of the sweep the curve is not used: the shaft power is the one there
    // scaled by the cube of the rpm ratio. fanLawFrom is that rpm.
    bool fanLaw = false;
    double fanLawFrom = 0;
};

// Why a part-throttle operating point could not be had, with the values the reason names.
enum class PartRefusal {
    None,
    NoFan,              // no fan carries the option's fan name
    NoRange,            // no positive fan rpm at the least shaft power (first) the curve is used at
    CurveDoesNotRise,   // between the start's shaft power (first) and the operating point's
    NoTorque,           // the motor's no-load loss leaves no torque at the throttle's rpm (first)
    PackCannotDeliver,  // the motor's input power (first)
};
struct Refusal {
    PartRefusal reason = PartRefusal::None;
    double first = 0, second = 0;
};
// "the fan curve does not rise between 60.00 W and 1200.00 W of shaft power"; empty for None.
std::string DescribeRefusal(const Refusal& refusal, char decimalSeparator);

// What the text and the tooltips add to thrust and efflux figures made from questioned jet data.
inline constexpr char kJetQuestionedNote[] =
    "Thrust and efflux rest on jet data outside 1 to 2000 cm2 of swept area or 0.3 to 0.9 of "
    "static efficiency, which `mfbcalc-cli check` questions";

// The part-throttle operating point at `throttle` of the operating point's fan rpm, (0, 1], for the
// fan the slot names; none, with `refusal` saying why, where it cannot be had. Never leaves a
// floating-point flag raised.
std::optional<PartThrottle> PartThrottleAt(const TOptionSlot& slot, const FanTable& fans,
                                           double throttle, const ResultPoint& point,
                                           Refusal& refusal);

// "Part throttle lies below 30280.27 rpm, ...", where the fan law gives its shaft power; else
// empty.
std::string DescribeFanLaw(const PartThrottle& part, char decimalSeparator);

// The figures a modeller flies by, at the operating point and at part throttle. Each is absent
// where something it needs is not known or cannot be had; `refusal` says why part throttle could
// not be had.
struct FlightFigures {
    std::optional<Jet> full;     // at the operating point
    bool jetQuestioned = false;  // full and partJet rest on jet data `check` questions
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
