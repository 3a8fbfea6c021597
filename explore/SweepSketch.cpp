// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/SweepSketch.h"

#include <algorithm>
#include <cmath>

#include "explore/StepPowers.h"
#include "model/Sweep.h"

namespace mfb {

SweepSketch::SweepSketch(const TOptionSlot& slot, const TFanData& fan)
    : u_(slot.UBattery),
      r_(slot.RTotal),
      kv_(slot.Motor.Kv),
      ri_(slot.Motor.Ri),
      io_(slot.Motor.Io),
      a0_(fan.a0),
      a1_(fan.a1),
      a2_(fan.a2),
      a3_(fan.a3),
      a4_(fan.a4) {}

double SweepSketch::CurrentAt(double power) const {
    // PackCurrent's root, in the form that does not cancel.
    return 2 * power / (u_ + std::sqrt(u_ * u_ - 4 * r_ * power));
}

double SweepSketch::PowerAt(double current) const {
    return current * (u_ - current * r_);
}

double SweepSketch::Shaft(double current) const {
    return (current - io_) * (u_ - current * r_) - current * current * ri_;
}

double SweepSketch::ShaftSlope(double current) const {
    return u_ + r_ * io_ - 2 * current * (r_ + ri_);
}

SweepSketch::Value SweepSketch::Gap(double current, double lead) const {
    const double shaft = Shaft(current);
    const double l = std::log(shaft);
    // FanCurve in Horner's form, which costs fewer roundings than its own grouping.
    const double fan = a0_ + l * (a1_ + l * (a2_ + l * (a3_ + l * a4_)));
    const double fanSlope = a1_ + l * (2 * a2_ + l * (3 * a3_ + l * 4 * a4_));
    const double k = r_ + ri_;
    return {fan - lead - kv_ * (u_ - current * k),
            fanSlope * ShaftSlope(current) / shaft + kv_ * k};
}

std::optional<double> SweepSketch::Crossing(double lo, double hi, double lead, double current,
                                            Value& at) const {
    // Newton's method kept inside the bracket, bisecting where it would leave it.
    if (!(current > lo && current < hi)) current = lo + (hi - lo) / 2;
    for (int round = 0; round < 40; ++round) {
        at = Gap(current, lead);
        if (!std::isfinite(at.value)) return std::nullopt;
        (at.value < 0 ? lo : hi) = current;
        double next = current - at.value / at.slope;
        if (!(next > lo && next < hi)) next = lo + (hi - lo) / 2;
        // Newton's error squares with each step: after one this small, the next is exact to far
        // below a step.
        if (std::abs(next - current) <= 0x1p-20 * current) return next;
        current = next;
    }
    return std::nullopt;
}

std::optional<SweepAim> SweepSketch::Aim(long long from, long long lastStep) const {
    const StepPowers& steps = StepPowers::Sweep();
    SweepAim aim{from - 1, from, lastStep + 1};
    double first = CurrentAt(steps.Power(from));
    // At the pack's last step the discriminant is barely positive, which in double it may not be:
    // the current is then nearly the pack's greatest, U / 2R.
    double last = CurrentAt(steps.Power(lastStep));
    if (!(last < u_ / (2 * r_))) last = u_ / (2 * r_);
    // The shaft power is a downward parabola in the current: positive between its roots.
    const double a = r_ + ri_;
    const double b = u_ + io_ * r_;
    const double root = std::sqrt(b * b - 4 * a * io_ * u_);
    if (!(a > 0) || !std::isfinite(root)) return std::nullopt;
    const double idleEnd = 2 * io_ * u_ / (b + root);
    const double drivingEnd = (b + root) / (2 * a);
    if (!(Shaft(first) > 0)) {
        aim.lastIdle = steps.FirstStepFrom(PowerAt(idleEnd)) - 1;
        if (aim.lastIdle + 1 > lastStep || aim.lastIdle < from) return std::nullopt;
        from = aim.lastIdle + 1;
        first = CurrentAt(steps.Power(from));
        if (!(Shaft(first) > 0)) return std::nullopt;
        aim.lastKept = from;
    }
    // Up to the shaft power's peak the fan speeds up and the motor slows down, so the stop test
    // changes there once; beyond it, the fan may slow down again.
    const double peak = b / (2 * a);
    // Where the losses catch up with the input again before the pack's last step, the bracket
    // ends just short of that, where the shaft power is still positive in double arithmetic.
    const bool drivesToTheEnd = Shaft(last) > 0;
    if (!drivesToTheEnd) {
        const double span = drivingEnd - std::max(first, peak);
        last = std::nextafter(drivingEnd, 0.0);
        for (double back = 0x1p-40; !(Shaft(last) > 0) && back < 0.5; back *= 256) {
            last = drivingEnd - span * back;
        }
    }
    const Value leadFirst = Gap(first, StopRpmMargin);
    if (!(leadFirst.value < 0) || !(last > first)) return std::nullopt;
    double lo = first;
    Value atLo = leadFirst;
    std::optional<Value> atHi;
    double hi = last;
    if (peak > first && peak < last) {
        const Value atPeak = Gap(peak, StopRpmMargin);
        if (!std::isfinite(atPeak.value)) return std::nullopt;
        if (atPeak.value >= 0) {
            hi = peak;
            atHi = atPeak;
        } else {
            lo = peak;
            atLo = atPeak;
        }
    }
    if (!atHi) {
        atHi = Gap(last, StopRpmMargin);
        if (!std::isfinite(atHi->value)) return std::nullopt;
    }
    double stopCurrent = last;
    Value atStop = *atHi;
    if (atHi->value >= 0) {
        // The first guess is where the gap would close if it changed linearly in the current.
        const std::optional<double> crossing =
            Crossing(lo, hi, StopRpmMargin,
                     lo + (hi - lo) * (atLo.value / (atLo.value - atHi->value)), atStop);
        if (!crossing) return std::nullopt;
        stopCurrent = *crossing;
        aim.stop = steps.FirstStepFrom(PowerAt(stopCurrent));
        if (aim.stop <= from || aim.stop > lastStep) return std::nullopt;
    } else if (!drivesToTheEnd) {
        return std::nullopt;
    }
    // The kept test is the stop test without its margin.
    if (leadFirst.value + StopRpmMargin < 0) {
        const double marginAtStop = atStop.value + StopRpmMargin;
        if (marginAtStop < 0) {
            aim.lastKept = aim.stop - 1;
        } else {
            // The motor is 2500 rpm faster than at the stop: a Newton step from the stop back.
            Value unused{};
            const std::optional<double> crossing =
                Crossing(first, stopCurrent, 0, stopCurrent - marginAtStop / atStop.slope, unused);
            if (!crossing) return std::nullopt;
            aim.lastKept =
                std::clamp(steps.FirstStepFrom(PowerAt(*crossing)) - 1, from, aim.stop - 1);
        }
    }
    return aim;
}

}  // namespace mfb
