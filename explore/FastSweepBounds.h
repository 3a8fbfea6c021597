// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Extended.h"
#include "model/OptionSlot.h"

namespace mfb {

// Bounds on a value the model computes, both ends included.
struct Range {
    Extended lo, hi;
};

// An evaluated step at one end of a run of steps: its power, the current and terminal voltage from
// which the rest is bounded, and its rpm.
struct RunEnd {
    double power, current, uMotor, rpmMotor, rpmFan;
};

// The values every step of a run can take: the stop test and the kept-step test need no more.
struct RunBounds {
    Range rpmMotor{0, 0};
    Range rpmFan{0, 0};
    // Fan rpm minus motor rpm at one step, where it could be bounded as such: tighter than the
    // two bounds apart, whose extremes may lie at different steps.
    bool hasDifference = false;
    Range difference{0, 0};
};

// Bounds on motor and fan rpm over every step between two evaluated ends, or false where the
// bounds cannot exclude a fault. Needs a positive pack resistance and a non-negative winding
// resistance: current then never falls and terminal voltage never rises from step to step, and
// motor rpm moves one way only. `tight` adds the bounds that follow the shaft power, the fan curve
// and the difference of the rpm along the run instead of over the box of its ends; all enclose the
// model's values.
bool BoundRun(const TOptionSlot& slot, const TFanData& fan, const RunEnd& a, const RunEnd& b,
              bool tight, RunBounds& bounds);

}  // namespace mfb
