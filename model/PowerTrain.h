// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

#include "model/Extended.h"
#include "model/OptionSlot.h"

namespace mfb {

// The double nearest 0.01 ohm: the wiring, added once to every pack.
inline constexpr double kWireResistance = 0.01;

// The motor's shaft power PoutMotor = PinMotor * Efficiency, in extended precision. It is never
// stored: every figure and chart point of it is formed from this one product.
inline Extended ShaftPower(double pinMotor, double efficiency) {
    return static_cast<Extended>(pinMotor) * efficiency;
}

// The pack's weight in grams as ComputePack forms it, before the rounding to the stored double.
inline Extended PackWeightOf(int serie, double cellWeight, int parallel) {
    return static_cast<Extended>(serie) * cellWeight * parallel;
}

// The fan curve, rpm = a0 + a1 L + a2 L^2 + a3 L^3 + a4 L^4 at L = ln P, summed in this grouping in
// extended precision and not rounded: the sweep rounds it when it stores RpmFan, the flight figures
// invert it. explore/FastSweepBounds.cpp (FanRpm, FanTerms) bounds it over intervals and
// explore/SweepSketch.cpp (Gap) sketches it in double arithmetic; a change here must follow there.
inline Extended FanCurve(const TFanData& fan, Extended l) {
    const Extended l2 = l * l;
    const Extended l3 = l * l2;
    const Extended l4 = l2 * l2;
    return (((fan.a1 * l + fan.a0) + fan.a2 * l2) + fan.a3 * l3) + fan.a4 * l4;
}

// The smaller root of R I^2 - U I + P = 0 for the discriminant d = U^2 - 4 R P: the current at
// which the motor terminals receive P. explore/SweepSketch.cpp (CurrentAt) and the bounds of
// explore/FastSweepBounds.cpp (ShaftPowerAlongRun) follow it in double arithmetic.
inline Extended PackCurrent(Extended u, Extended r, Extended d) {
    return (std::sqrt(d) - u) / (-2.0L * r);
}

// The fan whose curve decides the slot's RpmFan: of several with its name, the last, because the
// model evaluates every one in turn. None when no fan carries the name.
const TFanData* DecidingFan(const TOptionSlot& slot, const FanTable& fans);

// Pack weight, voltage and total resistance from the slot's cell data and cell counts.
void ComputePack(TOptionSlot& slot, double wireResistance);

// Evaluates pack, motor and fan at slot.PinMotor. Returns false, writing nothing, when the pack
// cannot deliver that power (discriminant not positive). Otherwise writes Current, UMotor,
// RpmMotor, Efficiency and RpmFan (through every fan whose name equals FanName) and returns true.
// Throws FloatingPointError at the first faulting formula; what was stored before it stays.
bool EvaluateAtPower(TOptionSlot& slot, const FanTable& fans);

// U^2 - 4 R P in extended precision: the pack delivers `power` only where it is positive. It does
// not rise as the power rises, because every rounding in it is monotone. explore/StepPowers.cpp
// and explore/FastSweepBounds.cpp call it rather than mirror it.
long double Discriminant(const TOptionSlot& slot, double power);

// What EvaluateAtPower writes, for a caller that only looks.
struct Evaluation {
    double Current, UMotor, RpmMotor, Efficiency, RpmFan;
};

// The outputs as a slot holds them, and the slot holding them.
Evaluation OutputsOf(const TOptionSlot& slot);
void SetOutputs(TOptionSlot& slot, const Evaluation& outputs);

enum class ProbeStatus { NoOperatingPoint, Evaluated, Faulted };

// EvaluateAtPower at `power` on a copy of the slot's outputs: the same values, but a fault is
// reported instead of thrown. The floating-point flags must be clear before and are left clear.
ProbeStatus Probe(const TOptionSlot& slot, const FanTable& fans, double power, Evaluation& out);

// Fan rpm at shaft power inputPower * efficiency for fan number 1..5; any other number leaves
// fanRpm untouched.
void Bereken(const FanTable& fans, int fanNumber, double inputPower, double efficiency,
             double& fanRpm);

}  // namespace mfb
