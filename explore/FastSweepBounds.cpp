// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/FastSweepBounds.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "model/PowerTrain.h"

namespace mfb {

namespace {

// Bounds on a value computed the way the model computes it. Every operation below takes the
// operands' bounds at their corners and rounds exactly as the model does; since rounding to nearest
// is monotone, the model's rounded result for any operands within the bounds lies within the
// rounded results at the corners.
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

// The fan curve (FanCurve in model/PowerTrain.h) over a range of shaft powers, following its
// formula term by term. The powers of
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

// Efficiency E(I, U) = 1 - Io / I - I Ri / U, written as the model writes it (Formulas in
// model/PowerTrain.cpp).
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

Range Intersect(Range x, Range y) {
    return {std::max(x.lo, y.lo), std::min(x.hi, y.hi)};
}

// The shaft power along a run, from the current alone. In exact arithmetic the terminal voltage is
// u - I r and the input power U I, so the shaft power P E = (I - Io) U - I^2 Ri is the quadratic
// phi(I) = (I - Io)(u - I r) - I^2 Ri, concave since r + Ri > 0; the current stays between the
// run's ends, so phi stays between its smaller end value and its vertex or larger end value. The
// box of the ends instead pairs the largest input power with the largest efficiency, and its
// width grows with the run's length even where the shaft power hardly changes.
//
// The model's shaft power differs from phi at its own current by its roundings. The current's
// error comes from the discriminant's three roundings, the square root and the subtraction, which
// cancels where the pack resistance is small and grows as the discriminant nears zero (it never
// rises along the sweep, so its value at the run's end bounds it); the voltage's is a unit of the
// double's precision of u; then U I differs from P by u times the current's error plus the
// voltage's, relative to U I. The efficiency's numerator takes five roundings of its terms, and
// the efficiency, the product and the stored double three more relative ones. The bound is twice
// their sum, to cover the second-order terms and the roundings of its own arithmetic.
struct AlongRun {
    Range phi;       // phi over the run's currents
    Extended error;  // how far the model's stored shaft power can lie from phi at its current
};

bool ShaftPowerAlongRun(const TOptionSlot& slot, const RunEnd& a, const RunEnd& b,
                        AlongRun& along) {
    const Extended u = slot.UBattery;
    const Extended r = slot.RTotal;
    const Extended io = slot.Motor.Io;
    const Extended ri = slot.Motor.Ri;
    const Extended ia = a.current;
    const Extended ib = b.current;
    const Extended ua = a.uMotor;
    const Extended ub = b.uMotor;
    // Within these the error terms below are far from overflowing or underflowing.
    const auto sane = [](Extended x) { return x > 0x1p-300L && x < 0x1p300L; };
    if (!(sane(u) && sane(r) && sane(ia) && sane(ib) && sane(ub) && ri >= 0 && ri < 0x1p300L &&
          std::fabs(io) < 0x1p300L && ib * r <= u)) {
        return false;
    }
    // Well clear of zero, so that the exact discriminant is positive too and the root exists.
    const Extended d = Discriminant(slot, b.power);
    if (!(d > 0x1p-60L * u * u)) return false;
    // The efficiency's size, at most; the shaft power's is checked by the caller's bounds.
    const Extended j = std::max(std::fabs(ia - io), std::fabs(ib - io));
    const Extended terms = j * ua + ib * ib * ri;
    if (!(terms < 0x1p1000L * ub * ia)) return false;
    // The error terms are overestimates, twice over, so their own roundings do not matter.
    const Extended cancelled = (0x1p-62L * u * u / std::sqrt(d) + 0x1p-63L * u) / (2 * r * ia);
    const Extended currentError = 1.01L * cancelled + 0x1p-52L;      // relative to the current
    const Extended powerError = u * (currentError + 0x1p-52L) / ub;  // |P / (U I) - 1|
    if (!(powerError < 0x1p-20L)) return false;

    const auto phi = [&](Extended i) { return (i - io) * (u - i * r) - i * i * ri; };
    const Extended atA = phi(ia);
    const Extended atB = phi(ib);
    Extended lo = std::min(atA, atB);
    Extended hi = std::max(atA, atB);
    const Extended curvature = r + ri;
    const Extended rise = u + io * r;
    // Where the vertex rise / 2 (r + Ri) may lie within the run, the quadratic's greatest value.
    const Extended top = rise * rise / (4 * curvature);
    if (!(rise < 2 * curvature * ia * (1 - 0x1p-50L)) &&
        !(rise > 2 * curvature * ib * (1 + 0x1p-50L))) {
        hi = std::max(hi, top - io * u);
    }
    const Extended ownRounding =
        0x1p-58L * (j * (u + ib * r) + ib * ib * ri + top + std::fabs(io) * u);
    along.phi = {lo, hi};
    along.error = 2 * (std::max(std::fabs(lo), std::fabs(hi)) * (powerError + 0x1p-52L) +
                       0x1p-60L * terms + 0x1p-51L * j * u + ownRounding);
    return std::isfinite(along.error) && Finite(along.phi);
}

// The fan curve's slope dRpm/dL over a range of L, term by term.
Range FanSlope(const TFanData& fan, Range l) {
    const auto cube = [](Extended x) { return x * (x * x); };
    const Range l2 = Square(l);
    const Range l3{cube(l.lo), cube(l.hi)};
    return Point(fan.a1) + Span(2 * fan.a2 * l.lo, 2 * fan.a2 * l.hi) +
           Span(3 * fan.a3 * l2.lo, 3 * fan.a3 * l2.hi) +
           Span(4 * fan.a4 * l3.lo, 4 * fan.a4 * l3.hi);
}

Extended Largest(Range x) {
    return std::max(std::fabs(x.lo), std::fabs(x.hi));
}

// Whether a range of derivatives keeps one sign, clear of the roundings that computed it.
bool OneSign(Range x, Extended size) {
    return x.lo > size * 0x1p-40L || x.hi < -size * 0x1p-40L;
}

// The sum of the sizes of the terms of FanCurve (model/PowerTrain.h) where |L| <= m.
Extended FanTerms(const TFanData& fan, Extended m) {
    return std::fabs(fan.a0) + std::fabs(fan.a1) * m + std::fabs(fan.a2) * m * m +
           std::fabs(fan.a3) * m * m * m + std::fabs(fan.a4) * m * m * m * m;
}

// The fan curve over a range of L where its slope keeps one sign: it is monotone there, so it lies
// between its values at L's bounds. The model's rounded curve and this evaluation of it each stay
// within 2^-61 of the sum of the terms' sizes of the exact one.
bool FanRpmAlongRun(const TFanData& fan, Range l, Range& rpm) {
    const Range slope = FanSlope(fan, l);
    if (!OneSign(slope, Largest(slope))) return false;
    const auto curve = [&](Extended x) {
        const Extended x2 = x * x;
        return (((fan.a1 * x + fan.a0) + fan.a2 * x2) + fan.a3 * (x * x2)) + fan.a4 * (x2 * x2);
    };
    const Extended error = 0x1p-58L * FanTerms(fan, Largest(l));
    const Extended atLo = curve(l.lo);
    const Extended atHi = curve(l.hi);
    rpm = Stored({std::min(atLo, atHi) - error, std::max(atLo, atHi) + error});
    return Finite(rpm);
}

// Fan rpm minus motor rpm along a run, where it is monotone. In exact arithmetic both are
// functions of the current: G(I) = Fan(ln phi(I)) - Kv (u - I (r + Ri)), with the derivative
// Fan'(L) phi'(I) / phi(I) + Kv (r + Ri). Where that keeps one sign over the run, G lies between
// its values at the run's ends, and the model's difference at every step lies within twice its
// error of the differences at the ends. The bounds of each value apart pair the fan's extreme
// with the motor's, which lie at different steps where the shaft power passes its peak.
//
// The model's errors: the fan rpm's through the shaft power's error and the logarithm's, the
// curve's roundings and the stored double; the motor rpm's through the terminal voltage's error
// (a unit of the double's precision of u), three roundings and the stored double.
bool DifferenceAlongRun(const TOptionSlot& slot, const TFanData& fan, const RunEnd& a,
                        const RunEnd& b, const AlongRun& along, Range l, Extended fanSize,
                        Range rpmMotor, Range& difference) {
    const Extended u = slot.UBattery;
    const Extended kv = slot.Motor.Kv;
    const Extended curvature = static_cast<Extended>(slot.RTotal) + slot.Motor.Ri;
    const Extended rise = u + static_cast<Extended>(slot.Motor.Io) * slot.RTotal;
    if (!(along.phi.lo > 2 * along.error) || !std::isfinite(kv)) return false;

    const Extended ia = a.current;
    const Extended ib = b.current;
    const Extended widen = 0x1p-60L * (std::fabs(rise) + 2 * curvature * ib);
    const Range phiSlope{rise - 2 * curvature * ib - widen, rise - 2 * curvature * ia + widen};
    const Range phi{along.phi.lo - along.error, along.phi.hi + along.error};
    const Range fanSlope = FanSlope(fan, l);
    const Range motorSlope = Point(kv * curvature);
    // The reciprocals' roundings are far inside the margin of OneSign.
    const Range slope = fanSlope * (phiSlope * Range{1 / phi.hi, 1 / phi.lo}) + motorSlope;
    const Extended slopeSize = Largest(fanSlope) * Largest(phiSlope) / phi.lo + Largest(motorSlope);
    if (!std::isfinite(slopeSize) || !OneSign(slope, slopeSize)) return false;

    const Extended logError = 2 * along.error / along.phi.lo + 0x1p-58L * Largest(l) + LDBL_MIN;
    const Extended fanError = Largest(fanSlope) * logError + 0x1p-51L * fanSize;
    const Extended motorError =
        std::fabs(kv) * 0x1p-51L * (u + ib * slot.Motor.Ri) + 0x1p-52L * Largest(rpmMotor);
    const Extended error =
        2.02L * (fanError + motorError + 0x1p-60L * (fanSize + Largest(rpmMotor)));
    const Extended atA = static_cast<Extended>(a.rpmFan) - a.rpmMotor;
    const Extended atB = static_cast<Extended>(b.rpmFan) - b.rpmMotor;
    difference = {std::min(atA, atB) - error, std::max(atA, atB) + error};
    return std::isfinite(error);
}

}  // namespace

bool BoundRun(const TOptionSlot& slot, const TFanData& fan, const RunEnd& a, const RunEnd& b,
              bool tight, RunBounds& bounds) {
    if (!(a.current <= b.current)) return false;
    const Range current{a.current, b.current};
    const Range uMotor = Span(a.uMotor, b.uMotor);
    bounds.rpmMotor = Span(a.rpmMotor, b.rpmMotor);

    AlongRun along{{0, 0}, 0};
    const bool alongRun = tight && ShaftPowerAlongRun(slot, a, b, along);
    Range shaftPower;
    if (alongRun) {
        // Its checks of the operands' sizes also keep the efficiency and the shaft power from
        // faulting.
        shaftPower = Stored({along.phi.lo - along.error, along.phi.hi + along.error});
        if (!Finite(shaftPower)) return false;
    } else {
        Range efficiency;
        if (!EfficiencyBounds(slot.Motor, current, uMotor, efficiency)) {
            const Range denominator = uMotor * current;
            if (HoldsZero(denominator)) return false;
            const Range numerator =
                (current - Point(slot.Motor.Io)) * uMotor - Square(current) * Point(slot.Motor.Ri);
            efficiency = Stored(numerator / denominator);
        }
        shaftPower = Stored(Range{a.power, b.power} * efficiency);
        if (!Finite(efficiency) || !Finite(shaftPower)) return false;
    }

    Range l;
    if (shaftPower.lo > 0) {
        // The bounds are doubles, whose logarithm costs a fraction of the extended one. The
        // library's logarithm is not guaranteed monotone, only accurate to about an ulp; 2^-46 of
        // the larger bound covers dozens of them.
        const Extended lo = std::log(static_cast<double>(shaftPower.lo));
        const Extended hi = std::log(static_cast<double>(shaftPower.hi));
        const Extended margin = std::max(std::fabs(lo), std::fabs(hi)) * 0x1p-46L + LDBL_MIN;
        l = {lo - margin, hi + margin};
    } else if (shaftPower.hi < 0) {
        l = Point(0);  // the curve's value at 1 W, whose logarithm is exact
    } else {
        return false;  // zero faults in the logarithm
    }
    // Where the terms of the curve are this small, no sum or product in its evaluation overflows,
    // and its values lie within their sum.
    const Extended fanSize = FanTerms(fan, Largest(l));
    bounds.hasDifference =
        alongRun && shaftPower.lo > 0 && fanSize < 0x1p1000L &&
        DifferenceAlongRun(slot, fan, a, b, along, l, fanSize, bounds.rpmMotor, bounds.difference);
    if (bounds.hasDifference) {
        bounds.rpmFan = {-fanSize * (1 + 0x1p-40L), fanSize * (1 + 0x1p-40L)};
        return true;
    }
    bounds.rpmFan = FanRpm(fan, l);
    if (!Finite(bounds.rpmFan)) return false;
    Range curve;
    if (tight && FanRpmAlongRun(fan, l, curve)) bounds.rpmFan = Intersect(bounds.rpmFan, curve);
    return true;
}

}  // namespace mfb
