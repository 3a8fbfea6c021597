// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/FanFit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "model/Error.h"
#include "model/Extended.h"
#include "model/Flight.h"
#include "model/OptionSlot.h"
#include "model/PowerTrain.h"

namespace mfb {

namespace {

constexpr std::size_t kTerms = 5;

// Below the points the curve must not run away: the sweep clamps a negative shaft power to 1 W but
// passes 0 < P < 1 W on, which a motor whose no-load loss exceeds the sweep's start meets at once.
// A quartic fitted only on the points climbs steeply there, so the fit also pulls, lightly, towards
// the fan law through the points from L = kGuardLow up to the lowest point. Its weight is scaled to
// the number of points, as if they were 600 samples, and kept small: the points are the fan's own
// and the curve should meet them within a few hundredths of a percent where they lie smoothly.
constexpr Extended kGuardLow = -12;
constexpr Extended kGuardWeight = 0.003L;
constexpr std::size_t kGuardSamples = 200;
constexpr Extended kGuardReferenceSamples = 600;
// The curve may come within 0.1 % of its value at the lowest point, anywhere down to this power.
constexpr double kGuardCheckPower = 1e-4;
constexpr std::size_t kGuardCheckSamples = 2000;

using Row = std::array<Extended, kTerms>;

// min |A x - b| by Householder QR on equilibrated columns: the raw power basis 1, L, ..., L^4 is
// badly conditioned, and the normal equations would square its condition number. Nothing when
// the columns are dependent.
std::optional<Row> LeastSquares(std::vector<Row> a, std::vector<Extended> b) {
    const std::size_t m = a.size();
    Row scale{};
    for (std::size_t j = 0; j < kTerms; ++j) {
        for (const Row& r : a) scale[j] += r[j] * r[j];
        scale[j] = std::sqrt(scale[j]);
        if (!(scale[j] > 0)) return std::nullopt;
        for (Row& r : a) r[j] /= scale[j];
    }
    std::vector<Extended> v(m);
    for (std::size_t k = 0; k < kTerms; ++k) {
        Extended norm = 0;
        for (std::size_t i = k; i < m; ++i) norm += a[i][k] * a[i][k];
        norm = std::sqrt(norm);
        // Relative to the unit column: what is left of it after the earlier columns.
        if (!(norm > 1e-12L)) return std::nullopt;
        const Extended alpha = -std::copysign(norm, a[k][k]);
        Extended vv = 0;
        for (std::size_t i = k; i < m; ++i) {
            v[i] = a[i][k] - (i == k ? alpha : 0);
            vv += v[i] * v[i];
        }
        const auto reflect = [&](auto element) {
            Extended d = 0;
            for (std::size_t i = k; i < m; ++i) d += v[i] * element(i);
            d = 2 * d / vv;
            for (std::size_t i = k; i < m; ++i) element(i) -= d * v[i];
        };
        for (std::size_t j = k; j < kTerms; ++j) {
            reflect([&](std::size_t i) -> Extended& { return a[i][j]; });
        }
        reflect([&](std::size_t i) -> Extended& { return b[i]; });
    }
    Row x{};
    for (std::size_t k = kTerms; k-- > 0;) {
        Extended sum = b[k];
        for (std::size_t j = k + 1; j < kTerms; ++j) sum -= a[k][j] * x[j];
        x[k] = sum / a[k][k];
    }
    for (std::size_t j = 0; j < kTerms; ++j) x[j] /= scale[j];
    return x;
}

Row Powers(Extended l) {
    Row row{};
    Extended p = 1;
    for (Extended& term : row) {
        term = p;
        p *= l;
    }
    return row;
}

// The largest of 1, 2 and 5 times a power of ten at or below `power`.
double RoundDown(double power) {
    const double decade = std::pow(10.0, std::floor(std::log10(power)));
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * decade <= power) return step * decade;
    }
    return decade;
}

std::string PointProblem(const std::vector<FanPoint>& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        const FanPoint& p = points[i];
        const std::string which = "point " + std::to_string(i + 1);
        if (!(std::isfinite(p.shaftPower) && p.shaftPower > 0)) {
            return which + " has no shaft power above 0";
        }
        if (!(std::isfinite(p.rpm) && p.rpm > 0)) return which + " has no rpm above 0";
        if (p.thrust && !(std::isfinite(*p.thrust) && *p.thrust > 0)) {
            return which + " has a thrust that is not above 0";
        }
    }
    std::vector<double> powers;
    for (const FanPoint& p : points) powers.push_back(p.shaftPower);
    std::sort(powers.begin(), powers.end());
    const auto distinct =
        static_cast<std::size_t>(std::unique(powers.begin(), powers.end()) - powers.begin());
    if (distinct < kFewestFanPoints) {
        return "a curve needs at least " + std::to_string(kFewestFanPoints) +
               " points of different shaft power; there are " + std::to_string(distinct);
    }
    return {};
}

}  // namespace

double FanCurveRpm(const std::array<double, 5>& a, double shaftPower) {
    FanTable fans{};
    fans[0] = {"", a[0], a[1], a[2], a[3], a[4], 0, 0};
    double rpm = 0;
    Bereken(fans, 1, shaftPower, 1, rpm);
    return rpm;
}

FanFit FitFanCurve(const std::vector<FanPoint>& points) {
    FanFit fit;
    fit.refusal = PointProblem(points);
    if (!fit.refusal.empty()) return fit;

    Extended lowL = std::log(static_cast<Extended>(points.front().shaftPower)), highL = lowL;
    Extended lawLog = 0, meanL = 0;  // ln c of the fan law n = c P^(1/3) through the points
    std::vector<Row> rows;
    std::vector<Extended> rhs;
    for (const FanPoint& p : points) {
        const Extended l = std::log(static_cast<Extended>(p.shaftPower));
        lowL = std::min(lowL, l);
        highL = std::max(highL, l);
        lawLog += std::log(static_cast<Extended>(p.rpm)) - l / 3;
        meanL += l;
        // Weighting a row by 1/rpm minimises the relative error, which is what matters at both
        // ends of the range.
        Row row = Powers(l);
        for (Extended& term : row) term /= p.rpm;
        rows.push_back(row);
        rhs.push_back(1);
    }
    const auto count = static_cast<Extended>(points.size());
    lawLog /= count;
    meanL /= count;
    const auto lawRpm = [&](Extended l) { return std::exp(lawLog + l / 3); };
    const Extended weight =
        kGuardWeight * std::sqrt(count / kGuardReferenceSamples) / lawRpm(meanL);
    for (std::size_t i = 0; i < kGuardSamples; ++i) {
        const Extended l =
            kGuardLow + (lowL - kGuardLow) * static_cast<Extended>(i) / (kGuardSamples - 1);
        Row row = Powers(l);
        for (Extended& term : row) term *= weight;
        rows.push_back(row);
        rhs.push_back(weight * lawRpm(l));
    }
    const auto solved = LeastSquares(std::move(rows), std::move(rhs));
    if (!solved) {
        fit.refusal = "the points do not determine a curve";
        return fit;
    }
    for (std::size_t j = 0; j < kTerms; ++j) {
        const std::string written = FanFileNumber(static_cast<double>((*solved)[j]));
        fit.a[j] = std::strtod(written.c_str(), nullptr);
    }

    const double lowPower = std::exp(static_cast<double>(lowL));
    fit.chartMinPower = RoundDown(lowPower);
    try {
        for (const FanPoint& p : points) {
            fit.residuals.push_back((FanCurveRpm(fit.a, p.shaftPower) - p.rpm) / p.rpm);
        }
        const TFanData curve{"", fit.a[0], fit.a[1], fit.a[2], fit.a[3], fit.a[4], 0, 0};
        if (!CurveRises(curve, lowL, highL)) {
            fit.refusal = "the fitted curve does not rise over the points' range of shaft power";
            return fit;
        }
        const double bottom = FanCurveRpm(fit.a, lowPower);
        const double checkLow = std::log(kGuardCheckPower);
        const double checkHigh = static_cast<double>(lowL);
        for (std::size_t i = 0; i < kGuardCheckSamples; ++i) {
            const double l = checkLow + (checkHigh - checkLow) * static_cast<double>(i) /
                                            (kGuardCheckSamples - 1);
            if (FanCurveRpm(fit.a, std::exp(l)) > bottom * 1.001) {
                fit.refusal =
                    "the fitted curve climbs above its speed at the lowest point below it, where "
                    "the sweep starts";
                return fit;
            }
        }
    } catch (const Error& e) {
        fit.refusal = std::string("the fitted curve cannot be evaluated: ") + e.what();
    }
    return fit;
}

std::optional<double> SweptArea(double diameter, double hub) {
    if (!(std::isfinite(diameter) && std::isfinite(hub) && hub >= 0 && diameter > hub)) {
        return std::nullopt;
    }
    const Extended d = diameter, h = hub;
    return static_cast<double>(std::numbers::pi_v<Extended> / 4 * (d * d - h * h) / 100);
}

std::optional<double> StaticEfficiencyFromThrust(const std::vector<FanPoint>& points,
                                                 double sweptArea) {
    // Thrust grows with the efficiency to the power 2/3, so the thrust at an efficiency of 1 gives
    // every other by the one formula the flight figures use: T = T1 k with k = e^(2/3). The k that
    // meets the measured thrusts best in relative terms is sum(T1/T) / sum((T1/T)^2).
    if (!(sweptArea > 0)) return std::nullopt;
    const TFanJetData whole{sweptArea, 1.0};
    Extended sum = 0, squares = 0;
    for (const FanPoint& p : points) {
        if (!p.thrust) continue;
        const auto jet = StaticJet(p.shaftPower, whole);
        if (!jet) return std::nullopt;
        const Extended ratio = static_cast<Extended>(jet->thrust) / *p.thrust;
        sum += ratio;
        squares += ratio * ratio;
    }
    if (!(squares > 0)) return std::nullopt;
    return static_cast<double>(std::pow(sum / squares, 1.5L));
}

FittedFan FitLibraryFan(const std::vector<FanPoint>& points, const std::string& name,
                        std::optional<FanDimensions> dimensions, std::optional<double> maxRpm) {
    FittedFan fitted{FitFanCurve(points), {}, {}};
    const FanFit& fit = fitted.fit;
    if (!fit.refusal.empty()) {
        fitted.refusal = "no fan curve: " + fit.refusal;
        return fitted;
    }
    LibraryFan& fan = fitted.fan;
    fan.number = kFanCount + 1;
    fan.maxRpm = maxRpm;
    fan.fan = {name, fit.a[0], fit.a[1], fit.a[2], fit.a[3], fit.a[4], fit.chartMinPower, 0};
    if (dimensions) {
        fan.jet.SweptArea = SweptArea(dimensions->diameter, dimensions->hub);
        if (fan.jet.SweptArea) {
            fan.jet.StaticEfficiency = StaticEfficiencyFromThrust(points, *fan.jet.SweptArea);
        }
        if (fan.jet.StaticEfficiency && *fan.jet.StaticEfficiency > 1) {
            fitted.refusal = "no fan: the thrust points give a static efficiency of " +
                             FanFileNumber(*fan.jet.StaticEfficiency) +
                             ", above 1; check the thrusts, powers and diameters";
        }
    }
    return fitted;
}

std::string FanFileNumber(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 12);
    return std::string(text, end.ptr);
}

}  // namespace mfb
