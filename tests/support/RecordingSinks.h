// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "chart/CurveTable.h"
#include "model/ChartSink.h"
#include "model/ColumnRows.h"
#include "model/ResultView.h"

namespace mfb::test {

// A double as hexadecimal floating point: equal texts are equal bits.
inline std::string Exact(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

// The one stand-in for an option's column and chart: records everything a Calculate does to them,
// in order, numbers exact, so that two Calculates that did the same have equal `events`. Points
// are counted, and stored only when asked: a sweep to the power limit makes thirty million.
class RecordingSinks : public ResultView, public ChartSink {
public:
    struct Range {
        double first, second;
    };
    // Thrown by AddPoint once more points than `pointLimit` arrive, to cut a sweep short.
    struct PointLimitReached {};

    explicit RecordingSinks(bool keepPoints = true, long long pointLimit = -1)
        : keepPoints_(keepPoints), pointLimit_(pointLimit) {}

    void ShowValue(ResultField field, const std::string& text) override {
        events.push_back("value " + std::string(Caption(field)) + "=" + text);
        values[field] = text;
    }
    void EnableChart() override {
        events.push_back("enable chart");
        chartEnabled = true;
    }
    void ShowWarning(const std::string& message) override {
        events.push_back("warning " + message);
        warnings.push_back(message);
    }
    void ClearSeries(Series s) override {
        events.push_back("clear " + std::to_string(static_cast<int>(s)));
        chart.Clear(static_cast<std::size_t>(s));
        arrival[static_cast<int>(s)].clear();
    }
    void AddPoint(Series s, double x, double y, std::string_view text, Colour colour) override {
        if (!text.empty()) ++nonEmptyTexts;
        if (!std::isfinite(x) || !std::isfinite(y)) ++nonFinite;
        colours[static_cast<int>(s)] = colour;
        if (keepPoints_) {
            chart.Add(static_cast<std::size_t>(s), x, y, colour);
            arrival[static_cast<int>(s)].push_back({x, y});
        }
        if (++points > pointLimit_ && pointLimit_ >= 0) throw PointLimitReached{};
    }
    void SetAxisRange(Axis axis, double first, double second) override {
        events.push_back("range " + std::to_string(static_cast<int>(axis)) + " " + Exact(first) +
                         " " + Exact(second));
        if (!std::isfinite(first) || !std::isfinite(second)) ++nonFinite;
        ranges[axis] = {first, second};
    }
    void SetTitle(const std::string& line) override {
        events.push_back("title " + line);
        title = line;
    }
    void SetAxisTitle(Axis axis, const std::string& text) override {
        events.push_back("axis title " + std::to_string(static_cast<int>(axis)) + " " + text);
        axisTitles[axis] = text;
    }

    // Nothing reached the column or the chart.
    bool Untouched() const { return events.empty() && points == 0; }

    std::vector<std::string> events;  // everything but the points
    std::map<ResultField, std::string> values;
    std::vector<std::string> warnings;
    bool chartEnabled = false;
    long long points = 0;  // over all three series
    int nonEmptyTexts = 0;
    int nonFinite = 0;  // points and axis bounds that were not finite
    std::array<Colour, kSeriesCount> colours{};
    CurveTable chart{{kRed, kGreen, kYellow}};                  // when keeping points
    std::array<std::vector<ChartPoint>, kSeriesCount> arrival;  // likewise, in sweep order
    std::map<Axis, Range> ranges;
    std::string title;
    std::map<Axis, std::string> axisTitles;

private:
    bool keepPoints_;
    long long pointLimit_;
};

}  // namespace mfb::test
