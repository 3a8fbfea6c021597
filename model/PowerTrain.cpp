// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PowerTrain.h"

#include <cmath>

#include "model/Extended.h"

namespace mfb {

namespace {

// Reading the floating-point flags costs more than the arithmetic, so an evaluation runs twice
// only when it must: first unchecked into locals, with one look at the flags at the end; only if
// a flag is raised does it run again from clear flags, checking and storing formula by formula, so
// that the fault is reported where it occurs with everything before it stored. Both passes are
// the same code, which keeps their results identical.
template <bool kChecked>
Extended Logarithm(Extended value) {
    if constexpr (kChecked) {
        return Checked(std::log(value));
    } else {
        return std::log(value);
    }
}

template <bool kChecked>
void FanRpm(const TFanData& fan, double inputPower, double efficiency, double& fanRpm) {
    double shaftPower = StoreIf<kChecked>(ShaftPower(inputPower, efficiency));
    // Below zero the losses exceed the input; the curve is then held at its value for 1 W. Zero
    // itself is not replaced and faults in the logarithm.
    if (shaftPower < 0) shaftPower = 1;

    fanRpm = StoreIf<kChecked>(FanCurve(fan, Logarithm<kChecked>(shaftPower)));
}

// Steps 3 onwards of an evaluation, for a positive discriminant d, written into `out` (the slot
// itself on the checked pass). Each formula reads the stored value of the one before.
// explore/FastSweepBounds.cpp bounds these formulas over a run of steps and explore/SweepSketch.cpp
// sketches them in double arithmetic; a change here must follow there.
template <bool kChecked, class Out>
void Formulas(const TOptionSlot& slot, const FanTable& fans, double power, Extended d, Out& out) {
    const Extended u = slot.UBattery;
    const Extended r = slot.RTotal;
    out.Current = StoreIf<kChecked>(PackCurrent(u, r, d));
    const Extended current = out.Current;
    out.UMotor = StoreIf<kChecked>(u - current * r);
    const Extended uMotor = out.UMotor;
    const Extended ri = slot.Motor.Ri;
    out.RpmMotor = StoreIf<kChecked>((uMotor - current * ri) * slot.Motor.Kv);
    // The copper loss is Ri times the square of the full current, and the denominator is the
    // power at the terminals as UMotor * Current, not the stored PinMotor.
    out.Efficiency = StoreIf<kChecked>(
        ((current - slot.Motor.Io) * uMotor - current * current * ri) / (uMotor * current));
    // Every matching fan is evaluated, so of two fans with the same name the later one decides
    // (DecidingFan), and an earlier one may still fault first.
    for (const TFanData& fan : fans) {
        if (slot.FanName == fan.Name) {
            FanRpm<kChecked>(fan, power, out.Efficiency, out.RpmFan);
        }
    }
}

struct Pack {
    double PackWeight, UBattery, RTotal;
};

// The pack from the cell data and counts, written into `out` (the slot itself on the checked
// pass), two passes as for an evaluation.
template <bool kChecked, class Out>
void PackFormulas(const TOptionSlot& slot, double wireResistance, Out& out) {
    const Extended serie = slot.CellsSerie;
    const Extended parallel = slot.CellsParallel;
    const TBatteryData& cell = slot.Battery;
    out.PackWeight =
        StoreIf<kChecked>(PackWeightOf(slot.CellsSerie, cell.CellWeight, slot.CellsParallel));
    out.UBattery = StoreIf<kChecked>(serie * cell.UCell);
    out.RTotal = StoreIf<kChecked>(serie * cell.RCell / parallel + wireResistance);
}

}  // namespace

void ComputePack(TOptionSlot& slot, double wireResistance) {
    ClearFaults();
    Pack pack;
    PackFormulas<false>(slot, wireResistance, pack);
    Materialize(pack);
    if (!FaultRaised()) {
        slot.PackWeight = pack.PackWeight;
        slot.UBattery = pack.UBattery;
        slot.RTotal = pack.RTotal;
        return;
    }
    ClearFaults();
    PackFormulas<true>(slot, wireResistance, slot);
}

const TFanData* DecidingFan(const TOptionSlot& slot, const FanTable& fans) {
    const TFanData* deciding = nullptr;
    for (const TFanData& fan : fans) {
        if (fan.Name == slot.FanName) deciding = &fan;
    }
    return deciding;
}

Extended Discriminant(const TOptionSlot& slot, double power) {
    const Extended u = slot.UBattery;
    const Extended r = slot.RTotal;
    const Extended p = power;
    // Stored doubles squared stay far inside the extended range, so the discriminant itself
    // cannot fault.
    return u * u - 4.0L * r * p;
}

Evaluation OutputsOf(const TOptionSlot& slot) {
    return {slot.Current, slot.UMotor, slot.RpmMotor, slot.Efficiency, slot.RpmFan};
}

void SetOutputs(TOptionSlot& slot, const Evaluation& outputs) {
    slot.Current = outputs.Current;
    slot.UMotor = outputs.UMotor;
    slot.RpmMotor = outputs.RpmMotor;
    slot.Efficiency = outputs.Efficiency;
    slot.RpmFan = outputs.RpmFan;
}

bool EvaluateAtPower(TOptionSlot& slot, const FanTable& fans) {
    const Extended d = Discriminant(slot, slot.PinMotor);
    // Zero is no operating point, not a double root.
    if (!(d > 0)) return false;

    Evaluation out = OutputsOf(slot);
    Formulas<false>(slot, fans, slot.PinMotor, d, out);
    Materialize(out);
    if (!FaultRaised()) {
        SetOutputs(slot, out);
        return true;
    }
    ClearFaults();
    Formulas<true>(slot, fans, slot.PinMotor, d, slot);
    return true;
}

ProbeStatus Probe(const TOptionSlot& slot, const FanTable& fans, double power, Evaluation& out) {
    const Extended d = Discriminant(slot, power);
    if (!(d > 0)) return ProbeStatus::NoOperatingPoint;
    out = OutputsOf(slot);
    Formulas<false>(slot, fans, power, d, out);
    Materialize(out);
    const bool faulted = FaultRaised();
    if (faulted) std::feclearexcept(kFaultFlags);
    return faulted ? ProbeStatus::Faulted : ProbeStatus::Evaluated;
}

void Bereken(const FanTable& fans, int fanNumber, double inputPower, double efficiency,
             double& fanRpm) {
    if (fanNumber < 1 || fanNumber > kFanCount) return;
    ClearFaults();
    FanRpm<true>(fans[fanNumber - 1], inputPower, efficiency, fanRpm);
}

}  // namespace mfb
