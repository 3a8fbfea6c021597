// SPDX-License-Identifier: GPL-3.0-or-later
// A whole Calculate from arbitrary catalogue lines. Input: six header bytes (option, cells in
// series, cells in parallel, flags, and the cell counts of a second Calculate on the same slot,
// 0 for none), then a motor line, a battery line and the fan block of a fan file (its lines 14 on),
// separated by LF. Flags: bit 0 ',' as the separator, bit 1 the fan file counts as not loaded,
// bits 2-4 the fan chosen (0 keeps fan 1, 1-5 choose that fan, 6-7 a name no fan has). Every
// Calculate that ends within the fuzzer's budget is done again by the exploration's shortened
// sweep, which must tell the same story.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/FastSweep.h"
#include "fuzz/FuzzChecks.h"
#include "model/Error.h"
#include "model/Sweep.h"
#include "tests/support/RecordingSinks.h"
#include "tests/support/ShownText.h"
#include "tests/support/SweepComparison.h"

namespace {

using mfb::fuzz::Fail;
using mfb::fuzz::Require;

// The core's own bound, MaxSweepPower, is ten million steps: seconds per input under the
// sanitizers. The fuzzer stops a sweep much earlier, in the sink, so that it tries many inputs;
// the property tests run sweeps to the core's bound.
constexpr long long kStepBudget = 50'000;

using Sinks = mfb::test::RecordingSinks;

Sinks MakeSinks() {
    return Sinks(false, 3 * kStepBudget);
}

// What every Calculate shows, however it ended: numbers as the display format writes them, finite
// points and bounds, no point texts.
void CheckShown(const Sinks& sinks, char separator) {
    for (const auto& [field, text] : sinks.values) {
        Require(mfb::test::IsShownNumber(text, separator), "an odd value text", text);
    }
    Require(sinks.nonFinite == 0, "a chart point or axis bound is not finite");
    Require(sinks.nonEmptyTexts == 0, "a chart point has a text");
}

// Some fan has the slot's name, and every fan of that name was read whole.
bool HasCompleteFan(const mfb::TOptionSlot& slot, const mfb::FanTable& fans,
                    mfb::WholeFans completeFans) {
    bool found = false;
    for (int k = 1; k <= mfb::kFanCount; ++k) {
        if (fans[static_cast<std::size_t>(k - 1)].Name != slot.FanName) continue;
        if (k > completeFans.count) return false;
        found = true;
    }
    return found;
}

void CheckOutcome(const mfb::TOptionSlot& slot, const Sinks& sinks,
                  const mfb::CalculateReport& report) {
    using mfb::Outcome;
    switch (report.outcome) {
        case Outcome::NotRun:
            Require(sinks.Untouched(), "a Calculate that did not run showed something");
            return;
        case Outcome::NotPossible:
            Require(
                sinks.warnings == std::vector<std::string>{mfb::NotPossibleMessage(report.reason)},
                "not possible without its one warning");
            Require(!sinks.chartEnabled, "chart enabled after a broken-off sweep");
            Require(sinks.values.size() == (report.reason == mfb::NotPossibleReason::PackTooWeak &&
                                                    report.failedStep == 0
                                                ? 0u
                                                : 3u),
                    "wrong values shown");
            break;
        case Outcome::Calculated:
        case Outcome::StoppedAtLimit: {
            const bool atLimit = report.outcome == Outcome::StoppedAtLimit;
            Require(sinks.warnings.size() == (atLimit ? 1u : 0u), "wrong warnings");
            if (atLimit) {
                Require(sinks.warnings[0].find("stopped") != std::string::npos,
                        "the limit warning does not say so", sinks.warnings[0]);
                Require(slot.PinMotor >= mfb::MaxSweepPower, "stopped below the limit");
            }
            Require(sinks.chartEnabled, "chart not enabled");
            Require(sinks.values.size() == mfb::kResultFieldCount, "not every value shown");
            break;
        }
    }
    Require(sinks.points == 3 * report.steps, "points and steps disagree");
    Require(slot.PinMotor <= mfb::MaxSweepPower + 0.2, "the sweep overran its bound");
}

// The shortened sweep of the exploration must give everything the full one gave but the points.
void CompareWithFastSweep(mfb::TOptionSlot slot, const mfb::SweepInputs& inputs,
                          const mfb::TOptionSlot& fullSlot, const Sinks& full,
                          const mfb::CalculateReport& fullReport, const std::string& fullError) {
    Sinks sinks = MakeSinks();
    mfb::CalculateReport report;
    std::string error;
    try {
        mfb::FindOperatingPoint(slot, inputs, sinks, sinks, report);
    } catch (const mfb::Error& e) {
        error = e.what();
    }
    Require(error == fullError, "the shortened sweep ended otherwise", error);
    Require(sinks.points == 0, "the shortened sweep drew points");
    Require(sinks.events == full.events, "the shortened sweep showed otherwise");
    Require(mfb::test::Describe(report) == mfb::test::Describe(fullReport),
            "the shortened sweep reported otherwise", mfb::test::Describe(report));
    Require(mfb::test::Describe(slot) == mfb::test::Describe(fullSlot),
            "the shortened sweep left the slot otherwise", mfb::test::Describe(slot));
}

void RunCalculate(mfb::TOptionSlot& slot, const mfb::Catalogue& catalogue,
                  mfb::WholeFans completeFans, int option, int serie, int parallel, char sep) {
    Sinks sinks = MakeSinks();
    mfb::CalculateReport report;
    const mfb::SweepInputs inputs{
        catalogue.Fans, catalogue.WireResistance, completeFans, option, serie, parallel, sep};
    const mfb::TOptionSlot before = slot;
    std::string error;
    try {
        mfb::Calculate(slot, inputs, sinks, sinks, report);
    } catch (const Sinks::PointLimitReached&) {
        CheckShown(sinks, sep);
        Require(sinks.values.size() == 3 && sinks.warnings.empty(),
                "a long sweep showed the wrong things");
        return;
    } catch (const mfb::FloatingPointError& e) {
        Require(mfb::fuzz::IsFaultMessage(e.what()), "an unknown fault message", e.what());
        Require(!sinks.chartEnabled && sinks.warnings.empty(), "a fault after the end");
        error = e.what();
    } catch (const mfb::Error& e) {
        const std::string message = e.what();
        const bool noFan = message == "Option " + std::to_string(option) +
                                          " has no valid fan: the fan catalogue \"fan.txt\" did "
                                          "not load";
        const bool negative =
            message == "The pack's total resistance is negative: check the cell resistance of \"" +
                           slot.BatteryName + "\"";
        Require(noFan || negative, "an unknown refusal", message);
        Require(!noFan || !HasCompleteFan(slot, catalogue.Fans, completeFans),
                "a valid fan refused");
        Require(!negative || slot.RTotal < 0, "a positive pack refused");
        Require(sinks.Untouched(), "a refusal showed something");
        error = message;
    } catch (...) {
        Fail("Calculate threw something other than the program's errors");
    }
    CheckShown(sinks, sep);
    if (error.empty()) CheckOutcome(slot, sinks, report);
    CompareWithFastSweep(before, inputs, slot, sinks, report, error);
}

std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == text.npos ? std::string_view() : text.substr(end + 1);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 6;
    if (size < kHeader) return 0;
    const int option = 1 + data[0] % 4;
    const int serie = 1 + data[1] % 40;
    const int parallel = 1 + data[2] % 10;
    const std::uint8_t flags = data[3];
    const char sep = (flags & 1) ? ',' : '.';
    std::string_view text(reinterpret_cast<const char*>(data) + kHeader, size - kHeader);
    // A line as the file reading delivers it: a NUL ends the text, so no name holds one.
    const auto upToNul = [](std::string_view line) {
        return std::string(line.substr(0, line.find('\0')));
    };
    const std::string motorLine = upToNul(NextLine(text));
    const std::string batteryLine = upToNul(NextLine(text));
    const std::string fanFile = std::string(13, '\n') + std::string(text);

    mfb::CataloguePlatform platform;
    platform.decimalSeparator = sep;
    platform.lineLess = [](const std::string& a, const std::string& b) { return a < b; };
    platform.readFile = [&](const std::string& name) {
        if (name == mfb::kMotorFile) return motorLine;
        if (name == mfb::kBatteryFile) return batteryLine;
        return fanFile;
    };
    mfb::Catalogue catalogue;
    std::array<mfb::TOptionSlot, mfb::kOptionCount> slots;
    mfb::LoadObserver observer;
    try {
        mfb::LoadCatalogues(catalogue, slots, platform, observer);
    } catch (const mfb::Error&) {
        // The fan block is broken: the Calculate below must refuse for want of a valid fan.
    }
    mfb::TOptionSlot& slot = slots[static_cast<std::size_t>(option - 1)];
    try {
        mfb::ChooseMotor(slot, motorLine, sep);
    } catch (const mfb::Error&) {
        // What was chosen before the bad field stays, as in the window.
    }
    try {
        mfb::ChooseBattery(slot, batteryLine, sep);
    } catch (const mfb::Error&) {
    }
    const int fanChoice = (flags >> 2) & 7;
    if (fanChoice >= 1 && fanChoice <= mfb::kFanCount) {
        mfb::ChooseFan(slot, catalogue.Fans, fanChoice);
    } else if (fanChoice > mfb::kFanCount) {
        slot.FanName = "\x01 no such fan";
    }
    const mfb::WholeFans completeFans =
        (flags & 2) != 0 ? mfb::WholeFans(0) : catalogue.CompleteFans;

    RunCalculate(slot, catalogue, completeFans, option, serie, parallel, sep);
    if (data[4] != 0) {
        RunCalculate(slot, catalogue, completeFans, option, 1 + (data[4] - 1) % 40,
                     1 + data[5] % 10, sep);
    }
    return 0;
}
