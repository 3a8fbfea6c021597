// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/FastSweep.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "explore/StepPowers.h"
#include "model/PowerTrain.h"
#include "model/SweepSteps.h"

namespace mfb {

namespace {

// Bounds on a value computed the way the model computes it. Every operation below takes the
// operands' bounds at their corners and rounds exactly as the model does; since rounding to nearest
// is monotone, the model's rounded result for any operands within the bounds lies within the
// rounded results at the corners.
struct Range {
    Extended lo, hi;
};

Range Span(Extended a, Extended b) {
    return a <= b ? Range{a, b} : Range{b, a};
}

Range Point(Extended a) {
    return {a, a};
}

Range Corners(Extended a, Extended b, Extended c, Extended d) {
    return {std::min({a, b, c, d}), std::max({a, b, c, d})};
}

Range operator+(Range x, Range y) {
    return {x.lo + y.lo, x.hi + y.hi};
}

Range operator-(Range x, Range y) {
    return {x.lo - y.hi, x.hi - y.lo};
}

Range operator*(Range x, Range y) {
    if (x.lo >= 0 && y.lo >= 0) return {x.lo * y.lo, x.hi * y.hi};
    return Corners(x.lo * y.lo, x.lo * y.hi, x.hi * y.lo, x.hi * y.hi);
}

// The divisor's bounds must not hold zero.
Range operator/(Range x, Range y) {
    if (x.lo >= 0 && y.lo > 0) return {x.lo / y.hi, x.hi / y.lo};
    return Corners(x.lo / y.lo, x.lo / y.hi, x.hi / y.lo, x.hi / y.hi);
}

// x * x of one value, tighter than the product of two independent ones.
Range Square(Range x) {
    if (x.lo >= 0) return {x.lo * x.lo, x.hi * x.hi};
    if (x.hi <= 0) return {x.hi * x.hi, x.lo * x.lo};
    return {0, std::max(x.lo * x.lo, x.hi * x.hi)};
}

// The double the model stores.
Range Stored(Range x) {
    return {static_cast<double>(x.lo), static_cast<double>(x.hi)};
}

bool Finite(Range x) {
    return std::isfinite(x.lo) && std::isfinite(x.hi);
}

bool HoldsZero(Range x) {
    return x.lo <= 0 && x.hi >= 0;
}

// The values a run of steps can take: the stop test and the kept-step test need no more.
struct RunBounds {
    Range rpmMotor{0, 0};
    Range rpmFan{0, 0};
};

// The rpm at each end of a run, and the current and terminal voltage from which the rest follow.
struct RunEnd {
    double power, current, uMotor, rpmMotor;
};

// The fan whose curve decides RpmFan: of several with the slot's name, the last.
const TFanData* DecidingFan(const TOptionSlot& slot, const FanTable& fans) {
    const TFanData* deciding = nullptr;
    for (const TFanData& fan : fans) {
        if (fan.Name == slot.FanName) deciding = &fan;
    }
    return deciding;
}

// The fan curve over a range of shaft powers, following its formula term by term. The powers of
// L are monotone functions of L as rounded (L^2 of |L|), so their bounds are their values at L's
// bounds; only the sum needs the corner rule.
Range FanRpm(const TFanData& fan, Range l) {
    const auto cube = [](Extended x) { return x * (x * x); };
    const Range l2 = Square(l);
    const Range l3{cube(l.lo), cube(l.hi)};
    const Range l4{l2.lo * l2.lo, l2.hi * l2.hi};
    const Range sum = ((Span(fan.a1 * l.lo, fan.a1 * l.hi) + Point(fan.a0)) +
                       Span(fan.a2 * l2.lo, fan.a2 * l2.hi)) +
                      Span(fan.a3 * l3.lo, fan.a3 * l3.hi) + Span(fan.a4 * l4.lo, fan.a4 * l4.hi);
    return Stored(sum);
}

// Efficiency E(I, U) = 1 - Io / I - I Ri / U, written as the model writes it.
Extended Efficiency(const TMotorData& motor, Extended current, Extended uMotor) {
    const Extended ri = motor.Ri;
    return ((current - motor.Io) * uMotor - current * current * ri) / (uMotor * current);
}

// The corner rule is loose for the efficiency, which holds the current four times over. Where
// current and voltage are positive it is bounded through its shape instead: E rises with U (for
// Ri >= 0), and in I it is concave when Io > 0 and falling otherwise, so its least value over the
// box is at U's lower bound and one of I's bounds, its greatest at U's upper bound and one of I's
// bounds or the peak at I = sqrt(Io U / Ri). The model's rounded E lies within a few units of
// 2^-64 (relative to its terms) of the exact one, and so do these evaluations; the margin allows
// far more, and the final rounding to double is monotone.
bool EfficiencyBounds(const TMotorData& motor, Range current, Range uMotor, Range& efficiency) {
    if (!(current.lo > 0 && uMotor.lo > 0)) return false;
    Extended lo = std::min(Efficiency(motor, current.lo, uMotor.lo),
                           Efficiency(motor, current.hi, uMotor.lo));
    Extended hi = std::max(Efficiency(motor, current.lo, uMotor.hi),
                           Efficiency(motor, current.hi, uMotor.hi));
    if (motor.Io > 0 && motor.Ri > 0) {
        const Extended peak = std::sqrt(motor.Io * uMotor.hi / motor.Ri);
        if (peak > current.lo && peak < current.hi) {
            hi = std::max(hi, Efficiency(motor, peak, uMotor.hi));
        }
    }
    const Extended terms = 1 + std::fabs(motor.Io) / current.lo +
                           current.hi * std::fabs(motor.Ri) / uMotor.lo + std::fabs(hi) +
                           std::fabs(lo);
    const Extended margin = terms * 0x1p-56L;
    efficiency = Stored({lo - margin, hi + margin});
    return Finite(efficiency);
}

// Bounds on motor and fan rpm over every step between two evaluated ends, or false where the
// bounds cannot exclude a fault. Needs a positive pack resistance and a non-negative winding
// resistance: current then never falls and terminal voltage never rises from step to step, and
// motor rpm moves one way only.
bool BoundRun(const TOptionSlot& slot, const TFanData& fan, const RunEnd& a, const RunEnd& b,
              RunBounds& bounds) {
    if (!(a.current <= b.current)) return false;
    const Range current{a.current, b.current};
    const Range uMotor = Span(a.uMotor, b.uMotor);
    bounds.rpmMotor = Span(a.rpmMotor, b.rpmMotor);

    Range efficiency;
    if (!EfficiencyBounds(slot.Motor, current, uMotor, efficiency)) {
        const Range denominator = uMotor * current;
        if (HoldsZero(denominator)) return false;
        const Range numerator =
            (current - Point(slot.Motor.Io)) * uMotor - Square(current) * Point(slot.Motor.Ri);
        efficiency = Stored(numerator / denominator);
    }
    const Range shaftPower = Stored(Range{a.power, b.power} * efficiency);
    if (!Finite(efficiency) || !Finite(shaftPower)) return false;

    Range l;
    if (shaftPower.lo > 0) {
        // The library's logarithm is not guaranteed monotone, only accurate to about an ulp;
        // 2^-58 of the larger bound covers dozens of them.
        const Extended lo = std::log(shaftPower.lo);
        const Extended hi = std::log(shaftPower.hi);
        const Extended margin = std::max(std::fabs(lo), std::fabs(hi)) * 0x1p-58L + LDBL_MIN;
        l = {lo - margin, hi + margin};
    } else if (shaftPower.hi < 0) {
        l = Point(0);  // the curve's value at 1 W, whose logarithm is exact
    } else {
        return false;  // zero faults in the logarithm
    }
    bounds.rpmFan = FanRpm(fan, l);
    return Finite(bounds.rpmFan);
}

// Steps in a run that the bounds must settle to be worth computing them; below it, stepping is
// cheaper.
constexpr long long kMinRun = 8;
constexpr long long kFirstRun = 64;
constexpr long long kMaxRun = 1LL << 22;

class FastSweep {
public:
    FastSweep(TOptionSlot& slot, const SweepInputs& in, ResultView& view, CalculateReport& report,
              SweepEffort& effort, const std::atomic<bool>* stop)
        : slot_(slot), in_(in), view_(view), report_(report), effort_(effort), stop_(stop) {}

    // The loop of Calculate. Returns whether it reached Finish, and with it whether at the limit.
    bool Run(bool& atLimit) {
        fan_ = DecidingFan(slot_, in_.Fans);
        bounded_ = fan_ != nullptr && slot_.RTotal > 0 && slot_.Motor.Ri >= 0;
        if (bounded_) lastStep_ = LastPossibleStep();
        ClearFaults();  // the probes need them clear

        long long stepsBeforeRun = 0;
        while (!sweep::StopReached(slot_)) {
            if (stop_ != nullptr && (polls_++ & 4095) == 0 &&
                stop_->load(std::memory_order_relaxed)) {
                throw SweepStopped{};
            }
            if (stepsBeforeRun == 0 && bounded_ && report_.FirstCurrent != 0 &&
                report_.FirstRpmMotor != 0 && lastStep_ - report_.steps >= kMinRun) {
                const long long tried = runLength_;
                if (TrySkip() || tried > kMinRun) continue;
                stepsBeforeRun = kMinRun;
            }
            if (stepsBeforeRun > 0) --stepsBeforeRun;
            if (slot_.PinMotor >= MaxSweepPower) {
                atLimit = true;
                return true;
            }
            slot_.PinMotor = static_cast<double>(slot_.PinMotor + PowerStep);
            ++effort_.evaluations;
            if (!EvaluateAtPower(slot_, in_.Fans)) {
                sweep::EndNotPossible(view_, report_);
                return false;
            }
            sweep::Record(slot_, report_);
        }
        return true;
    }

private:
    // The last step the pack can deliver, or the limit step if it can deliver them all. The
    // discriminant never rises along the sweep, so this is a bisection.
    long long LastPossibleStep() const {
        const StepPowers& steps = StepPowers::Sweep();
        long long good = 0;
        long long bad = steps.LimitStep() + 1;
        if (Discriminant(slot_, steps.Power(steps.LimitStep())) > 0) return steps.LimitStep();
        while (bad - good > 1) {
            const long long mid = good + (bad - good) / 2;
            (Discriminant(slot_, steps.Power(mid)) > 0 ? good : bad) = mid;
        }
        return good;
    }

    // Tries to settle the next run of steps from its two ends. On success the sweep stands at the
    // run's last step with that step's evaluation in the slot, as if every step had been made.
    bool TrySkip() {
        const long long from = report_.steps;
        const long long to = from + std::min(runLength_, lastStep_ - from);
        const double power = StepPowers::Sweep().Power(to);
        Evaluation end;
        ++effort_.evaluations;
        ++effort_.runsTried;
        if (Probe(slot_, in_.Fans, power, end) != ProbeStatus::Evaluated) {
            runLength_ = std::max(kMinRun, runLength_ / 2);
            return false;
        }
        const long long tried = to - from;
        RunBounds bounds;
        const bool bounded =
            BoundRun(slot_, *fan_, {slot_.PinMotor, slot_.Current, slot_.UMotor, slot_.RpmMotor},
                     {power, end.Current, end.UMotor, end.RpmMotor}, bounds);
        ClearFaults();
        const Range& motor = bounds.rpmMotor;
        const Range& fan = bounds.rpmFan;
        const bool neverStops = bounded && fan.hi - StopRpmMargin < motor.lo;
        const bool alwaysKept = motor.lo > fan.hi;
        const bool neverKept = motor.hi <= fan.lo;
        AdaptRunLength(tried, bounded, bounds);
        if (!neverStops || !(alwaysKept || neverKept)) return false;

        ++effort_.blocks;
        effort_.shortened = true;
        report_.steps = to;
        slot_.PinMotor = power;
        SetOutputs(slot_, end);
        if (alwaysKept) {
            report_.result = {end.Current, end.RpmMotor, power, end.Efficiency, end.UMotor};
        }
        return true;
    }

    // The next run's length, from how much of the slack of the tests this run's bounds used up:
    // bounds widen roughly in proportion to a run's length. Only speed depends on it.
    void AdaptRunLength(long long tried, bool bounded, const RunBounds& bounds) {
        double factor = 0.5;
        if (bounded) {
            const double motor = slot_.RpmMotor;
            const double fan = slot_.RpmFan;
            const bool kept = motor > fan;
            // How many times this run's length the slack would last.
            const auto reach = [](double start, double left) {
                return left >= start ? 1e9 : start / (start - left);
            };
            const double stop =
                reach(motor - (fan - StopRpmMargin),
                      static_cast<double>(bounds.rpmMotor.lo - (bounds.rpmFan.hi - StopRpmMargin)));
            const double keep =
                kept
                    ? reach(motor - fan, static_cast<double>(bounds.rpmMotor.lo - bounds.rpmFan.hi))
                    : reach(fan - motor,
                            static_cast<double>(bounds.rpmFan.lo - bounds.rpmMotor.hi));
            const double reachable = 0.7 * std::min(stop, keep);
            // Rpm near the ends of the double range can make the estimate meaningless.
            if (!std::isnan(reachable)) factor = std::clamp(reachable, 0.125, 4.0);
        }
        runLength_ = std::clamp(static_cast<long long>(static_cast<double>(tried) * factor),
                                kMinRun, kMaxRun);
    }

    TOptionSlot& slot_;
    const SweepInputs& in_;
    ResultView& view_;
    CalculateReport& report_;
    SweepEffort& effort_;
    const TFanData* fan_ = nullptr;
    bool bounded_ = false;
    long long lastStep_ = 0;
    long long runLength_ = kFirstRun;
    const std::atomic<bool>* stop_;
    unsigned polls_ = 0;
};

}  // namespace

void FindOperatingPoint(TOptionSlot& slot, const SweepInputs& inputs, ResultView& view,
                        ChartSink& chart, CalculateReport& report, SweepEffort* effort,
                        const std::atomic<bool>* stop) {
    SweepEffort ignored;
    SweepEffort& counted = effort != nullptr ? *effort : ignored;
    counted = SweepEffort{};
    ++counted.evaluations;
    if (!sweep::Begin(slot, inputs, view, chart, report)) return;
    bool atLimit = false;
    if (!FastSweep(slot, inputs, view, report, counted, stop).Run(atLimit)) return;
    sweep::Finish(slot, inputs, view, chart, report, atLimit);
}

}  // namespace mfb
