// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "model/ChartSink.h"
#include "model/ResultView.h"

namespace mfb {

// A column and chart that keep nothing: for a Calculate whose result is all that is wanted.
class DiscardingSinks : public ResultView, public ChartSink {
public:
    void ShowValue(ResultField, const std::string&) override {}
    bool ShowsValues() const override { return false; }
    void EnableChart() override {}
    void ShowWarning(const std::string&) override {}
    void ClearSeries(Series) override {}
    void AddPoint(Series, double, double, std::string_view, Colour) override {}
    void AddStep(double, double, double, double) override {}
    void SetAxisRange(Axis, double, double) override {}
    bool KeepsTitles() const override { return false; }
    void SetTitle(const std::string&) override {}
    void SetAxisTitle(Axis, const std::string&) override {}
};

}  // namespace mfb
