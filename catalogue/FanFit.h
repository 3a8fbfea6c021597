// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/FanLibrary.h"

namespace mfb {

// One point of a fan's static test or datasheet: the shaft power it absorbs (W) at a speed (rpm),
// and where measured, its static thrust (gram-force).
struct FanPoint {
    double shaftPower = 0;
    double rpm = 0;
    std::optional<double> thrust;
};

// The fewest points a curve is fitted to: four keep a quartic from simply passing through them.
inline constexpr std::size_t kFewestFanPoints = 4;

// A fan's curve, rpm = a0 + a1 L + a2 L^2 + a3 L^3 + a4 L^4 with L = ln P, fitted to its points by
// least squares in the relative speed error, and pulled lightly towards the fan law (power grows
// with the cube of the speed) from far below the lowest point, so that the sweep's first steps,
// which may meet a fraction of a watt, never see the curve climb there. The coefficients are
// rounded to the 12 significant digits the fan file keeps, and everything after the fit is
// measured with the rounded values.
struct FanFit {
    std::array<double, 5> a{};
    std::vector<double> residuals;  // per point, (curve - rpm) / rpm, in the points' order
    double chartMinPower = 0;       // W, a round value at or below the lowest point's power
    // What keeps the curve from serving the sweep; empty when it serves.
    std::string refusal;
};

// Never throws for any points; a refusal names the reason.
FanFit FitFanCurve(const std::vector<FanPoint>& points);

// The fan's rpm at shaft power P (W) by its coefficients.
double FanCurveRpm(const std::array<double, 5>& a, double shaftPower);

// The annulus between a rotor of `diameter` and its hub, both mm, in cm2; nothing unless
// 0 <= hub < diameter.
std::optional<double> SweptArea(double diameter, double hub);

// The static efficiency whose momentum-theory thrust best meets the points that carry a thrust, by
// least squares in the relative thrust error; nothing without such a point or a positive area.
// `sweptArea` in cm2.
std::optional<double> StaticEfficiencyFromThrust(const std::vector<FanPoint>& points,
                                                 double sweptArea);

// A fan for the library from its points: its curve, and where the rotor's and the hub's diameters
// (mm) are given, its swept area and, from the points that carry a thrust, its static efficiency.
struct FittedFan {
    FanFit fit;
    LibraryFan fan;       // fan kFanCount + 1, reserved 0
    std::string refusal;  // the curve's, or a static efficiency above 1; empty when it serves
};
struct FanDimensions {
    double diameter = 0, hub = 0;  // mm
};
FittedFan FitLibraryFan(const std::vector<FanPoint>& points, const std::string& name,
                        std::optional<FanDimensions> dimensions, std::optional<double> maxRpm);

// A number as the fan file keeps it: 12 significant digits, '.' as the separator.
std::string FanFileNumber(double value);

}  // namespace mfb
