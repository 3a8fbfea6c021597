// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/KeyBound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/ExploreSettings.h"
#include "explore/TopRows.h"
#include "tests/support/RandomSearches.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

constexpr ExploreKey kBoundedKeys[] = {
    ExploreKey::Rpm,    ExploreKey::Power,        ExploreKey::PowerPerWeight,
    ExploreKey::Target, ExploreKey::Thrust,       ExploreKey::ThrustToWeight,
    ExploreKey::Efflux, ExploreKey::TargetThrust,
};

// Every ranked row of random searches, against the bound of its own combination and of the block
// of the whole search: neither may claim its key is below a bar just above it. A wrong bound shows
// here even where it would not change a ranking.
TEST(KeyBound, NoRankedRowHasAKeyAboveItsBound) {
    test::RandomSearches searches(7);
    long long checked = 0;
    for (int i = 0; i < 60; ++i) {
        test::RandomSearch s = searches.Next();
        ExploreRequest request = s.request;
        request.exhaustive = true;
        request.key = ExploreKey::Thrust;  // so that every row has its flight figures
        request.top = kMaxTop;
        request.filter = {};
        request.minPower.reset();
        request.maxPower.reset();
        const ExploreResult result = Explore(s.catalogue, request);
        const ExploreSpace& space = request.space;
        for (const ExploreRow& row : result.rows) {
            TOptionSlot slot;
            ChooseMotor(slot, s.catalogue.MotorLines[row.motor], '.');
            ChooseBattery(slot, s.catalogue.BatteryLines[row.battery], '.');
            const FanView view = *ViewOfFan(s.catalogue, row.fan);
            ChooseFan(slot, view.fans, view.button);
            const auto fan = static_cast<std::size_t>(view.button - 1);
            const auto rise = FanRiseOf(view.fans[fan]);
            for (const ExploreKey key : kBoundedKeys) {
                ExploreRequest keyed = request;
                keyed.key = key;
                const double value = KeyValue(row, key, TargetOf(keyed));
                // A row without the figure is below every bar, rightly.
                if (!std::isfinite(value)) continue;
                const double bar = std::nextafter(value, std::numeric_limits<double>::infinity());
                const auto bound = KeyBound::For(keyed, slot, s.catalogue, view, fan, rise);
                ASSERT_TRUE(bound.has_value()) << static_cast<int>(key);
                EXPECT_FALSE(bound->Below(row.serie, row.serie, row.parallel, row.parallel, bar))
                    << "search " << i << " key " << static_cast<int>(key) << " " << row.serie << "S"
                    << row.parallel << "P: " << value;
                EXPECT_FALSE(bound->Below(space.series.front(), space.series.back(),
                                          space.parallels.front(), space.parallels.back(), bar))
                    << "search " << i << " key " << static_cast<int>(key);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 10000);
}

// The heart of the matter: a ranking that settles combinations by bounds must give exactly the
// rows of the one that calculates them all, ties and order included.
TEST(KeyBound, RandomRankingsAreThoseOfTheExhaustiveRun) {
    test::RandomSearches searches(2026);
    int settling = 0;
    constexpr int kSearches = 1000;
    for (int i = 0; i < kSearches; ++i) {
        const test::RandomSearch s = searches.Next();
        long long settled = 0;
        EXPECT_EQ(test::CompareWithExhaustive(s.catalogue, s.request, &settled), "")
            << "search " << i;
        if (settled > 0) ++settling;
    }
    // Otherwise the comparison would prove little.
    EXPECT_GT(settling, kSearches / 4);
}

TEST(KeyBound, SampleSpaceRanksAlikeByEveryKey) {
    const Catalogue catalogue = test::SampleCatalogue();
    ExploreRequest request;
    request.space = WholeSpace(catalogue);
    // A library fan stands in for the fifth, and its bound must be its own.
    ASSERT_FALSE(catalogue.FanLibrary.empty());
    for (const LibraryFan& fan : catalogue.FanLibrary) request.space.fans.push_back(fan.number);
    request.flight.modelWeight = 1500;
    request.targetPower = 1200;
    request.targetThrust = 2500;
    ExploreRequest every = request;
    every.exhaustive = true;
    every.key = ExploreKey::Thrust;  // every row with its flight figures
    every.top = kMaxTop;
    std::vector<ExploreRow> all = Explore(catalogue, every).rows;
    ASSERT_LT(all.size(), kMaxTop);
    for (int k = 0; k <= static_cast<int>(kLastExploreKey); ++k) {
        request.key = static_cast<ExploreKey>(k);
        const double target = TargetOf(request);
        std::sort(all.begin(), all.end(), [&](const ExploreRow& a, const ExploreRow& b) {
            return RanksBefore(a, b, request.key, target);
        });
        const ExploreResult ranked = Explore(catalogue, request);
        ASSERT_EQ(ranked.rows.size(), request.top) << k;
        for (std::size_t i = 0; i < request.top; ++i) {
            const ExploreRow& a = ranked.rows[i];
            const ExploreRow& b = all[i];
            EXPECT_EQ(std::tie(a.motor, a.battery, a.fan, a.serie, a.parallel, a.steps),
                      std::tie(b.motor, b.battery, b.fan, b.serie, b.parallel, b.steps))
                << "key " << k << " row " << i + 1;
            EXPECT_EQ(a.result.PinMotor, b.result.PinMotor) << "key " << k << " row " << i + 1;
        }
    }
}

}  // namespace
}  // namespace mfb
