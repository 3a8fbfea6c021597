// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

#include "model/Sweep.h"

namespace mfb {

// How much work FindOperatingPoint did, for benchmarks and the exploration's summary.
struct SweepEffort {
    long long evaluations = 0;  // model evaluations at single sweep steps
    long long runsTried = 0;    // steps evaluated ahead of the sweep, to settle the run up to them
    long long blocks = 0;       // runs of steps settled by bounds instead of evaluations
    bool shortened = false;     // false: every step was evaluated, as Calculate does
};

// Thrown by FindOperatingPoint when its stop flag was set: the sweep was given up part way, and
// the slot and report hold nothing to use.
struct SweepStopped {};

// Calculate without the chart's points. Every other effect is Calculate's, bit for bit: the same
// report, labels, warning, exception, axis ranges, titles, and slot fields of the last evaluation.
//
// Calculate evaluates the model at every 0.1 W step; here runs of steps are settled without
// evaluating them wherever bounds prove what every step of the run would give. Motor current,
// terminal voltage and motor rpm are monotone along the sweep in exact rounded arithmetic (each
// formula is a composition of monotone, correctly rounded operations), so their values at a run's
// two ends bound every step between. Efficiency, shaft power and fan rpm are bounded from those by
// evaluating the same formulas at the corners of the bounds, which encloses the rounded values
// because rounding to nearest is monotone; the one library function, the logarithm, is widened by
// far more than its error. Along a run, the shaft power, the fan curve and the difference of fan
// and motor rpm are bounded more tightly by following them as functions of the current
// (explore/FastSweepBounds.cpp). A run is skipped only when its bounds show that no step of it
// stops the sweep or faults, and that its last step is kept or no step of it is. Everything else
// is evaluated step by step, the stop, the crossing and any fault included.
//
// Which runs are tried decides only how many evaluations it takes, never the result: the search
// aims at the steps where the stop test, the kept test or the shaft
// power's sign changes, as interpolated from the steps evaluated so far.
//
// A sweep can run to hundreds of millions of steps; `stop`, when given, is polled every few
// thousand, so that a run with a time budget or a signal ends within a combination.
void FindOperatingPoint(TOptionSlot& slot, const SweepInputs& inputs, ResultView& view,
                        ChartSink& chart, CalculateReport& report, SweepEffort* effort = nullptr,
                        const std::atomic<bool>* stop = nullptr);

}  // namespace mfb
