// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "setup/ComparisonTable.h"

namespace mfb {
namespace {

using Cells = std::array<std::string, kOptionCount>;

// Option 1 calculated within two limits with a model weight, option 2 with a motor only, option 3
// calculated and then given another pack, option 4 broken off as not possible after its pack's
// values. The figures are worded by ShownOf itself, so that a change of its wording shows here.
Setup Compared() {
    Setup setup;
    setup.figures.modelWeight = 1500;
    SetupOption& first = setup.option(1);
    first.motor = {"Inrunner 2230-4500  ", "Inrunner 2230-4500  22x30 mm ..."};
    first.battery = {"LiPo 5000", "LiPo 5000 ..."};
    first.fanName = "Fan 70 mm           ";
    first.serie = 6;
    first.parallel = 2;
    Assessment within;
    within.figures = {18.2, 3.25, 512};
    within.limits[static_cast<std::size_t>(LimitKind::MotorCurrent)] =
        LimitCheck{50, 60, 16.666666, false};
    within.limits[static_cast<std::size_t>(LimitKind::FanRpm)] = LimitCheck{40000, 42000, 4.76};
    within.flight.full = Jet{1940.5, 210.25};
    within.flight.part = PartThrottle{};
    within.flight.flightTime = 6.1;
    within.flight.allUpWeight = 1800;
    within.flight.thrustToWeight = 1.078;
    CalculateReport reached;
    reached.outcome = Outcome::Calculated;
    std::array<std::string, kResultFieldCount> values;
    values[static_cast<std::size_t>(ResultField::Current)] = "50,00";
    values[static_cast<std::size_t>(ResultField::Efficiency)] = "0,82";
    first.shown = ShownOf(ChosenCombination(first), reached, values, within,
                          FlightSettingsOf(setup.figures), ',');

    setup.option(2).motor = {"Outrunner", "Outrunner ..."};
    setup.option(2).fanName = "Mini Fan";

    SetupOption& third = setup.option(3);
    third = first;
    third.battery = {"NiMH 2/3A 1100", "NiMH 2/3A 1100 ..."};

    SetupOption& last = setup.option(4);
    last.motor = first.motor;
    last.battery = first.battery;
    last.fanName = "HW-750";
    CalculateReport broken;
    broken.outcome = Outcome::NotPossible;
    broken.reason = NotPossibleReason::PackTooWeak;
    std::array<std::string, kResultFieldCount> pack;
    pack[static_cast<std::size_t>(ResultField::Weight)] = "574,00";
    last.shown =
        ShownOf(ChosenCombination(last), broken, pack, std::nullopt, FlightSettings{}, ',');
    return setup;
}

TEST(ComparisonTableTest, RowsShowEachOptionsChoicesAndOnlyItsOwnResults) {
    const std::vector<ComparisonRow> rows = ComparisonRows(Compared(), ',');
    const std::string stale = "Not calculated since the choice changed";
    const std::vector<ComparisonRow> expected{
        {"Fan", {"Fan 70 mm", "Mini Fan", "Fan 70 mm", "HW-750"}},
        {"Motor", {"Inrunner 2230-4500", "Outrunner", "Inrunner 2230-4500", "Inrunner 2230-4500"}},
        {"Battery", {"LiPo 5000", "", "NiMH 2/3A 1100", "LiPo 5000"}},
        {"Cells", {"6S2P", "10S1P", "6S2P", "10S1P"}},
        {"Result", {"Operating point", "Not calculated", stale, "Combination not possible"}},
        {"Weight", {"", "", "", "574,00 g"}},
        {"Current", {"50,00 A", "", "", ""}},
        {"Efficiency", {"0,82", "", "", ""}},
        {"C-rate", {"18,20 C", "", "", ""}},
        {"Full-throttle run time", {"3,25 min", "", "", ""}},
        {"Power per kg", {"512,00 W/kg", "", "", ""}},
        {"Static thrust", {"1940,50 g", "", "", ""}},
        {"Efflux speed", {"210,25 km/h", "", "", ""}},
        {"Flight time", {"6,10 min", "", "", ""}},
        {"Thrust to weight", {"1,08", "", "", ""}},
        {"Part throttle", {"65 %", "", "", ""}},
        {"Time at full throttle", {"25 %", "", "", ""}},
        {"Capacity used", {"80 %", "", "", ""}},
        {"Model without pack", {"1500 g", "", "", ""}},
        {"All-up weight", {"1800,00 g", "", "", ""}},
        {"Motor's maximum continuous current", {"Within 60,00 A by 16,67 %", "", "", ""}},
        {"Fan's maximum rpm", {"Within 42000,00 rpm by 4,76 %", "", "", ""}},
    };
    // Row by row, so that a failure names the row and its cells.
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].caption, expected[i].caption);
        EXPECT_EQ(rows[i].cells, expected[i].cells) << expected[i].caption;
    }
    EXPECT_EQ(OptionSummary(Compared(), 1), "Inrunner 2230-4500, LiPo 5000 6S2P, Fan 70 mm");

    // A figure an option could have but does not says why, as a single calculation does.
    mfb::Setup bare = Compared();
    Assessment noFan;
    noFan.flight.refusal = {PartRefusal::NoFan, 0, 0};
    CalculateReport reached;
    reached.outcome = Outcome::Calculated;
    bare.option(1).shown =
        ShownOf(ChosenCombination(bare.option(1)), reached, {}, noFan, FlightSettings{}, ',');
    for (const ComparisonRow& row : ComparisonRows(bare, ',')) {
        if (row.caption == "Flight time") {
            EXPECT_EQ(row.cells[0], "Not known: no fan carries the option's fan name");
        }
    }
}

TEST(ComparisonTableTest, AnEmptySetupHasOnlyBlankCells) {
    for (const ComparisonRow& row : ComparisonRows(mfb::Setup{}, '.')) {
        EXPECT_EQ(row.cells, Cells{}) << row.caption;
    }
}

}  // namespace
}  // namespace mfb
