// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/Explorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "catalogue/FileReader.h"
#include "explore/ExploreTable.h"
#include "explore/FastSweep.h"
#include "model/DiscardingSinks.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

using test::SampleCatalogue;

// A few motors and cells across the catalogue, with pack sizes from too small to plenty.
ExploreRequest SmallRequest() {
    ExploreRequest request;
    request.space.motors = {0, 4, 9, 13};
    request.space.batteries = {1, 6, 11};
    request.space.fans = {1, 3, 5};
    request.space.series = ExploreSpace::Counts(2, 10);
    request.space.parallels = {1, 2};
    request.top = 100000;
    return request;
}

long long Accounted(const ExploreCounts& c) {
    return c.ranked + c.overLimits + c.filteredOut + c.noKeptStep + c.motorStalls + c.notPossible +
           c.atLimit + c.faults + c.unreadable + c.notRun + c.pruned;
}

TEST(ExplorerTest, EveryRankedRowIsWhatASingleCalculateShows) {
    const Catalogue catalogue = SampleCatalogue();
    const ExploreResult result = Explore(catalogue, SmallRequest());

    EXPECT_EQ(result.combinations, 4 * 3 * 3 * 9 * 2);
    EXPECT_EQ(result.counts.visited, result.combinations);
    EXPECT_EQ(Accounted(result.counts), result.combinations);
    EXPECT_EQ(result.counts.ranked, static_cast<long long>(result.rows.size()));
    EXPECT_GT(result.counts.ranked, 50);
    EXPECT_GT(result.counts.notPossible, 0);

    for (const ExploreRow& row : result.rows) {
        TOptionSlot slot;
        ChooseMotor(slot, catalogue.MotorLines[row.motor], '.');
        ChooseBattery(slot, catalogue.BatteryLines[row.battery], '.');
        ChooseFan(slot, catalogue.Fans, row.fan);
        DiscardingSinks sinks;
        CalculateReport report;
        Calculate(slot,
                  {catalogue.Fans, catalogue.WireResistance, kAllFansWhole, 1, row.serie,
                   row.parallel, '.'},
                  sinks, sinks, report);
        const std::string where = slot.MotorName + " " + slot.BatteryName + " " +
                                  std::to_string(row.serie) + "S" + std::to_string(row.parallel);
        EXPECT_EQ(report.outcome, Outcome::Calculated) << where;
        EXPECT_EQ(row.steps, report.steps) << where;
        EXPECT_EQ(row.result.PinMotor, report.result.PinMotor) << where;
        EXPECT_EQ(row.result.RpmMotor, report.result.RpmMotor) << where;
        EXPECT_EQ(row.result.Current, report.result.Current) << where;
        EXPECT_EQ(row.result.Efficiency, report.result.Efficiency) << where;
        EXPECT_EQ(row.result.UMotor, report.result.UMotor) << where;
        EXPECT_EQ(row.packWeight, slot.PackWeight) << where;
        EXPECT_EQ(row.derived.runTime,
                  slot.Battery.Capacity * row.parallel / row.result.Current * 0.06)
            << where;
    }

    // The exploration's own check of its best rows finds the same.
    ExploreRequest request = SmallRequest();
    request.top = 5;
    request.verify = true;
    EXPECT_TRUE(Explore(catalogue, request).mismatches.empty());
}

TEST(ExplorerTest, RowsComeBestFirstByEachKeyAndTheTopIsAPrefix) {
    const Catalogue catalogue = SampleCatalogue();
    for (const ExploreKey key :
         {ExploreKey::Rpm, ExploreKey::Power, ExploreKey::Efficiency, ExploreKey::PowerPerWeight,
          ExploreKey::RunTime, ExploreKey::Thrust, ExploreKey::ThrustToWeight, ExploreKey::Efflux,
          ExploreKey::FlightTime}) {
        ExploreRequest request = SmallRequest();
        request.key = key;
        request.flight.modelWeight = 900;
        const ExploreResult all = Explore(catalogue, request);
        ASSERT_GT(all.rows.size(), 10u);
        EXPECT_TRUE(std::is_sorted(all.rows.begin(), all.rows.end(),
                                   [&](const ExploreRow& a, const ExploreRow& b) {
                                       return KeyValue(a, key) > KeyValue(b, key);
                                   }))
            << static_cast<int>(key);

        request.top = 7;
        request.threads = 1;
        const ExploreResult top = Explore(catalogue, request);
        ASSERT_EQ(top.rows.size(), 7u);
        for (std::size_t i = 0; i < 7; ++i) {
            EXPECT_EQ(top.rows[i].motor, all.rows[i].motor);
            EXPECT_EQ(top.rows[i].battery, all.rows[i].battery);
            EXPECT_EQ(top.rows[i].fan, all.rows[i].fan);
            EXPECT_EQ(top.rows[i].serie, all.rows[i].serie);
            EXPECT_EQ(top.rows[i].parallel, all.rows[i].parallel);
        }
        // The shorter ranking may settle combinations by bounds instead of calculating them.
        EXPECT_GE(top.counts.ranked + top.counts.bounded, all.counts.ranked);
        EXPECT_EQ(top.counts.visited, all.counts.visited);
    }
}

TEST(ExplorerTest, FiltersKeepOnlyRowsWithinTheirBudgets) {
    const Catalogue catalogue = SampleCatalogue();
    ExploreRequest all = SmallRequest();
    all.flight.modelWeight = 900;
    const ExploreResult unfiltered = Explore(catalogue, all);
    struct Case {
        const char* name;
        ExploreFilter filter;
    };
    const Case cases[] = {
        {"current", {40.0, {}, {}, {}, {}, {}}},
        {"weight", {{}, 500.0, {}, {}, {}, {}}},
        {"efficiency", {{}, {}, 0.8, {}, {}, {}}},
        {"all three", {60.0, 800.0, 0.75, {}, {}, {}}},
        {"thrust", {{}, {}, {}, 1500.0, {}, {}}},
        {"flight time", {{}, {}, {}, {}, 6.0, {}}},
        {"thrust to weight", {{}, {}, {}, {}, {}, 1.0}},
    };
    // A pack over the weight budget is left out before its sweep; the rows are still exactly
    // those of the unfiltered search that keep the budgets, in the same order.
    for (const Case& c : cases) {
        ExploreRequest request = SmallRequest();
        request.filter = c.filter;
        request.flight.modelWeight = 900;
        const ExploreResult result = Explore(catalogue, request);
        EXPECT_GT(result.counts.ranked, 0) << c.name;
        EXPECT_GT(result.counts.filteredOut + result.counts.pruned, 0) << c.name;
        EXPECT_EQ(result.counts.pruned > 0, c.filter.maxWeight.has_value()) << c.name;
        EXPECT_EQ(Accounted(result.counts), result.combinations) << c.name;
        std::vector<const ExploreRow*> kept;
        for (const ExploreRow& row : unfiltered.rows) {
            if (row.result.Current <= c.filter.maxCurrent.value_or(row.result.Current) &&
                row.packWeight <= c.filter.maxWeight.value_or(row.packWeight) &&
                row.result.Efficiency >= c.filter.minEfficiency.value_or(row.result.Efficiency) &&
                (!c.filter.minThrust || (row.flight.full && row.flight.full->thrust >= 1500)) &&
                row.flight.flightTime.value_or(0) >= c.filter.minFlightTime.value_or(0) &&
                row.flight.thrustToWeight.value_or(0) >= c.filter.minThrustToWeight.value_or(0)) {
                kept.push_back(&row);
            }
        }
        ASSERT_EQ(result.rows.size(), kept.size()) << c.name;
        for (std::size_t i = 0; i < kept.size(); ++i) {
            EXPECT_EQ(std::tie(result.rows[i].motor, result.rows[i].battery, result.rows[i].fan,
                               result.rows[i].serie, result.rows[i].parallel,
                               result.rows[i].result.PinMotor),
                      std::tie(kept[i]->motor, kept[i]->battery, kept[i]->fan, kept[i]->serie,
                               kept[i]->parallel, kept[i]->result.PinMotor))
                << c.name << " row " << i;
        }
    }
}

// Without a ranking asked for, the question a modeller asks: how much thrust for its weight.
TEST(ExplorerTest, TheDefaultRankingFollowsWhatIsKnown) {
    const struct {
        bool jetData;
        std::optional<double> modelWeight;
        ExploreKey key;
    } rows[] = {
        {true, 900.0, ExploreKey::ThrustToWeight},
        {true, {}, ExploreKey::Thrust},
        {false, 900.0, ExploreKey::PowerPerWeight},
    };
    for (const auto& row : rows) {
        Catalogue catalogue = SampleCatalogue();
        if (!row.jetData) catalogue.FanJet[4].StaticEfficiency.reset();
        ExploreRequest request = SmallRequest();
        request.flight.modelWeight = row.modelWeight;
        EXPECT_EQ(DefaultKey(catalogue, request), row.key) << static_cast<int>(row.key);
    }
}

// The sample catalogues state limits: a combination over any of them is left out unless asked
// for, and a target ranks by closeness within the power range.
TEST(ExplorerTest, LimitsLeaveOutAndTheTargetRanksByCloseness) {
    const Catalogue catalogue = SampleCatalogue();
    ExploreRequest request = SmallRequest();
    const ExploreResult within = Explore(catalogue, request);
    request.ignoreLimits = true;
    const ExploreResult all = Explore(catalogue, request);
    EXPECT_GT(within.counts.overLimits, 0);
    EXPECT_GT(within.counts.ranked, 0);
    EXPECT_EQ(all.counts.overLimits, 0);
    EXPECT_EQ(within.counts.ranked + within.counts.overLimits, all.counts.ranked);
    for (const ExploreRow& row : within.rows) {
        EXPECT_FALSE(AnyExceeded(row.limits));
        EXPECT_TRUE(std::all_of(row.limits.begin(), row.limits.end(),
                                [](const auto& check) { return check.has_value(); }));
    }

    request.ignoreLimits = false;
    request.minPower = 300;
    request.maxPower = 600;
    request.key = ExploreKey::Target;
    request.targetPower = 400;
    const ExploreResult target = Explore(catalogue, request);
    ASSERT_GT(target.rows.size(), 2u);
    double lastDistance = 0;
    for (const ExploreRow& row : target.rows) {
        const double power = KeyValue(row, ExploreKey::Power);
        EXPECT_GE(power, 300);
        EXPECT_LE(power, 600);
        EXPECT_GE(std::abs(power - 400), lastDistance);
        lastDistance = std::abs(power - 400);
    }
    EXPECT_EQ(target.counts.ranked + target.counts.filteredOut, within.counts.ranked);
}

TEST(ExplorerTest, ALineThatDoesNotReadOrCannotBeIsLeftOutWithANote) {
    const struct {
        std::size_t column;  // from 0
        const char* text;
        const char* note;
    } rows[] = {
        {59, "1x5", "is not a valid floating point value"},  // the no-load current
        {44, "   0", "kv is 0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Catalogue catalogue = SampleCatalogue();
        catalogue.MotorLines[4].replace(row.column, std::strlen(row.text), row.text);
        const ExploreResult result = Explore(catalogue, SmallRequest());
        ASSERT_EQ(result.notes.size(), 1u);
        EXPECT_NE(result.notes[0].find(row.note), std::string::npos) << result.notes[0];
        EXPECT_EQ(result.counts.unreadable, 3 * 3 * 9 * 2);
        EXPECT_EQ(Accounted(result.counts), result.combinations);
        for (const ExploreRow& r : result.rows) EXPECT_NE(r.motor, 4u);
    }
}

// A kept step at which the motor turns backwards is no operating point: never ranked, counted
// under the words the option column's warning gives.
TEST(ExplorerTest, AStallIsCountedNotRanked) {
    const Catalogue catalogue = SampleCatalogue();
    const auto index = [](const std::vector<std::string>& lines, const std::string& start) {
        const auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind(start, 0) == 0;
        });
        return static_cast<std::size_t>(it - lines.begin());
    };
    ExploreRequest request;
    request.space.motors = {index(catalogue.MotorLines, "Inrunner 2230-4500")};
    request.space.batteries = {index(catalogue.BatteryLines, "LiPo 5000 40C")};
    request.space.fans = {5};
    request.space.series = {3};
    request.space.parallels = {1};
    request.ignoreLimits = true;
    const ExploreResult result = Explore(catalogue, request);
    EXPECT_EQ(result.counts.motorStalls, 1);
    EXPECT_TRUE(result.rows.empty());
    EXPECT_NE(
        ExploreSummary(result, 1, '.').find("1 motor stalls before the fan absorbs its power"),
        std::string::npos);
}

TEST(ExplorerTest, ProgressIsReportedWhileItRuns) {
    const Catalogue catalogue = SampleCatalogue();
    ExploreRequest request;
    request.space = WholeSpace(catalogue);
    request.space.series = {1, 2, 3, 4};
    // Long enough to report, however many combinations bounds would settle.
    request.exhaustive = true;
    std::vector<long long> done;
    long long total = 0;
    const ExploreProgress progress{0.001,
                                   [&](long long d, long long t) {
                                       done.push_back(d);
                                       total = t;
                                   },
                                   nullptr,
                                   {}};
    const ExploreResult result = Explore(catalogue, request, progress);
    ASSERT_FALSE(done.empty());
    EXPECT_EQ(total, result.combinations);
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_LE(done.back(), total);
}

TEST(ExplorerTest, AStopEndsTheRunWithTheRowsOfWhatItVisited) {
    const Catalogue catalogue = SampleCatalogue();
    ExploreRequest request;
    request.space = WholeSpace(catalogue);
    request.verify = true;
    std::atomic<bool> stop{false};
    long long reports = 0;
    const ExploreProgress progress{0.001,
                                   [&](long long, long long) {
                                       if (++reports == 2) stop = true;
                                   },
                                   &stop,
                                   {}};
    const ExploreResult result = Explore(catalogue, request, progress);
    EXPECT_TRUE(result.partial);
    EXPECT_LT(result.counts.visited, result.combinations);
    EXPECT_EQ(static_cast<long long>(result.rows.size()),
              std::min<long long>(result.counts.ranked, static_cast<long long>(request.top)));
    EXPECT_TRUE(result.mismatches.empty());
}

}  // namespace
}  // namespace mfb

namespace mfb {
namespace {

// A row of the long-sweep catalogue takes ten million steps; a stop must end its recheck within
// a sweep, not after it.
TEST(ExplorerTest, AStopEndsTheRecheckWithinASweep) {
    Catalogue catalogue;
    std::array<TOptionSlot, kOptionCount> slots;
    LoadObserver quiet;
    LoadCatalogues(catalogue, slots,
                   {[](const std::string& name) {
                        return ReadWholeFile(std::string(MFB_TEST_DATA) + "/long/" + name);
                    },
                    [](const std::string& a, const std::string& b) { return a < b; }, '.'},
                   quiet);
    ExploreRequest request;
    request.space = WholeSpace(catalogue);
    ExploreRow row;
    row.serie = 10;
    std::atomic<bool> stop{true};
    for (const RecheckSweep sweep : {RecheckSweep::Full, RecheckSweep::Shortened}) {
        SCOPED_TRACE(sweep == RecheckSweep::Full ? "full" : "shortened");
        EXPECT_THROW(RecheckRow(catalogue, request, row, sweep, &stop), SweepStopped);
        EXPECT_FALSE(RecheckRows(catalogue, request, {row, row}, sweep, {1, {}, &stop, {}}));
    }
}

}  // namespace
}  // namespace mfb
