// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "setup/ComparisonTable.h"

namespace mfb {
namespace {

using Cells = std::array<std::string, kOptionCount>;

// Option 1 calculated within two limits and with its fan's jet known, option 2 with a motor only,
// option 3 untouched, option 4 calculated over the motor's power and with a sentence of no row.
// The notes are worded by AssessmentLines itself, so that a change of its wording shows here.
Setup Compared() {
    Setup setup;
    SetupOption& first = setup.option(1);
    first.motor = {"Inrunner 2230-4500  ", "Inrunner 2230-4500  22x30 mm ..."};
    first.battery = {"LiPo 5000", "LiPo 5000 ..."};
    first.fanName = "Fan 70 mm           ";
    first.serie = 9;  // edited after the Calculate that read 6S2P
    Assessment within;
    within.figures = {18.2, 3.25, 512};
    within.limits[static_cast<std::size_t>(LimitKind::MotorCurrent)] =
        LimitCheck{50, 60, 16.666666, false};
    within.limits[static_cast<std::size_t>(LimitKind::FanRpm)] = LimitCheck{40000, 42000, 4.76};
    within.flight.full = Jet{1940.5, 210.25};
    within.flight.part = PartThrottle{};
    within.flight.flightTime = 6.1;
    first.shown = ShownResult{6, 2, {}, AssessmentLines(within, FlightSettings{}, ',')};
    first.shown->values[static_cast<std::size_t>(ResultField::Current)] = "50,00";
    first.shown->values[static_cast<std::size_t>(ResultField::Efficiency)] = "0,82";

    setup.option(2).motor = {"Outrunner", "Outrunner ..."};
    setup.option(2).fanName = "Mini Fan";

    SetupOption& last = setup.option(4);
    last.motor = first.motor;
    last.battery = first.battery;
    last.fanName = "HW-750";
    Assessment over;
    over.limits[static_cast<std::size_t>(LimitKind::MotorPower)] = LimitCheck{917, 700, -31, true};
    over.flight.refusal = {PartRefusal::NoFan, 0, 0};
    last.shown = ShownResult{10, 1, {}, AssessmentLines(over, FlightSettings{}, ',')};
    last.shown->notes.push_back("Pack heavier than the model");
    return setup;
}

TEST(ComparisonTableTest, RowsShowEachOptionsChoicesValuesAndNotes) {
    const char* const kNoJet =
        "Not known: the fan catalogue states no swept area or static efficiency for this fan";
    const std::vector<ComparisonRow> rows = ComparisonRows(Compared());
    const std::vector<ComparisonRow> expected{
        {"Fan", {"Fan 70 mm", "Mini Fan", "", "HW-750"}},
        {"Motor", {"Inrunner 2230-4500", "Outrunner", "", "Inrunner 2230-4500"}},
        {"Battery", {"LiPo 5000", "", "", "LiPo 5000"}},
        {"Cells", {"6S2P", "10S1P", "", "10S1P"}},
        {"Weight", {"", "", "", ""}},
        {"U Battery", {"", "", "", ""}},
        {"U Motor", {"", "", "", ""}},
        {"R Total", {"", "", "", ""}},
        {"Current", {"50,00 A", "", "", ""}},
        {"Rpm", {"", "", "", ""}},
        {"Pin Motor", {"", "", "", ""}},
        {"Pout Motor", {"", "", "", ""}},
        {"Efficiency", {"0,82", "", "", ""}},
        {"C-rate", {"18,20 C", "", "", "0,00 C"}},
        {"Full-throttle run time", {"3,25 min", "", "", "0,00 min"}},
        {"Power per kg", {"512,00 W/kg", "", "", "0,00 W/kg"}},
        // What an option could not work out says why, as a single calculation does.
        {"Static thrust", {"1940,50 g", "", "", kNoJet}},
        {"Efflux speed", {"210,25 km/h", "", "", kNoJet}},
        {"Flight time", {"6,10 min", "", "", "Not known: no fan carries the option's fan name"}},
        {"Motor's maximum continuous current", {"Within 60,00 A by 16,67 %", "", "", ""}},
        {"Motor's maximum input power", {"", "", "", "Over 700,00 W by 31,00 %"}},
        {"Fan's maximum rpm", {"Within 42000,00 rpm by 4,76 %", "", "", ""}},
        {"Notes", {"", "", "", "Pack heavier than the model"}},
    };
    // Row by row, so that a failure names the row and its cells.
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].caption, expected[i].caption);
        EXPECT_EQ(rows[i].cells, expected[i].cells) << expected[i].caption;
    }
    EXPECT_EQ(OptionSummary(Compared(), 1), "Inrunner 2230-4500, LiPo 5000 6S2P, Fan 70 mm");
}

TEST(ComparisonTableTest, AnEmptySetupHasOnlyBlankCells) {
    for (const ComparisonRow& row : ComparisonRows(mfb::Setup{})) {
        EXPECT_EQ(row.cells, Cells{}) << row.caption;
    }
}

}  // namespace
}  // namespace mfb
