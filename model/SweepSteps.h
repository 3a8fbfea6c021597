// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Extended.h"
#include "model/Sweep.h"

// The pieces of a Calculate that every way of sweeping shares, so that they cannot drift apart.
namespace mfb::sweep {

// The sweep's local state, zero at the start of every Calculate.
struct State {
    ResultPoint result;
    double firstCurrent = 0;
    double firstRpmMotor = 0;
    double startRpmFan = 0;
};

// Everything up to the sweep loop: the checks, the pack, the start evaluation, the pack's labels
// and the cleared series. False when Calculate ends there.
bool Begin(TOptionSlot& slot, const SweepInputs& in, ResultView& view, ChartSink& chart,
           CalculateReport& report, State& state);

// The stop test on the latest evaluation. In extended precision, like every formula: the
// difference of two doubles of this size is exact there, so the test is decided by the values,
// not by a rounding.
inline bool StopReached(const TOptionSlot& slot) {
    return static_cast<Extended>(slot.RpmFan) - StopRpmMargin >= slot.RpmMotor;
}

// Takes the step just evaluated into the state: the first values and the kept step.
inline void Record(const TOptionSlot& slot, CalculateReport& report, State& state) {
    ++report.steps;
    if (state.firstCurrent == 0) report.FirstCurrent = state.firstCurrent = slot.Current;
    if (state.firstRpmMotor == 0) report.FirstRpmMotor = state.firstRpmMotor = slot.RpmMotor;
    if (slot.RpmMotor > slot.RpmFan) {
        state.result = {slot.Current, slot.RpmMotor, slot.PinMotor, slot.Efficiency, slot.UMotor};
        report.result = state.result;
    }
}

// The pack could not deliver the power of the step after the last one made.
void EndNotPossible(ResultView& view, CalculateReport& report);

// After the loop: the kept step's labels, the chart's ranges and titles, the Chart button.
void Finish(const TOptionSlot& slot, const SweepInputs& in, ResultView& view, ChartSink& chart,
            CalculateReport& report, const State& state, bool atLimit);

}  // namespace mfb::sweep
