// SPDX-License-Identifier: GPL-3.0-or-later
// The library's Calculate alone, linked into the smallest program, on the combination that
// tools/compare-cli-calculate gives the command line: a 10-cell pack of the "Tall cell" in
// tests/data/long with "alpha 3000" and a fan at 3000 ln P rpm, ten million steps to the 1 MW
// limit. Comparing the two shows what the command line adds around the same Calculate.
#include <cstdio>

#include "model/DiscardingSinks.h"
#include "model/PowerTrain.h"
#include "model/Sweep.h"

int main() {
    using namespace mfb;
    FanTable fans;
    for (int k = 1; k <= kFanCount; ++k) fans[k - 1].Name = "Fan " + std::to_string(k);
    fans[0] = {"Slow Fan", 0, 3000, 0, 0, 0, 30, 0};
    TOptionSlot slot;
    slot.MotorName = "alpha 3000";
    slot.BatteryName = "Tall cell";
    slot.FanName = "Slow Fan";
    slot.Motor = {3000, 0.030, 1.5};
    slot.Battery = {3000, 0.0, 50.0, 56};
    DiscardingSinks sinks;
    CalculateReport report;
    Calculate(slot, {fans, kWireResistance, kAllFansWhole, 1, 10, 1, '.'}, sinks, sinks, report);
    std::printf("%lld steps, %.2f rpm\n", report.steps, report.result.RpmMotor);
}
