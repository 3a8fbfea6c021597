// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "model/OptionSlot.h"

namespace mfb {

// The input powers a sweep evaluates at, by step number: step 0 is StartPower and each step adds
// PowerStep to the stored double before it, so the powers are 75 plus accumulated roundings, not
// 75 + 0.1 n. Within one binade the doubles are evenly spaced and adding the extended 0.1 always
// rounds to the same multiple of that spacing, so the sequence is arithmetic there; the grid keeps
// one run per binade and finds any step's power without walking the steps before it.
class StepPowers {
public:
    // The grid of every sweep, built once.
    static const StepPowers& Sweep();

    // The power of step `step`, 0 <= step <= LimitStep().
    double Power(long long step) const;

    // The first step whose power is at least `power` (LimitStep() above the last).
    long long FirstStepFrom(double power) const;

    // The first step whose power is at least MaxSweepPower: a sweep makes no step beyond it.
    long long LimitStep() const { return limitStep_; }

private:
    StepPowers();

    // Steps first .. first + count have powers start + j * spacing; the step after the last one
    // starts the next run.
    struct Run {
        long long first;
        double start;
        double spacing;
        long long count;
    };
    std::vector<Run> runs_;
    long long limitStep_ = 0;
};

// The last step the slot's pack can deliver (its discriminant positive), or the limit step if it
// can deliver them all. Needs a positive pack resistance.
long long LastPossibleStep(const TOptionSlot& slot);

}  // namespace mfb
