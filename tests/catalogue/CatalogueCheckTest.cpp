// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/CatalogueConvert.h"
#include "catalogue/FileReader.h"
#include "catalogue/TextLines.h"

namespace mfb {
namespace {

const std::string kGoodMotor = "Inrunner 2230-4500  22x30 mm   48 g  2-3S   4500  0.078    1.2";
const std::string kGoodBattery =
    "LiPo 2200 25C       pouch cell    55 g      2200  0.0080   3.70   55";

// A copy of `line` with `text` written over it from column `column` on.
std::string At(std::string line, std::size_t column, const std::string& text) {
    line.resize(std::max(line.size(), column - 1 + text.size()), ' ');
    return line.replace(column - 1, text.size(), text);
}

std::vector<std::string> SampleLines(const char* file) {
    return SplitLines(ReadWholeFile(std::string(MFB_SAMPLE_DATA) + "/" + file));
}

std::vector<std::string> Shown(const Findings& findings) {
    std::vector<std::string> shown;
    for (const Finding& f : findings) {
        std::string s = f.file + ":" + std::to_string(f.line) + ":" +
                        std::to_string(f.firstColumn) + "-" + std::to_string(f.lastColumn) + ": ";
        s += f.severity == Severity::Error ? "error: " : "warning: ";
        shown.push_back(s + f.message);
    }
    return shown;
}

struct Row {
    const char* what;
    const char* file;
    std::vector<std::string> lines;
    char separator;
    std::vector<std::string> findings;
};

Findings Check(const Row& row) {
    if (std::string(row.file) == kFanFile) return CheckFanLines(row.lines, row.separator);
    return CheckItemLines(row.lines, row.file, row.separator);
}

std::vector<std::string> FanLinesWith(
    const std::vector<std::pair<std::size_t, std::string>>& replaced) {
    auto lines = SampleLines(kFanFile);
    for (const auto& [number, line] : replaced) {
        lines.resize(std::max(lines.size(), number));
        lines[number - 1] = line;
    }
    return lines;
}

TEST(CatalogueCheckTest, PlantedMistakesAreFoundWhereTheyAre) {
    auto shortFans = SampleLines(kFanFile);
    shortFans.resize(52);
    const Row rows[] = {
        {"the sample motors", kMotorFile, SampleLines(kMotorFile), '.', {}},
        {"the sample batteries", kBatteryFile, SampleLines(kBatteryFile), '.', {}},
        {"the sample fans", kFanFile, SampleLines(kFanFile), '.', {}},
        {"kv one digit too long",
         kMotorFile,
         {At(kGoodMotor, 45, "12000")},
         '.',
         {"motor.txt:1:45-49: warning: kv '12000' runs past its columns 45-48 and is read as "
          "'1200'"}},
        {"kv zero, Io negative",
         kMotorFile,
         {At(At(kGoodMotor, 45, "   0"), 59, "-1.2")},
         '.',
         {"motor.txt:1:45-48: error: kv is 0: the model needs a value above 0",
          "motor.txt:1:59-62: error: Io is -1.2: the model needs a value of 0 or more"}},
        {"a tab for the blanks before kv",
         kMotorFile,
         {"Inrunner 2230-4500\t4500  0.078    1.2"},
         '.',
         {"motor.txt:1:19-19: warning: a tab counts as one column and shifts every field after it",
          "motor.txt:1:45-48: error: kv is missing: the line ends at column 37"}},
        {"a tab for two blanks shifts the numbers a column left",
         kMotorFile,
         {"Inrunner 2840-4300  28x40 mm   95 g\t3S     4300  0.032    2.1"},
         '.',
         {"motor.txt:1:36-36: warning: a tab counts as one column and shifts every field after it",
          "motor.txt:1:44-47: warning: kv '4300' runs past its columns 45-48 and is read as '300'",
          "motor.txt:1:50-54: warning: Ri '0.032' runs past its columns 51-55 and is read as "
          "'.032'"}},
        {"the last number a column early, the line ending inside its columns",
         kBatteryFile,
         {At(kGoodBattery.substr(0, 63), 63, " 100")},
         '.',
         {"battery.txt:1:65-66: error: cell weight is 00: the model needs a value above 0",
          "battery.txt:1:64-66: warning: cell weight '100' runs past its columns 65-68 and is "
          "read as '00'"}},
        {"a name longer than its columns",
         kMotorFile,
         {At(kGoodMotor, 1, "Inrunner 2230-4500XYZ ")},
         '.',
         {"motor.txt:1:1-21: warning: the name 'Inrunner 2230-4500XYZ' is longer than its 20 "
          "columns and is read as 'Inrunner 2230-4500XY'"}},
        {"text in a gap",
         kMotorFile,
         {At(kGoodMotor, 56, "x")},
         '.',
         {"motor.txt:1:56-56: warning: 'x' stands between two fields, where nothing is read"}},
        {"a comma where '.' is in force",
         kMotorFile,
         {At(kGoodMotor, 51, "0,078")},
         '.',
         {"motor.txt:1:51-55: error: Ri: '0,078' is not a valid floating point value: it uses "
          "',', this system's decimal separator is '.'; `mfbcalc-cli convert` rewrites a "
          "catalogue"}},
        {"the same name twice, and an empty line",
         kMotorFile,
         {kGoodMotor, At(kGoodMotor, 21, "other size"), ""},
         '.',
         {"motor.txt:2:1-18: warning: the name 'Inrunner 2230-4500' is also on line 1: the two "
          "cannot be told apart",
          "motor.txt:3:45-48: error: kv is missing: the line is empty"}},
        {"a letter in the cell voltage",
         kBatteryFile,
         {At(kGoodBattery, 59, " 3.7V")},
         '.',
         {"battery.txt:1:59-63: error: cell voltage: ' 3.7V' is not a valid floating point "
          "value"}},
        {"a negative cell resistance",
         kBatteryFile,
         {At(kGoodBattery, 51, "-0.008")},
         '.',
         {"battery.txt:1:51-56: error: cell resistance is -0.008: the model needs a value of 0 "
          "or more"}},
        {"'.' where ',' is in force",
         kBatteryFile,
         {kGoodBattery},
         ',',
         {"battery.txt:1:51-56: error: cell resistance: '0.0080' is not a valid floating point "
          "value: it uses '.', this system's decimal separator is ','; `mfbcalc-cli convert` "
          "rewrites a catalogue",
          "battery.txt:1:59-63: error: cell voltage: ' 3.70' is not a valid floating point "
          "value: it uses '.', this system's decimal separator is ','; `mfbcalc-cli convert` "
          "rewrites a catalogue"}},
        {"fan.txt cut short in fan 5",
         kFanFile,
         shortFans,
         '.',
         {"fan.txt:53:0-0: error: fan 5's reserved is missing: the file ends at line 52 (List "
          "index out of bounds (52))"}},
        {"a tab beside a fan number",
         kFanFile,
         FanLinesWith({{15, "7021.5\t"}}),
         '.',
         {"fan.txt:15:1-7: error: fan 1's a0: '7021.5\t' is not a valid floating point value: it "
          "holds a tab, where only blanks may stand"}},
        {"a zero chart minimum power",
         kFanFile,
         FanLinesWith({{20, "0"}}),
         '.',
         {"fan.txt:20:1-1: warning: fan 1's chart minimum power is 0: the model needs a positive "
          "value"}},
        {"a curve that falls",
         kFanFile,
         FanLinesWith({{15, "500"}, {16, "-100"}, {17, "0"}, {18, "0"}, {19, "0"}}),
         '.',
         {"fan.txt:14:0-0: warning: the curve of 'Fan 50 mm' gives a negative rpm at 149 W",
          "fan.txt:14:0-0: warning: the curve of 'Fan 50 mm' falls with power from 30 W to "
          "3000 W"}},
        {"a curve beyond the doubles within the sweep",
         kFanFile,
         FanLinesWith({{19, "1e308"}}),
         '.',
         {"fan.txt:14:0-0: error: the curve of 'Fan 50 mm' is beyond the range of numbers at 3 W: "
          "a Calculate that reaches it faults (Floating point overflow)"}},
        {"two fans of one name",
         kFanFile,
         FanLinesWith({{22, "Fan 50 mm"}}),
         '.',
         {"fan.txt:22:1-9: warning: fan 2 'Fan 50 mm' has the name of fan 1 'Fan 50 mm': a setup "
          "or --fans cannot tell the two apart"}},
        {"a library fan named as a block's fan, case and blanks aside",
         kFanFile,
         FanLinesWith({{81, "fan 6 name:  FAN 50 MM "}}),
         '.',
         {"fan.txt:81:12-23: warning: fan 6 'FAN 50 MM' has the name of fan 1 'Fan 50 mm': a "
          "setup or --fans cannot tell the two apart"}},
        {"a fan limit that is no number",
         kFanFile,
         FanLinesWith({{60, "max rpm fan 3: fast"}}),
         '.',
         {"fan.txt:60:15-19: warning: ' fast' is not a valid floating point value; the limit is "
          "ignored"}},
        {"a static efficiency given in percent",
         kFanFile,
         FanLinesWith({{60, "static efficiency fan 3: 68"}}),
         '.',
         {"fan.txt:60:25-27: warning: a static efficiency is at most 1; the static efficiency is "
          "ignored"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Shown(Check(row)), row.findings);
    }
}

// Bytes a name should not hold are found at their column, even where a NUL ends what the reading
// sees; the lines are the file's, whatever the line ends.
TEST(CatalogueCheckTest, ControlBytesAreFoundAtTheirColumn) {
    // The third motor's name runs on past its columns with form feeds: the finding that says so
    // quotes the name, and must not carry them raw either.
    const std::string motors = kGoodMotor + "\r\n" + At(kGoodMotor, 3, "\x1b[2J") + "\n" +
                               At(kGoodMotor, 19, "\f\f\f\f") + "\n" +
                               At(kGoodMotor, 3, std::string(1, '\0'));
    const CataloguePlatform platform{
        [&](const std::string& file) {
            if (file == kMotorFile) return motors;
            if (file == kBatteryFile) return kGoodBattery;
            return ReadWholeFile(std::string(MFB_SAMPLE_DATA) + "/" + file);
        },
        {},
        '.'};
    const std::vector<Finding> findings = CheckCatalogues(platform);
    for (const Finding& f : findings) EXPECT_EQ(Printable(f.message), f.message);
    std::vector<std::string> control;
    for (const std::string& shown : Shown(findings)) {
        if (shown.find("control") != std::string::npos || shown.find("NUL") != std::string::npos) {
            control.push_back(shown);
        }
    }
    EXPECT_EQ(control, (std::vector<std::string>{
                           "motor.txt:2:3-3: warning: a control character (\\x1b), which a name "
                           "should not hold",
                           "motor.txt:3:19-19: warning: a control character (\\x0c), which a "
                           "name should not hold",
                           "motor.txt:4:3-3: error: a NUL byte, where the reading stops: the rest "
                           "of the file is not read"}));
}

// Converting keeps every byte but the separators of the number fields, so each field stays in its
// columns and reads back as the same number with the new separator.
TEST(CatalogueConvertTest, OnlyNumberSeparatorsChange) {
    const struct {
        const char* what;
        const char* file;
        std::string text;
        char to;
        std::string expected;
        std::vector<std::string> leftAlone;
    } rows[] = {
        {"a motor line, CR LF kept",
         kMotorFile,
         At(kGoodMotor, 1, "Inrunner 2.2 kW") + "\r\n",
         ',',
         At(At(At(kGoodMotor, 1, "Inrunner 2.2 kW"), 51, "0,078"), 59, " 1,2") + "\r\n",
         {}},
        {"back to '.'", kBatteryFile, At(kGoodBattery, 51, "0,0080   3,70"), '.', kGoodBattery, {}},
        {"a field that is no number",
         kMotorFile,
         At(kGoodMotor, 51, "0.0.8"),
         ',',
         At(At(kGoodMotor, 51, "0.0.8"), 59, " 1,2"),
         {"motor.txt:1:51-55: warning: Ri '0.0.8' reads as a number with neither '.' nor ',' "
          "and is left as it is"}},
        {"a catalogue written with ';'",
         kMotorFile,
         At(kGoodMotor, 51, "0;078"),
         ',',
         At(At(kGoodMotor, 51, "0;078"), 59, " 1,2"),
         {"motor.txt:1:51-55: warning: Ri '0;078' reads as a number with neither '.' nor ',' "
          "and is left as it is"}},
        {"a cell type's limit",
         kBatteryFile,
         At(kGoodBattery, 71, "12.5"),
         ',',
         At(At(kGoodBattery, 51, "0,0080   3,70"), 71, "12,5"),
         {}},
        {"a fan's rpm limit and jet data",
         kFanFile,
         std::string(53, '\n') + "max rpm fan 2: 61000.5\nmax rpm: 3.5\nswept area fan 2: 25.5\n"
                                 "static efficiency fan 2: 0.66\n",
         ',',
         std::string(53, '\n') + "max rpm fan 2: 61000,5\nmax rpm: 3.5\nswept area fan 2: 25,5\n"
                                 "static efficiency fan 2: 0,66\n",
         {}},
        {"fan numbers, not the free lines",
         kFanFile,
         std::string(13, '\n').insert(0, "v1.5 free text") + "Fan 5.5\n7021.5\n-3.1e2\n",
         ',',
         std::string(13, '\n').insert(0, "v1.5 free text") + "Fan 5.5\n7021,5\n-3,1e2\n",
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const Conversion c = ConvertCatalogueText(row.text, row.file, row.to);
        EXPECT_EQ(c.text, row.expected);
        EXPECT_EQ(Shown(c.leftAlone), row.leftAlone);
    }
}

}  // namespace
}  // namespace mfb
