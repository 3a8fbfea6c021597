// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "model/OptionSlot.h"

namespace mfb {

// Where the sweep is predicted to decide: the last step at which the motor does not drive the fan
// (its no-load losses exceed the input), the last step kept before the stop, and the first step at
// which the stop test holds (the step after the sweep's last possible one where it never does).
struct SweepAim {
    long long lastIdle;
    long long lastKept;
    long long stop;
};

// The model (model/PowerTrain.h: PackCurrent, the efficiency of its Formulas, FanCurve) in double
// arithmetic and as a function of the current, to aim the shortened sweep's
// search at the steps that decide it. Along the sweep the shaft power is the quadratic
// (I - Io)(U - I R) - I^2 Ri of the current and the motor rpm is linear in it, so the idle end is a
// root of the quadratic and the kept and stop crossings are found by Newton's method, each in a
// few logarithms. Its values differ from the model's in the last bits, so near a tie it can be a
// step off, and a fan curve with several crossings can mislead it; the search settles every step
// with the model itself, so a wrong aim costs evaluations, never exactness.
class SweepSketch {
public:
    // Needs a positive pack resistance; `fan` is the one that decides the fan rpm.
    SweepSketch(const TOptionSlot& slot, const TFanData& fan);

    // The aim for a sweep at step `from`, where the stop test does not hold, whose last possible
    // step is `lastStep`; nothing where the sketch cannot say: the motor stops driving the fan
    // before the stop, or a value leaves the double range. May raise floating-point flags.
    std::optional<SweepAim> Aim(long long from, long long lastStep) const;

private:
    double CurrentAt(double power) const;
    double PowerAt(double current) const;
    // The shaft power, and its derivative, at a current.
    double Shaft(double current) const;
    double ShaftSlope(double current) const;
    // Fan rpm less `lead` less motor rpm, and its derivative, at a current where the shaft power
    // is positive.
    struct Value {
        double value, slope;
    };
    Value Gap(double current, double lead) const;
    // The current in [lo, hi] at which Gap crosses zero, given it is below zero at lo and not
    // at hi, from a first guess; `at` is left with Gap at the last current tried.
    std::optional<double> Crossing(double lo, double hi, double lead, double guess,
                                   Value& at) const;

    double u_, r_, kv_, ri_, io_;
    double a0_, a1_, a2_, a3_, a4_;
};

}  // namespace mfb
