// SPDX-License-Identifier: GPL-3.0-or-later
// How long the window leaves events waiting while a Calculate sweeps ten million steps to the
// 1 MW limit, its chart window storing every point, hidden and shown, and while "Save Data as CSV"
// and "Copy Data" export ten million steps: a timer due every millisecond notes the longest gap
// between its ticks; for the exports, the peak resident size is reset before each and its growth
// reported. Runs offscreen on a catalogue written to a temporary folder.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "chart/CurveTable.h"
#include "ui/GraphDlg.h"
#include "ui/MainDlg.h"
#include "ui/MessageService.h"
#include "ui/QtPlatform.h"

namespace {

// Cells of 50 V and no resistance: ten of them deliver far more than the 1 MW limit.
constexpr char kMotor[] = "alpha 3000          test inrunner           3000  0.030    1.5\n";
constexpr char kBattery[] =
    "Tall cell           runs to the 1 MW limit  3000  0.0000  50.00   56\n";

void Write(const QString& path, const QByteArray& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(text);
}

QByteArray FanFile() {
    QByteArray text;
    for (int line = 1; line <= 13; ++line) text += "free text\n";
    for (int fan = 1; fan <= 5; ++fan)
        text += "Fan " + QByteArray::number(fan) + "\n0\n3000\n0\n0\n0\n30\n0\n";
    return text;
}

// Keeps the limit's warning from opening a box that waits for a click.
class QuietMessages final : public MessageService {
public:
    void warning(const QString&, const QString&) override {}
    void error(const QString& text) override { qFatal("%s", qPrintable(text)); }
    SaveAnswer askToSave(const QString&, const QString&) override { return SaveAnswer::Discard; }
};

void BM_WindowDuringLongSweep(benchmark::State& state) {
    QTemporaryDir dir;
    Write(dir.filePath("motor.txt"), kMotor);
    Write(dir.filePath("battery.txt"), kBattery);
    Write(dir.filePath("fan.txt"), FanFile());
    QuietMessages quiet;
    MessageService* previous = SetMessages(&quiet);
    TMainDlg window(QtPlatform(dir.path()));
    auto* chart = new TGraphDlg(1);
    window.setChartWindows({chart, nullptr, nullptr, nullptr});
    window.show();
    // Argument 1: the chart window is open and redraws the curves as they grow.
    if (state.range(0) == 1) chart->showChart();
    for (const char* list : {"ComboBox1", "ComboBox2"}) {
        auto* box = window.findChild<QComboBox*>(QString::fromLatin1(list));
        box->setCurrentIndex(0);
        emit box->activated(0);
    }

    double longestMs = 0, ticks = 0, steps = 0;
    for (auto _ : state) {
        QElapsedTimer since;
        qint64 longest = 0;
        QTimer probe;
        probe.setInterval(1);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            longest = std::max(longest, since.restart());
            ++ticks;
        });
        window.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        since.start();
        probe.start();
        while (window.calculating(1)) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        longest = std::max(longest, since.elapsed());
        longestMs = std::max(longestMs, static_cast<double>(longest));
        steps = static_cast<double>(chart->points(mfb::Series::RpmFan).size());
    }
    state.counters["steps"] = steps;
    state.counters["longest_wait_ms"] = longestMs;
    state.counters["probe_ticks"] = ticks / static_cast<double>(state.iterations());
    window.setChartWindows({});
    delete chart;
    SetMessages(previous);
}
BENCHMARK(BM_WindowDuringLongSweep)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

constexpr int kSteps = 10'000'000;

// Keeps every box from waiting for a click; counts them and prints their text. Offered to save
// what the clipboard refuses, it declines.
class CountingMessages final : public MessageService {
public:
    void warning(const QString&, const QString& text) override { Note(text); }
    void error(const QString& text) override { Note(text); }
    bool question(const QString&, const QString& text) override {
        Note(text);
        return false;
    }
    int boxes = 0;

private:
    void Note(const QString& text) {
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
        ++boxes;
    }
};

// Kibibytes of the given line of /proc/self/status ("VmRSS:", "VmHWM:").
double StatusKiB(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size()));
    }
    return 0;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// A sweep's rows: 0.1 W steps from 75 W, with values of as many digits as a sweep writes.
void Fill(TGraphDlg& chart) {
    chart.ClearSeries(mfb::Series::RpmFan);
    for (int i = 0; i < kSteps; ++i) {
        const double x = 75 + 0.1 * i;
        chart.AddStep(x, 1000 * std::sqrt(x) / 3, 1200 * std::sqrt(x) / 3.1, x / 44.4);
    }
}

// Triggers the chart's `action` and runs the event loop until `done` says it has finished or a
// box was shown.
void Export(benchmark::State& state, const char* action,
            const std::function<bool(const QString& path)>& done) {
    CountingMessages quiet;
    MessageService* previous = SetMessages(&quiet);
    TGraphDlg chart(1);
    Fill(chart);
    chart.points(mfb::Series::RpmFan);  // sorted before the clock starts
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sweep.csv"));
    chart.setFilePrompt([&](const QString&, const QString&, const QString&) { return path; });
    double longestMs = 0, totalMs = 0, peakMiB = 0, afterMiB = 0;
    for (auto _ : state) {
        QFile::remove(path);
        QGuiApplication::clipboard()->clear();
        const double before = StatusKiB("VmRSS:");
        ResetPeak();
        QElapsedTimer since, total;
        qint64 longest = 0;
        QTimer probe;
        probe.setInterval(1);
        QObject::connect(&probe, &QTimer::timeout,
                         [&] { longest = std::max(longest, since.restart()); });
        total.start();
        since.start();
        probe.start();
        chart.findChild<QAction*>(QString::fromLatin1(action))->trigger();
        while (!done(path) && quiet.boxes == 0) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        longestMs = static_cast<double>(std::max(longest, since.elapsed()));
        totalMs = static_cast<double>(total.elapsed());
        peakMiB = (StatusKiB("VmHWM:") - before) / 1024;
        afterMiB = (StatusKiB("VmRSS:") - before) / 1024;
    }
    state.counters["rows_MiB"] = static_cast<double>(kSteps) * 32 / (1 << 20);
    state.counters["longest_wait_ms"] = longestMs;
    state.counters["total_ms"] = totalMs;
    state.counters["peak_extra_MiB"] = peakMiB;
    state.counters["after_extra_MiB"] = afterMiB;
    state.counters["file_MiB"] = static_cast<double>(QFileInfo(path).size()) / (1 << 20);
    state.counters["boxes"] = quiet.boxes;
    SetMessages(previous);
}

void BM_SaveData(benchmark::State& state) {
    Export(state, "SaveDataAction", [](const QString& path) { return QFileInfo::exists(path); });
}
BENCHMARK(BM_SaveData)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_CopyData(benchmark::State& state) {
    Export(state, "CopyDataAction",
           [](const QString&) { return !QGuiApplication::clipboard()->text().isEmpty(); });
}
BENCHMARK(BM_CopyData)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
