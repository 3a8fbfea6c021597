// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Derived.h"

#include <algorithm>

#include "model/DisplayFormat.h"
#include "model/PowerTrain.h"

namespace mfb {

namespace {

std::optional<LimitCheck> Check(const std::optional<double>& limit, double value) {
    if (!limit || !(*limit > 0)) return std::nullopt;
    return LimitCheck{value, *limit, (*limit - value) / *limit * 100, value > *limit};
}

std::string Append(std::string text, const std::string& line) {
    return text.empty() ? line : text + '\n' + line;
}

}  // namespace

double RunTimeMinutes(double capacity, int parallel, double current) {
    // mAh over A is thousandths of an hour.
    return current > 0 ? capacity * parallel / current * 0.06 : 0;
}

double PowerPerKilogram(Extended shaftPower, double packWeight) {
    return packWeight > 0 ? static_cast<double>(shaftPower) / packWeight * 1000 : 0;
}

DerivedFigures Derive(const TOptionSlot& slot, const ResultPoint& point) {
    DerivedFigures figures;
    const double ampereHours = slot.Battery.Capacity * slot.CellsParallel / 1000;
    if (ampereHours > 0) figures.cRate = point.Current / ampereHours;
    figures.runTime = RunTimeMinutes(slot.Battery.Capacity, slot.CellsParallel, point.Current);
    figures.powerPerWeight =
        PowerPerKilogram(ShaftPower(point.PinMotor, point.Efficiency), slot.PackWeight);
    // An absurd catalogue value may overflow a figure; that must not read as a fault of the next
    // evaluation.
    ClearFaults();
    return figures;
}

LimitChecks CheckLimits(const TOptionSlot& slot, const FanTable& fans,
                        const FanRpmLimits& fanLimits, const ResultPoint& point,
                        const DerivedFigures& derived) {
    LimitChecks checks;
    checks[static_cast<std::size_t>(LimitKind::MotorCurrent)] =
        Check(slot.MotorLimits.MaxCurrent, point.Current);
    checks[static_cast<std::size_t>(LimitKind::MotorPower)] =
        Check(slot.MotorLimits.MaxPower, point.PinMotor);
    checks[static_cast<std::size_t>(LimitKind::CellRate)] =
        Check(slot.CellLimits.MaxRate, derived.cRate);
    if (const TFanData* fan = DecidingFan(slot, fans)) {
        checks[static_cast<std::size_t>(LimitKind::FanRpm)] =
            Check(fanLimits[static_cast<std::size_t>(fan - fans.data())], point.RpmMotor);
    }
    ClearFaults();
    return checks;
}

bool AnyExceeded(const LimitChecks& checks) {
    return std::any_of(checks.begin(), checks.end(),
                       [](const std::optional<LimitCheck>& c) { return c && c->exceeded; });
}

std::optional<Assessment> Assess(const TOptionSlot& slot, const FanTable& fans,
                                 const FanRpmLimits& fanLimits, const FanJetTable& jets,
                                 const FlightSettings& settings, const CalculateReport& report) {
    const bool shown =
        report.outcome == Outcome::Calculated || report.outcome == Outcome::StoppedAtLimit;
    // The kept step lies at least one step above the start power; all zero means none was kept.
    if (!shown || report.result.PinMotor == 0) return std::nullopt;
    Assessment assessment;
    assessment.figures = Derive(slot, report.result);
    assessment.limits = CheckLimits(slot, fans, fanLimits, report.result, assessment.figures);
    assessment.flight = Fly(slot, fans, jets, settings, report.result);
    return assessment;
}

std::optional<double> LeastMargin(const LimitChecks& checks) {
    std::optional<double> least;
    for (const auto& check : checks) {
        if (check && (!least || check->margin < *least)) least = check->margin;
    }
    return least;
}

std::string DescribeLimit(LimitKind kind, const LimitCheck& check, char separator) {
    const LimitRow& row = kLimitRows[static_cast<std::size_t>(kind)];
    return std::string(check.exceeded ? "Over " : "Within ") + std::string(row.name) + " of " +
           FormatValue(check.limit, separator) + ' ' + std::string(row.unit) + " by " +
           FormatValue(check.exceeded ? -check.margin : check.margin, separator) + " %";
}

std::string DescribeFigure(const DerivedRow& row, const DerivedFigures& figures, char separator) {
    return std::string(row.caption) + ": " + FormatValue(figures.*row.value, separator) + ' ' +
           std::string(row.unit);
}

std::array<FieldNote, kResultFieldCount> FieldNotes(const DerivedFigures& figures,
                                                    const LimitChecks& checks, char separator) {
    std::array<FieldNote, kResultFieldCount> notes;
    for (const DerivedRow& row : kDerivedRows) {
        FieldNote& note = notes[static_cast<std::size_t>(row.field)];
        note.text = Append(std::move(note.text), DescribeFigure(row, figures, separator));
    }
    for (const LimitRow& row : kLimitRows) {
        const auto& check = checks[static_cast<std::size_t>(row.kind)];
        if (!check) continue;
        FieldNote& note = notes[static_cast<std::size_t>(row.field)];
        note.text = Append(std::move(note.text), DescribeLimit(row.kind, *check, separator));
        note.exceeded = note.exceeded || check->exceeded;
    }
    return notes;
}

}  // namespace mfb
