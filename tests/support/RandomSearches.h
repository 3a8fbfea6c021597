// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <tuple>

#include "explore/Explorer.h"
#include "tests/support/GeneratedCatalogue.h"

namespace mfb::test {

// A ranked search over a small generated parts list: a random part of the space, a random key,
// number of rows, budgets, flight settings and limits. One in five bends the fan curves at random,
// some so that they fall in the end and bound nothing.
struct RandomSearch {
    Catalogue catalogue;
    ExploreRequest request;
};

class RandomSearches {
public:
    explicit RandomSearches(std::uint64_t seed) : random_(seed) {}

    RandomSearch Next() {
        RandomSearch s;
        s.catalogue = LoadGeneratedCatalogue(random_(), 5, 4);
        if (Chance(0.2)) {
            for (TFanData& fan : s.catalogue.Fans) {
                fan.a2 *= Uniform(-2, 3);
                fan.a3 *= Uniform(-1, 2);
                fan.a4 *= Uniform(-0.5, 2);
            }
        }
        ExploreRequest& r = s.request;
        r.space = WholeSpace(s.catalogue);
        r.space.fans.clear();
        for (int fan = 1; fan <= kFanCount; ++fan) {
            if (Chance(0.4)) r.space.fans.push_back(fan);
        }
        if (r.space.fans.empty()) r.space.fans.push_back(static_cast<int>(Below(kFanCount)) + 1);
        const int serie = static_cast<int>(Below(33)) + 1;
        r.space.series = ExploreSpace::Counts(serie, serie + static_cast<int>(Below(8)));
        const int parallel = static_cast<int>(Below(8)) + 1;
        r.space.parallels = ExploreSpace::Counts(parallel, parallel + static_cast<int>(Below(3)));
        r.key = static_cast<ExploreKey>(Below(static_cast<std::size_t>(kLastExploreKey) + 1));
        r.targetPower = Uniform(100, 6000);
        r.targetThrust = Uniform(200, 9000);
        r.top = Below(30) + 1;
        r.ignoreLimits = Chance(0.3);
        if (Chance(0.5)) r.flight.modelWeight = Uniform(300, 6000);
        if (Chance(0.2)) r.filter.maxWeight = Uniform(100, 3000);
        if (Chance(0.2)) r.filter.maxCurrent = Uniform(20, 200);
        if (Chance(0.1)) r.filter.minEfficiency = Uniform(0.5, 0.9);
        if (Chance(0.1)) r.filter.minThrust = Uniform(100, 3000);
        if (Chance(0.1)) r.filter.minFlightTime = Uniform(1, 6);
        if (Chance(0.2)) {
            r.minPower = Uniform(0, 1500);
            r.maxPower = *r.minPower + Uniform(100, 5000);
        }
        r.threads = static_cast<unsigned>(Below(2)) + 1;
        return s;
    }

private:
    double Uniform(double low, double high) {
        return low + (high - low) * static_cast<double>(random_() >> 11) * 0x1p-53;
    }
    std::size_t Below(std::size_t count) { return static_cast<std::size_t>(random_() % count); }
    bool Chance(double p) { return Uniform(0, 1) < p; }

    std::mt19937_64 random_;
};

// "" when the ranking that settles combinations by bounds gives the rows of the exhaustive one,
// in the same order and to the last bit; else the first difference. `settled` is set to how many
// combinations the bounds settled.
inline std::string CompareWithExhaustive(const Catalogue& catalogue, const ExploreRequest& request,
                                         long long* settled = nullptr) {
    ExploreRequest exhaustive = request;
    exhaustive.exhaustive = true;
    const ExploreResult full = Explore(catalogue, exhaustive);
    const ExploreResult bounded = Explore(catalogue, request);
    if (settled != nullptr) *settled = bounded.counts.bounded;
    if (full.counts.bounded != 0) return "the exhaustive run settled combinations by bounds";
    if (bounded.counts.visited != full.counts.visited) return "a different number visited";
    if (bounded.counts.ranked + bounded.counts.bounded < full.counts.ranked) {
        return "fewer ranked or settled than the exhaustive run ranked";
    }
    if (bounded.rows.size() != full.rows.size()) {
        return std::to_string(bounded.rows.size()) + " rows where the exhaustive run has " +
               std::to_string(full.rows.size());
    }
    for (std::size_t i = 0; i < full.rows.size(); ++i) {
        const ExploreRow& a = bounded.rows[i];
        const ExploreRow& b = full.rows[i];
        const auto same = [](const ExploreRow& row) {
            const ResultPoint& p = row.result;
            return std::tie(row.motor, row.battery, row.fan, row.serie, row.parallel, row.steps,
                            p.Current, p.RpmMotor, p.PinMotor, p.Efficiency, p.UMotor,
                            row.packWeight);
        };
        if (same(a) != same(b)) {
            return "row " + std::to_string(i + 1) + " is motor " + std::to_string(a.motor) +
                   ", cell " + std::to_string(a.battery) + ", fan " + std::to_string(a.fan) + ", " +
                   std::to_string(a.serie) + "S" + std::to_string(a.parallel) +
                   "P where the exhaustive run has motor " + std::to_string(b.motor) + ", cell " +
                   std::to_string(b.battery) + ", fan " + std::to_string(b.fan) + ", " +
                   std::to_string(b.serie) + "S" + std::to_string(b.parallel) + "P";
        }
    }
    return {};
}

}  // namespace mfb::test
