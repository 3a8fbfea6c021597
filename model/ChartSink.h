// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mfb {

// Colours as the sweep hands them over: 0x00BBGGRR.
using Colour = std::uint32_t;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kGreen = 0x008000;
inline constexpr Colour kYellow = 0x00FFFF;

// The three curves of an option's chart.
enum class Series { RpmFan, RpmMotor, Current };
inline constexpr int kSeriesCount = 3;

enum class Axis { Bottom, Left, Right };

// What a Calculate does to its option's chart, in the order it does it. A chart window implements
// it; so do the tests and the command-line front end.
class ChartSink {
public:
    virtual ~ChartSink() = default;
    virtual void ClearSeries(Series series) = 0;
    // Points arrive in sweep order; the series keeps them ordered by ascending x, a smaller x being
    // inserted at its place and equal x values staying in arrival order. The sweep always passes an
    // empty text.
    virtual void AddPoint(Series series, double x, double y, std::string_view text,
                          Colour colour) = 0;
    // One sweep step: its three points at shaft power x, in the order and colours the sweep adds
    // them. A sweep makes millions of steps, so a sink that stores points takes them in one call.
    virtual void AddStep(double x, double rpmFan, double rpmMotor, double current) {
        AddPoint(Series::RpmFan, x, rpmFan, {}, kRed);
        AddPoint(Series::RpmMotor, x, rpmMotor, {}, kGreen);
        AddPoint(Series::Current, x, current, {}, kYellow);
    }
    // Bounds in either order; the axis sorts them and widens a range narrower than 1e-10.
    virtual void SetAxisRange(Axis axis, double first, double second) = 0;
    // A sink that throws the titles away spares the sweep their composing.
    virtual bool KeepsTitles() const { return true; }
    virtual void SetTitle(const std::string& line) = 0;  // replaces all title lines by one
    virtual void SetAxisTitle(Axis axis, const std::string& title) = 0;
};

}  // namespace mfb
