// SPDX-License-Identifier: GPL-3.0-or-later
// How long the window leaves events waiting while a Calculate sweeps ten million steps to the
// 1 MW limit, its chart window storing every point, hidden and shown: a timer due every
// millisecond notes the longest gap between its ticks. Runs offscreen on a catalogue written to a
// temporary folder.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "chart/CurveTable.h"
#include "ui/GraphDlg.h"
#include "ui/MainDlg.h"
#include "ui/MessageService.h"
#include "ui/ProgramWindows.h"
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
    Windows().GraphDlg[0] = chart;
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
    Windows().GraphDlg[0] = nullptr;
    delete chart;
    SetMessages(previous);
}
BENCHMARK(BM_WindowDuringLongSweep)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

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
