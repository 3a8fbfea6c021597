// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "model/ColumnRows.h"
#include "model/Error.h"
#include "explore/FastSweep.h"

namespace mfb::test {

inline std::string Exact(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

// Everything a Calculate does to its column and chart, as text with exact numbers; points are
// only counted.
class EffectLog : public ResultView, public ChartSink {
public:
    void ShowValue(ResultField field, const std::string& text) override {
        events.push_back(std::string(Caption(field)) + "=" + text);
    }
    void EnableChart() override { events.push_back("chart enabled"); }
    void ShowWarning(const std::string& message) override { events.push_back("warn " + message); }
    void ClearSeries(Series s) override {
        events.push_back("clear " + std::to_string(static_cast<int>(s)));
    }
    void AddPoint(Series, double, double, std::string_view, Colour) override { ++points; }
    void SetAxisRange(Axis axis, double first, double second) override {
        events.push_back("range " + std::to_string(static_cast<int>(axis)) + " " + Exact(first) +
                         " " + Exact(second));
    }
    void SetTitle(const std::string& line) override { events.push_back("title " + line); }
    void SetAxisTitle(Axis axis, const std::string& title) override {
        events.push_back("axis " + std::to_string(static_cast<int>(axis)) + " " + title);
    }

    std::vector<std::string> events;
    long long points = 0;
};

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
    EffectLog log;
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
