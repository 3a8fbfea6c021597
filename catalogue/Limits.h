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
// fan.txt      from line 54, lines of the form  max rpm fan K: RPM  (K from 1 to 5, case
//              ignored, blanks allowed around each part); every other line there is free text
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
inline constexpr std::string_view kFanLimitWords = "max rpm fan";

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
// From the lines after the fan blocks; a fan named by no limit line has none.
FanRpmLimits ReadFanLimits(const std::vector<std::string>& fanLines, char decimalSeparator);

// Where the rpm of a fan limit line ("max rpm fan K: RPM") stands; nothing for any other line.
std::optional<LimitColumns> FanLimitValueColumns(std::string_view line);

// What is wrong with the limits of one catalogue file (motor.txt, battery.txt or fan.txt, by
// `file`), its lines in file order, the first `most` of them. Any other file name has no limits
// and gives no findings.
std::vector<CatalogueFinding> LimitFindings(std::string_view file,
                                            const std::vector<std::string>& lines, char separator,
                                            std::size_t most = static_cast<std::size_t>(-1));

// "motor.txt:3:65-68: warning: ..." as a catalogue checker writes it.
std::string FindingText(const CatalogueFinding& finding);

}  // namespace mfb
