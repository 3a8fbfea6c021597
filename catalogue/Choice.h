// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "model/OptionSlot.h"

namespace mfb {

// The text a catalogue line shows as its drop-down entry (columns 1-44).
std::string_view EntryText(std::string_view line);

// The byte a catalogue byte compares as when case is ignored: capitals, ASCII and Latin-1 (the
// catalogues' encoding), made small.
unsigned char FoldCase(char c);

// Whether two fan names name one fan where a setup or a list of fans gives a name: blanks around
// each left out, case ignored.
bool SameFanName(std::string_view a, std::string_view b);

// The raw fields the catalogue area shows for a chosen line, unconverted: kv, Ri, Io of a motor;
// capacity, cell resistance, cell voltage, cell weight of a battery.
std::array<std::string_view, 3> MotorParameterTexts(std::string_view motorLine);
std::array<std::string_view, 4> BatteryParameterTexts(std::string_view batteryLine);

// Copies a chosen line into a slot: the name and the line's limits first, then each number in
// column order. A bad field, or a value no part can have (PossibleValue), throws LocatedError
// naming the file, `lineNumber` (the line's in its file; 0 when not known), the field's columns
// and the line; the name, the limits and the numbers before it keep their new values, later ones
// their old. An impossible value is refused only after every number of the line is stored.
void ChooseMotor(TOptionSlot& slot, std::string_view motorLine, char decimalSeparator,
                 std::size_t lineNumber = 0);
void ChooseBattery(TOptionSlot& slot, std::string_view batteryLine, char decimalSeparator,
                   std::size_t lineNumber = 0);

// The slot refers to fan k (1..5) by a copy of its name.
void ChooseFan(TOptionSlot& slot, const FanTable& fans, int fanNumber);

}  // namespace mfb
