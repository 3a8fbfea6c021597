// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliChart.h"

#include <algorithm>
#include <ostream>

#include "json/JsonWriter.h"

namespace mfb::cli {

AxisRange HeldRange(double first, double second) {
    AxisRange range{std::min(first, second), std::max(first, second)};
    constexpr double kNarrowest = 1e-10;
    if (range.max - range.min < kNarrowest) range.max = range.min + kNarrowest;
    return range;
}

void CliChart::WriteCsvHeader(std::ostream& csv) {
    csv << "step,shaft_power,rpm_fan,rpm_motor,current\n";
}

void CliChart::AddPoint(Series series, double x, double y, std::string_view, Colour) {
    if (!csv_) return;
    // The sweep adds a step's points fan, motor, current, all at the same x.
    switch (series) {
        case Series::RpmFan:
            x_ = x;
            rpmFan_ = y;
            break;
        case Series::RpmMotor:
            rpmMotor_ = y;
            break;
        case Series::Current:
            WriteStep(x_, rpmFan_, rpmMotor_, y);
            break;
    }
}

void CliChart::WriteStep(double x, double rpmFan, double rpmMotor, double current) {
    *csv_ << ++step_ << ',' << JsonNumber(x) << ',' << JsonNumber(rpmFan) << ','
          << JsonNumber(rpmMotor) << ',' << JsonNumber(current) << '\n';
}

void CliChart::SetAxisRange(Axis axis, double first, double second) {
    axes_[static_cast<std::size_t>(axis)] = HeldRange(first, second);
}

const std::optional<AxisRange>& CliChart::Range(Axis axis) const {
    return axes_[static_cast<std::size_t>(axis)];
}

}  // namespace mfb::cli
