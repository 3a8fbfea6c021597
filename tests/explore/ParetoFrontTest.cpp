// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ParetoFront.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <tuple>
#include <vector>

#include "catalogue/Catalogue.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

// Two motors and three cell types on two fans, pack sizes from too small to heavy.
ExploreRequest SmallRequest(std::optional<double> modelWeight) {
    ExploreRequest request;
    request.space.motors = {4, 9};
    request.space.batteries = {1, 6, 11};
    request.space.fans = {2, 3};
    request.space.series = ExploreSpace::Counts(3, 12);
    request.space.parallels = {1, 2};
    request.top = 100000;
    request.flight.modelWeight = modelWeight;
    return request;
}

using Combination = std::tuple<std::size_t, std::size_t, int, int, int>;
Combination Of(const ExploreRow& row) {
    return {row.motor, row.battery, row.fan, row.serie, row.parallel};
}

enum class Axes { ThrustToWeight, Thrust, Power };

// The front by its definition, every row against every other; with thrust to weight, none below
// `least`.
std::set<Combination> BruteForceFront(const std::vector<ExploreRow>& rows, Axes axes,
                                      std::optional<double> modelWeight, double least) {
    const auto values = [&](const ExploreRow& r) {
        const double time = r.flight.flightTime.value_or(-1e300);
        if (axes == Axes::ThrustToWeight) {
            return std::array<double, 3>{r.flight.full->thrust / (r.packWeight + *modelWeight),
                                         time, 0};
        }
        const double first =
            axes == Axes::Thrust ? r.flight.full->thrust : KeyValue(r, ExploreKey::Power);
        const double weight = r.packWeight + modelWeight.value_or(0);
        return std::array<double, 3>{first, -weight, time};
    };
    std::vector<ExploreRow> candidates;
    for (const ExploreRow& r : rows) {
        if (axes != Axes::ThrustToWeight || values(r)[0] >= least) candidates.push_back(r);
    }
    std::set<Combination> front;
    for (const ExploreRow& r : candidates) {
        bool dominated = false;
        for (const ExploreRow& o : candidates) {
            const auto a = values(o), b = values(r);
            dominated = dominated || (a[0] >= b[0] && a[1] >= b[1] && a[2] >= b[2] && a != b);
        }
        if (!dominated) front.insert(Of(r));
    }
    return front;
}

TEST(ParetoFrontTest, TheFrontIsWhatNoOtherRowBeats) {
    const struct {
        const char* what;
        bool jetData;
        std::optional<double> modelWeight;
        std::optional<double> minThrustToWeight;
        Axes axes;
        ExploreKey key;
    } rows[] = {
        {"thrust to weight and flight time, none below 1",
         true,
         900.0,
         {},
         Axes::ThrustToWeight,
         ExploreKey::ThrustToWeight},
        {"a budget of thrust to weight sets the least", true, 900.0, 0.1, Axes::ThrustToWeight,
         ExploreKey::ThrustToWeight},
        {"thrust, pack weight, flight time", true, {}, {}, Axes::Thrust, ExploreKey::Thrust},
        {"shaft power where the fans' thrust is not known",
         false,
         900.0,
         {},
         Axes::Power,
         ExploreKey::Power},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Catalogue catalogue = test::SampleCatalogue();
        if (!row.jetData) catalogue.FanJet[2] = {};
        ExploreRequest request = SmallRequest(row.modelWeight);
        request.filter.minThrustToWeight = row.minThrustToWeight;
        request.key = ExploreKey::Thrust;
        const ExploreResult all = Explore(catalogue, request);
        ASSERT_GT(all.rows.size(), 100u);

        request.pareto = true;
        request.key = ParetoKey(ParetoAxesOf(catalogue, request));
        EXPECT_EQ(request.key, row.key);
        const ExploreResult front = Explore(catalogue, request);
        std::set<Combination> found;
        for (const ExploreRow& r : front.rows) found.insert(Of(r));
        EXPECT_EQ(found, BruteForceFront(all.rows, row.axes, row.modelWeight,
                                         row.minThrustToWeight ? 0 : 1));
        EXPECT_EQ(found.size(), front.rows.size());
        EXPECT_EQ(front.front, front.rows.size());
        EXPECT_GT(front.rows.size(), 2u);
        for (std::size_t i = 1; i < front.rows.size(); ++i) {
            EXPECT_GE(KeyValue(front.rows[i - 1], request.key),
                      KeyValue(front.rows[i], request.key));
        }
    }
}

}  // namespace
}  // namespace mfb
