// SPDX-License-Identifier: GPL-3.0-or-later
// limit-demo OUTPUT.png DATA_DIR MOTOR BATTERY FAN
//
// Opens the main window on the catalogues in DATA_DIR, chooses in option 1 the motor and the
// battery whose entries start with MOTOR and BATTERY and fan FAN (1-5), presses Calculate, shows
// the tooltip of the current value as resting the mouse on it does, and saves the screen around
// the window as a PNG.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <cstdio>

#include "ui/MainDlg.h"
#include "ui/QtPlatform.h"

namespace {

constexpr const char* kFanButtons[] = {"RadioButton1", "RadioButton2", "RadioButton7",
                                       "RadioButton8", "RadioButton9"};

bool Choose(const TMainDlg& window, const char* list, const QString& start) {
    auto* combo = window.findChild<QComboBox*>(QString::fromLatin1(list));
    const int index = combo->findText(start, Qt::MatchStartsWith);
    if (index < 0) return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "usage: limit-demo OUTPUT.png DATA_DIR MOTOR BATTERY FAN\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const int fan = std::atoi(argv[5]);
    TMainDlg window(QtPlatform(QString::fromLocal8Bit(argv[2])));
    window.show();
    if (!Choose(window, "ComboBox1", QString::fromLocal8Bit(argv[3])) ||
        !Choose(window, "ComboBox2", QString::fromLocal8Bit(argv[4])) || fan < 1 || fan > 5) {
        std::fprintf(stderr, "limit-demo: no such motor, battery or fan\n");
        return 1;
    }
    window.findChild<QAbstractButton*>(QString::fromLatin1(kFanButtons[fan - 1]))->click();
    window.findChild<QAbstractButton*>(QStringLiteral("Button1"))->click();

    auto* current = window.findChild<QLabel*>(QStringLiteral("Label124"));
    QTimer::singleShot(300, &app, [&] {
        const QPoint at = current->mapToGlobal(QPoint(current->width() / 2, current->height()));
        QToolTip::showText(at, current->toolTip(), current);
    });
    QTimer::singleShot(1200, &app, [&] {
        const QRect frame = window.frameGeometry();
        const bool saved = window.screen()
                               ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                               .save(output, "PNG");
        if (!saved) std::fprintf(stderr, "limit-demo: cannot write %s\n", qPrintable(output));
        app.exit(saved ? 0 : 1);
    });
    return app.exec();
}
