// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/StepPowers.h"

#include <algorithm>
#include <cmath>

#include "model/PowerTrain.h"
#include "model/Sweep.h"

namespace mfb {

namespace {

double NextPower(double power) {
    return static_cast<double>(power + PowerStep);
}

}  // namespace

const StepPowers& StepPowers::Sweep() {
    static const StepPowers powers;
    return powers;
}

StepPowers::StepPowers() {
    long long step = 0;
    double power = StartPower;
    while (power < MaxSweepPower) {
        const double spacing = NextPower(power) - power;
        const double binadeTop = std::ldexp(1.0, std::ilogb(power) + 1);
        // Two steps' distance from the top of the binade, where the sums begin to round to the
        // coarser spacing above it. The step across is taken the ordinary way.
        // Likewise short of the limit, which the steps one by one then find exactly.
        const double end = std::min(binadeTop, MaxSweepPower);
        const auto count =
            std::max(0LL, static_cast<long long>(std::floor((end - power) / spacing)) - 2);
        runs_.push_back({step, power, spacing, count});
        step += count;
        power += static_cast<double>(count) * spacing;
        power = NextPower(power);
        ++step;
    }
    runs_.push_back({step, power, 0, 0});
    limitStep_ = step;
}

double StepPowers::Power(long long step) const {
    const auto run = std::prev(std::upper_bound(
        runs_.begin(), runs_.end(), step, [](long long s, const Run& r) { return s < r.first; }));
    return run->start + static_cast<double>(step - run->first) * run->spacing;
}

long long StepPowers::FirstStepFrom(double power) const {
    if (!(power > runs_.front().start)) return 0;
    if (!(power < runs_.back().start)) return limitStep_;
    const auto run = std::prev(std::upper_bound(
        runs_.begin(), runs_.end(), power, [](double p, const Run& r) { return p < r.start; }));
    const auto at = [&](long long j) { return run->start + static_cast<double>(j) * run->spacing; };
    long long j = std::clamp(static_cast<long long>(std::ceil((power - run->start) / run->spacing)),
                             0LL, run->count);
    // The quotient's rounding can put it a step off; past the run's last step comes the next
    // run's first, whose power is above `power`.
    while (j > 0 && at(j - 1) >= power) --j;
    while (j <= run->count && at(j) < power) ++j;
    return run->first + j;
}

long long LastPossibleStep(const TOptionSlot& slot) {
    const StepPowers& steps = StepPowers::Sweep();
    const auto possible = [&](long long step) { return Discriminant(slot, steps.Power(step)) > 0; };
    if (possible(steps.LimitStep())) return steps.LimitStep();
    // The discriminant never rises along the sweep and falls to zero near u^2 / 4R, so the search
    // starts from the first step at that power and walks to the last one where it is positive.
    const Extended u = slot.UBattery;
    const double limit = static_cast<double>(u * u / (4.0L * slot.RTotal));
    long long step = steps.FirstStepFrom(limit);
    while (step > 0 && !possible(step)) --step;
    while (step < steps.LimitStep() && possible(step + 1)) ++step;
    return step;
}

}  // namespace mfb
