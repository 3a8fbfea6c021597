// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>

#include "model/ChartSink.h"

namespace mfb::cli {

struct AxisRange {
    double min = 0;
    double max = 0;
};

// The option's chart as the command needs it: the axis ranges as a chart holds them and the title.
// A sweep can run to millions of steps, so points are not kept: with a CSV stream each step is
// written as one row the moment its third point arrives.
class CliChart : public ChartSink {
public:
    explicit CliChart(std::ostream* csv = nullptr) : csv_(csv) {}

    void ClearSeries(Series) override {}
    void AddPoint(Series series, double x, double y, std::string_view text, Colour colour) override;
    // Without a CSV stream a step costs the sweep one call that returns at once.
    void AddStep(double x, double rpmFan, double rpmMotor, double current) override {
        if (csv_) WriteStep(x, rpmFan, rpmMotor, current);
    }
    void SetAxisRange(Axis axis, double first, double second) override;
    void SetTitle(const std::string& line) override { title_ = line; }
    void SetAxisTitle(Axis, const std::string&) override {}

    const std::optional<AxisRange>& Range(Axis axis) const;
    const std::optional<std::string>& Title() const { return title_; }

    static void WriteCsvHeader(std::ostream& csv);

private:
    void WriteStep(double x, double rpmFan, double rpmMotor, double current);

    std::ostream* csv_;
    long long step_ = 0;
    double x_ = 0, rpmFan_ = 0, rpmMotor_ = 0;
    std::array<std::optional<AxisRange>, 3> axes_;
    std::optional<std::string> title_;
};

// How a chart axis holds a range given by two bounds: ordered, and no narrower than 1e-10.
AxisRange HeldRange(double first, double second);

}  // namespace mfb::cli
