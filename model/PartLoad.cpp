// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PartLoad.h"

#include <cmath>

#include "model/Derived.h"
#include "model/PowerTrain.h"

namespace mfb {

namespace {

template <class T, class F>
std::optional<double> Get(const std::optional<T>& figure, F field) {
    return figure ? std::optional<double>((*figure).*field) : std::nullopt;
}

}  // namespace

std::vector<PartLoadRow> PartLoadTable(const TOptionSlot& slot, const FanTable& fans,
                                       const FanJetTable& jets, const ResultPoint& point,
                                       double step) {
    std::vector<PartLoadRow> rows;
    if (!(step > 0 && step <= 1)) return rows;
    const TFanData* fan = DecidingFan(slot, fans);
    // Whole steps short of the operating point, then the operating point itself: ten steps of 0.1
    // end on it rather than a rounding beside it, and a step that does not divide 100 % still
    // ends there.
    std::vector<double> throttles;
    for (int k = 1; k * step < 1 - 1e-9; ++k) throttles.push_back(k * step);
    throttles.push_back(1);
    for (const double throttle : throttles) {
        PartLoadRow row;
        row.throttle = throttle;
        row.part = PartThrottleAt(slot, fans, throttle, point, row.refusal);
        if (row.part) {
            if (fan != nullptr) {
                row.jet = StaticJet(row.part->shaftPower,
                                    jets[static_cast<std::size_t>(fan - fans.data())]);
            }
            if (row.part->motorPower > 0)
                row.efficiency = row.part->shaftPower / row.part->motorPower;
            if (row.part->packCurrent > 0 && slot.Battery.Capacity > 0) {
                row.runTime = RunTimeMinutes(slot.Battery.Capacity, slot.CellsParallel,
                                             row.part->packCurrent);
            }
        }
        rows.push_back(row);
    }
    ClearFaults();
    return rows;
}

const std::array<PartLoadColumn, 8> kPartLoadColumns{{
    {"throttle_percent", "Throttle %",
     [](const PartLoadRow& r) -> std::optional<double> { return r.throttle * 100; }},
    {"fan_rpm", "Rpm", [](const PartLoadRow& r) { return Get(r.part, &PartThrottle::fanRpm); }},
    {"shaft_power", "Pout W",
     [](const PartLoadRow& r) { return Get(r.part, &PartThrottle::shaftPower); }},
    {"motor_power", "Pin W",
     [](const PartLoadRow& r) { return Get(r.part, &PartThrottle::motorPower); }},
    {"pack_current", "Current A",
     [](const PartLoadRow& r) { return Get(r.part, &PartThrottle::packCurrent); }},
    {"efficiency", "Eff", [](const PartLoadRow& r) { return r.efficiency; }},
    {"thrust", "Thrust g", [](const PartLoadRow& r) { return Get(r.jet, &Jet::thrust); }},
    {"run_time", "Run min", [](const PartLoadRow& r) { return r.runTime; }},
}};

}  // namespace mfb
