// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Extended.h"
#include "model/Sweep.h"

// The pieces of a Calculate that every way of sweeping shares, so that they cannot drift apart.
namespace mfb::sweep {

// Everything up to the sweep loop: the checks, the pack, the start evaluation, the pack's labels
// and the cleared series. False when Calculate ends there.
bool Begin(TOptionSlot& slot, const SweepInputs& in, ResultView& view, ChartSink& chart,
           CalculateReport& report);

// The stop test on the latest evaluation. In extended precision, like every formula: the
// difference of two doubles of this size is exact there, so the test is decided by the values,
// not by a rounding.
inline bool StopReached(const TOptionSlot& slot) {
    return static_cast<Extended>(slot.RpmFan) - StopRpmMargin >= slot.RpmMotor;
}

// Takes the step just evaluated into the report: the first values and the kept step.
inline void Record(const TOptionSlot& slot, CalculateReport& report) {
    ++report.steps;
    if (report.FirstCurrent == 0) report.FirstCurrent = slot.Current;
    if (report.FirstRpmMotor == 0) report.FirstRpmMotor = slot.RpmMotor;
    if (slot.RpmMotor > slot.RpmFan) {
        report.result = {slot.Current, slot.RpmMotor, slot.PinMotor, slot.Efficiency, slot.UMotor};
    }
}

// The pack could not deliver the power of the step after the last one made.
void EndNotPossible(ResultView& view, CalculateReport& report);

// After the loop: the kept step's labels, the chart's ranges and titles, the Chart button; or, when
// the kept step is no operating point, "Combination not possible" with its reason and nothing else.
void Finish(const TOptionSlot& slot, const SweepInputs& in, ResultView& view, ChartSink& chart,
            CalculateReport& report, bool atLimit);

}  // namespace mfb::sweep
