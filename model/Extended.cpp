// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Extended.h"

namespace mfb {

void ThrowIfFaulted() {
    const int raised = RaisedFaults();
    if (raised == 0) return;
    std::feclearexcept(kFaultFlags);
    // An overflow or a division by zero yields an infinity, and only later operations on it can
    // raise "invalid" (inf - inf, 0 * inf); the reverse cannot happen, since NaN raises nothing
    // further. So when both are set, the infinity came first.
    if (raised & FE_DIVBYZERO) throw FloatingPointError("Floating point division by zero");
    if (raised & FE_OVERFLOW) throw FloatingPointError("Floating point overflow");
    throw FloatingPointError("Invalid floating point operation");
}

}  // namespace mfb
