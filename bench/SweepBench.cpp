// SPDX-License-Identifier: GPL-3.0-or-later
// What storing the chart points costs a sweep: the full Calculate, with every point kept and read
// back in x order as a chart would, against the bare model loop that stores nothing, on a sweep of
// 1.2 million steps. Prints their ratio and the memory each stored point takes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>

#include "model/PointSeries.h"
#include "model/PowerTrain.h"
#include "model/Sweep.h"

namespace {

using namespace mfb;

// 20 cells of 4.2 V and 2 milliohm, 10 in parallel, and a fan that never turns: the sweep runs
// until the motor turns backwards at 2500 rpm, 1.2 million steps.
struct LongSweep {
    LongSweep() {
        slot.MotorName = "Motor";
        slot.BatteryName = "Battery";
        slot.FanName = "Fan";
        slot.Motor = {2000, 0.02, 1};
        slot.Battery = {5000, 0.002, 4.2, 100};
        fans[0].Name = "Fan";
    }
    SweepInputs Inputs() const { return {fans, kWireResistance, true, 1, 20, 10, '.'}; }
    TOptionSlot slot;
    FanTable fans;
};

class StoringSinks : public ResultView, public ChartSink {
public:
    void ShowValue(ResultField, const std::string&) override {}
    void EnableChart() override {}
    void ShowWarning(const std::string&) override {}
    void ClearSeries(Series s) override { series[static_cast<int>(s)].Clear(); }
    void AddPoint(Series s, double x, double y, std::string_view, Colour colour) override {
        series[static_cast<int>(s)].Add(x, y, colour);
    }
    void SetAxisRange(Axis, double, double) override {}
    void SetTitle(const std::string&) override {}
    void SetAxisTitle(Axis, const std::string&) override {}
    std::array<PointSeries, kSeriesCount> series;
};

long long BareLoop(LongSweep& sweep) {
    TOptionSlot& slot = sweep.slot;
    slot.CellsSerie = 20;
    slot.CellsParallel = 10;
    ComputePack(slot, kWireResistance);
    slot.PinMotor = StartPower;
    long long steps = 0;
    if (!EvaluateAtPower(slot, sweep.fans)) return 0;
    while (!(static_cast<Extended>(slot.RpmFan) - StopRpmMargin >= slot.RpmMotor)) {
        slot.PinMotor = static_cast<double>(slot.PinMotor + PowerStep);
        if (!EvaluateAtPower(slot, sweep.fans)) break;
        ++steps;
    }
    return steps;
}

void BM_BareModelLoop(benchmark::State& state) {
    LongSweep sweep;
    long long steps = 0;
    for (auto _ : state) {
        steps = BareLoop(sweep);
        benchmark::DoNotOptimize(sweep.slot.RpmMotor);
    }
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(steps),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BareModelLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SweepWithStoredPoints(benchmark::State& state) {
    LongSweep sweep;
    CalculateReport report;
    double bytesPerPoint = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        StoringSinks sinks;
        Calculate(sweep.slot, sweep.Inputs(), sinks, sinks, report);
        if (state.range(0) != 0) {
            for (const auto& s : sinks.series) benchmark::DoNotOptimize(s.Points().front());
        }
        const std::size_t after = mallinfo2().uordblks;
        bytesPerPoint = static_cast<double>(after - before) / (3.0 * report.steps);
    }
    state.counters["steps"] = static_cast<double>(report.steps);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(report.steps),
                                                   benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes/point"] = bytesPerPoint;
}
BENCHMARK(BM_SweepWithStoredPoints)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the ratio of the two benchmarks measured in this run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean") {
                seconds_[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto bare = seconds_.find("BM_BareModelLoop");
        const auto stored = seconds_.find("BM_SweepWithStoredPoints");
        if (bare != seconds_.end() && stored != seconds_.end()) {
            std::printf("sweep with stored points / bare model loop: %.3f (target at most 1.3)\n",
                        stored->second / bare->second);
        }
    }

private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
