// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "chart/PointSeries.h"
#include "model/ChartSink.h"
#include "model/ColumnRows.h"
#include "model/ResultView.h"

namespace mfb::test {

// Records everything a Calculate does to its column and chart, in order.
class RecordingSinks : public ResultView, public ChartSink {
public:
    struct Range {
        double first, second;
    };

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
        series[static_cast<int>(s)].Clear();
    }
    void AddPoint(Series s, double x, double y, std::string_view text, Colour colour) override {
        if (!text.empty()) nonEmptyTexts++;
        series[static_cast<int>(s)].Add(x, y, colour);
        arrival[static_cast<int>(s)].push_back({x, y});
        colours[static_cast<int>(s)] = colour;
    }
    void SetAxisRange(Axis axis, double first, double second) override {
        events.push_back("range " + std::to_string(static_cast<int>(axis)));
        ranges[axis] = {first, second};
    }
    void SetTitle(const std::string& line) override {
        events.push_back("title");
        title = line;
    }
    void SetAxisTitle(Axis axis, const std::string& text) override {
        events.push_back("axis title " + std::to_string(static_cast<int>(axis)));
        axisTitles[axis] = text;
    }

    std::vector<std::string> events;
    std::map<ResultField, std::string> values;
    std::vector<std::string> warnings;
    bool chartEnabled = false;
    std::array<PointSeries, kSeriesCount> series;
    std::array<std::vector<ChartPoint>, kSeriesCount> arrival;
    std::array<Colour, kSeriesCount> colours{};
    int nonEmptyTexts = 0;
    std::map<Axis, Range> ranges;
    std::string title;
    std::map<Axis, std::string> axisTitles;
};

}  // namespace mfb::test
