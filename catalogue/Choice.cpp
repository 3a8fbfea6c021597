// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Choice.h"

#include <string>

#include "catalogue/LineLayout.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"

namespace mfb {

namespace {

constexpr Columns kEntry = kEntryColumns;
constexpr Columns kName = kNameColumns;
constexpr Columns kKv = kMotorFields[0].columns, kRi = kMotorFields[1].columns,
                  kIo = kMotorFields[2].columns;
constexpr Columns kCapacity = kBatteryFields[0].columns, kRCell = kBatteryFields[1].columns,
                  kUCell = kBatteryFields[2].columns, kCellWeight = kBatteryFields[3].columns;

std::string_view Cut(std::string_view line, Columns c) {
    return Field(line, c.start, c.width);
}

}  // namespace

std::string_view EntryText(std::string_view line) {
    return Cut(line, kEntry);
}

std::array<std::string_view, 3> MotorParameterTexts(std::string_view line) {
    return {Cut(line, kKv), Cut(line, kRi), Cut(line, kIo)};
}

std::array<std::string_view, 4> BatteryParameterTexts(std::string_view line) {
    return {Cut(line, kCapacity), Cut(line, kRCell), Cut(line, kUCell), Cut(line, kCellWeight)};
}

void ChooseMotor(TOptionSlot& slot, std::string_view line, char separator) {
    slot.MotorName = std::string(Cut(line, kName));
    slot.Motor.Kv = ParseNumber(Cut(line, kKv), separator);
    slot.Motor.Ri = ParseNumber(Cut(line, kRi), separator);
    slot.Motor.Io = ParseNumber(Cut(line, kIo), separator);
}

void ChooseBattery(TOptionSlot& slot, std::string_view line, char separator) {
    slot.BatteryName = std::string(Cut(line, kName));
    slot.Battery.Capacity = ParseNumber(Cut(line, kCapacity), separator);
    slot.Battery.RCell = ParseNumber(Cut(line, kRCell), separator);
    slot.Battery.UCell = ParseNumber(Cut(line, kUCell), separator);
    slot.Battery.CellWeight = ParseNumber(Cut(line, kCellWeight), separator);
}

void ChooseFan(TOptionSlot& slot, const FanTable& fans, int fanNumber) {
    slot.FanName = fans.at(static_cast<std::size_t>(fanNumber - 1)).Name;
}

}  // namespace mfb
