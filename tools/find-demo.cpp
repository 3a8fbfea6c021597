// SPDX-License-Identifier: GPL-3.0-or-later
// find-demo DATA_DIR [OUTPUT.png [MAX_CURRENT MAX_WEIGHT]]
//
// Starts the main window on the catalogues in DATA_DIR, opens the Find window from the menu, keeps
// 100 rows and presses Run, as a user does. Prints the summary, the time from the click to the
// filled table and the longest the event loop went without turning meanwhile. With OUTPUT it also
// sets the two budgets, runs again and saves a picture of the window with its rows.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "ui/FindDlg.h"
#include "ui/MainDlg.h"
#include "ui/QtPlatform.h"

namespace {

struct RunTimes {
    double seconds = 0;
    qint64 longestGapMs = 0;
};

RunTimes ClickRun(TFindDlg& find) {
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    // A timer the event loop serves every 10 ms while nothing holds it up; it also sees the end.
    QEventLoop loop;
    QTimer ticks;
    ticks.setInterval(10);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.restart());
        if (!find.running()) loop.quit();
    });
    clock.start();
    sinceTick.start();
    ticks.start();
    find.findChild<QAbstractButton*>(QStringLiteral("runButton"))->click();
    loop.exec();
    return {static_cast<double>(clock.nsecsElapsed()) / 1e9, longest};
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: find-demo DATA_DIR [OUTPUT.png [MAX_CURRENT MAX_WEIGHT]]\n");
        return 2;
    }
    TMainDlg main(QtPlatform(QString::fromLocal8Bit(argv[1])));
    main.show();
    main.findChild<QAction*>(QStringLiteral("Find1"))->trigger();
    auto* find = main.findChild<TFindDlg*>(QStringLiteral("FindDlg"));
    find->findChild<QSpinBox*>(QStringLiteral("top"))->setValue(100);

    const RunTimes times = ClickRun(*find);
    std::printf("%s\n", qPrintable(find->findChild<QLabel*>(QStringLiteral("summary"))->text()));
    std::printf("Run to filled table: %.2f s; longest event-loop gap: %lld ms\n", times.seconds,
                static_cast<long long>(times.longestGapMs));
    if (argc < 3) return 0;

    if (argc >= 5) {
        find->findChild<QLineEdit*>(QStringLiteral("maxCurrent"))->setText(argv[3]);
        find->findChild<QLineEdit*>(QStringLiteral("maxWeight"))->setText(argv[4]);
        ClickRun(*find);
    }
    find->resize(1280, 640);
    QApplication::processEvents();
    if (!find->grab().save(QString::fromLocal8Bit(argv[2]))) return 1;
    std::printf("find-demo: wrote %s\n", argv[2]);
    return 0;
}
