// SPDX-License-Identifier: GPL-3.0-or-later
// chart-demo OUTPUT.png [DATA_DIR [MOTOR BATTERY FAN SERIE PARALLEL [READOUT]]]
//
// Loads the catalogues from DATA_DIR (default: the working directory), runs a Calculate of option 1
// with the MOTOR-th motor line and BATTERY-th battery line (1-based, in list order), fan FAN and
// the given cell counts, shows chart window 1 with its operating point and saves it as a PNG. With
// READOUT (a fraction of the plot's width) the picture shows the readout of a mouse resting there.
#include <QApplication>
#include <QChart>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <exception>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "catalogue/FileReader.h"
#include "model/ColumnRows.h"
#include "model/PowerTrain.h"
#include "model/Sweep.h"
#include "ui/GraphDlg.h"

namespace {

class PrintingView : public mfb::ResultView {
public:
    void ShowValue(mfb::ResultField field, const std::string& text) override {
        std::printf("%s: %s\n", std::string(mfb::Caption(field)).c_str(), text.c_str());
    }
    void EnableChart() override {}
    void ShowWarning(const std::string& message) override {
        std::printf("warning: %s\n", message.c_str());
    }
};

bool CaseInsensitiveLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

int Argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::stoi(argv[index]) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: chart-demo OUTPUT.png [DATA_DIR [MOTOR BATTERY FAN SERIE PARALLEL "
                     "[READOUT]]]\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const std::string directory = argc > 2 ? argv[2] : ".";
    const int motor = Argument(argc, argv, 3, 8);
    const int battery = Argument(argc, argv, 4, 8);
    const int fan = Argument(argc, argv, 5, 4);
    const int serie = Argument(argc, argv, 6, 6);
    const int parallel = Argument(argc, argv, 7, 1);
    const double readout = argc > 8 ? std::stod(argv[8]) : -1;

    TGraphDlg chart(1);
    try {
        mfb::Catalogue catalogue;
        std::array<mfb::TOptionSlot, mfb::kOptionCount> optionSlots;
        mfb::CataloguePlatform platform;
        platform.readFile = [&](const std::string& name) {
            return mfb::ReadWholeFile(directory + "/" + name);
        };
        platform.lineLess = CaseInsensitiveLess;
        mfb::LoadObserver observer;
        mfb::LoadCatalogues(catalogue, optionSlots, platform, observer);

        mfb::TOptionSlot& slot = optionSlots[0];
        mfb::ChooseMotor(slot, catalogue.MotorLines.at(motor - 1), '.');
        mfb::ChooseBattery(slot, catalogue.BatteryLines.at(battery - 1), '.');
        mfb::ChooseFan(slot, catalogue.Fans, fan);
        PrintingView view;
        mfb::CalculateReport report;
        mfb::Calculate(slot,
                       {catalogue.Fans, catalogue.WireResistance, catalogue.CompleteFans, 1, serie,
                        parallel, '.'},
                       view, chart, report);
        std::printf("%lld sweep steps\n", report.steps);
        // As the main window does after a Calculate.
        const mfb::ResultPoint& kept = report.result;
        if (kept.PinMotor != 0) {
            chart.ShowOperatingPoint(
                static_cast<double>(mfb::ShaftPower(kept.PinMotor, kept.Efficiency)));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "chart-demo: %s\n", error.what());
        return 1;
    }

    chart.showChart();
    // Let the queued refresh and the chart's layout run before the window is grabbed.
    QTimer::singleShot(200, &app, [&] {
        if (readout >= 0) {
            const QRectF plot = chart.chart()->plotArea();
            chart.ShowReadout(
                {plot.left() + readout * plot.width(), plot.top() + 0.3 * plot.height()});
        }
        const bool saved = chart.grab().save(output, "PNG");
        if (!saved) std::fprintf(stderr, "chart-demo: cannot write %s\n", qPrintable(output));
        app.exit(saved ? 0 : 1);
    });
    return app.exec();
}
