// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/Extended.h"
#include "model/Flight.h"
#include "model/OptionSlot.h"
#include "model/ResultView.h"
#include "model/Sweep.h"

namespace mfb {

// What a modeller asks of an operating point before anything else, besides the nine values the
// column shows. Doubles; a figure whose divisor is 0 (no capacity, no current, no pack weight) is
// 0, so that no figure raises a floating-point flag of its own.
struct DerivedFigures {
    double cRate = 0;           // pack current over pack capacity in Ah: C, that is per hour
    double runTime = 0;         // minutes the pack's capacity lasts at this current
    double powerPerWeight = 0;  // W of shaft power per kg of pack
};

// Minutes a pack of `parallel` cells of `capacity` mAh lasts at `current` A.
double RunTimeMinutes(double capacity, int parallel, double current);
// W of shaft power per kg of a pack of `packWeight` g.
double PowerPerKilogram(Extended shaftPower, double packWeight);

// The figures of an operating point of the slot's pack (its cells, CellsParallel and PackWeight as
// the Calculate that found `point` left them).
DerivedFigures Derive(const TOptionSlot& slot, const ResultPoint& point);

// The limits a catalogue may state, each compared with one value at the operating point. The fan
// turns with the motor, so the fan's rpm limit applies to the motor rpm.
enum class LimitKind { MotorCurrent, MotorPower, CellRate, FanRpm };
inline constexpr int kLimitKindCount = 4;

struct LimitCheck {
    double value = 0;   // at the operating point, in the limit's unit
    double limit = 0;   // as the catalogue states it, above 0
    double margin = 0;  // % of the limit to spare, 100 (limit - value) / limit; below 0 when over
    bool exceeded = false;  // value > limit
};
// By LimitKind; a limit the catalogues do not state is absent.
using LimitChecks = std::array<std::optional<LimitCheck>, kLimitKindCount>;

struct LimitRow {
    LimitKind kind;
    std::string_view key;   // in JSON and CSV
    std::string_view name;  // in sentences
    std::string_view unit;
    ResultField field;  // the value label whose value it limits
};
inline constexpr std::array<LimitRow, kLimitKindCount> kLimitRows{{
    {LimitKind::MotorCurrent, "motor_current", "the motor's maximum continuous current", "A",
     ResultField::Current},
    {LimitKind::MotorPower, "motor_power", "the motor's maximum input power", "W",
     ResultField::PinMotor},
    {LimitKind::CellRate, "cell_rate", "the cells' maximum continuous discharge", "C",
     ResultField::Current},
    {LimitKind::FanRpm, "fan_rpm", "the fan's maximum rpm", "rpm", ResultField::Rpm},
}};

struct DerivedRow {
    std::string_view key;      // in JSON and CSV
    std::string_view caption;  // in text, before a colon
    std::string_view unit;
    double DerivedFigures::*value;
    ResultField field;  // the value label it explains
};
inline constexpr std::array<DerivedRow, 3> kDerivedRows{{
    {"c_rate", "C-rate", "C", &DerivedFigures::cRate, ResultField::Current},
    {"run_time", "Full-throttle run time", "min", &DerivedFigures::runTime, ResultField::Current},
    {"power_per_weight", "Shaft power per pack weight", "W/kg", &DerivedFigures::powerPerWeight,
     ResultField::PoutMotor},
}};

// The slot's motor and cell limits and the rpm limit of the fan it names (the last fan of that
// name, the one whose curve the model uses), against the operating point.
LimitChecks CheckLimits(const TOptionSlot& slot, const FanTable& fans,
                        const FanRpmLimits& fanLimits, const ResultPoint& point,
                        const DerivedFigures& derived);
bool AnyExceeded(const LimitChecks& checks);

// The figures and limit checks of a Calculate's kept step, for a slot that Calculate has just
// left; none when the Calculate ended without a kept step.
struct Assessment {
    DerivedFigures figures;
    LimitChecks limits;
    FlightFigures flight;
};
std::optional<Assessment> Assess(const TOptionSlot& slot, const FanTable& fans,
                                 const FanRpmLimits& fanLimits, const FanJetTable& jets,
                                 const FlightSettings& settings, const CalculateReport& report);
// The tightest of the limits stated: the smallest margin.
std::optional<double> LeastMargin(const LimitChecks& checks);

// "Within the motor's maximum input power of 700.00 W by 12.50 %", or "Over ... by 31.00 %".
std::string DescribeLimit(LimitKind kind, const LimitCheck& check, char decimalSeparator);
// "C-rate: 18.20 C"
std::string DescribeFigure(const DerivedRow& row, const DerivedFigures& figures,
                           char decimalSeparator);

// What belongs to one value label: its derived figures and limits, one per line, and whether a
// limit of its value is exceeded.
struct FieldNote {
    std::string text;
    bool exceeded = false;
};
std::array<FieldNote, kResultFieldCount> FieldNotes(const DerivedFigures& figures,
                                                    const LimitChecks& checks,
                                                    char decimalSeparator);

}  // namespace mfb
