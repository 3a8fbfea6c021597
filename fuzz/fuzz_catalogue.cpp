// SPDX-License-Identifier: GPL-3.0-or-later
// Loading three arbitrary catalogue files, then choosing every line. Input: one byte of flags
// (bit 0: ',' as the separator, bits 1-3: motor.txt, battery.txt, fan.txt cannot be opened), then
// the three files separated by the byte 0x1E.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "fuzz/FuzzChecks.h"
#include "model/Error.h"

namespace {

using mfb::fuzz::Fail;
using mfb::fuzz::Require;

constexpr std::size_t kMaxChoices = 64;

bool CaseLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

enum class Stage { None, Motors, Batteries, Fans };

class StageObserver : public mfb::LoadObserver {
public:
    void MotorsRead(const mfb::Catalogue&) override { Advance(Stage::None, Stage::Motors); }
    void BatteriesRead(const mfb::Catalogue&) override { Advance(Stage::Motors, Stage::Batteries); }
    void FansRead(const mfb::Catalogue&) override { Advance(Stage::Batteries, Stage::Fans); }
    Stage stage = Stage::None;

private:
    void Advance(Stage from, Stage to) {
        Require(stage == from, "loading stages out of order");
        stage = to;
    }
};

void CheckLines(const std::vector<std::string>& lines, std::string_view file, const char* what) {
    std::size_t bytes = 0;
    for (const std::string& line : lines) {
        Require(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
                "a line holds a line end or a NUL", what);
        bytes += line.size();
    }
    Require(lines.size() <= file.size() && bytes <= file.size(), "more lines than bytes", what);
}

bool IsIndexMessage(std::string_view message, std::size_t fanLines) {
    const std::size_t expected = std::max<std::size_t>(fanLines, 13);
    return message == "List index out of bounds (" + std::to_string(expected) + ")";
}

// A choice either succeeds or names one of the line's own number fields.
template <std::size_t N>
void CheckChoice(const std::array<std::string_view, N>& fields,
                 const std::function<void()>& choose) {
    try {
        choose();
    } catch (const mfb::Error& e) {
        // A bad field, or a value no part can have ("kv is 0 (columns 45-48): ...").
        const bool known = std::any_of(fields.begin(), fields.end(),
                                       [&](std::string_view f) {
                                           return mfb::fuzz::IsNumberMessage(e.what(), f);
                                       }) ||
                           std::string_view(e.what()).find(" (columns ") != std::string_view::npos;
        Require(known, "a choice failed with a foreign message", e.what());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t flags = data[0];
    const auto files = mfb::fuzz::SplitFiles({reinterpret_cast<const char*>(data) + 1, size - 1});
    const std::array<const char*, 3> names = {mfb::kMotorFile, mfb::kBatteryFile, mfb::kFanFile};

    mfb::CataloguePlatform platform;
    platform.decimalSeparator = (flags & 1) ? ',' : '.';
    platform.lineLess = CaseLess;
    platform.readFile = [&](const std::string& name) -> std::string {
        for (std::size_t k = 0; k < names.size(); ++k) {
            if (name != names[k]) continue;
            if (flags & (2u << k)) {
                throw mfb::Error("Cannot open file \"/fuzz/" + name + "\". Permission denied");
            }
            return std::string(files[k]);
        }
        Fail("an unknown file was read", name);
    };

    mfb::Catalogue catalogue;
    std::array<mfb::TOptionSlot, mfb::kOptionCount> slots;
    StageObserver observer;
    std::string failure;
    try {
        mfb::LoadCatalogues(catalogue, slots, platform, observer);
    } catch (const mfb::Error& e) {
        failure = e.what();
    }

    const auto openFailed = [&](int k) { return (flags & (2u << k)) != 0; };
    switch (observer.stage) {
        case Stage::None:
            Require(openFailed(0), "motor stage failed without cause", failure);
            break;
        case Stage::Motors:
            Require(openFailed(1), "battery stage failed without cause", failure);
            break;
        case Stage::Batteries: {
            const bool known = openFailed(2) ||
                               IsIndexMessage(failure, catalogue.FanLines.size()) ||
                               std::any_of(catalogue.FanLines.begin(), catalogue.FanLines.end(),
                                           [&](const std::string& line) {
                                               return mfb::fuzz::IsNumberMessage(failure, line);
                                           });
            Require(known, "fan stage failed with a foreign message", failure);
            Require(catalogue.CompleteFans.count < mfb::kFanCount, "fans loaded after a failure");
            for (const mfb::TOptionSlot& slot : slots) {
                Require(slot.FanName.empty(), "a slot named a fan after a failure");
            }
            break;
        }
        case Stage::Fans:
            Require(failure.empty(), "a failure after the last stage", failure);
            Require(catalogue.CompleteFans.count == mfb::kFanCount, "fans not marked loaded");
            Require(catalogue.FanLines.size() >= mfb::kFanFileMinLines, "a short fan file loaded");
            for (const mfb::TOptionSlot& slot : slots) {
                Require(slot.FanName == catalogue.Fans[0].Name, "a slot does not name fan 1");
            }
            break;
    }
    if (observer.stage >= Stage::Motors) CheckLines(catalogue.MotorLines, files[0], "motor");
    if (observer.stage >= Stage::Batteries) CheckLines(catalogue.BatteryLines, files[1], "battery");
    if (observer.stage >= Stage::Batteries && !openFailed(2)) {
        CheckLines(catalogue.FanLines, files[2], "fan");
    }
    Require(std::is_sorted(catalogue.MotorLines.begin(), catalogue.MotorLines.end(), CaseLess),
            "motor lines not sorted");
    Require(std::is_sorted(catalogue.BatteryLines.begin(), catalogue.BatteryLines.end(), CaseLess),
            "battery lines not sorted");
    for (const mfb::TFanData& fan : catalogue.Fans) {
        for (double v : {fan.a0, fan.a1, fan.a2, fan.a3, fan.a4, fan.ChartMinPower, fan.Reserved}) {
            Require(std::isfinite(v), "a fan number is not finite", fan.Name);
        }
    }

    mfb::TOptionSlot slot;
    const char sep = platform.decimalSeparator;
    for (std::size_t i = 0; i < std::min(catalogue.MotorLines.size(), kMaxChoices); ++i) {
        const std::string& line = catalogue.MotorLines[i];
        CheckChoice(mfb::MotorParameterTexts(line), [&] { mfb::ChooseMotor(slot, line, sep); });
        Require(slot.MotorName.size() <= 20, "a motor name longer than 20 columns");
    }
    for (std::size_t i = 0; i < std::min(catalogue.BatteryLines.size(), kMaxChoices); ++i) {
        const std::string& line = catalogue.BatteryLines[i];
        CheckChoice(mfb::BatteryParameterTexts(line), [&] { mfb::ChooseBattery(slot, line, sep); });
        Require(slot.BatteryName.size() <= 20, "a battery name longer than 20 columns");
    }
    for (double v : {slot.Motor.Kv, slot.Motor.Ri, slot.Motor.Io, slot.Battery.Capacity,
                     slot.Battery.RCell, slot.Battery.UCell, slot.Battery.CellWeight}) {
        Require(std::isfinite(v), "a chosen number is not finite");
    }
    return 0;
}
