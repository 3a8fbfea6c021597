// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Sweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "model/ColumnRows.h"
#include "model/DisplayFormat.h"
#include "model/PowerTrain.h"
#include "tests/support/RecordingSinks.h"

namespace mfb {
namespace {

using test::RecordingSinks;

// A 12 V pack of 0.07 ohm (power limit 514.29 W) and a 1000 kv motor; the fan's curve is set per
// test. Fan k's ChartMinPower is 100 k, so the power axis shows which fan bounded it.
struct Rig {
    Rig() {
        slot.MotorName = "Motor";
        slot.BatteryName = "Battery";
        slot.FanName = "Fan A";
        slot.Motor = {1000, 0.05, 1.5};
        slot.Battery = {2000, 0.006, 1.2, 25};
        for (int k = 1; k <= kFanCount; ++k) {
            fans[k - 1].Name = "Fan " + std::string(1, static_cast<char>('A' + k - 1));
            fans[k - 1].ChartMinPower = 100.0 * k;
        }
    }
    // Fan A turns at a0 + a1 ln P.
    void FanCurve(double a0, double a1) {
        fans[0].a0 = a0;
        fans[0].a1 = a1;
    }
    void Run(int option = 1) {
        Calculate(slot, {fans, kWireResistance, completeFans, option, serie, parallel, '.'}, sinks,
                  sinks, report);
    }
    // The model at a given input power, on a copy of the slot.
    TOptionSlot At(double pinMotor) const {
        TOptionSlot copy = slot;
        copy.CellsSerie = serie;
        copy.CellsParallel = parallel;
        ComputePack(copy, kWireResistance);
        copy.PinMotor = pinMotor;
        EXPECT_TRUE(EvaluateAtPower(copy, fans));
        return copy;
    }

    TOptionSlot slot;
    FanTable fans;
    WholeFans completeFans = kAllFansWhole;
    int serie = 10;
    int parallel = 1;
    RecordingSinks sinks;
    CalculateReport report;
};

TEST(SweepTest, CalculatedKeepsTheLastStepWithTheMotorFaster) {
    Rig rig;
    rig.FanCurve(0, 2500);  // about 11000 rpm at 80 W, rising with ln P
    rig.Run();
    ASSERT_EQ(rig.report.outcome, Outcome::Calculated);
    const ResultPoint& r = rig.report.result;
    ASSERT_GT(r.PinMotor, StartPower);

    // The kept step has the motor strictly faster; the step after it does not.
    const TOptionSlot kept = rig.At(r.PinMotor);
    EXPECT_GT(kept.RpmMotor, kept.RpmFan);
    EXPECT_EQ(kept.Current, r.Current);
    EXPECT_EQ(kept.UMotor, r.UMotor);
    const TOptionSlot next = rig.At(static_cast<double>(r.PinMotor + PowerStep));
    EXPECT_LE(next.RpmMotor, next.RpmFan);

    // The sweep went on until the fan was 2500 rpm faster, and no further.
    EXPECT_GE(rig.slot.RpmFan - 2500.0L, rig.slot.RpmMotor);
    EXPECT_EQ(rig.sinks.chart.Size(0), static_cast<std::size_t>(rig.report.steps));
    EXPECT_EQ(rig.sinks.arrival[0].back().y, rig.slot.RpmFan);

    const char sep = '.';
    EXPECT_EQ(rig.sinks.values[ResultField::Current], FormatValue(r.Current, sep));
    EXPECT_EQ(rig.sinks.values[ResultField::PoutMotor],
              FormatValue(static_cast<long double>(r.PinMotor) * r.Efficiency, sep));
    EXPECT_EQ(rig.sinks.values[ResultField::Weight], "250.00");
    EXPECT_EQ(rig.sinks.values[ResultField::UBattery], "12.00");
    EXPECT_EQ(rig.sinks.values[ResultField::RTotal], "0.07");
    EXPECT_TRUE(rig.sinks.chartEnabled);
    EXPECT_EQ(rig.sinks.title, "Fan A  Motor  Battery");
    EXPECT_EQ(rig.sinks.axisTitles[Axis::Left], "Revolutions per Minute [rpm]");
    EXPECT_EQ(rig.sinks.axisTitles[Axis::Right], "Current [A]");
    EXPECT_EQ(rig.sinks.axisTitles[Axis::Bottom], "Power [W]");
    EXPECT_EQ(rig.sinks.colours[0], kRed);
    EXPECT_EQ(rig.sinks.colours[1], kGreen);
    EXPECT_EQ(rig.sinks.colours[2], kYellow);
    EXPECT_EQ(rig.sinks.nonEmptyTexts, 0);
}

TEST(SweepTest, EverythingHappensInItsOrder) {
    Rig rig;
    rig.FanCurve(0, 2500);
    rig.Run();
    const std::vector<std::string> expected = {"value Weight=250.00",
                                               "value U Battery=12.00",
                                               "value R Total=0.07",
                                               "clear 0",
                                               "clear 1",
                                               "clear 2"};
    ASSERT_GT(rig.sinks.events.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(rig.sinks.events.begin(), rig.sinks.events.begin() + 6),
              expected);
    // What comes after, without the values: the label texts up to their '=', each range up to its
    // bounds.
    std::vector<std::string> tail(rig.sinks.events.begin() + 6, rig.sinks.events.end());
    for (auto& e : tail) e = e.substr(0, e.rfind("range", 0) == 0 ? 7 : e.find('='));
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "value Current", "value Rpm", "value Pin Motor", "value Pout Motor",
                        "value Efficiency", "value U Motor", "range 0", "range 1", "range 2",
                        "title Fan A  Motor  Battery", "axis title 1 Revolutions per Minute [rpm]",
                        "axis title 2 Current [A]", "axis title 0 Power [W]", "enable chart"}));
}

TEST(SweepTest, AxisRangesUseTheExtendedFactors) {
    Rig rig;
    rig.FanCurve(0, 2500);
    rig.Run(3);
    const auto& ranges = rig.sinks.ranges;
    // Option 3's power axis starts at fan 3's ChartMinPower, whichever fan the option uses.
    EXPECT_EQ(ranges.at(Axis::Bottom).first, static_cast<double>(0.9L * 300));
    EXPECT_EQ(ranges.at(Axis::Bottom).second,
              static_cast<double>(1.05L * rig.slot.PinMotor * rig.slot.Efficiency));
    EXPECT_EQ(ranges.at(Axis::Left).first, static_cast<double>(0.9L * rig.report.StartRpmFan));
    EXPECT_EQ(ranges.at(Axis::Left).second, static_cast<double>(1.05L * rig.report.FirstRpmMotor));
    EXPECT_EQ(ranges.at(Axis::Right).first, static_cast<double>(0.95L * rig.report.FirstCurrent));
    EXPECT_EQ(ranges.at(Axis::Right).second, static_cast<double>(1.05L * rig.slot.Current));
    // The first step's values, not the start evaluation's.
    EXPECT_EQ(rig.report.FirstCurrent, rig.At(static_cast<double>(75 + 0.1L)).Current);
    EXPECT_EQ(rig.report.StartRpmFan, rig.At(75).RpmFan);
}

TEST(SweepTest, PowerStepIsAddedToTheStoredValue) {
    Rig rig;
    rig.FanCurve(0, 2500);
    rig.Run();
    double expected = StartPower;
    for (long long i = 0; i < rig.report.steps; ++i)
        expected = static_cast<double>(expected + 0.1L);
    EXPECT_EQ(rig.slot.PinMotor, expected);
    EXPECT_NE(rig.slot.PinMotor, static_cast<double>(75 + 0.1L * rig.report.steps));
}

// A sweep whose kept step is no operating point ends as one broken off: the pack's labels and the
// points of every step, the warning with its reason, and nothing else.
TEST(SweepTest, AKeptStepThatIsNoOperatingPointIsNotPossible) {
    struct Row {
        const char* what;
        double a0, a1;  // fan A's curve
        TMotorData motor;
        NotPossibleReason reason;
        bool stepsMade;
    };
    const Row rows[] = {
        {"the fan 2500 rpm ahead at the start",
         20000,
         0,
         {1000, 0.05, 1.5},
         NotPossibleReason::MotorTooSlow,
         false},
        {"the fan ahead at every step",
         12000,
         300,
         {1000, 0.05, 1.5},
         NotPossibleReason::MotorTooSlow,
         true},
        {"a motor of kv 0", 2000, 100, {0, 0.05, 1.5}, NotPossibleReason::MotorTooSlow, true},
        {"the motor turning backwards where it meets the fan",
         -3000,
         0,
         {1000, 0.2, 1.5},
         NotPossibleReason::MotorStalls,
         true},
        {"the motor turning, its shaft power below 0",
         3000,
         0,
         {1000, 0.1, 20},
         NotPossibleReason::MotorStalls,
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Rig rig;
        rig.slot.Motor = row.motor;
        rig.FanCurve(row.a0, row.a1);
        rig.Run();
        ASSERT_EQ(rig.report.outcome, Outcome::NotPossible);
        EXPECT_EQ(rig.report.reason, row.reason);
        EXPECT_EQ(rig.report.steps > 0, row.stepsMade);
        EXPECT_EQ(rig.sinks.chart.Size(2), static_cast<std::size_t>(rig.report.steps));
        EXPECT_EQ(rig.sinks.values.size(), 3u);  // Weight, U Battery, R Total only
        EXPECT_TRUE(rig.sinks.ranges.empty());
        EXPECT_FALSE(rig.sinks.chartEnabled);
        EXPECT_EQ(rig.sinks.events.back(), "warning " + NotPossibleMessage(row.reason));
    }
}

TEST(SweepTest, EqualityCases) {
    // The fan turns at a constant speed equal to the motor's at the first step: that step is not
    // kept, and as the motor slows down no later step is either.
    {
        Rig rig;
        const double firstStep = static_cast<double>(75 + 0.1L);
        rig.FanCurve(rig.At(firstStep).RpmMotor, 0);
        rig.Run();
        EXPECT_GT(rig.report.steps, 1);
        EXPECT_EQ(rig.report.result.PinMotor, 0);
    }
    // The fan exactly 2500 rpm faster at the first step: the sweep stops right there.
    {
        Rig rig;
        const double firstStep = static_cast<double>(75 + 0.1L);
        const double motor = rig.At(firstStep).RpmMotor;
        const double fan = motor + 2500;
        ASSERT_EQ(fan - 2500.0L, motor);  // exact in this binade
        rig.FanCurve(fan, 0);
        rig.Run();
        EXPECT_EQ(rig.report.steps, 1);
        EXPECT_EQ(rig.report.result.PinMotor, 0);
    }
}

TEST(SweepTest, ZeroMarkersAreTakenAtTheFirstNonZeroValue) {
    // A motor of kv 0 turns at exactly 0 rpm at every step: FirstRpmMotor is never taken.
    Rig rig;
    rig.slot.Motor.Kv = 0;
    rig.FanCurve(2000, 100);  // reaches 2500 rpm at a shaft power of e^5 W
    rig.Run();
    EXPECT_EQ(rig.report.FirstRpmMotor, 0);
    EXPECT_NE(rig.report.FirstCurrent, 0);
}

TEST(SweepTest, NotPossibleAtTheStartChangesNothing) {
    Rig rig;
    rig.serie = 2;  // 2.4 V: at most 20.6 W
    rig.Run();
    EXPECT_EQ(rig.report.outcome, Outcome::NotPossible);
    EXPECT_EQ(rig.report.failedStep, 0);
    EXPECT_EQ(rig.sinks.events, (std::vector<std::string>{"warning Combination not possible"}));
}

TEST(SweepTest, NotPossibleAtAStepKeepsPackValuesAndPoints) {
    Rig rig;
    rig.FanCurve(0, 0);  // the fan never overtakes: the sweep runs into the pack's limit
    rig.Run();
    ASSERT_EQ(rig.report.outcome, Outcome::NotPossible);
    // U^2 / 4R = 514.2857 W; the first step at or above it fails.
    const long long expectedFail = static_cast<long long>(std::ceil((144 / 0.28 - 75) / 0.1));
    EXPECT_EQ(rig.report.failedStep, expectedFail);
    EXPECT_EQ(rig.report.steps, rig.report.failedStep - 1);
    EXPECT_EQ(rig.sinks.chart.Size(2), static_cast<std::size_t>(rig.report.steps));
    EXPECT_EQ(rig.sinks.values.size(), 3u);  // Weight, U Battery, R Total only
    EXPECT_FALSE(rig.sinks.chartEnabled);
    EXPECT_TRUE(rig.sinks.ranges.empty());
    EXPECT_EQ(rig.sinks.events.back(), "warning Combination not possible");
}

TEST(SweepTest, NotPossibleAtTheFirstStepLeavesEmptySeries) {
    Rig rig;
    // Put the power limit between 75 and 75.1 W: U^2 / 4R = 75.05.
    rig.slot.Battery = {1000, 0, 1, 10};
    rig.slot.Motor = {1000, 0.001, 0.5};  // still turning forwards at 40 A
    rig.serie = 1;
    rig.slot.Battery.UCell = std::sqrt(75.05 * 4 * 0.01);
    rig.Run();
    ASSERT_EQ(rig.report.outcome, Outcome::NotPossible);
    EXPECT_EQ(rig.report.failedStep, 1);
    EXPECT_TRUE(rig.sinks.chart.Empty(0));
    EXPECT_EQ(rig.sinks.values.size(), 3u);
}

TEST(SweepTest, SilentPreconditionAndInvalidFans) {
    {
        Rig rig;
        rig.slot.BatteryName.clear();
        rig.Run();
        EXPECT_EQ(rig.report.outcome, Outcome::NotRun);
        EXPECT_TRUE(rig.sinks.events.empty());
        EXPECT_EQ(rig.slot.PinMotor, 0);
    }
    {
        // After a failed fan catalogue every name is empty: an empty fan name must not run on the
        // speed an earlier Calculate left in the slot.
        Rig rig;
        rig.completeFans = WholeFans(0);
        for (auto& fan : rig.fans) fan.Name.clear();
        rig.slot.FanName.clear();
        EXPECT_THROW(rig.Run(), Error);
        EXPECT_TRUE(rig.sinks.events.empty());
        EXPECT_EQ(rig.slot.PinMotor, 0);
    }
    {
        // A negative pack resistance would make the power limit unreachable.
        Rig rig;
        rig.slot.Battery.RCell = -0.01;
        try {
            rig.Run();
            ADD_FAILURE();
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("negative"), std::string::npos);
        }
        EXPECT_TRUE(rig.sinks.events.empty());
    }
}

TEST(SweepTest, ZeroPackResistanceFaultsAtTheStart) {
    Rig rig;
    rig.serie = 1;
    rig.slot.Battery.RCell = -0.01;  // cancels the wiring exactly
    try {
        rig.Run();
        ADD_FAILURE() << "no fault";
    } catch (const FloatingPointError& e) {
        EXPECT_EQ(std::string(e.what()), "Invalid floating point operation");
    }
    EXPECT_EQ(rig.slot.RTotal, 0);
    EXPECT_TRUE(rig.sinks.events.empty());
}

TEST(SweepTest, FaultMidSweepKeepsWhatWasShown) {
    Rig rig;
    // RpmFan = a4 L^4, negative so the fan never overtakes; a4 is chosen so that the value
    // leaves the double range a few steps into the sweep.
    const long double l = std::log(static_cast<long double>(75.0L * rig.At(75).Efficiency));
    rig.fans[0].a4 = -static_cast<double>(DBL_MAX / (l * l * l * l * 1.01L));
    try {
        rig.Run();
        ADD_FAILURE() << "no fault";
    } catch (const FloatingPointError& e) {
        EXPECT_EQ(std::string(e.what()), "Floating point overflow");
    }
    EXPECT_GT(rig.report.steps, 1);
    EXPECT_EQ(rig.sinks.chart.Size(0), static_cast<std::size_t>(rig.report.steps));
    EXPECT_EQ(rig.sinks.values.size(), 3u);
    EXPECT_FALSE(rig.sinks.chartEnabled);
}

// The window runs Calculate in slices; however it is cut, the effects are Calculate's, every
// point and value to the bit, the fault included.
TEST(SweepTest, ASweepRunInSlicesIsCalculate) {
    struct Case {
        const char* name;
        double a0, a1, a4;
    };
    const Case cases[] = {
        {"calculated", 3000, 5000, 0},
        {"not possible at a step", 0, 0, 0},
        {"fault mid-sweep", 0, 0, -DBL_MAX / 300},  // overflows once L^4 > 300
    };
    for (const Case& c : cases) {
        for (const long long slice : {1LL, 7LL, 4096LL}) {
            Rig whole, sliced;
            for (Rig* rig : {&whole, &sliced}) {
                rig->FanCurve(c.a0, c.a1);
                rig->fans[0].a4 = c.a4;
            }
            std::string wholeError, slicedError;
            try {
                whole.Run();
            } catch (const Error& e) {
                wholeError = e.what();
            }
            int calls = 0;
            try {
                SweepRun run(sliced.slot,
                             {sliced.fans, kWireResistance, kAllFansWhole, 1, sliced.serie,
                              sliced.parallel, '.'},
                             sliced.sinks, sliced.sinks, sliced.report);
                if (run.Start()) {
                    while (!run.Advance(slice)) ++calls;
                }
            } catch (const Error& e) {
                slicedError = e.what();
            }
            const std::string where = std::string(c.name) + ", slices of " + std::to_string(slice);
            EXPECT_EQ(slicedError, wholeError) << where;
            EXPECT_GE(calls, whole.report.steps / slice - 1) << where;
            EXPECT_EQ(sliced.sinks.events, whole.sinks.events) << where;
            EXPECT_EQ(sliced.report.steps, whole.report.steps) << where;
            EXPECT_EQ(sliced.report.outcome, whole.report.outcome) << where;
            EXPECT_EQ(std::memcmp(&sliced.report.result, &whole.report.result, sizeof(ResultPoint)),
                      0)
                << where;
            for (int k = 0; k < kSeriesCount; ++k) {
                const auto& a = sliced.sinks.arrival[static_cast<std::size_t>(k)];
                const auto& b = whole.sinks.arrival[static_cast<std::size_t>(k)];
                ASSERT_EQ(a.size(), b.size()) << where;
                const auto sameBits = [](const ChartPoint& p, const ChartPoint& q) {
                    return std::memcmp(&p, &q, sizeof p) == 0;
                };
                EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), sameBits)) << where;
            }
            EXPECT_EQ(OutputsOf(sliced.slot).RpmFan, OutputsOf(whole.slot).RpmFan) << where;
            EXPECT_EQ(sliced.slot.PinMotor, whole.slot.PinMotor) << where;
        }
    }
}

TEST(SweepTest, TwoCalculatesInARowGiveTheSameOutput) {
    Rig rig;
    rig.FanCurve(0, 2500);
    rig.Run();
    const auto firstEvents = rig.sinks.events;
    const std::vector<ChartPoint> firstPoints(rig.sinks.chart.Points(1).begin(),
                                              rig.sinks.chart.Points(1).end());
    rig.sinks.events.clear();
    rig.Run();
    EXPECT_EQ(rig.sinks.events, firstEvents);
    ASSERT_EQ(rig.sinks.chart.Size(1), firstPoints.size());
    for (std::size_t i = 0; i < firstPoints.size(); ++i) {
        EXPECT_EQ(rig.sinks.chart.Points(1)[i].x, firstPoints[i].x);
        EXPECT_EQ(rig.sinks.chart.Points(1)[i].y, firstPoints[i].y);
    }
}

TEST(SweepTest, LongSweepKeepsEveryPointSorted) {
    // 20 cells of 4.2 V and 2 milliohm, 10 in parallel: U = 84 V, R = 0.014 ohm. With a fan that
    // never turns, the sweep runs until the motor turns backwards at 2500 rpm, about 1.2 million
    // steps; long before, copper losses make the shaft power fall, so points arrive with falling
    // x.
    Rig rig;
    rig.slot.Battery = {5000, 0.002, 4.2, 100};
    rig.serie = 20;
    rig.parallel = 10;
    rig.slot.Motor = {2000, 0.02, 1};  // copper losses overtake near the limit
    rig.FanCurve(0, 0);
    rig.Run();
    // The motor meets the standing fan turning backwards: no operating point, but every point.
    ASSERT_EQ(rig.report.reason, NotPossibleReason::MotorStalls);
    EXPECT_GT(rig.report.steps, 1'200'000);
    const auto& arrival = rig.sinks.arrival[2];
    const auto& sorted = rig.sinks.chart.Points(2);
    ASSERT_EQ(sorted.size(), arrival.size());
    EXPECT_LT(arrival.back().x, arrival[arrival.size() / 2].x);  // x fell near the end
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(),
                               [](const auto& a, const auto& b) { return a.x < b.x; }));
}

TEST(SweepTest, SweepStopsAtTheMegawattLimitAndSaysSo) {
    // 2 kV from one cell of almost no resistance: the power limit is far beyond 1 MW.
    Rig rig;
    rig.slot.Battery = {1000, 0, 2000, 10};
    rig.serie = 1;
    rig.slot.Motor = {10, 0.0001, 1};
    rig.FanCurve(0, 0);
    rig.Run();
    ASSERT_EQ(rig.report.outcome, Outcome::StoppedAtLimit);
    EXPECT_GE(rig.slot.PinMotor, MaxSweepPower);
    EXPECT_LT(rig.slot.PinMotor, MaxSweepPower + 0.2);
    ASSERT_EQ(rig.sinks.warnings.size(), 1u);
    EXPECT_NE(rig.sinks.warnings[0].find("1000000 W"), std::string::npos);
    EXPECT_TRUE(rig.sinks.chartEnabled);
}

}  // namespace
}  // namespace mfb
