// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Extended.h"
#include "model/OptionSlot.h"

namespace mfb {

// Bounds on a value the model computes, both ends included.
struct Range {
    Extended lo, hi;
};

// An evaluated step at one end of a run of steps: its power, and the current, terminal voltage
// and motor rpm from which the rest is bounded.
struct RunEnd {
    double power, current, uMotor, rpmMotor;
};

// The values every step of a run can take: the stop test and the kept-step test need no more.
struct RunBounds {
    Range rpmMotor{0, 0};
    Range rpmFan{0, 0};
};

// The fan whose curve decides RpmFan: of several with the slot's name, the last.
const TFanData* DecidingFan(const TOptionSlot& slot, const FanTable& fans);

// Bounds on motor and fan rpm over every step between two evaluated ends, or false where the
// bounds cannot exclude a fault. Needs a positive pack resistance and a non-negative winding
// resistance: current then never falls and terminal voltage never rises from step to step, and
// motor rpm moves one way only. `tight` adds the bounds that follow the shaft power and the fan
// curve along the run instead of over the box of its ends; both enclose the model's values.
bool BoundRun(const TOptionSlot& slot, const TFanData& fan, const RunEnd& a, const RunEnd& b,
              bool tight, RunBounds& bounds);

}  // namespace mfb
