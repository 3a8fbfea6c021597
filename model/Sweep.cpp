// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Sweep.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "model/DisplayFormat.h"
#include "model/Error.h"
#include "model/PowerTrain.h"
#include "model/SweepSteps.h"

namespace mfb {

namespace {

// The axis factors are the extended values nearest to them.
constexpr Extended kLowerFactor = 0.9L;
constexpr Extended kLowerCurrentFactor = 0.95L;
constexpr Extended kUpperFactor = 1.05L;

// The evaluation writes RpmFan through every fan of the slot's name, so one cut short by a failed
// fan catalogue would spoil the result even beside a complete namesake.
bool HasValidFan(const TOptionSlot& slot, const SweepInputs& inputs) {
    bool found = false;
    for (int k = 1; k <= kFanCount; ++k) {
        if (inputs.Fans[static_cast<std::size_t>(k - 1)].Name != slot.FanName) continue;
        if (k > inputs.CompleteFans.count) return false;
        found = true;
    }
    return found;
}

void Show(ResultView& view, const SweepInputs& in, ResultField field, Extended value) {
    if (view.ShowsValues()) view.ShowValue(field, FormatValue(value, in.DecimalSeparator));
}

// The chart's axis ranges in `ranges`, bottom, left and right, each pair low and high. Checked,
// each axis is set as soon as its pair is formed, and a fault throws where it occurs.
template <bool kChecked>
void AxisRanges(const TOptionSlot& slot, const SweepInputs& in, const CalculateReport& report,
                ChartSink& chart, std::array<double, 6>& ranges) {
    const auto set = [&](Axis axis, std::size_t low) {
        if constexpr (kChecked) {
            chart.SetAxisRange(axis, ranges[low], ranges[low + 1]);
            ClearFaults();
        }
    };
    const TFanData& axisFan = in.Fans[static_cast<std::size_t>(std::clamp(in.Option, 1, 4) - 1)];
    ranges[0] = StoreIf<kChecked>(kLowerFactor * axisFan.ChartMinPower);
    ranges[1] = StoreIf<kChecked>(kUpperFactor * ShaftPower(slot.PinMotor, slot.Efficiency));
    set(Axis::Bottom, 0);
    ranges[2] = StoreIf<kChecked>(kLowerFactor * report.StartRpmFan);
    ranges[3] = StoreIf<kChecked>(kUpperFactor * report.FirstRpmMotor);
    set(Axis::Left, 2);
    ranges[4] = StoreIf<kChecked>(kLowerCurrentFactor * report.FirstCurrent);
    ranges[5] = StoreIf<kChecked>(kUpperFactor * slot.Current);
    set(Axis::Right, 4);
}

std::string LimitMessage() {
    return "The sweep stopped at " + std::to_string(static_cast<long>(MaxSweepPower)) +
           " W input power, the calculator's limit; the results are those up to it";
}

}  // namespace

namespace sweep {

bool Begin(TOptionSlot& slot, const SweepInputs& in, ResultView& view, ChartSink& chart,
           CalculateReport& report) {
    report = CalculateReport{};
    if (slot.MotorName.empty() || slot.BatteryName.empty()) return false;
    // Without a valid fan no evaluation would write RpmFan, and the sweep would run on whatever
    // fan speed an earlier Calculate left behind.
    if (!HasValidFan(slot, in)) {
        throw Error("Option " + std::to_string(in.Option) +
                    " has no valid fan: the fan catalogue \"fan.txt\" did not load");
    }

    slot.PinMotor = StartPower;
    slot.CellsSerie = in.CellsSerie;
    slot.CellsParallel = in.CellsParallel;
    ComputePack(slot, in.WireResistance);
    // A negative pack resistance turns the power limit into a minimum: the sweep would never end.
    if (slot.RTotal < 0) {
        throw Error("The pack's total resistance is negative: check the cell resistance of \"" +
                    slot.BatteryName + "\"");
    }

    if (!EvaluateAtPower(slot, in.Fans)) {
        report.outcome = Outcome::NotPossible;
        report.reason = NotPossibleReason::PackTooWeak;
        view.ShowWarning(kNotPossibleMessage);
        return false;
    }
    Show(view, in, ResultField::Weight, slot.PackWeight);
    Show(view, in, ResultField::UBattery, slot.UBattery);
    Show(view, in, ResultField::RTotal, slot.RTotal);
    report.StartRpmFan = slot.RpmFan;
    chart.ClearSeries(Series::RpmFan);
    chart.ClearSeries(Series::RpmMotor);
    chart.ClearSeries(Series::Current);
    return true;
}

void EndNotPossible(ResultView& view, CalculateReport& report) {
    report.outcome = Outcome::NotPossible;
    report.reason = NotPossibleReason::PackTooWeak;
    report.failedStep = report.steps + 1;
    view.ShowWarning(kNotPossibleMessage);
}

void Finish(const TOptionSlot& slot, const SweepInputs& in, ResultView& view, ChartSink& chart,
            CalculateReport& report, bool atLimit) {
    const ResultPoint& result = report.result;
    // A step that is no operating point is not shown as one: the option ends as a sweep broken
    // off, its points drawn, nothing else changed.
    if (const NotPossibleReason reason = KeptStepReason(result);
        reason != NotPossibleReason::None) {
        report.outcome = Outcome::NotPossible;
        report.reason = reason;
        view.ShowWarning(NotPossibleMessage(reason));
        return;
    }
    Show(view, in, ResultField::Current, result.Current);
    Show(view, in, ResultField::Rpm, result.RpmMotor);
    Show(view, in, ResultField::PinMotor, result.PinMotor);
    Show(view, in, ResultField::PoutMotor, ShaftPower(result.PinMotor, result.Efficiency));
    Show(view, in, ResultField::Efficiency, result.Efficiency);
    Show(view, in, ResultField::UMotor, result.UMotor);

    // Formed unchecked first, with one look at the flags; only after a fault are they formed again
    // axis by axis, so that the fault is reported where it occurs with the ranges before it set.
    ClearFaults();
    std::array<double, 6> ranges;
    AxisRanges<false>(slot, in, report, chart, ranges);
    Materialize(ranges);
    if (FaultRaised()) {
        ClearFaults();
        AxisRanges<true>(slot, in, report, chart, ranges);
    } else {
        chart.SetAxisRange(Axis::Bottom, ranges[0], ranges[1]);
        chart.SetAxisRange(Axis::Left, ranges[2], ranges[3]);
        chart.SetAxisRange(Axis::Right, ranges[4], ranges[5]);
    }

    if (chart.KeepsTitles()) {
        chart.SetTitle(slot.FanName + "  " + slot.MotorName + "  " + slot.BatteryName);
        chart.SetAxisTitle(Axis::Left, "Revolutions per Minute [rpm]");
        chart.SetAxisTitle(Axis::Right, "Current [A]");
        chart.SetAxisTitle(Axis::Bottom, "Power [W]");
    }
    view.EnableChart();

    report.outcome = atLimit ? Outcome::StoppedAtLimit : Outcome::Calculated;
    if (atLimit) view.ShowWarning(LimitMessage());
}

}  // namespace sweep

bool SweepRun::Start() {
    ended_ = !sweep::Begin(slot_, in_, view_, chart_, report_);
    return !ended_;
}

bool SweepRun::Advance(long long maxSteps) {
    if (ended_) return true;
    TOptionSlot& slot = slot_;
    for (long long n = 0; n < maxSteps; ++n) {
        if (sweep::StopReached(slot) || slot.PinMotor >= MaxSweepPower) {
            ended_ = true;
            sweep::Finish(slot, in_, view_, chart_, report_, !sweep::StopReached(slot));
            break;
        }
        // Below MaxSweepPower the sum cannot fault.
        slot.PinMotor = static_cast<double>(slot.PinMotor + PowerStep);
        if (!EvaluateAtPower(slot, in_.Fans)) {
            ended_ = true;
            sweep::EndNotPossible(view_, report_);
            break;
        }
        sweep::Record(slot, report_);

        // A product of two finite doubles faults only by overflowing, which shows as an infinity;
        // testing that is cheaper than reading the flags at every step. The evaluation has already
        // rounded this very product for the fan, so it cannot fault here in fact.
        const auto shaftPower = [&] { return ShaftPower(slot.PinMotor, slot.Efficiency); };
        double x = static_cast<double>(shaftPower());
        if (!std::isfinite(x)) {
            ClearFaults();
            x = Store(shaftPower());
        }
        chart_.AddStep(x, slot.RpmFan, slot.RpmMotor, slot.Current);
    }
    return ended_;
}

void Calculate(TOptionSlot& slot, const SweepInputs& in, ResultView& view, ChartSink& chart,
               CalculateReport& report) {
    SweepRun run(slot, in, view, chart, report);
    if (!run.Start()) return;
    while (!run.Advance(std::numeric_limits<long long>::max())) {
    }
}

void CopyCalculated(const TOptionSlot& from, TOptionSlot& into) {
    into.CellsSerie = from.CellsSerie;
    into.CellsParallel = from.CellsParallel;
    into.PackWeight = from.PackWeight;
    into.UBattery = from.UBattery;
    into.RTotal = from.RTotal;
    into.PinMotor = from.PinMotor;
    SetOutputs(into, OutputsOf(from));
}

}  // namespace mfb
