// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/TickChoice.h"

#include <algorithm>
#include <cmath>

namespace mfb {

TickChoice ChooseTicks(double min, double max, int approximateCount) {
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min) || approximateCount < 1) {
        return {min, 1, 0};
    }
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

}  // namespace mfb
