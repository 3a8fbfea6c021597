// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Flight.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mfb {
namespace {

// A 6S pack of 3300 mAh and 480 g on a 2000 kv motor, at 1200 W input and 85 % efficiency: 1020 W
// of shaft power. The fan curves are lines in ln P, so that the part-throttle shaft power has a
// closed form and the expected values below are worked out by hand from the formulas.
TOptionSlot Slot() {
    TOptionSlot slot;
    slot.Motor = {2000, 0.02, 2.0};
    slot.Battery.Capacity = 3300;
    slot.CellsParallel = 1;
    slot.PackWeight = 480;
    slot.UBattery = 22.2;
    slot.RTotal = 0.06;
    slot.FanName = "Fan";
    return slot;
}
constexpr ResultPoint kPoint{60, 40000, 1200, 0.85, 20};

struct Curve {
    double a0, a1, a2;
};
constexpr Curve kRising{-60000, 15000, 0};
constexpr Curve kSlow{20000, 3000, 0};  // already fast at the sweep's start
constexpr TFanJetData kJet{30.3, 0.68};

void ExpectRelative(const std::optional<double>& actual, double expected, const char* what) {
    ASSERT_TRUE(actual.has_value()) << what;
    EXPECT_NEAR(*actual, expected, std::abs(expected) * 1e-9) << what;
}

TEST(FlightTest, FiguresOfTheFormulas) {
    struct Row {
        const char* what;
        Curve curve;
        TFanJetData jet;
        FlightSettings settings;
        PartRefusal refusal;
        // Expected; NAN where the figure is absent.
        double thrust, efflux, partShaft, motorCurrent, motorPower, packCurrent, partThrust,
            flightTime, thrustToWeight;
    };
    const double none = NAN;
    // clang-format off
    const Row rows[] = {
        {"the defaults, with a model weight", kRising, kJet, {0.65, 0.25, 0.8, 900.0},
         PartRefusal::None, 1963.804647921065, 259.3120041601725, 366.10224015617507,
         27.72978032570561, 411.13393529365464, 19.552824910469518, 991.8205291619844,
         5.339694458690762, 1.4230468463196124},
        {"half throttle, 40 % at full, 70 % drawn", kRising, kJet, {0.5, 0.4, 0.7, {}},
         PartRefusal::None, 1963.804647921065, 259.3120041601725, 235.98752728440357,
         23.581655069715765, 270.00936690082057, 12.591056250012578, 740.1007918352401,
         4.392381832033365, none},
        {"full throttle all the way is the operating point", kRising, kJet, {1.0, 0.25, 0.8, {}},
         PartRefusal::None, 1963.804647921065, 259.3120041601725, 1020,
         48.54353670347678, 1112.9846091759493, 59.799135331523466, 1963.804647921065,
         2.646645218930945, none},
        {"a fan without jet data: no thrust, but a flight time", kRising, {},
         {0.65, 0.25, 0.8, 900.0}, PartRefusal::None, none, none, 366.10224015617507,
         27.72978032570561, 411.13393529365464, 19.552824910469518, none,
         5.339694458690762, none},
        {"a curve that falls before the operating point", {-60000, 15000, -1200}, kJet, {},
         PartRefusal::CurveDoesNotRise, 1963.804647921065, 259.3120041601725,
         none, none, none, none, none, none, none},
        // A start rpm of 30280.27 at 30.78 W of shaft power: above it the curve, below it the fan
        // law, shaft = 30.78 W (rpm / 30280.27)^3.
        {"just above the fan's rpm at the start: the curve", kSlow, kJet, {0.75, 0.25, 0.8, {}},
         PartRefusal::None, 1963.804647921065, 259.3120041601725, 34.0899208053491,
         4.240136026562298, 65.20610660601284, 2.9609065157528924, 203.75838854391577,
         9.198243103124046, none},
        {"just below it: the fan law", kSlow, kJet, {0.74, 0.25, 0.8, {}},
         PartRefusal::None, 1963.804647921065, 259.3120041601725, 30.469429426160218,
         4.029917818085661, 61.13460944323199, 2.7746180066761403, 189.06351019469744,
         9.273481554689038, none},
        {"far below it: the fan law", kSlow, kJet, {0.3, 0.25, 0.8, {}},
         PartRefusal::None, 1963.804647921065, 259.3120041601725, 2.030172434274194,
         2.3472162548096347, 14.469051683053914, 0.6529112282600558, 31.07325770183121,
         10.226161225687548, none},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FanTable fans;
        fans[1] = {"Fan", row.curve.a0, row.curve.a1, row.curve.a2, 0, 0, 30, 0};
        FanJetTable jets;
        jets[1] = row.jet;
        const FlightFigures f = Fly(Slot(), fans, jets, row.settings, kPoint);
        EXPECT_EQ(f.refusal.reason, row.refusal);
        const std::pair<const char*, double> expected[] = {
            {"thrust", row.thrust},
            {"efflux", row.efflux},
            {"part_current", row.packCurrent},
            {"part_thrust", row.partThrust},
            {"flight_time", row.flightTime},
            {"thrust_to_weight", row.thrustToWeight}};
        for (const FlightRow& flightRow : kFlightRows) {
            for (const auto& [key, value] : expected) {
                if (flightRow.key != key) continue;
                if (std::isnan(value)) {
                    EXPECT_FALSE(flightRow.value(f).has_value()) << key;
                } else {
                    ExpectRelative(flightRow.value(f), value, key);
                }
            }
        }
        if (!std::isnan(row.partShaft)) {
            ASSERT_TRUE(f.part.has_value());
            ExpectRelative(f.part->shaftPower, row.partShaft, "part shaft power");
            ExpectRelative(f.part->motorCurrent, row.motorCurrent, "motor current");
            ExpectRelative(f.part->motorPower, row.motorPower, "motor power");
            EXPECT_EQ(f.part->fanLaw, f.part->fanRpm < f.part->fanLawFrom);
        }
        EXPECT_FALSE(FaultRaised());
    }
}

// A sweep whose efficiency falls faster than its power rises ends below its start's shaft power
// (30.78 W here): the operating point is then the curve's lowest point, and the fan law runs from
// it.
TEST(FlightTest, BelowAnOperatingPointUnderTheStartTheFanLawRunsFromIt) {
    FanTable fans;
    fans[0] = {"Fan", kSlow.a0, kSlow.a1, kSlow.a2, 0, 0, 30, 0};
    const ResultPoint low{8, 30000, 80, 0.3, 21};  // 24 W of shaft power
    const FlightFigures f = Fly(Slot(), fans, {}, {0.65, 0.25, 0.8, {}}, low);
    ASSERT_TRUE(f.part.has_value());
    EXPECT_TRUE(f.part->fanLaw);
    EXPECT_NEAR(f.part->fanLawFrom, kSlow.a0 + kSlow.a1 * std::log(24.0), 1e-9);
    ExpectRelative(f.part->shaftPower, 24 * 0.65 * 0.65 * 0.65, "part shaft power");
    EXPECT_TRUE(f.flightTime.has_value());
}

}  // namespace
}  // namespace mfb
