// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Choice.h"

#include <string>

#include "catalogue/Limits.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"

namespace mfb {

namespace {

// Column layouts as (start, width), columns counted from 1.
struct Columns {
    std::size_t start, width;
};
constexpr Columns kEntry{1, 44};
constexpr Columns kName{1, 20};
constexpr Columns kKv{45, 4}, kRi{51, 5}, kIo{59, 4};
constexpr Columns kCapacity{45, 4}, kRCell{51, 6}, kUCell{59, 5}, kCellWeight{65, 4};

std::string_view Cut(std::string_view line, Columns c) {
    return Field(line, c.start, c.width);
}

}  // namespace

std::string_view EntryText(std::string_view line) {
    return Cut(line, kEntry);
}

unsigned char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<unsigned char>(u + 0x20);
    // Latin-1 capitals À..Þ sit 0x20 below their small letters; 0xD7 is the multiplication sign.
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<unsigned char>(u + 0x20);
    return u;
}

std::array<std::string_view, 3> MotorParameterTexts(std::string_view line) {
    return {Cut(line, kKv), Cut(line, kRi), Cut(line, kIo)};
}

std::array<std::string_view, 4> BatteryParameterTexts(std::string_view line) {
    return {Cut(line, kCapacity), Cut(line, kRCell), Cut(line, kUCell), Cut(line, kCellWeight)};
}

void ChooseMotor(TOptionSlot& slot, std::string_view line, char separator) {
    slot.MotorName = std::string(Cut(line, kName));
    // The limits never fail, so they always belong to the name, whatever number fails below.
    slot.MotorLimits = ReadMotorLimits(line, separator);
    slot.Motor.Kv = ParseNumber(Cut(line, kKv), separator);
    slot.Motor.Ri = ParseNumber(Cut(line, kRi), separator);
    slot.Motor.Io = ParseNumber(Cut(line, kIo), separator);
}

void ChooseBattery(TOptionSlot& slot, std::string_view line, char separator) {
    slot.BatteryName = std::string(Cut(line, kName));
    slot.CellLimits = ReadCellLimits(line, separator);
    slot.Battery.Capacity = ParseNumber(Cut(line, kCapacity), separator);
    slot.Battery.RCell = ParseNumber(Cut(line, kRCell), separator);
    slot.Battery.UCell = ParseNumber(Cut(line, kUCell), separator);
    slot.Battery.CellWeight = ParseNumber(Cut(line, kCellWeight), separator);
}

void ChooseFan(TOptionSlot& slot, const FanTable& fans, int fanNumber) {
    slot.FanName = fans.at(static_cast<std::size_t>(fanNumber - 1)).Name;
}

}  // namespace mfb
