// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Limits.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "catalogue/TextLines.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

// The 62 columns that every motor line reads, and the 68 of a battery line.
const std::string kMotor = "alpha 3000          test inrunner           3000  0.030    1.5";
const std::string kCell = "Good cell           enough for a sweep      3000  0.0040   1.20   56";

struct LineRow {
    const char* what;
    std::string line;
    std::optional<double> first, second;  // motor: current, power; cell: rate
    std::vector<std::string> findings;    // "COLUMNS: message"
};

std::vector<std::string> Described(const std::vector<CatalogueFinding>& findings) {
    std::vector<std::string> texts;
    for (const CatalogueFinding& f : findings) {
        texts.push_back(std::to_string(f.line) + ":" + std::to_string(f.firstColumn) + "-" +
                        std::to_string(f.lastColumn) + ": " + f.message);
    }
    return texts;
}

TEST(LimitsTest, MotorColumns) {
    const LineRow rows[] = {
        {"none", kMotor, {}, {}, {}},
        {"both", kMotor + "    45    500", 45.0, 500.0, {}},
        {"power only", kMotor + "          500", {}, 500.0, {}},
        {"current only, line ends early", kMotor + "  45.5", 45.5, {}, {}},
        {"a blank power", kMotor + "    45       ", 45.0, {}, {}},
        {"a bad current",
         kMotor + "    4x    500",
         {},
         500.0,
         {"1:65-68: '  4x' is not a valid floating point value; the limit is ignored"}},
        {"zero and negative",
         kMotor + "     0   -500",
         {},
         {},
         {"1:65-68: a limit must be above 0; the limit is ignored",
          "1:71-75: a limit must be above 0; the limit is ignored"}},
    };
    for (const LineRow& row : rows) {
        SCOPED_TRACE(row.what);
        const TMotorLimits limits = ReadMotorLimits(row.line, '.');
        EXPECT_EQ(limits.MaxCurrent, row.first);
        EXPECT_EQ(limits.MaxPower, row.second);
        EXPECT_EQ(Described(LimitFindings(kMotorFile, {row.line}, '.')), row.findings);
    }
}

TEST(LimitsTest, CellColumnsFollowTheDecimalSeparator) {
    EXPECT_EQ(ReadCellLimits(kCell + "    25", '.').MaxRate, 25.0);
    EXPECT_EQ(ReadCellLimits(kCell + "  12,5", ',').MaxRate, 12.5);
    EXPECT_EQ(ReadCellLimits(kCell + "  12,5", '.').MaxRate, std::nullopt);
    EXPECT_EQ(Described(LimitFindings(kBatteryFile, {kCell, kCell + "  12/5"}, '.')),
              std::vector<std::string>{
                  "2:71-74: '12/5' is not a valid floating point value; the limit is ignored"});
}

TEST(LimitsTest, FanLimitLinesAfterTheFifthFan) {
    std::vector<std::string> lines(kFanFileMinLines, "0");
    lines.insert(lines.end(), {
                                  "Limits, and free text:",     // 54
                                  "max rpm fan 1: 60000",       // 55
                                  "  MAX RPM FAN 3 :  45000 ",  // 56
                                  "max rpm fan 6: 1000",        // 57
                                  "max rpm fan 4 30000",        // 58
                                  "max rpm fan 2: fast",        // 59
                                  "max rpm fan 5:",             // 60: blank, absent
                                  "max rpm fan 1: 62000",       // 61: the later counts
                              });
    const FanRpmLimits limits = ReadFanLimits(lines, '.');
    EXPECT_EQ(limits, (FanRpmLimits{62000.0, std::nullopt, 45000.0, std::nullopt, std::nullopt}));
    EXPECT_EQ(Described(LimitFindings(kFanFile, lines, '.')),
              (std::vector<std::string>{
                  "57:13-13: a fan limit line names fan 1 to 5: \"max rpm fan K: RPM\"",
                  "58:13-19: a fan limit line names fan 1 to 5: \"max rpm fan K: RPM\"",
                  "59:15-19: ' fast' is not a valid floating point value; the limit is ignored",
                  "61:13-13: fan 1 already has a limit on line 55; this later one counts"}));
    // Lines 1 to 53 are never limit lines.
    lines[20] = "max rpm fan 2: 1";
    EXPECT_EQ(ReadFanLimits(lines, '.')[1], std::nullopt);
}

// The jet data lines read as the limit lines do, and a static efficiency is a fraction.
TEST(LimitsTest, FanJetDataLines) {
    std::vector<std::string> lines(kFanFileMinLines, "0");
    lines.insert(lines.end(), {
                                  "swept area fan 1: 14.3",          // 54
                                  "Static Efficiency Fan 1 : 0.62",  // 55
                                  "swept area fan 2: -3",            // 56
                                  "static efficiency fan 3: 1.2",    // 57
                                  "static efficiency fan 4",         // 58
                                  "swept area fan 9: 30",            // 59
                                  "static efficiency fan 5: 0.7",    // 60
                                  "static efficiency fan 5: 0.75",   // 61: the later counts
                                  "max rpm fan 5: 27000",            // 62: a limit, not data
                                  // Read, but questioned: no ducted fan has them.
                                  "swept area fan 3: 1e-300",        // 63
                                  "swept area fan 4: 1e300",         // 64
                                  "static efficiency fan 4: 1e-10",  // 65
                                  "max rpm fan 1: 1e301",            // 66: beyond any integer
                              });
    const FanJetTable jets = ReadFanJetData(lines, '.');
    const std::pair<std::optional<double>, std::optional<double>> expected[] = {
        {14.3, 0.62}, {{}, {}}, {1e-300, {}}, {1e300, 1e-10}, {{}, 0.75}};
    for (std::size_t k = 0; k < jets.size(); ++k) {
        EXPECT_EQ(jets[k].SweptArea, expected[k].first) << "fan " << k + 1;
        EXPECT_EQ(jets[k].StaticEfficiency, expected[k].second) << "fan " << k + 1;
    }
    EXPECT_EQ(ReadFanLimits(lines, '.')[4], 27000.0);
    EXPECT_EQ(
        Described(LimitFindings(kFanFile, lines, '.')),
        (std::vector<std::string>{
            "56:18-20: a swept area must be above 0; the swept area is ignored",
            "57:25-28: a static efficiency is at most 1; the static efficiency is ignored",
            "58:23-23: a fan data line needs a colon before the efficiency",
            "59:16-16: a fan data line names fan 1 to 5: \"swept area fan K: CM2\"",
            "61:23-23: fan 5 already has a static efficiency on line 60; this later one counts",
            "63:18-24: a swept area of 1e-300 cm2 is outside 1 to 2000 cm2, where ducted fans lie; "
            "the figures from it are shown, marked as resting on it",
            "64:18-23: a swept area of 1e+300 cm2 is outside 1 to 2000 cm2, where ducted fans lie; "
            "the figures from it are shown, marked as resting on it",
            "65:25-30: a static efficiency of 1e-10 is outside 0.3 to 0.9, where ducted fans lie; "
            "the figures from it are shown, marked as resting on it",
            "66:15-20: a limit is at most 1e+300; the limit is ignored"}));
}

// The sample catalogues state limits for everything, and read exactly as the same files without
// them: the same entries, names, numbers and fans.
TEST(LimitsTest, TheSamplesReadAsWithoutTheirLimits) {
    const Catalogue catalogue = test::SampleCatalogue();
    EXPECT_TRUE(catalogue.LimitFindings.empty());
    for (const std::string& line : catalogue.MotorLines) {
        SCOPED_TRACE(line);
        TOptionSlot with, without;
        ChooseMotor(with, line, '.');
        ChooseMotor(without, line.substr(0, 62), '.');
        EXPECT_EQ(EntryText(line), EntryText(line.substr(0, 62)));
        EXPECT_EQ(with.MotorName, without.MotorName);
        EXPECT_EQ(MotorParameterTexts(line), MotorParameterTexts(line.substr(0, 62)));
        EXPECT_EQ(std::tie(with.Motor.Kv, with.Motor.Ri, with.Motor.Io),
                  std::tie(without.Motor.Kv, without.Motor.Ri, without.Motor.Io));
        EXPECT_TRUE(with.MotorLimits.MaxCurrent && with.MotorLimits.MaxPower);
        EXPECT_FALSE(without.MotorLimits.MaxCurrent || without.MotorLimits.MaxPower);
    }
    for (const std::string& line : catalogue.BatteryLines) {
        SCOPED_TRACE(line);
        TOptionSlot with, without;
        ChooseBattery(with, line, '.');
        ChooseBattery(without, line.substr(0, 68), '.');
        EXPECT_EQ(EntryText(line), EntryText(line.substr(0, 68)));
        EXPECT_EQ(BatteryParameterTexts(line), BatteryParameterTexts(line.substr(0, 68)));
        EXPECT_EQ(std::tie(with.BatteryName, with.Battery.Capacity, with.Battery.RCell,
                           with.Battery.UCell, with.Battery.CellWeight),
                  std::tie(without.BatteryName, without.Battery.Capacity, without.Battery.RCell,
                           without.Battery.UCell, without.Battery.CellWeight));
        EXPECT_TRUE(with.CellLimits.MaxRate);
        EXPECT_FALSE(without.CellLimits.MaxRate);
    }
    for (std::size_t k = 0; k < catalogue.FanLimits.size(); ++k) {
        EXPECT_TRUE(catalogue.FanLimits[k]) << "fan " << k + 1;
        EXPECT_TRUE(catalogue.FanJet[k].SweptArea && catalogue.FanJet[k].StaticEfficiency)
            << "fan " << k + 1;
    }
}

}  // namespace
}  // namespace mfb
