// SPDX-License-Identifier: GPL-3.0-or-later
// What storing the chart points costs a sweep: the full Calculate, with every point kept and read
// back in x order as a chart would, against the bare model loop that stores nothing, on a sweep of
// 1.2 million steps. Prints their ratio and the memory each stored point takes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "chart/CurveTable.h"
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
    SweepInputs Inputs() const { return {fans, kWireResistance, kAllFansWhole, 1, 20, 10, '.'}; }
    TOptionSlot slot;
    FanTable fans;
};

class StoringSinks : public ResultView, public ChartSink {
public:
    void ShowValue(ResultField, const std::string&) override {}
    void EnableChart() override {}
    void ShowWarning(const std::string&) override {}
    void ClearSeries(Series s) override { chart.Clear(static_cast<std::size_t>(s)); }
    void AddPoint(Series s, double x, double y, std::string_view, Colour colour) override {
        chart.Add(static_cast<std::size_t>(s), x, y, colour);
    }
    // As the chart window takes a step: one call, one row.
    void AddStep(double x, double rpmFan, double rpmMotor, double current) override {
        chart.AddRow(x, {rpmFan, rpmMotor, current});
    }
    void SetAxisRange(Axis, double, double) override {}
    void SetTitle(const std::string&) override {}
    void SetAxisTitle(Axis, const std::string&) override {}
    CurveTable chart{{kRed, kGreen, kYellow}};
};

// Heap in use, counting the large blocks that come straight from mmap.
std::size_t InUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

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

// The same Calculate with every point dropped: what the sweep's own bookkeeping costs.
class DroppingSinks : public StoringSinks {
public:
    void AddPoint(Series, double, double, std::string_view, Colour) override {}
    void AddStep(double, double, double, double) override {}
};

void BM_SweepWithDroppedPoints(benchmark::State& state) {
    LongSweep sweep;
    CalculateReport report;
    for (auto _ : state) {
        DroppingSinks sinks;
        Calculate(sweep.slot, sweep.Inputs(), sinks, sinks, report);
    }
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(report.steps),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SweepWithDroppedPoints)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every point stored and read back in x order as a chart does. Argument 0: a new chart each
// time, so the memory is fresh and every page faults in; argument 1: the same chart refilled, as
// an option's chart window is by each later Calculate.
void BM_SweepWithStoredPoints(benchmark::State& state) {
    LongSweep sweep;
    CalculateReport report;
    double bytesPerPoint = 0;
    auto reused = std::make_unique<StoringSinks>();
    for (auto _ : state) {
        const std::size_t before = InUse();
        auto fresh = state.range(0) == 0 ? std::make_unique<StoringSinks>() : nullptr;
        StoringSinks& sinks = fresh ? *fresh : *reused;
        Calculate(sweep.slot, sweep.Inputs(), sinks, sinks, report);
        for (std::size_t c = 0; c < kCurveCount; ++c) {
            benchmark::DoNotOptimize(sinks.chart.Points(c).front());
        }
        if (fresh) {
            bytesPerPoint =
                static_cast<double>(InUse() - before) / (3.0 * static_cast<double>(report.steps));
            // Giving the memory back is not part of a chart's first Calculate.
            state.PauseTiming();
            fresh.reset();
            state.ResumeTiming();
        }
    }
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(report.steps),
                                                   benchmark::Counter::kIsIterationInvariantRate);
    if (state.range(0) == 0) state.counters["bytes/point"] = bytesPerPoint;
}
BENCHMARK(BM_SweepWithStoredPoints)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the ratio of the two benchmarks measured in this run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean") {
                seconds_[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedRealTime();
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto bare = seconds_.find("BM_BareModelLoop/");
        if (bare == seconds_.end()) return;
        const std::pair<const char*, const char*> ratios[] = {
            {"BM_SweepWithDroppedPoints/", "sweep, points dropped"},
            {"BM_SweepWithStoredPoints/1", "sweep, points stored into a refilled chart"},
            {"BM_SweepWithStoredPoints/0", "sweep, points stored into a new chart"},
        };
        for (const auto& [name, what] : ratios) {
            const auto it = seconds_.find(name);
            if (it == seconds_.end()) continue;
            std::printf("%-45s / bare model loop: %.2f\n", what, it->second / bare->second);
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
