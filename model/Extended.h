// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cfenv>
#include <cfloat>

#include "model/Error.h"

namespace mfb {

// Formulas are evaluated in 80-bit extended precision and rounded to double once, when stored.
// On x86-64 Linux long double is the x87 format; the static_assert keeps a port from silently
// computing something else. Extended constants must carry the L suffix: (long double)0.1 is the
// double nearest 0.1, not the extended one.
using Extended = long double;
static_assert(LDBL_MANT_DIG == 64, "the model needs the 80-bit extended format");

// The three floating-point conditions that are errors. Underflow, denormals and inexact results
// are not.
inline constexpr int kFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// Read straight from the x87 status word and the SSE control register, as fetestexcept does, but
// inline: the library call costs a sweep step several percent. The flag bits are the same in both
// registers and in <cfenv>.
inline int RaisedFaults() {
#if defined(__x86_64__)
    unsigned short x87;
    unsigned int sse;
    // The clobber orders the reads after the stores that Materialize forced, as a call would.
    asm volatile("fnstsw %0" : "=am"(x87) : : "memory");
    asm volatile("stmxcsr %0" : "=m"(sse));
    return (x87 | sse) & kFaultFlags;
#else
    return std::fetestexcept(kFaultFlags);
#endif
}
inline bool FaultRaised() {
    return RaisedFaults() != 0;
}
// Reading the flags is much cheaper than writing them, and they are nearly always clear.
inline void ClearFaults() {
    if (FaultRaised()) std::feclearexcept(kFaultFlags);
}

// Throws the message of the raised fault, if any, and clears the flags.
void ThrowIfFaulted();

// Makes the compiler finish computing `value` here. GCC does not model the floating-point flags,
// so without this it may legally move arithmetic past the code that reads them.
template <class T>
inline void Materialize(T& value) {
    asm volatile("" : "+m"(value));
}

// Rounds an extended result to the double that is stored and reports a fault that the formula or
// the rounding raised. The flags must be clear before the formula.
inline double Store(Extended value) {
    double stored = static_cast<double>(value);
    Materialize(stored);
    ThrowIfFaulted();
    return stored;
}

// The rounding of a formula that runs twice only when it must: unchecked first, with one look at
// the flags at the end, and checked, storing and throwing formula by formula, only after a fault.
// Both passes are the same code, which keeps their results identical.
template <bool kChecked>
double StoreIf(Extended value) {
    if constexpr (kChecked) {
        return Store(value);
    } else {
        return static_cast<double>(value);
    }
}

// Same check for a value that stays extended (a logarithm) but whose fault must be reported before
// later operations turn it into another.
inline Extended Checked(Extended value) {
    Materialize(value);
    ThrowIfFaulted();
    return value;
}

}  // namespace mfb
