// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/OptionSlot.h"

namespace mfb {

// The limits a catalogue may state, where the reading of its fields never looks: fixed columns
// after the last field of a motor or battery line, and lines after the fifth fan block of the fan
// file. A catalogue without them reads as it always has, and one with them reads the same in a
// program that does not know them. A blank limit is absent; a malformed one is absent too and
// reported as a finding, and never stops the loading.
//
// motor.txt    columns 65-68  maximum continuous current, A
//              columns 71-75  maximum input power, W
// battery.txt  columns 71-74  maximum continuous discharge of one cell, C
// fan.txt      from line 54, lines of the forms of kFanLineForms, such as  max rpm fan K: RPM
//              (K from 1 to 5, case ignored, blanks allowed around each part); every other line
//              there is free text
//
// The fan lines also state what a fan's jet figures need (its swept area and static efficiency):
// read, checked and converted as the limits are, and absent in the same way.
struct LimitColumns {
    std::size_t first, last;  // columns counted from 1
};
inline constexpr LimitColumns kMotorMaxCurrent{65, 68};
inline constexpr LimitColumns kMotorMaxPower{71, 75};
inline constexpr LimitColumns kCellMaxRate{71, 74};
inline constexpr LimitColumns kMotorLimitColumns[] = {kMotorMaxCurrent, kMotorMaxPower};
inline constexpr LimitColumns kCellLimitColumns[] = {kCellMaxRate};
// Fan limit lines may stand from the first line after the fifth fan block on.
inline constexpr std::size_t kFirstFanLimitLine = 54;

// The lines a fan file may hold after its fan blocks, "WORDS K: VALUE".
enum class FanLineKind { MaxRpm, SweptArea, StaticEfficiency };
struct FanLineForm {
    FanLineKind kind;
    std::string_view words;     // lower case, before the fan number
    std::string_view value;     // the value's placeholder in the form, as messages show it
    std::string_view line;      // what messages call such a line
    std::string_view noun;      // what messages call its value
    std::string_view quantity;  // what messages call the number after the colon
    std::string_view whose;     // the value as a converter's message names it
    double most;                // the largest value that makes sense; every value is above 0
};
inline constexpr FanLineForm kFanLineForms[] = {
    {FanLineKind::MaxRpm, "max rpm fan", "RPM", "fan limit line", "limit", "rpm",
     "a fan's rpm limit", 1e300},
    {FanLineKind::SweptArea, "swept area fan", "CM2", "fan data line", "swept area", "swept area",
     "a fan's swept area", 1e300},
    {FanLineKind::StaticEfficiency, "static efficiency fan", "FRACTION", "fan data line",
     "static efficiency", "efficiency", "a fan's static efficiency", 1},
};

// The shortest text that reads back as `value`, "1", "2000" or "1e+300" alike: a catalogue value
// may lie far beyond any integer type, so none is cast to one to be shown.
std::string ShortestText(double value);

// One thing wrong with a catalogue, in the file as written: lines and columns counted from 1.
struct CatalogueFinding {
    std::string file;
    std::size_t line = 0;
    std::size_t firstColumn = 0;
    std::size_t lastColumn = 0;
    std::string message;
};

// The limits of one line, those that read well; never throws.
TMotorLimits ReadMotorLimits(std::string_view line, char decimalSeparator);
TCellLimits ReadCellLimits(std::string_view line, char decimalSeparator);
// From the lines after the fan blocks; a fan named by no line of a form has no value of it.
FanRpmLimits ReadFanLimits(const std::vector<std::string>& fanLines, char decimalSeparator);
FanJetTable ReadFanJetData(const std::vector<std::string>& fanLines, char decimalSeparator);

// Where the value of a fan line of kFanLineForms stands, and the form of the line; nothing for any
// other line.
struct FanLineValue {
    LimitColumns columns;
    const FanLineForm& form;
};
std::optional<FanLineValue> FanLineValueAt(std::string_view line);

// What is wrong with the limits of one catalogue file (motor.txt, battery.txt or fan.txt, by
// `file`), its lines in file order, the first `most` of them. Any other file name has no limits
// and gives no findings.
std::vector<CatalogueFinding> LimitFindings(std::string_view file,
                                            const std::vector<std::string>& lines, char separator,
                                            std::size_t most = static_cast<std::size_t>(-1));

// "motor.txt:3:65-68: warning: ..." as a catalogue checker writes it.
std::string FindingText(const CatalogueFinding& finding);

}  // namespace mfb
