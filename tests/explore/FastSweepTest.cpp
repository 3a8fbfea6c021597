// SPDX-License-Identifier: GPL-3.0-or-later
// The shortened sweep against the full one: for every combination tried, everything a Calculate
// shows, reports and leaves in the slot must be the same, bit for bit, except the chart's points.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/FastSweep.h"
#include "explore/StepPowers.h"
#include "model/DiscardingSinks.h"
#include "model/Error.h"
#include "model/PowerTrain.h"
#include "tests/support/RandomPowerTrains.h"
#include "tests/support/SampleCatalogue.h"
#include "tests/support/SweepComparison.h"

namespace mfb {
namespace {

using test::Effects;
using test::Exact;
using test::Sweep;

// Runs both ways and compares; returns the fast run for checks of its own.
Effects ExpectSameAsCalculate(const TOptionSlot& slot, const SweepInputs& in,
                              const std::string& what) {
    const Effects full = Sweep(false, slot, in);
    const Effects fast = Sweep(true, slot, in);
    EXPECT_EQ(fast.points, 0) << what;
    EXPECT_EQ(fast.error, full.error) << what;
    EXPECT_EQ(fast.report, full.report) << what;
    EXPECT_EQ(fast.slot, full.slot) << what;
    EXPECT_EQ(fast.events, full.events) << what;
    return fast;
}

TEST(StepPowersTest, EveryStepsPowerIsTheOneTheSweepReachesByAddingAndLeadsBackToIt) {
    const StepPowers& steps = StepPowers::Sweep();
    double power = StartPower;
    long long step = 0;
    long long wrong = 0;
    long long wrongFirst = 0;
    for (; power < MaxSweepPower; ++step, power = static_cast<double>(power + PowerStep)) {
        if (steps.Power(step) != power && ++wrong < 5) {
            ADD_FAILURE() << "step " << step << ": " << Exact(steps.Power(step)) << " instead of "
                          << Exact(power);
        }
        // Every step is the first from its own power and from just above the power before it.
        if (steps.FirstStepFrom(power) != step ||
            (step > 0 && steps.FirstStepFrom(std::nextafter(steps.Power(step - 1), 2e6)) != step)) {
            ++wrongFirst;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(wrongFirst, 0);
    EXPECT_EQ(steps.LimitStep(), step);
    EXPECT_EQ(steps.Power(step), power);
}

// A hand-made power train: fan 2 is the one chosen, fan 4 carries the same name unless a case
// renames it, so it is fan 4's curve that counts.
struct Rig {
    TMotorData motor{3000, 0.03, 1.5};
    TBatteryData battery{3000, 0.004, 1.2, 56};
    std::array<double, 5> curve{7021.5, 3184.1, 156.97, 65.65, 7.17};
    int serie = 10;
    int parallel = 1;
    bool sameNameAsFan4 = true;
    std::array<double, 5> otherCurve{0, 0, 0, 0, 0};  // fan 2's, overruled by fan 4's

    FanTable Fans() const {
        FanTable fans;
        for (int k = 1; k <= kFanCount; ++k) {
            fans[k - 1].Name = "Fan " + std::to_string(k);
            fans[k - 1].ChartMinPower = 50.0 * k;
        }
        if (sameNameAsFan4) fans[3].Name = fans[1].Name;
        const auto set = [](TFanData& fan, const std::array<double, 5>& a) {
            fan.a0 = a[0], fan.a1 = a[1], fan.a2 = a[2], fan.a3 = a[3], fan.a4 = a[4];
        };
        set(fans[1], otherCurve);
        set(fans[sameNameAsFan4 ? 3 : 1], curve);
        return fans;
    }

    TOptionSlot Slot() const {
        TOptionSlot slot;
        slot.Motor = motor;
        slot.Battery = battery;
        slot.MotorName = "Motor";
        slot.BatteryName = "Cell";
        slot.FanName = "Fan 2";
        return slot;
    }
};

// Whether the fast path may skip steps: not where its bounds do not hold, and not where the sweep
// is too short to gain from it.
enum class Skips { Some, None, Either };

struct Case {
    const char* name;
    Rig rig;
    Skips skips;
};

Rig With(auto change) {
    Rig rig;
    change(rig);
    return rig;
}

TEST(FastSweepTest, HandMadeCombinationsGiveCalculatesEveryEffect) {
    const std::vector<Case> cases = {
        {"an ordinary operating point", Rig{}, Skips::Some},
        {"several cells in parallel", With([](Rig& r) { r.serie = 24, r.parallel = 3; }),
         Skips::Some},
        {"the fan already 2500 rpm ahead at the start", With([](Rig& r) {
             r.curve = {1e6, 0, 0, 0, 0};
         }),
         Skips::None},
        {"the motor never faster than the fan: no kept step", With([](Rig& r) {
             r.curve = {30000, 3000, 0, 0, 0}, r.motor.Kv = 1000;
         }),
         Skips::Either},
        {"the pack cannot deliver 75 W", With([](Rig& r) { r.serie = 1; }), Skips::None},
        {"the pack gives out before the fan catches up",
         With([](Rig& r) { r.serie = 4, r.motor.Kv = 9000; }), Skips::Some},
        {"the fan curve overflows mid-sweep", With([](Rig& r) {
             r.curve = {0, 0, 0, 0, -2.5e305};
         }),
         Skips::Some},
        {"losses exceed the input at first: the fan held at its 1 W speed",
         With([](Rig& r) { r.motor.Io = 12, r.motor.Kv = 2000; }), Skips::Some},
        {"a fan curve that falls and rises", With([](Rig& r) {
             r.curve = {90000, -40000, 6000, 0, 0};
         }),
         Skips::Either},
        {"a negative no-load current", With([](Rig& r) { r.motor.Io = -3; }), Skips::Either},
        {"zero winding resistance", With([](Rig& r) { r.motor.Ri = 0; }), Skips::Some},
        {"a negative winding resistance: every step evaluated",
         With([](Rig& r) { r.motor.Ri = -0.001; }), Skips::None},
        {"zero kv: the first rpm never taken, every step evaluated",
         With([](Rig& r) { r.motor.Kv = 0; }), Skips::None},
        {"a negative kv", With([](Rig& r) {
             r.motor.Kv = -3000, r.curve = {-90000, 0, 0, 0, 0};
         }),
         Skips::Some},
        {"fans of different names", With([](Rig& r) { r.sameNameAsFan4 = false; }), Skips::Some},
        {"a negative cell voltage", With([](Rig& r) { r.battery.UCell = -1.2; }), Skips::Either},
        {"a zero-resistance pack of 4 kV: stopped at the limit", With([](Rig& r) {
             r.battery = {3000, 0, 100, 56}, r.serie = 40, r.motor.Kv = 1000;
         }),
         Skips::Some},
    };
    for (const Case& c : cases) {
        const FanTable fans = c.rig.Fans();
        const SweepInputs in{fans, kWireResistance, kAllFansWhole, 2, c.rig.serie, c.rig.parallel,
                             '.'};
        const Effects fast = ExpectSameAsCalculate(c.rig.Slot(), in, c.name);
        if (c.skips != Skips::Either) {
            EXPECT_EQ(fast.effort.shortened, c.skips == Skips::Some) << c.name;
        }
        if (c.skips == Skips::Some) {
            EXPECT_LT(fast.effort.evaluations * 10, fast.steps) << c.name;
        }
    }
}

// Random power trains, from the sensible to the absurd and the degenerate, each compared with its
// full sweep. Those whose sweep is long are left out to keep the test quick: the hand-made cases
// and the sample spread have long sweeps, and `fast_sweep_check --random` compares any number.
TEST(FastSweepTest, RandomCombinationsGiveCalculatesEveryEffect) {
    test::RandomPowerTrains trains(20261207);
    int compared = 0;
    int shortened = 0;
    int faults = 0;
    std::array<int, 4> outcomes{};
    for (int i = 0; compared < 10'000 && i < 40'000; ++i) {
        const test::RandomPowerTrain train = trains.Next();
        const SweepInputs in = train.Inputs();
        if (Sweep(true, train.slot, in).steps > 5'000) continue;
        const Effects fast =
            ExpectSameAsCalculate(train.slot, in, "random power train " + std::to_string(i));
        ++compared;
        shortened += fast.effort.shortened ? 1 : 0;
        faults += fast.error.empty() ? 0 : 1;
        ++outcomes[static_cast<std::size_t>(fast.outcome)];
    }
    EXPECT_EQ(compared, 10'000);
    EXPECT_GT(shortened, 5'000);
    EXPECT_GT(outcomes[static_cast<std::size_t>(Outcome::Calculated)], 5'000);
    EXPECT_GT(outcomes[static_cast<std::size_t>(Outcome::NotPossible)], 100);
    EXPECT_GT(faults, 100);
}

// A spread of the sample catalogues' combinations: every motor with every cell type, fan and
// pack size drawn at random.
TEST(FastSweepTest, SampleCombinationsGiveCalculatesEveryEffectFromFewEvaluations) {
    const Catalogue catalogue = test::SampleCatalogue();

    std::mt19937 random(7);
    long long steps = 0;
    long long evaluations = 0;
    int outcomes[4] = {};
    for (const std::string& motorLine : catalogue.MotorLines) {
        for (const std::string& batteryLine : catalogue.BatteryLines) {
            TOptionSlot slot;
            ChooseMotor(slot, motorLine, '.');
            ChooseBattery(slot, batteryLine, '.');
            ChooseFan(slot, catalogue.Fans, 1 + static_cast<int>(random() % 5));
            const int serie = 1 + static_cast<int>(random() % 40);
            const int parallel = 1 + static_cast<int>(random() % 10);
            const SweepInputs in{
                catalogue.Fans, catalogue.WireResistance, kAllFansWhole, 1, serie, parallel, '.'};
            const Effects fast = Sweep(true, slot, in);
            if (fast.steps > 100'000) continue;
            const Effects checked =
                ExpectSameAsCalculate(slot, in, slot.MotorName + " " + slot.BatteryName);
            steps += checked.steps;
            evaluations += checked.effort.evaluations;
            ++outcomes[static_cast<int>(fast.outcome)];
        }
    }
    EXPECT_GT(outcomes[static_cast<int>(Outcome::Calculated)], 40);
    EXPECT_GT(outcomes[static_cast<int>(Outcome::NotPossible)], 10);
    // Far fewer than one evaluation per watt, against ten for the full sweep.
    EXPECT_LT(evaluations * 50, steps);
}

// A set stop flag gives the sweep up at its next poll, the first one included; one never set
// changes nothing.
TEST(FastSweepTest, AStopFlagGivesTheSweepUp) {
    const Catalogue catalogue = test::SampleCatalogue();
    TOptionSlot start;
    ChooseMotor(start, catalogue.MotorLines[4], '.');
    ChooseBattery(start, catalogue.BatteryLines[6], '.');
    ChooseFan(start, catalogue.Fans, 3);
    const SweepInputs in{catalogue.Fans, catalogue.WireResistance, kAllFansWhole, 1, 6, 2, '.'};
    DiscardingSinks sinks;
    for (const bool stopped : {false, true}) {
        const std::atomic<bool> stop{stopped};
        TOptionSlot slot = start;
        TOptionSlot unpolled = start;
        CalculateReport report, plain;
        if (stopped) {
            EXPECT_THROW(FindOperatingPoint(slot, in, sinks, sinks, report, nullptr, &stop),
                         SweepStopped);
        } else {
            FindOperatingPoint(slot, in, sinks, sinks, report, nullptr, &stop);
            FindOperatingPoint(unpolled, in, sinks, sinks, plain);
            EXPECT_EQ(report.steps, plain.steps);
            EXPECT_EQ(report.result.RpmMotor, plain.result.RpmMotor);
            EXPECT_GT(report.steps, 0);
        }
    }
}

}  // namespace
}  // namespace mfb
