// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "model/OptionSlot.h"
#include "model/PowerTrain.h"
#include "model/Sweep.h"

namespace mfb::test {

enum class TrainKind {
    Ordinary,
    NegativeRi,
    LossesFirst,
    FallingFan,
    NegativeCell,
    Overflow,
    Absurd,
};
inline constexpr int kTrainKinds = 7;

// A random motor, cell type, fan table and pack size, with what a Calculate of it reads.
struct RandomPowerTrain {
    TrainKind kind = TrainKind::Ordinary;
    TOptionSlot slot;
    FanTable fans;
    int serie = 1;
    int parallel = 1;
    int option = 1;

    SweepInputs Inputs() const {
        return {fans, kWireResistance, kAllFansWhole, option, serie, parallel, '.'};
    }
};

// Power trains from the sensible to the absurd, most of them with short sweeps so that many can be
// compared with the full sweep: the motor's kv is set so that the fan catches up at a random
// shaft power of a few hundred watts. A share of them is degenerate on purpose: a negative winding
// resistance, a no-load current that keeps the shaft power below zero for the first part of the
// sweep, a fan curve that falls, a negative cell resistance, a fan curve that overflows, or every
// coefficient at random.
class RandomPowerTrains {
public:
    explicit RandomPowerTrains(std::uint64_t seed) : random_(seed) {}

    using Kind = TrainKind;

    RandomPowerTrain Next() {
        RandomPowerTrain t;
        const Kind kind = Pick();
        t.kind = kind;
        t.serie = static_cast<int>(Uniform(1, 41));
        t.parallel = static_cast<int>(Uniform(1, 11));
        t.option = static_cast<int>(Uniform(1, 5));
        TMotorData& motor = t.slot.Motor;
        TBatteryData& cell = t.slot.Battery;
        cell = {3000, Uniform(0.0005, 0.03), Uniform(0.8, 4.5), 50};
        motor = {0, Uniform(0.005, 0.2), Uniform(0, 4)};
        std::array<double, 5> curve{Uniform(0, 10000), Uniform(1000, 4000), Uniform(-50, 200),
                                    Uniform(0, 70), Uniform(0, 8)};
        switch (kind) {
            case Kind::Ordinary:
                break;
            case Kind::NegativeRi:
                motor.Ri = -Uniform(0, 0.01);
                break;
            case Kind::LossesFirst:
                // Losses of 20 to 120 W at no load.
                motor.Io = Uniform(20, 120) / (t.serie * cell.UCell);
                break;
            case Kind::FallingFan:
                curve = {Uniform(60000, 120000), -Uniform(1000, 12000), Uniform(-200, 200), 0, 0};
                break;
            case Kind::NegativeCell:
                // The pack stays positive through the wiring, as Calculate requires.
                cell.RCell = -Uniform(0, 0.009) * t.parallel / t.serie;
                break;
            case Kind::Overflow:
                curve[4] = -Uniform(1e304, 1e306);
                break;
            case Kind::Absurd:
                for (double& a : curve) a = Uniform(-10000, 12000);
                curve[4] = Uniform(-20, 30);
                motor.Io = Uniform(-2, 6);
                motor.Ri = Uniform(-0.01, 0.2);
                cell.RCell = Uniform(-0.001, 0.02);
                break;
        }
        motor.Kv = kind == Kind::Absurd ? Uniform(-500, 12000) : CatchingKv(t, curve);
        t.slot.MotorName = "Motor";
        t.slot.BatteryName = "Cell";
        t.slot.FanName = "Fan 2";
        for (int k = 1; k <= kFanCount; ++k) {
            TFanData& fan = t.fans[static_cast<std::size_t>(k - 1)];
            fan.Name = "Fan " + std::to_string(k);
            fan.ChartMinPower = 50.0 * k;
        }
        // Of two fans of one name the later decides; now and then that is fan 4.
        TFanData& deciding = t.fans[Uniform(0, 1) < 0.3 ? 3 : 1];
        deciding.Name = "Fan 2";
        deciding.a0 = curve[0], deciding.a1 = curve[1], deciding.a2 = curve[2];
        deciding.a3 = curve[3], deciding.a4 = curve[4];
        return t;
    }

private:
    double Uniform(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random_);
    }

    Kind Pick() {
        const double x = Uniform(0, 1);
        if (x < 0.55) return Kind::Ordinary;
        if (x < 0.60) return Kind::NegativeRi;
        if (x < 0.70) return Kind::LossesFirst;
        if (x < 0.80) return Kind::FallingFan;
        if (x < 0.85) return Kind::NegativeCell;
        if (x < 0.87) return Kind::Overflow;
        return Kind::Absurd;
    }

    // A kv at which the fan turns 2500 rpm faster than the motor, give or take, at a random input
    // power of 76 to 160 W, judged roughly; any kv at all where the pack cannot deliver that.
    double CatchingKv(const RandomPowerTrain& t, const std::array<double, 5>& a) {
        const double power = Uniform(76, 160);
        const double u = t.serie * t.slot.Battery.UCell;
        const double r = t.serie * t.slot.Battery.RCell / t.parallel + kWireResistance;
        const double d = u * u - 4 * r * power;
        if (!(d > 0) || !(r > 0)) return Uniform(500, 5000);
        const double current = (u - std::sqrt(d)) / (2 * r);
        const double volts = u - current * (r + t.slot.Motor.Ri);
        const double shaft =
            std::max(1.0, power - t.slot.Motor.Io * u - current * current * t.slot.Motor.Ri);
        const double l = std::log(shaft);
        const double fan = a[0] + l * (a[1] + l * (a[2] + l * (a[3] + l * a[4])));
        const double kv = (fan - 2500 + Uniform(-1500, 1500)) / volts;
        return std::isfinite(kv) && kv > 0 ? kv : Uniform(500, 5000);
    }

    std::mt19937_64 random_;
};

}  // namespace mfb::test
