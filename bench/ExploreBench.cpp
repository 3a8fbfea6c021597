// SPDX-License-Identifier: GPL-3.0-or-later
// The exploration of the sample catalogues' whole space (14 motors, 12 cell types, 5 fans, 40 x 10
// pack sizes: 336,000 combinations) and of a budgeted query, and combinations per second of the
// shortened sweep against the full sweep of Calculate, all on one thread over the same spread of 1
// in 167 combinations (the full sweep of all of them would take most of an hour); and rankings of
// generated parts lists of 300 motors and 50 cell types (30 million combinations) and 2,000 motors
// and 300 cell types (1.2 billion).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/Explorer.h"
#include "explore/FastSweep.h"
#include "model/DiscardingSinks.h"
#include "model/Error.h"
#include "tests/support/GeneratedCatalogue.h"
#include "tests/support/SampleCatalogue.h"

namespace {

using namespace mfb;

const Catalogue& Samples() {
    static const Catalogue catalogue = test::SampleCatalogue();
    return catalogue;
}

struct Combination {
    TOptionSlot slot;
    int serie, parallel;
};

// Every 167th combination of the whole space in its natural order, 2,012 of them.
const std::vector<Combination>& Spread() {
    static const std::vector<Combination> spread = [] {
        const Catalogue& catalogue = Samples();
        std::vector<Combination> chosen;
        long long index = 0;
        for (const std::string& motor : catalogue.MotorLines) {
            for (const std::string& battery : catalogue.BatteryLines) {
                for (int fan = 1; fan <= kFanCount; ++fan) {
                    for (int serie = 1; serie <= 40; ++serie) {
                        for (int parallel = 1; parallel <= 10; ++parallel, ++index) {
                            if (index % 167 != 0) continue;
                            Combination c{{}, serie, parallel};
                            ChooseMotor(c.slot, motor, '.');
                            ChooseBattery(c.slot, battery, '.');
                            ChooseFan(c.slot, catalogue.Fans, fan);
                            chosen.push_back(c);
                        }
                    }
                }
            }
        }
        return chosen;
    }();
    return spread;
}

// The shortened sweep, or Calculate's full sweep.
enum class Way { Shortened, Full };

template <Way kWay>
void BM_SpreadOfCombinations(benchmark::State& state) {
    const Catalogue& catalogue = Samples();
    DiscardingSinks sinks;
    long long steps = 0;
    long long evaluations = 0;
    for (auto _ : state) {
        for (const Combination& c : Spread()) {
            TOptionSlot slot = c.slot;
            CalculateReport report;
            const SweepInputs in{catalogue.Fans,
                                 catalogue.WireResistance,
                                 kAllFansWhole,
                                 1,
                                 c.serie,
                                 c.parallel,
                                 '.'};
            try {
                if constexpr (kWay != Way::Full) {
                    SweepEffort effort;
                    FindOperatingPoint(slot, in, sinks, sinks, report, &effort);
                    evaluations += effort.evaluations;
                } else {
                    Calculate(slot, in, sinks, sinks, report);
                    evaluations += report.steps + 1;
                }
            } catch (const Error&) {
            }
            steps += report.steps;
        }
    }
    const auto combinations = static_cast<double>(Spread().size() * state.iterations());
    state.counters["combinations/s"] =
        benchmark::Counter(combinations, benchmark::Counter::kIsRate);
    state.counters["steps/combination"] = static_cast<double>(steps) / combinations;
    state.counters["evaluations/combination"] = static_cast<double>(evaluations) / combinations;
}
BENCHMARK_TEMPLATE(BM_SpreadOfCombinations, Way::Shortened)
    ->Name("FastSweep/spread")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_SpreadOfCombinations, Way::Full)
    ->Name("FullSweep/spread")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A motor whose winding resistance reads negative turns faster the more current it draws: the
// shortened sweep's bounds do not hold for it, and it steps through every one of the sweep's
// million steps or more. That fallback must cost no more than Calculate's own sweep.
template <bool kFast>
void BM_NegativeRi(benchmark::State& state) {
    const Catalogue& catalogue = Samples();
    Combination c{{}, 40, 10};
    ChooseMotor(c.slot, catalogue.MotorLines[0], '.');
    ChooseBattery(c.slot, catalogue.BatteryLines[0], '.');
    ChooseFan(c.slot, catalogue.Fans, 1);
    c.slot.Motor.Ri = -c.slot.Motor.Ri;
    DiscardingSinks sinks;
    CalculateReport report;
    for (auto _ : state) {
        TOptionSlot slot = c.slot;
        const SweepInputs in{
            catalogue.Fans, catalogue.WireResistance, catalogue.CompleteFans, 1, 40, 10, '.'};
        if constexpr (kFast) {
            FindOperatingPoint(slot, in, sinks, sinks, report);
        } else {
            Calculate(slot, in, sinks, sinks, report);
        }
    }
    state.counters["steps"] = static_cast<double>(report.steps);
}
BENCHMARK_TEMPLATE(BM_NegativeRi, true)
    ->Name("FastSweep/negative-Ri")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_NegativeRi, false)
    ->Name("FullSweep/negative-Ri")
    ->Unit(benchmark::kMillisecond);

template <bool kExhaustive>
void BM_ExploreWholeSpace(benchmark::State& state) {
    const Catalogue& catalogue = Samples();
    ExploreRequest request;
    request.space = WholeSpace(catalogue);
    request.threads = static_cast<unsigned>(state.range(0));
    request.exhaustive = kExhaustive;
    long long combinations = 0;
    for (auto _ : state) {
        const ExploreResult result = Explore(catalogue, request);
        combinations += result.combinations;
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.counters["combinations/s"] =
        benchmark::Counter(static_cast<double>(combinations), benchmark::Counter::kIsRate);
}
BENCHMARK_TEMPLATE(BM_ExploreWholeSpace, false)
    ->Name("Explore/whole-space/threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kSecond)
    ->Iterations(3)
    ->UseRealTime();
// Every combination calculated, as --exhaustive, --pareto or a --top beyond the ranked rows does.
BENCHMARK_TEMPLATE(BM_ExploreWholeSpace, true)
    ->Name("Explore/whole-space/exhaustive/threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kSecond)
    ->Iterations(3)
    ->UseRealTime();

// A generated parts list (tests/support/GeneratedCatalogue.h) of `motors` motors and `cells` cell
// types on the five sample fans, 1-40 by 1-10 cells, ranked as a modeller asks without --sort: the
// top 20 by thrust to weight for a model of 1500 g, on two threads.
void BM_ExplorePartsList(benchmark::State& state) {
    const auto motors = static_cast<int>(state.range(0));
    const auto cells = static_cast<int>(state.range(1));
    const Catalogue catalogue = test::LoadGeneratedCatalogue(1, motors, cells);
    ExploreRequest request;
    request.space = WholeSpace(catalogue);
    request.flight.modelWeight = 1500;
    request.key = DefaultKey(catalogue, request);
    request.threads = 2;
    long long combinations = 0, settled = 0;
    for (auto _ : state) {
        const ExploreResult result = Explore(catalogue, request);
        combinations += result.combinations;
        settled += result.counts.bounded;
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.counters["combinations/s"] =
        benchmark::Counter(static_cast<double>(combinations), benchmark::Counter::kIsRate);
    state.counters["settled share"] =
        static_cast<double>(settled) / static_cast<double>(std::max(1LL, combinations));
}
BENCHMARK(BM_ExplorePartsList)
    ->Name("Explore/parts-list/top-20")
    ->Args({300, 50})
    ->Iterations(3)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_ExplorePartsList)
    ->Name("Explore/parts-list/top-20")
    ->Args({2000, 300})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// A query with a budget, as a modeller asks it: one fan, packs of at most 1500 g, on every core.
void BM_ExploreBudgeted(benchmark::State& state) {
    const Catalogue& catalogue = Samples();
    ExploreRequest request;
    request.space = WholeSpace(catalogue);
    request.space.fans = {3};
    request.filter.maxWeight = 1500;
    for (auto _ : state) {
        const ExploreResult result = Explore(catalogue, request);
        benchmark::DoNotOptimize(result.rows.data());
    }
}
BENCHMARK(BM_ExploreBudgeted)
    ->Name("Explore/max-weight-1500/fan-3")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
