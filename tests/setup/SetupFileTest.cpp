// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "model/ColumnRows.h"
#include "setup/SetupFile.h"
#include "setup/SetupMatch.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

// The sample's first motor with its kv changed from 4500 to 4600, and a motor no sample has.
const std::string kChangedMotor =
    "Inrunner 2230-4500  22x30 mm   48 g  2-3S   4600  0.078    1.2    25    250";
const std::string kUnknownMotor =
    "Outrunner \xC9"
    "clair  22x30 mm   48 g  2-3S   4600  0.078    1.2    25    250";

ChosenLine Chosen(const std::string& line) {
    return {LineName(line), line};
}

mfb::Setup FourOptions(const Catalogue& catalogue) {
    mfb::Setup setup;
    setup.selected = 3;
    setup.figures = {912.5, 0.75, 0, 1};
    for (int k = 1; k <= kOptionCount; ++k) {
        SetupOption& o = setup.option(k);
        o.motor = Chosen(catalogue.MotorLines[static_cast<std::size_t>(k)]);
        o.battery = Chosen(catalogue.BatteryLines[static_cast<std::size_t>(k + 1)]);
        o.fan = k + 1;
        o.fanName = catalogue.Fans[static_cast<std::size_t>(k)].Name;
        o.serie = 5 + k;
        o.parallel = k;
    }
    // Calculated with 6S1P before the boxes were changed, within the fan's rpm.
    ShownResult shown;
    shown.calculatedFor = ChosenCombination(setup.option(2));
    shown.calculatedFor.serie = 6;
    shown.calculatedFor.parallel = 1;
    for (std::size_t f = 0; f < shown.values.size(); ++f)
        shown.values[f] = std::to_string(f) + ",25";
    shown.figures[0] = "18,20 C";
    shown.figures[6] = "1,27";
    shown.limits[static_cast<std::size_t>(LimitKind::FanRpm)] = "Over 42000,00 rpm by 3,10 %";
    shown.allUpWeight = "1500,00 g";
    setup.option(2).shown = shown;
    return setup;
}

TEST(SetupFileTest, WhatIsWrittenReadsBackTheSame) {
    const Catalogue catalogue = test::SampleCatalogue();
    mfb::Setup empty;
    empty.option(2).fanName = "Fan \"70\" \\ mm";
    mfb::Setup changed = FourOptions(catalogue);
    changed.option(1).motor = Chosen(kChangedMotor);
    changed.option(4).motor = Chosen(kUnknownMotor);
    changed.option(4).battery = {};
    // Broken off as not possible after the pack's values, for a motor chosen before the one now.
    ShownResult broken;
    broken.calculatedFor = {"Inrunner 4060-2000", "", 3, "Fan 90 mm", 40, 10};
    broken.notPossible = "Combination not possible";
    broken.values[0] = "574,00";
    changed.option(3).shown = broken;
    changed.figures = {std::nullopt, std::nullopt, 0.5, std::nullopt};
    for (const mfb::Setup& setup : {mfb::Setup{}, empty, FourOptions(catalogue), changed}) {
        const std::string text = WriteSetup(setup);
        EXPECT_EQ(text.find_first_of("\x80\xC9"), std::string::npos) << "ASCII only";
        EXPECT_EQ(ReadSetup(text), setup) << text;
    }
}

// Entries are found again by name: the same line is chosen quietly, a changed line of that name
// is chosen with what changed, a missing name leaves the option unchosen and a missing fan name
// keeps the fan number.
TEST(SetupFileTest, OpeningFindsEntriesByName) {
    const Catalogue catalogue = test::SampleCatalogue();
    mfb::Setup saved = FourOptions(catalogue);
    saved.option(2).motor = Chosen(kChangedMotor);
    // Saved by hand without the blanks that pad the name to its columns.
    saved.option(2).motor.name.erase(saved.option(2).motor.name.find_last_not_of(' ') + 1);
    saved.option(3).motor = Chosen(kUnknownMotor);
    saved.option(4).fanName = "Fan 99 mm";
    saved.option(1).fanName = "Fan 80 mm";  // the sample library's fan 6
    const OpenedSetup opened = OpenSetup(ReadSetup(WriteSetup(saved)), catalogue);

    struct Row {
        int option;
        std::optional<std::size_t> motor;
        int fan;
    };
    const Row rows[] = {{1, 1, 2}, {2, 0, 3}, {3, std::nullopt, 4}, {4, 4, 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option);
        const auto k = static_cast<std::size_t>(row.option - 1);
        EXPECT_EQ(opened.found[k].motor, row.motor);
        EXPECT_EQ(opened.found[k].battery, k + 2);
        EXPECT_EQ(opened.setup.options[k].motor.line,
                  row.motor ? catalogue.MotorLines[*row.motor] : std::string());
        EXPECT_EQ(opened.setup.options[k].fan, row.fan);
        EXPECT_EQ(opened.setup.options[k].fanName, catalogue.Fans[k + 1].Name);
    }
    EXPECT_EQ(opened.setup.option(2).shown, saved.option(2).shown);
    const std::vector<std::string> notes = {
        "Option 1: the fan \"Fan 80 mm\" stands in the library of fan.txt as fan 6, on no fan "
        "button, so fan 2 \"" +
            catalogue.Fans[1].Name + "\" is chosen.",
        "Option 2: the motor \"Inrunner 2230-4500\" of motor.txt differs from the one saved: kv "
        "\"4600\" saved, \"4500\" now.",
        "Option 3: the motor \"Outrunner \xC9"
        "clair  22\" is not in motor.txt, so none is chosen.",
        "Option 4: no fan is named \"Fan 99 mm\" in fan.txt, so fan 5 \"" + catalogue.Fans[4].Name +
            "\" is chosen.",
    };
    EXPECT_EQ(opened.notes, notes);
}

// Read again after an edit, a fan of the same name with other data is still chosen, and what
// changed is said, as for a motor.
TEST(SetupFileTest, ReadAgainNamesAFanWhoseDataChanged) {
    Catalogue before = test::SampleCatalogue();
    before.Fans[2].a1 = 2400;
    Catalogue now = before;
    now.Fans[2].a1 = 2500;
    now.FanLimits[2].reset();
    const OpenedSetup opened = OpenSetup(FourOptions(before), now, &before);
    EXPECT_EQ(opened.setup.option(2).fan, 3);
    const std::vector<std::string> notes = {"Option 2: the fan \"" + before.Fans[2].Name +
                                            "\" of fan.txt differs from the one chosen: a1 "
                                            "\"2400\" then, \"2500\" now; max rpm \"46000\" then, "
                                            "(none) now."};
    EXPECT_EQ(opened.notes, notes);
}

TEST(SetupFileTest, RefusesWhatIsNoSetupOrCannotBeRead) {
    const Catalogue catalogue = test::SampleCatalogue();
    const std::string good = WriteSetup(FourOptions(catalogue));
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const auto at = text.find(from);
        if (at == std::string::npos) ADD_FAILURE() << from;
        return text.replace(at, from.size(), to);
    };
    std::string many;
    for (int i = 0; i < 1'000'000; ++i) many += "[],";
    const std::string longKey = "\"" + std::string(1000, 'k') + "\"";
    // Some editors start a file with a byte-order mark.
    EXPECT_NO_THROW(ReadSetup("\xEF\xBB\xBF" + good));
    struct Row {
        std::string text;
        std::string message;
    };
    const Row rows[] = {
        {"", "It is not a setup file."},
        {"Inrunner 2230-4500 ...", "It is not a setup file."},
        {"[1, 2]", "It is not a setup file."},
        {"{\"format\": \"chart\"}", "It is not a setup file."},
        {replaced("\"version\": 2", "\"version\": 3"),
         "It was written by a newer version of the program (setup format 3); this one reads "
         "format 2."},
        {good.substr(0, good.size() / 2), "It is damaged: JSON: "},
        {replaced("\"selected_option\": 3", "\"selected_option\": " + std::string(1'000'000, '[')),
         "It is damaged: JSON: nested too deeply"},
        {replaced("\"options\"", "\"choices\""), "It is damaged: options is missing."},
        {replaced("\"serie\": 6", "\"serie\": 41"),
         "It is damaged: options[1].cells.serie is not a whole number from 1 to 40."},
        {replaced("\"number\": 3", "\"number\": 2.5"),
         "It is damaged: options[2].fan.number is not a whole number from 1 to 5."},
        {replaced("\"name\": \"Fan", "\"name\": \"\\u0100Fan"),
         "It is damaged: options[1].fan.name holds a character no catalogue can."},
        {replaced("\"caption\": \"Weight\"", "\"caption\": \"Mass\""),
         "It is damaged: options[2].shown.values[0].caption is not \"Weight\"."},
        {replaced("\"model_weight\": 912.5", "\"model_weight\": -1"),
         "It is damaged: figures.model_weight is not a weight from 1 to 100000 g."},
        {replaced("\"throttle\": 0.75", "\"throttle\": 0"),
         "It is damaged: figures.throttle is not a fraction from 0.01 to 1."},
        {replaced("\"selected_option\": 3", "\"selected_option\": 3, \"x\": [" + many + "[]]"),
         "It is damaged: JSON: more values than a text of its size may hold"},
        {replaced("\"selected_option\": 3",
                  "\"selected_option\": 3, " + longKey + ": 1, " + longKey + ": 2"),
         "It is damaged: JSON: duplicate key \"" + std::string(60, 'k') + kCutMark + "\""},
        {replaced("\"name\": \"Fan", "\"name\": \"\\u 020Fan"),
         "It is damaged: JSON: bad \\u escape"},
        {replaced("\"name\": \"Fan", "\"name\": \"\\u0x20Fan"),
         "It is damaged: JSON: bad \\u escape"},
        {replaced("\"name\": \"", "\"name\": \"" + std::string(30, 'x')),
         "It is damaged: options[1].motor.name is longer than the 20 characters of a name."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        try {
            ReadSetup(row.text);
            ADD_FAILURE() << "read";
        } catch (const SetupError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, row.message.size()), row.message);
        }
    }
}

// A file of the first version names its settings otherwise and keeps, of a Calculate, only the
// cells it read: its result is taken to be of the option's names and fan.
TEST(SetupFileTest, ReadsTheFirstVersion) {
    const std::string first =
        R"({"format": "mfbcalc setup", "version": 1, "selected_option": 1,
      "figures": {"model_weight_g": 1200, "throttle": 0.7, "full_throttle_share": 0.5,
                  "usable_capacity": 0.9},
      "options": [
        {"motor": {"name": "Inrunner 4060-2000  ", "line": "Inrunner 4060-2000  40x60"},
         "battery": null, "fan": {"number": 3, "name": "Fan 90 mm"},
         "cells": {"serie": 3, "parallel": 1},
         "shown": {"cells": {"serie": 7, "parallel": 1},
                   "values": [)" +
        [] {
            std::string values;
            for (const ColumnRow& row : kColumnRows) {
                values += std::string(values.empty() ? "" : ",") + R"({"caption": ")" +
                          std::string(Caption(row.field)) + R"(", "value": "1,00", "unit": ""})";
            }
            return values;
        }() +
        R"(], "notes": ["Static thrust: 2514,00 g"]}},
        {"motor": null, "battery": null, "fan": {"number": 1, "name": "Mini"},
         "cells": {"serie": 10, "parallel": 1}, "shown": null},
        {"motor": null, "battery": null, "fan": {"number": 1, "name": "Mini"},
         "cells": {"serie": 10, "parallel": 1}, "shown": null},
        {"motor": null, "battery": null, "fan": {"number": 1, "name": "Mini"},
         "cells": {"serie": 10, "parallel": 1}, "shown": null}]})";
    const mfb::Setup read = ReadSetup(first);
    EXPECT_EQ(read.figures, (SetupFigures{1200, 0.7, 0.5, 0.9}));
    const SetupOption& o = read.option(1);
    ASSERT_TRUE(o.shown);
    EXPECT_EQ(o.shown->calculatedFor,
              (CalculatedFor{"Inrunner 4060-2000  ", "", 3, "Fan 90 mm", 7, 1}));
    EXPECT_FALSE(ShowsCurrent(o)) << "the boxes were changed to 3S after the Calculate of 7S";
    EXPECT_EQ(o.shown->figures, ShownResult{}.figures) << "figures are never read from sentences";
}

}  // namespace
}  // namespace mfb
