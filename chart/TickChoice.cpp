// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TickChoice.h"

#include <algorithm>
#include <cmath>

namespace mfb {
namespace {

// An interval as step * 10^exponent, the step 1, 2 or 5.
struct Interval {
    double step;
    int exponent;

    Interval Next() const {
        if (step == 5) return {1, exponent + 1};
        return {step == 1 ? 2.0 : 5.0, exponent};
    }
};

bool Degenerate(double min, double max, int approximateCount) {
    return !std::isfinite(min) || !std::isfinite(max) || !(max > min) || approximateCount < 1;
}

Interval RoundInterval(double min, double max, int approximateCount) {
    // Ends near the largest doubles can lie further apart than a double reaches; their width
    // divided up is still a double.
    const double width = max - min;
    const double raw = std::isfinite(width) ? width / approximateCount
                                            : max / approximateCount - min / approximateCount;
    int exponent = static_cast<int>(std::floor(std::log10(raw)));
    double mantissa = raw / std::pow(10.0, exponent);
    // log10 can land one decade off near a power of ten.
    if (mantissa >= 10) mantissa /= 10, ++exponent;
    if (mantissa < 1) mantissa *= 10, --exponent;
    // Rounded in the logarithm: 1.5 and 3.5 and 7.5 are about the geometric midpoints.
    double step = mantissa < 1.5 ? 1 : mantissa < 3.5 ? 2 : mantissa < 7.5 ? 5 : 10;
    if (step == 10) step = 1, ++exponent;
    return {step, exponent};
}

TickChoice TicksAt(double min, double max, Interval round) {
    const double step = round.step;
    const int exponent = round.exponent;
    // Whole multiples of step * 10^exponent, formed as one product or quotient of two integers in
    // double so that 0.2 or 0.05 come out as the doubles nearest those decimals.
    const double scale = std::pow(10.0, std::abs(exponent));
    const auto value = [&](double multiple) {
        return exponent < 0 ? multiple / scale : multiple * scale;
    };
    const double interval = value(step);
    double first = std::ceil(min / interval);
    // The quotient may have rounded down onto the multiple just below the minimum.
    if (value(first * step) < min) ++first;
    const double anchor = value(first * step);
    // Beyond 2^53 the multiples are no longer whole, and below a double's spacing at `min` the
    // ticks would not advance.
    if (std::abs(first * step) > 9.007199254740992e15 || !(min + interval > min) ||
        !std::isfinite(anchor)) {
        const int decimals = static_cast<int>(-std::floor(std::log10(max - min)));
        return {min, max - min, std::clamp(decimals, 0, 17)};
    }
    // The axis counts its ticks from the multiple at or below the minimum, which beyond the
    // largest double is an infinity it never counts up from; from the minimum itself it counts
    // from where it is.
    const int decimals = std::max(0, -exponent);
    if (!std::isfinite(min - interval)) return {min, interval, decimals};
    return {anchor, interval, decimals};
}

// Whether every label of `ticks` fits its room; an axis of one tick has nothing to part.
bool Readable(const TickChoice& ticks, double min, double max, double length,
              const LabelExtent& extent, double gap) {
    const double count = std::floor((max - ticks.anchor) / ticks.interval) + 1;
    if (!(count > 1)) return true;
    // Beyond a few hundred ticks no label fits any axis a screen shows.
    if (count > 1000) return false;
    const double room = std::min(ticks.interval / (max - min) * length, length / count) - gap;
    for (int k = 0; k < static_cast<int>(count); ++k) {
        if (extent(ticks.anchor + k * ticks.interval, ticks.decimals) > room) return false;
    }
    return true;
}

}  // namespace

TickChoice ChooseTicks(double min, double max, int approximateCount) {
    if (Degenerate(min, max, approximateCount)) return {min, 1, 0};
    return TicksAt(min, max, RoundInterval(min, max, approximateCount));
}

TickChoice ChooseReadableTicks(double min, double max, int approximateCount, double length,
                               const LabelExtent& extent, double gap) {
    if (Degenerate(min, max, approximateCount)) return {min, 1, 0};
    Interval round = RoundInterval(min, max, approximateCount);
    TickChoice ticks = TicksAt(min, max, round);
    if (!(length > 0) || !std::isfinite(max - min)) return ticks;
    // Widening stops once a single tick is left: then there is nothing to keep apart.
    while (!Readable(ticks, min, max, length, extent, gap) && ticks.interval < max - min) {
        round = round.Next();
        const TickChoice wider = TicksAt(min, max, round);
        if (!(wider.interval > ticks.interval)) break;
        ticks = wider;
    }
    return ticks;
}

}  // namespace mfb
