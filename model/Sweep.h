// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "model/ChartSink.h"
#include "model/Extended.h"
#include "model/NotPossible.h"
#include "model/OptionSlot.h"
#include "model/ResultView.h"

namespace mfb {

inline constexpr double StartPower = 75.0;       // W, PinMotor of the start evaluation
inline constexpr Extended PowerStep = 0.1L;      // W, added to the stored PinMotor at each step
inline constexpr double StopRpmMargin = 2500.0;  // the sweep stops once RpmFan - 2500 >= RpmMotor

// A sweep with a positive pack resistance always ends at the pack's power limit U^2 / 4R, but a
// pack of nearly zero resistance puts that limit out of reach. No model aircraft draws a megawatt,
// so the sweep stops there: ten million steps, thirty million chart points, well inside a desktop's
// memory even with four charts full.
inline constexpr double MaxSweepPower = 1.0e6;  // W

// The kept step: the last one at which the motor turned faster than the fan.
struct ResultPoint {
    double Current = 0;
    double RpmMotor = 0;
    double PinMotor = 0;
    double Efficiency = 0;
    double UMotor = 0;
};

enum class Outcome {
    NotRun,          // motor or battery not chosen: nothing happened
    Calculated,      // the stop test ended the sweep and everything was shown
    NotPossible,     // no operating point: the sweep broke off, or its kept step is none
    StoppedAtLimit,  // MaxSweepPower reached; shown like Calculated, with a warning
};

// What the windows see is reported through the sinks; this is the same story as data, for the
// command-line front end and the tests. It is updated as the sweep goes, so it also tells how far a
// sweep got when a floating-point fault ends it with an exception.
struct CalculateReport {
    Outcome outcome = Outcome::NotRun;
    long long steps = 0;  // sweep steps made: the points each series received
    NotPossibleReason reason = NotPossibleReason::None;  // NotPossible: why
    // NotPossible for the pack: 0 at the start evaluation, else the 1-based step
    long long failedStep = 0;
    ResultPoint result;
    double StartRpmFan = 0;
    double FirstCurrent = 0;
    double FirstRpmMotor = 0;
};

// Everything a Calculate reads besides the slot.
struct SweepInputs {
    const FanTable& Fans;
    double WireResistance;
    WholeFans CompleteFans;  // fans 1..CompleteFans were read whole; a later one may be cut short
    int Option;              // 1..4; fan k's ChartMinPower bounds option k's power axis
    int CellsSerie;
    int CellsParallel;
    char DecimalSeparator;
};

// Calculate of one option: the sweep from StartPower in PowerStep steps to the operating point.
// Throws Error when the option's fan has no complete record (no fan of that name, or one that a
// failure in fan.txt cut short) or its pack resistance is negative (nothing is
// changed then), and FloatingPointError where a formula faults (what was shown stays).
void Calculate(TOptionSlot& slot, const SweepInputs& inputs, ResultView& view, ChartSink& chart,
               CalculateReport& report);

// A Calculate made a slice at a time, for a window that has to go on answering during a sweep of
// millions of steps. Start() and then Advance() until it returns true is Calculate, effect for
// effect and bit for bit; each throws what Calculate throws at the same point.
//
// A run that is abandoned before its end (by no longer advancing it) leaves the option as a sweep
// broken off by "Combination not possible" leaves it, without the warning: the pack's three labels
// and the points of the steps made are new; the kept step's labels, the axis ranges, the titles and
// the Chart button are as the previous Calculate left them; the slot holds the last evaluation.
class SweepRun {
public:
    // The slot, the sinks, the report and the fan table are used by reference and must outlive
    // the run.
    SweepRun(TOptionSlot& slot, const SweepInputs& inputs, ResultView& view, ChartSink& chart,
             CalculateReport& report)
        : slot_(slot), in_(inputs), view_(view), chart_(chart), report_(report) {}

    // The checks, the pack and the start evaluation. False when Calculate ends there.
    bool Start();
    // Makes up to `maxSteps` sweep steps. True once the sweep has ended, at its stop, at the limit
    // or broken off; later calls do nothing.
    bool Advance(long long maxSteps);
    bool Ended() const { return ended_; }

private:
    TOptionSlot& slot_;
    SweepInputs in_;
    ResultView& view_;
    ChartSink& chart_;
    CalculateReport& report_;
    bool ended_ = false;
};

// What a Calculate writes into a slot, from the slot it ran on into another: the cell counts, the
// pack and the last evaluation, and nothing chosen from a catalogue.
void CopyCalculated(const TOptionSlot& from, TOptionSlot& into);

}  // namespace mfb
