// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/OptionSlot.h"

namespace mfb {

// The double nearest 0.01 ohm: the wiring, added once to every pack.
inline constexpr double kWireResistance = 0.01;

// Pack weight, voltage and total resistance from the slot's cell data and cell counts.
void ComputePack(TOptionSlot& slot, double wireResistance);

// Evaluates pack, motor and fan at slot.PinMotor. Returns false, writing nothing, when the pack
// cannot deliver that power (discriminant not positive). Otherwise writes Current, UMotor,
// RpmMotor, Efficiency and RpmFan (through every fan whose name equals FanName) and returns true.
// Throws FloatingPointError at the first faulting formula; what was stored before it stays.
bool EvaluateAtPower(TOptionSlot& slot, const FanTable& fans);

// Fan rpm at shaft power inputPower * efficiency for fan number 1..5; any other number leaves
// fanRpm untouched.
void Bereken(const FanTable& fans, int fanNumber, double inputPower, double efficiency,
             double& fanRpm);

}  // namespace mfb
