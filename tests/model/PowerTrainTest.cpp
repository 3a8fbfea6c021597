// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PowerTrain.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <numbers>
#include <string>

#include "model/Error.h"

namespace mfb {
namespace {

// The worked example: 10 cells of 1.2 V, 0.006 ohm and 25 g in series, a 1000 kv motor with Ri
// 0.05 ohm and Io 1.5 A.
TOptionSlot ExampleSlot() {
    TOptionSlot slot;
    slot.Battery = {2000, 0.006, 1.2, 25};
    slot.Motor = {1000, 0.05, 1.5};
    slot.CellsSerie = 10;
    slot.CellsParallel = 1;
    slot.FanName = "Fan";
    return slot;
}

FanTable OneFan(TFanData fan) {
    FanTable fans;
    fans[0] = std::move(fan);
    fans[0].Name = "Fan";
    for (int k = 1; k < kFanCount; ++k) fans[k].Name = "Other " + std::to_string(k);
    return fans;
}

std::string FaultOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FloatingPointError& e) {
        return e.what();
    }
    return "no fault";
}

TEST(ComputePackTest, WorkedExample) {
    TOptionSlot slot = ExampleSlot();
    ComputePack(slot, kWireResistance);
    EXPECT_EQ(slot.PackWeight, 250);
    EXPECT_EQ(slot.UBattery, 12);
    // Extended precision all the way: the double nearest 0.07. The same formula in double
    // arithmetic lands one below.
    EXPECT_EQ(slot.RTotal, 0.07);
    EXPECT_NE(10 * 0.006 / 1 + 0.01, 0.07);
}

TEST(ComputePackTest, WireResistanceIsAddedOncePerPack) {
    for (int serie : {1, 10, 40}) {
        for (int parallel : {1, 3, 10}) {
            TOptionSlot slot = ExampleSlot();
            slot.Battery.RCell = 0;
            slot.CellsSerie = serie;
            slot.CellsParallel = parallel;
            ComputePack(slot, kWireResistance);
            EXPECT_EQ(slot.RTotal, 0.01) << serie << "S" << parallel << "P";
            EXPECT_EQ(slot.PackWeight, serie * 25.0 * parallel);
        }
    }
}

TEST(EvaluateAtPowerTest, WorkedExample) {
    TOptionSlot slot = ExampleSlot();
    ComputePack(slot, kWireResistance);
    slot.PinMotor = 75;
    const FanTable fans = OneFan({"", 1000, 2000, 0, 0, 0, 100, 0});
    ASSERT_TRUE(EvaluateAtPower(slot, fans));
    EXPECT_NEAR(slot.Current, 6.49617, 1e-5);
    EXPECT_NEAR(slot.UMotor, 11.54527, 1e-5);
    EXPECT_NEAR(slot.RpmMotor, 11220.46, 1e-2);
    EXPECT_NEAR(slot.Efficiency, 0.740961, 1e-6);
    EXPECT_NEAR(slot.PinMotor * slot.Efficiency, 55.5721, 1e-4);
    // Each later formula reads the stored value of the earlier one, and rounds once.
    const long double current = slot.Current;
    EXPECT_EQ(slot.UMotor, static_cast<double>(12.0L - current * 0.07L));
    EXPECT_EQ(slot.RpmFan,
              static_cast<double>(2000 * std::log(static_cast<long double>(
                                             static_cast<double>(75.0L * slot.Efficiency))) +
                                  1000));
}

TEST(EvaluateAtPowerTest, CurrentIsTheSmallerRootInExtendedPrecision) {
    TOptionSlot slot = ExampleSlot();
    ComputePack(slot, kWireResistance);
    const FanTable fans = OneFan({});
    for (double power : {75.0, 200.0, 400.0, 514.0}) {
        slot.PinMotor = power;
        ASSERT_TRUE(EvaluateAtPower(slot, fans)) << power;
        const long double r = slot.RTotal;
        const long double d = 144.0L - 4.0L * r * power;
        EXPECT_EQ(slot.Current, static_cast<double>((std::sqrt(d) - 12.0L) / (-2.0L * r)));
        EXPECT_LT(slot.Current, 12 / (2 * 0.07));
    }
}

TEST(EvaluateAtPowerTest, NoOperatingPointWritesNothing) {
    TOptionSlot slot = ExampleSlot();
    ComputePack(slot, kWireResistance);
    const FanTable fans = OneFan({"", 1000, 0, 0, 0, 0, 0, 0});
    slot.PinMotor = 75;
    ASSERT_TRUE(EvaluateAtPower(slot, fans));
    const TOptionSlot before = slot;
    // U^2 / 4R = 144 / 0.28 = 514.2857...; from there on there is no operating point.
    for (double power : {514.2858, 600.0, 1e9}) {
        slot.PinMotor = power;
        EXPECT_FALSE(EvaluateAtPower(slot, fans)) << power;
        EXPECT_EQ(slot.Current, before.Current);
        EXPECT_EQ(slot.RpmFan, before.RpmFan);
    }
}

TEST(EvaluateAtPowerTest, ZeroDiscriminantIsNoOperatingPoint) {
    // U = 2, R = 0.25 gives U^2 / 4R = 4 exactly: D is exactly zero at 4 W.
    TOptionSlot slot;
    slot.UBattery = 2;
    slot.RTotal = 0.25;
    slot.FanName = "Fan";
    slot.Motor = {1000, 0.01, 0.1};
    const FanTable fans = OneFan({});
    slot.PinMotor = 4;
    EXPECT_FALSE(EvaluateAtPower(slot, fans));
    // Just below, D is tiny and the current approaches U / 2R, the voltage U / 2.
    slot.PinMotor = std::nextafter(4.0, 0.0);
    ASSERT_TRUE(EvaluateAtPower(slot, fans));
    EXPECT_NEAR(slot.Current, 4, 1e-6);
    EXPECT_NEAR(slot.UMotor, 1, 1e-6);
}

TEST(EvaluateAtPowerTest, DuplicateFanNamesTheLaterDecides) {
    TOptionSlot slot = ExampleSlot();
    ComputePack(slot, kWireResistance);
    slot.PinMotor = 75;
    FanTable fans = OneFan({"", 1111, 0, 0, 0, 0, 0, 0});
    fans[3] = {"Fan", 4444, 0, 0, 0, 0, 0, 0};
    fans[4] = {"Fan ", 5555, 0, 0, 0, 0, 0, 0};  // a trailing blank is part of the name
    ASSERT_TRUE(EvaluateAtPower(slot, fans));
    EXPECT_EQ(slot.RpmFan, 4444);
    slot.FanName = "Fan ";
    ASSERT_TRUE(EvaluateAtPower(slot, fans));
    EXPECT_EQ(slot.RpmFan, 5555);
    slot.FanName = "fan";  // case matters: no fan matches, RpmFan is left alone
    slot.RpmFan = -7;
    ASSERT_TRUE(EvaluateAtPower(slot, fans));
    EXPECT_EQ(slot.RpmFan, -7);
}

TEST(EvaluateAtPowerTest, FaultsStopAtTheFailingFormula) {
    // A zero pack resistance divides zero by zero in the current formula.
    TOptionSlot slot = ExampleSlot();
    slot.UBattery = 12;
    slot.RTotal = 0;
    slot.PinMotor = 75;
    slot.Current = 42;
    const FanTable fans = OneFan({});
    EXPECT_EQ(FaultOf([&] { EvaluateAtPower(slot, fans); }), "Invalid floating point operation");
    EXPECT_EQ(slot.Current, 42);
    // With a negative voltage the numerator is not zero: a division by zero.
    slot.UBattery = -12;
    EXPECT_EQ(FaultOf([&] { EvaluateAtPower(slot, fans); }), "Floating point division by zero");

    // A fan curve whose value exceeds the double range overflows when stored; everything the
    // evaluation stored before it stays.
    slot = ExampleSlot();
    ComputePack(slot, kWireResistance);
    slot.PinMotor = 75;
    slot.RpmFan = 3;
    const FanTable huge = OneFan({"", 0, 0, 0, 0, DBL_MAX, 0, 0});
    EXPECT_EQ(FaultOf([&] { EvaluateAtPower(slot, huge); }), "Floating point overflow");
    EXPECT_NEAR(slot.Efficiency, 0.740961, 1e-6);
    EXPECT_EQ(slot.RpmFan, 3);
}

TEST(EvaluateAtPowerTest, EfficiencyOfZeroIsADivisionByZeroInTheFanCurve) {
    // At Current = Io with Ri = 0 the efficiency is exactly zero; the shaft power 0 is not
    // replaced by 1 W and its logarithm divides by zero.
    TOptionSlot slot;
    slot.UBattery = 10;
    slot.RTotal = 0.5;
    slot.Motor = {1000, 0, 2};
    slot.FanName = "Fan";
    // P = (U - R I) I at I = 2: 18 W.
    slot.PinMotor = 18;
    const FanTable fans = OneFan({"", 1000, 1, 0, 0, 0, 0, 0});
    EXPECT_EQ(FaultOf([&] { EvaluateAtPower(slot, fans); }), "Floating point division by zero");
    EXPECT_EQ(slot.Current, 2);
    EXPECT_EQ(slot.Efficiency, 0);
}

struct BerekenCase {
    const char* name;
    double power, efficiency;
    double expected;  // relative to the coefficients below
};

TEST(BerekenTest, FanCurve) {
    const FanTable fans = OneFan({"", 1000, 200, 30, 4, 0.5, 0, 0});
    const double sumOfCoefficients = 1000 + 200 + 30 + 4 + 0.5;
    const BerekenCase cases[] = {
        {"one watt is a0", 1, 1, 1000},
        {"negative shaft power is held at 1 W", 100, -0.5, 1000},
        {"negative input power too", -100, 0.5, 1000},
        {"L = 1 sums the coefficients", std::numbers::e, 1, sumOfCoefficients},
    };
    for (const auto& c : cases) {
        double rpm = -1;
        Bereken(fans, 1, c.power, c.efficiency, rpm);
        EXPECT_NEAR(rpm, c.expected, 1e-12 * std::abs(c.expected)) << c.name;
    }
    // Between 0 and 1 W the logarithm is negative and the polynomial is used as it is.
    double rpm = 0;
    Bereken(fans, 1, 0.5, 1, rpm);
    const long double l = std::log(0.5L);
    EXPECT_EQ(rpm, static_cast<double>((((200 * l + 1000) + 30 * (l * l)) + 4 * (l * (l * l))) +
                                       0.5 * ((l * l) * (l * l))));
}

TEST(BerekenTest, FanNumbersOutsideOneToFiveWriteNothing) {
    const FanTable fans = OneFan({"", 1000, 0, 0, 0, 0, 0, 0});
    for (int number : {0, 6, -1}) {
        double rpm = 1234.5;
        Bereken(fans, number, 100, 0.5, rpm);
        EXPECT_EQ(rpm, 1234.5) << number;
    }
}

TEST(BerekenTest, ZeroShaftPowerIsADivisionByZero) {
    const FanTable fans = OneFan({"", 1000, 0, 0, 0, 0, 0, 0});
    double rpm = 5;
    EXPECT_EQ(FaultOf([&] { Bereken(fans, 1, 100, 0, rpm); }), "Floating point division by zero");
    EXPECT_EQ(rpm, 5);
}

TEST(BerekenTest, StaleFlagsFromElsewhereAreNotFaults) {
    volatile double zero = 0;
    volatile double inf = 1 / zero;  // raises division by zero outside the model
    (void)inf;
    const FanTable fans = OneFan({"", 1000, 0, 0, 0, 0, 0, 0});
    double rpm = 0;
    EXPECT_NO_THROW(Bereken(fans, 1, 100, 0.5, rpm));
    EXPECT_EQ(rpm, 1000);
}

}  // namespace
}  // namespace mfb
