// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/FanFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/Flight.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

using Curve = std::function<double(double power)>;

FanPoint At(double power, double rpm, std::optional<double> thrust = std::nullopt) {
    return {power, rpm, thrust};
}

// `count` points of `curve`, evenly spaced in ln P from `low` to `high` W.
std::vector<FanPoint> PointsOf(const Curve& curve, double low, double high, int count) {
    std::vector<FanPoint> points;
    for (int i = 0; i < count; ++i) {
        const double power = low * std::pow(high / low, i / (count - 1.0));
        points.push_back(At(power, curve(power)));
    }
    return points;
}

std::array<double, 5> SampleFan(int number) {
    const TFanData fan = test::SampleCatalogue().Fans[number - 1];
    return {fan.a0, fan.a1, fan.a2, fan.a3, fan.a4};
}

TEST(FanFitTest, FitsOrRefuses) {
    const auto fan70 = SampleFan(3);
    const Curve sample70 = [&](double p) { return FanCurveRpm(fan70, p); };
    const Curve law90 = [](double p) { return 29000 * std::cbrt(p / 2200); };
    const Curve falling = [](double p) { return 60000 - 8 * p; };
    struct Row {
        const char* what;
        Curve original;
        std::vector<FanPoint> points;
        double low, high;  // W, where the fit must meet the original
        double within;     // relative
        std::string refusal;
    };
    const Row rows[] = {
        {"the sample 70 mm fan's own curve", sample70, PointsOf(sample70, 40, 3000, 8), 40, 3000,
         0.001, ""},
        {"the fan law from a few points", law90, PointsOf(law90, 40, 6500, 6), 40, 6500, 0.01, ""},
        {"a curve that falls", falling, PointsOf(falling, 100, 3000, 5), 0, 0, 0,
         "the fitted curve does not rise over the points' range of shaft power"},
        {"too few points", law90, PointsOf(law90, 40, 6500, 3), 0, 0, 0,
         "a curve needs at least 4 points of different shaft power; there are 3"},
        {"a power repeated",
         law90,
         {At(100, 10000), At(100, 10100), At(200, 12000), At(400, 15000), At(400, 15100)},
         0,
         0,
         0,
         "a curve needs at least 4 points of different shaft power; there are 3"},
        {"no power",
         law90,
         {At(100, 10000), At(0, 5000), At(200, 12000), At(400, 15000)},
         0,
         0,
         0,
         "point 2 has no shaft power above 0"},
        {"a thrust of nothing",
         law90,
         {At(100, 10000), At(150, 11000), At(200, 12000, 0.0), At(400, 15000)},
         0,
         0,
         0,
         "point 3 has a thrust that is not above 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const FanFit fit = FitFanCurve(row.points);
        EXPECT_EQ(fit.refusal, row.refusal);
        if (!row.refusal.empty()) continue;
        ASSERT_EQ(fit.residuals.size(), row.points.size());
        double worst = 0;
        for (int i = 0; i <= 500; ++i) {
            const double power = row.low * std::pow(row.high / row.low, i / 500.0);
            const double want = row.original(power);
            worst = std::max(worst, std::abs(FanCurveRpm(fit.a, power) - want) / want);
        }
        EXPECT_LT(worst, row.within);
        for (std::size_t i = 0; i < row.points.size(); ++i) {
            EXPECT_LT(std::abs(fit.residuals[i]), row.within) << "point " << i + 1;
        }
        EXPECT_GT(fit.chartMinPower, 0);
        EXPECT_LE(fit.chartMinPower, row.low);
    }
}

TEST(FanFitTest, JetDataFromTheFansMeasures) {
    // A 69 mm rotor on a 30 mm hub: the sample 70 mm fan's 30.3 cm2.
    const auto area = SweptArea(69, 30);
    ASSERT_TRUE(area);
    EXPECT_NEAR(*area, 30.3, 0.05);
    EXPECT_FALSE(SweptArea(30, 30));
    EXPECT_FALSE(SweptArea(69, -1));

    // Thrusts the flight figures give a known efficiency come back as that efficiency.
    std::vector<FanPoint> points;
    for (const double power : {300.0, 800.0, 1500.0}) {
        const auto jet = StaticJet(power, TFanJetData{*area, 0.68});
        points.push_back(At(power, 30000, jet->thrust));
    }
    points.push_back(At(2000, 40000));
    const auto efficiency = StaticEfficiencyFromThrust(points, *area);
    ASSERT_TRUE(efficiency);
    EXPECT_NEAR(*efficiency, 0.68, 1e-12);
    EXPECT_FALSE(StaticEfficiencyFromThrust({At(300, 30000)}, *area));

    // A library fan fitted with its rotor's measures carries them; thrusts that would make the
    // jet hold more power than the shaft gives are refused.
    const auto fan70 = SampleFan(3);
    for (const double scale : {1.0, 3.0}) {
        std::vector<FanPoint> measured =
            PointsOf([&](double p) { return FanCurveRpm(fan70, p); }, 100, 2000, 6);
        for (FanPoint& point : measured) {
            point.thrust = scale * StaticJet(point.shaftPower, TFanJetData{*area, 0.68})->thrust;
        }
        const FittedFan fitted =
            FitLibraryFan(measured, "Fan 70 b", FanDimensions{69, 30}, 46000.0);
        EXPECT_EQ(fitted.fan.jet.SweptArea, area);
        EXPECT_EQ(fitted.fan.maxRpm, 46000.0);
        EXPECT_NEAR(*fitted.fan.jet.StaticEfficiency, 0.68 * std::pow(scale, 1.5), 1e-9);
        EXPECT_EQ(fitted.refusal.find("above 1") != std::string::npos, scale > 1) << fitted.refusal;
    }
}

}  // namespace
}  // namespace mfb
