// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Choice.h"

#include <algorithm>
#include <optional>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/FieldValue.h"
#include "catalogue/Limits.h"
#include "catalogue/LineLayout.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"

namespace mfb {

namespace {

constexpr Columns kEntry = kEntryColumns;
constexpr Columns kName = kNameColumns;
constexpr const NumberField &kKv = kMotorFields[0], &kRi = kMotorFields[1], &kIo = kMotorFields[2];
constexpr const NumberField &kCapacity = kBatteryFields[0], &kRCell = kBatteryFields[1],
                            &kUCell = kBatteryFields[2], &kCellWeight = kBatteryFields[3];

std::string_view Cut(std::string_view line, Columns c) {
    return Field(line, c.start, c.width);
}

// Reads the number fields of one line in column order. A field that does not read throws at once,
// a bad field's error telling where it lies. A value no part can have is refused only once every
// field is stored: the slot then holds the line as written, and a Calculate of it finds no
// operating point rather than one made of the previous entry's values under this entry's name.
class LineNumbers {
public:
    LineNumbers(std::string_view line, char separator, const char* file, std::size_t lineNumber)
        : line_(line), separator_(separator), file_(file), lineNumber_(lineNumber) {}

    void Read(const NumberField& f, double& into) {
        const Columns c = f.columns;
        const std::string_view field = Cut(line_, c);
        const std::size_t last = field.empty() ? c.last() : c.start + field.size() - 1;
        const TextLocation where{file_, lineNumber_, c.start, last, std::string(line_)};
        try {
            into = ParseNumber(field, separator_);
        } catch (const Error& e) {
            throw LocatedError(e.what(), where);
        }
        if (!impossible_ && !PossibleValue(f, into)) {
            const std::string columns =
                " (columns " + std::to_string(c.start) + "-" + std::to_string(last) + ")";
            impossible_.emplace(ImpossibleValueMessage(f, field, columns), where);
        }
    }

    void Done() const {
        if (impossible_) throw *impossible_;
    }

private:
    std::string_view line_;
    char separator_;
    const char* file_;
    std::size_t lineNumber_;
    std::optional<LocatedError> impossible_;
};

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

bool SameFanName(std::string_view a, std::string_view b) {
    a = Trimmed(a);
    b = Trimmed(b);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

std::array<std::string_view, 3> MotorParameterTexts(std::string_view line) {
    return {Cut(line, kKv.columns), Cut(line, kRi.columns), Cut(line, kIo.columns)};
}

std::array<std::string_view, 4> BatteryParameterTexts(std::string_view line) {
    return {Cut(line, kCapacity.columns), Cut(line, kRCell.columns), Cut(line, kUCell.columns),
            Cut(line, kCellWeight.columns)};
}

void ChooseMotor(TOptionSlot& slot, std::string_view line, char separator, std::size_t lineNumber) {
    LineNumbers numbers(line, separator, kMotorFile, lineNumber);
    slot.MotorName = std::string(Cut(line, kName));
    // The limits never fail, so they always belong to the name, whatever number fails below.
    slot.MotorLimits = ReadMotorLimits(line, separator);
    numbers.Read(kKv, slot.Motor.Kv);
    numbers.Read(kRi, slot.Motor.Ri);
    numbers.Read(kIo, slot.Motor.Io);
    numbers.Done();
}

void ChooseBattery(TOptionSlot& slot, std::string_view line, char separator,
                   std::size_t lineNumber) {
    LineNumbers numbers(line, separator, kBatteryFile, lineNumber);
    slot.BatteryName = std::string(Cut(line, kName));
    slot.CellLimits = ReadCellLimits(line, separator);
    numbers.Read(kCapacity, slot.Battery.Capacity);
    numbers.Read(kRCell, slot.Battery.RCell);
    numbers.Read(kUCell, slot.Battery.UCell);
    numbers.Read(kCellWeight, slot.Battery.CellWeight);
    numbers.Done();
}

void ChooseFan(TOptionSlot& slot, const FanTable& fans, int fanNumber) {
    slot.FanName = fans.at(static_cast<std::size_t>(fanNumber - 1)).Name;
}

}  // namespace mfb
