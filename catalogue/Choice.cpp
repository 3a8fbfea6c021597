// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Choice.h"

#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/Limits.h"
#include "catalogue/LineLayout.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"

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

// The number in columns `c`; a bad field's error tells where it lies.
double Number(std::string_view line, Columns c, char separator, const char* file,
              std::size_t lineNumber) {
    const std::string_view field = Cut(line, c);
    try {
        return ParseNumber(field, separator);
    } catch (const Error& e) {
        const std::size_t last = field.empty() ? c.last() : c.start + field.size() - 1;
        throw LocatedError(e.what(), {file, lineNumber, c.start, last});
    }
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

void ChooseMotor(TOptionSlot& slot, std::string_view line, char separator, std::size_t lineNumber) {
    const auto number = [&](Columns c) {
        return Number(line, c, separator, kMotorFile, lineNumber);
    };
    slot.MotorName = std::string(Cut(line, kName));
    // The limits never fail, so they always belong to the name, whatever number fails below.
    slot.MotorLimits = ReadMotorLimits(line, separator);
    slot.Motor.Kv = number(kKv);
    slot.Motor.Ri = number(kRi);
    slot.Motor.Io = number(kIo);
}

void ChooseBattery(TOptionSlot& slot, std::string_view line, char separator,
                   std::size_t lineNumber) {
    const auto number = [&](Columns c) {
        return Number(line, c, separator, kBatteryFile, lineNumber);
    };
    slot.BatteryName = std::string(Cut(line, kName));
    slot.CellLimits = ReadCellLimits(line, separator);
    slot.Battery.Capacity = number(kCapacity);
    slot.Battery.RCell = number(kRCell);
    slot.Battery.UCell = number(kUCell);
    slot.Battery.CellWeight = number(kCellWeight);
}

void ChooseFan(TOptionSlot& slot, const FanTable& fans, int fanNumber) {
    slot.FanName = fans.at(static_cast<std::size_t>(fanNumber - 1)).Name;
}

}  // namespace mfb
