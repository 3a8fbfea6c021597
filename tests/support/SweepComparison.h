// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "explore/FastSweep.h"
#include "model/ColumnRows.h"
#include "model/Error.h"
#include "tests/support/RecordingSinks.h"

namespace mfb::test {

// The story of one Calculate as comparable text: equal stories are the same Calculate.
struct Effects {
    std::vector<std::string> events;
    std::string report;
    std::string slot;
    std::string error;
    long long steps = 0;
    long long points = 0;
    Outcome outcome = Outcome::NotRun;
    SweepEffort effort;
};

inline std::string Describe(const CalculateReport& r) {
    return "outcome " + std::to_string(static_cast<int>(r.outcome)) + " steps " +
           std::to_string(r.steps) + " failed " + std::to_string(r.failedStep) + " kept " +
           Exact(r.result.Current) + " " + Exact(r.result.RpmMotor) + " " +
           Exact(r.result.PinMotor) + " " + Exact(r.result.Efficiency) + " " +
           Exact(r.result.UMotor) + " start " + Exact(r.StartRpmFan) + " first " +
           Exact(r.FirstCurrent) + " " + Exact(r.FirstRpmMotor);
}

inline std::string Describe(const TOptionSlot& s) {
    return Exact(s.PinMotor) + " " + Exact(s.Current) + " " + Exact(s.UMotor) + " " +
           Exact(s.RpmMotor) + " " + Exact(s.Efficiency) + " " + Exact(s.RpmFan) + " " +
           Exact(s.PackWeight) + " " + Exact(s.UBattery) + " " + Exact(s.RTotal);
}

inline Effects Sweep(bool fast, TOptionSlot slot, const SweepInputs& in) {
    RecordingSinks log(false);
    CalculateReport report;
    Effects effects;
    try {
        if (fast) {
            FindOperatingPoint(slot, in, log, log, report, &effects.effort);
        } else {
            Calculate(slot, in, log, log, report);
        }
    } catch (const Error& e) {
        effects.error = e.what();
    }
    effects.events = log.events;
    effects.points = log.points;
    effects.report = Describe(report);
    effects.slot = Describe(slot);
    effects.steps = report.steps;
    effects.outcome = report.outcome;
    return effects;
}

}  // namespace mfb::test
