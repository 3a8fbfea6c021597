// SPDX-License-Identifier: GPL-3.0-or-later
// compare-demo CHART.png SHEET.pdf [DATA_DIR]
//
// Starts the program as a user does, in DATA_DIR (default: the working directory), puts three
// combinations of the sample catalogues into options 1 to 3 and calculates them, then opens
// File > Compare Charts… and saves its picture, and exports the comparison sheet as a PDF.
#include <QApplication>
#include <QChart>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "ui/CompareChartsDlg.h"
#include "ui/ComparisonActions.h"
#include "ui/MainDlg.h"
#include "ui/StartUp.h"

namespace {

struct Pick {
    const char* motor;
    const char* battery;
    int fan;
    int serie;
    int parallel;
};
// Three within every limit of the sample catalogues.
constexpr Pick kPicks[] = {
    {"Inrunner 43105-1500", "LiPo 5000 40C", 4, 7, 1},
    {"Inrunner 43105-1500", "LiPo 4000 35C", 4, 7, 2},
    {"Inrunner 4395-1600", "LiPo 4000 35C", 4, 6, 2},
};

// Where the line of that name stands in the sorted list.
std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(name, 0) == 0) return i;
    }
    std::fprintf(stderr, "compare-demo: no line %s\n", name.c_str());
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: compare-demo CHART.png SHEET.pdf [DATA_DIR]\n");
        return 2;
    }
    const QString chartFile = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString sheetFile = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    if (argc > 3) QDir::setCurrent(QString::fromLocal8Bit(argv[3]));

    TMainDlg* main = StartUp(ShowCommand::Normal);
    const mfb::Catalogue& catalogue = main->catalogue();
    int option = 0;
    for (const Pick& pick : kPicks) {
        main->useCombination(++option, {IndexOf(catalogue.MotorLines, pick.motor),
                                        IndexOf(catalogue.BatteryLines, pick.battery), pick.fan,
                                        pick.serie, pick.parallel});
    }
    int status = 1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        for (int k = 1; k <= option; ++k) {
            if (main->calculating(k)) return;
        }
        poll.stop();
        main->comparison().showCompareCharts();
        main->comparison().compareCharts()->setQuantity(mfb::Series::Current);
        // Let the chart lay itself out before it is grabbed.
        QTimer::singleShot(500, &app, [&] {
            CompareChartsDlg* compare = main->comparison().compareCharts();
            const QRectF plot = compare->chart()->plotArea();
            compare->showReadout(
                {plot.left() + 0.45 * plot.width(), plot.top() + 0.6 * plot.height()});
            const bool saved = compare->grab().save(chartFile, "PNG");
            const bool exported = main->comparison().exportTo(sheetFile);
            status = saved && exported ? 0 : 1;
            app.exit(status);
        });
    });
    poll.start(100);
    app.exec();
    ShutDown();
    return status;
}
