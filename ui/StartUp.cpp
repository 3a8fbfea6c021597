// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StartUp.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <array>

#include "ui/AboutDlg.h"
#include "ui/GraphDlg.h"
#include "ui/MainDlg.h"
#include "ui/SetupFileMenu.h"

ShowCommand ParseShowCommand(const QString& value) {
    const QString command = value.trimmed().toLower();
    if (command == u"maximized" || command == u"maximised") return ShowCommand::Maximized;
    if (command == u"minimized" || command == u"minimised") return ShowCommand::Minimized;
    return ShowCommand::Normal;
}

ShowCommand ShowCommandFromEnvironment() {
    return ParseShowCommand(qEnvironmentVariable("MFBCALC_SHOW"));
}

namespace {

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    const QSize outer = window.frameGeometry().size();
    // On a screen lower than the window the title bar stays on it, where the window can be
    // taken and moved.
    window.move(area.left() + (area.width() - outer.width()) / 2,
                std::max(area.top(), area.top() + (area.height() - outer.height()) / 2));
}

// The six windows of a run, from start-up to shutdown. Only these two functions know them all;
// the main window reaches the others as it was handed them.
struct Started {
    TMainDlg* main = nullptr;
    TAboutDlg* about = nullptr;
    std::array<TGraphDlg*, 4> charts{};
};
Started& Run() {
    static Started windows;
    return windows;
}

void Show(QWidget& window, ShowCommand show) {
    switch (show) {
        case ShowCommand::Maximized:
            window.showMaximized();
            break;
        case ShowCommand::Minimized:
            window.setAttribute(Qt::WA_ShowWithoutActivating);
            window.showMinimized();
            break;
        case ShowCommand::Normal:
            window.show();
            break;
    }
}

}  // namespace

TMainDlg* StartUp(ShowCommand show, const QString& setupFile) {
    // The title goes in as the application name, which also serves as the display name (the
    // error box's caption). Set as the display name, Qt would append it to every window caption
    // ("About — Calculate ..."), and each window has a caption of its own. On X11 it becomes the
    // window class, which is what taskbars group and label by.
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setDesktopFileName(QStringLiteral("mfbcalc"));
    // Only the main window ends the program; the chart windows and the About box go with it.
    QApplication::setQuitOnLastWindowClosed(true);

    Started& windows = Run();
    windows.main = new TMainDlg;
    windows.about = new TAboutDlg(windows.main);
    windows.about->setAttribute(Qt::WA_QuitOnClose, false);
    for (int option = 1; option <= 4; ++option) {
        auto* chart = new TGraphDlg(option);
        chart->setAttribute(Qt::WA_QuitOnClose, false);
        windows.charts[static_cast<std::size_t>(option - 1)] = chart;
    }
    TMainDlg* main = windows.main;
    main->setAboutBox(windows.about);
    main->setChartWindows(windows.charts);

    CentreOnScreen(*main);
    const QSize guessedOuter = main->frameGeometry().size();
    Show(*main, show);
    // The window frame is known only once the window is on the screen; centre again with it.
    if (show == ShowCommand::Normal) {
        QTimer::singleShot(0, main, [main, guessedOuter] {
            if (main->frameGeometry().size() != guessedOuter) CentreOnScreen(*main);
        });
    }
    // Opened from the loop, so that what it has to say appears over the window.
    if (!setupFile.isEmpty()) {
        QTimer::singleShot(0, main, [main, setupFile] { main->setupFiles().open(setupFile); });
    }
    return main;
}

void ShutDown() {
    Started& windows = Run();
    if (windows.main != nullptr) windows.main->setChartWindows({});
    for (auto it = windows.charts.rbegin(); it != windows.charts.rend(); ++it) {
        delete *it;
        *it = nullptr;
    }
    delete windows.about;
    windows.about = nullptr;
    delete windows.main;
    windows.main = nullptr;
}

int RunProgram(ShowCommand show, const QString& setupFile) {
    StartUp(show, setupFile);
    const int status = QApplication::exec();
    ShutDown();
    return status;
}
