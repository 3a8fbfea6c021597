// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
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
    // Bounds in either order; the axis sorts them and widens a range narrower than 1e-10.
    virtual void SetAxisRange(Axis axis, double first, double second) = 0;
    virtual void SetTitle(const std::string& line) = 0;  // replaces all title lines by one
    virtual void SetAxisTitle(Axis axis, const std::string& title) = 0;
};

// The nine value labels of an option column, in the order a Calculate fills them.
enum class ResultField {
    Weight,
    UBattery,
    RTotal,
    Current,
    Rpm,
    PinMotor,
    PoutMotor,
    Efficiency,
    UMotor,
};
inline constexpr int kResultFieldCount = 9;

// The captions the column shows beside each value, without their colon.
std::string_view Caption(ResultField field);

// The value rows of an option column, top to bottom, with the unit shown beside each (none for
// the efficiency, a fraction).
struct ColumnRow {
    ResultField field;
    std::string_view unit;
};
inline constexpr std::array<ColumnRow, kResultFieldCount> kColumnRows{{
    {ResultField::Weight, "g"},
    {ResultField::UBattery, "V"},
    {ResultField::UMotor, "V"},
    {ResultField::RTotal, "Ohm"},
    {ResultField::Current, "A"},
    {ResultField::Rpm, "n/min"},
    {ResultField::PinMotor, "W"},
    {ResultField::PoutMotor, "W"},
    {ResultField::Efficiency, ""},
}};

// What a Calculate does to its option's column of the main window.
class ResultView {
public:
    virtual ~ResultView() = default;
    virtual void ShowValue(ResultField field, const std::string& text) = 0;
    // A view that throws the texts away spares the sweep their formatting.
    virtual bool ShowsValues() const { return true; }
    virtual void EnableChart() = 0;
    // A warning box ("Combination not possible"); the sweep goes on after it returns only to end.
    virtual void ShowWarning(const std::string& message) = 0;
};

// A column and chart that keep nothing: for a Calculate whose result is all that is wanted.
class DiscardingSinks : public ResultView, public ChartSink {
public:
    void ShowValue(ResultField, const std::string&) override {}
    bool ShowsValues() const override { return false; }
    void EnableChart() override {}
    void ShowWarning(const std::string&) override {}
    void ClearSeries(Series) override {}
    void AddPoint(Series, double, double, std::string_view, Colour) override {}
    void SetAxisRange(Axis, double, double) override {}
    void SetTitle(const std::string&) override {}
    void SetAxisTitle(Axis, const std::string&) override {}
};

}  // namespace mfb
