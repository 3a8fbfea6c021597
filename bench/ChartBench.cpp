// SPDX-License-Identifier: GPL-3.0-or-later
// How a chart window copes with a long sweep: showing it, repainting it after a resize or a zoom,
// and the cost of each point the sweep adds. Runs offscreen; prints the large-to-small ratios at
// the end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChart>
#include <QImage>
#include <QPixmap>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/ChartSink.h"
#include "ui/GraphDlg.h"

namespace {

constexpr long kSmallSteps = 10'000 / 3;  // 10 thousand points
constexpr long kLargeSteps = 4'000'000;   // 12 million points

// Three curves shaped like a sweep's: shaft power rises with the input power, flattens and falls
// back over the last stretch (so the tail arrives out of order), fan speed rises with it, motor
// speed falls, current climbs. A little ripple keeps every pixel column's extremes distinct.
struct SweepData {
    std::vector<double> x, fan, motor, current;
    double xMin = 0, xMax = 0;
};

const SweepData& Sweep(long steps) {
    static std::map<long, SweepData> cache;
    SweepData& d = cache[steps];
    if (!d.x.empty()) return d;
    d.x.resize(steps), d.fan.resize(steps), d.motor.resize(steps), d.current.resize(steps);
    for (long i = 0; i < steps; ++i) {
        const double t = static_cast<double>(i + 1) / steps;
        const double s = t / 0.9;  // shaft power peaks at 90 % of the sweep
        const double x = 80 + 2000 * (2 * s - s * s);
        const double ripple = std::sin(i * 0.37);
        d.x[i] = x;
        d.fan[i] = 9000 + 30 * std::sqrt(x) * 40 + ripple * 3;
        d.motor[i] = 40000 - 6 * x + ripple * 5;
        d.current[i] = 2 + 0.08 * x + ripple * 0.01;
    }
    d.xMin = 0.9 * 72;
    d.xMax = 1.05 * d.x.back();
    return d;
}

void Fill(TGraphDlg& dlg, const SweepData& d) {
    for (mfb::Series s : {mfb::Series::RpmFan, mfb::Series::RpmMotor, mfb::Series::Current}) {
        dlg.ClearSeries(s);
    }
    // A step at a time, as a sweep hands them over.
    for (std::size_t i = 0; i < d.x.size(); ++i) {
        dlg.AddStep(d.x[i], d.fan[i], d.motor[i], d.current[i]);
    }
    dlg.SetAxisRange(mfb::Axis::Bottom, d.xMin, d.xMax);
    dlg.SetAxisRange(mfb::Axis::Left, 0.9 * 9000, 1.05 * 40000);
    dlg.SetAxisRange(mfb::Axis::Right, 0.95 * 2, 1.05 * 170);
    dlg.SetTitle("Fan 90 mm  Inrunner 2845-3600  NiMH SC 3300");
    dlg.SetAxisTitle(mfb::Axis::Left, "Revolutions per Minute [rpm]");
    dlg.SetAxisTitle(mfb::Axis::Right, "Current [A]");
    dlg.SetAxisTitle(mfb::Axis::Bottom, "Power [W]");
}

// Everything queued is done and the window is drawn in full, as the screen would get it.
void Render(TGraphDlg& dlg) {
    QApplication::processEvents();
    const QImage image = dlg.grab().toImage();
    benchmark::DoNotOptimize(image.constBits());
}

// The "Chart" button after a sweep: the sweep filled the hidden window and returned to the event
// loop, which had the window sort what came in out of order; showing it reduces, lays out and
// paints. With `countFill` the filling and sorting are timed too.
void ShowAfterSweep(benchmark::State& state, bool countFill) {
    const SweepData& d = Sweep(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto dlg = std::make_unique<TGraphDlg>(1);
        if (countFill) state.ResumeTiming();
        Fill(*dlg, d);
        QApplication::processEvents();
        if (!countFill) state.ResumeTiming();
        dlg->showChart();
        Render(*dlg);
        state.PauseTiming();
        dlg.reset();
        state.ResumeTiming();
    }
    state.counters["points"] = 3.0 * static_cast<double>(d.x.size());
}
void BM_Show(benchmark::State& state) {
    ShowAfterSweep(state, false);
}
void BM_FillAndShow(benchmark::State& state) {
    ShowAfterSweep(state, true);
}
BENCHMARK(BM_Show)
    ->Arg(kSmallSteps)
    ->Arg(kLargeSteps)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_FillAndShow)
    ->Arg(kSmallSteps)
    ->Arg(kLargeSteps)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// A window that shows a sweep, drawn.
void ShowFilled(TGraphDlg& dlg, const SweepData& d) {
    Fill(dlg, d);
    dlg.showChart();
    Render(dlg);
}

void BM_ResizeRepaint(benchmark::State& state) {
    TGraphDlg dlg(1);
    ShowFilled(dlg, Sweep(state.range(0)));
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        dlg.resize(wide ? 900 : 728, wide ? 600 : 518);
        Render(dlg);
    }
}
BENCHMARK(BM_ResizeRepaint)->Arg(kSmallSteps)->Arg(kLargeSteps)->Unit(benchmark::kMillisecond);

// One wheel notch in or out about a point of the plot, and the repaint: the curves are reduced
// again for the range now visible.
void BM_Zoom(benchmark::State& state) {
    TGraphDlg dlg(1);
    ShowFilled(dlg, Sweep(state.range(0)));
    const QRectF plot = dlg.chart()->plotArea();
    const QPointF at(plot.left() + 0.6 * plot.width(), plot.center().y());
    dlg.ZoomAbout(at, 4);
    Render(dlg);
    double notches = 1;
    for (auto _ : state) {
        dlg.ZoomAbout(at, notches);
        Render(dlg);
        notches = -notches;
    }
}
BENCHMARK(BM_Zoom)->Arg(kSmallSteps)->Arg(kLargeSteps)->Unit(benchmark::kMillisecond);

void BM_AddStep(benchmark::State& state) {
    const SweepData& d = Sweep(state.range(0));
    TGraphDlg dlg(1);
    for (auto _ : state) Fill(dlg, d);
    state.SetItemsProcessed(state.iterations() * 3 * state.range(0));
    state.counters["per point"] = benchmark::Counter(
        3.0 * static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddStep)
    ->Arg(kSmallSteps)
    ->Arg(1'000'000)
    ->Arg(kLargeSteps)
    ->Unit(benchmark::kMillisecond);

// Keeps the console output and remembers each run's time, to print the ratios the chart is judged
// by: the large chart against the small one.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            times_[run.run_name.function_name + "/" + run.run_name.args] =
                run.GetAdjustedRealTime();
        }
    }
    void PrintRatio(const std::string& name) const {
        const auto small = times_.find(name + "/" + std::to_string(kSmallSteps));
        const auto large = times_.find(name + "/" + std::to_string(kLargeSteps));
        if (small == times_.end() || large == times_.end()) return;
        std::printf("%s: 12 million points take %.2fx the time of 10 thousand\n", name.c_str(),
                    large->second / small->second);
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    // The offscreen platform cannot raise windows and says so at every show.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.contains(QLatin1String("does not support raise"))) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
        }
    });
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    {
        // The program has drawn its main window before any chart: fonts and styles are loaded.
        TGraphDlg warmUp(1);
        ShowFilled(warmUp, Sweep(kSmallSteps));
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_Show");
    reporter.PrintRatio("BM_FillAndShow");
    reporter.PrintRatio("BM_ResizeRepaint");
    reporter.PrintRatio("BM_Zoom");
    benchmark::Shutdown();
    return 0;
}
