// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "tests/support/RecordingMessages.h"
#include "ui/AboutDlg.h"
#include "ui/Application.h"
#include "ui/GraphDlg.h"
#include "ui/MainDlg.h"
#include "ui/StartUp.h"

namespace {

QByteArray SampleFile(const char* name) {
    QFile file(QDir(QStringLiteral(MFB_SAMPLE_DATA)).filePath(QString::fromLatin1(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The sample fan file with line `number` (1-based) replaced, or cut after `keep` lines.
QByteArray FanFileWithLine(int number, const QByteArray& text) {
    QList<QByteArray> lines = SampleFile("fan.txt").split('\n');
    lines[number - 1] = text;
    return lines.join('\n');
}
QByteArray FanFileOfLines(int keep) {
    return SampleFile("fan.txt").split('\n').mid(0, keep).join('\n') + '\n';
}

const QByteArray kMissing = QByteArrayLiteral("<missing>");

// Runs start-up in a folder of its own, as the launcher does, and puts everything back afterwards.
class StartedIn {
public:
    StartedIn() : previous_(QDir::currentPath()) {}
    ~StartedIn() {
        ShutDown();
        QDir::setCurrent(previous_);
    }
    StartedIn(const StartedIn&) = delete;
    StartedIn& operator=(const StartedIn&) = delete;

    bool Write(const char* name, const QByteArray& content) {
        if (content == kMissing) return true;
        QFile file(folder_.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }
    void Start(ShowCommand show = ShowCommand::Normal) {
        QDir::setCurrent(folder_.path());
        StartUp(show);
    }
    QString Path(const char* name) const {
        return QDir(QDir::currentPath()).filePath(QString::fromLatin1(name));
    }

private:
    QString previous_;
    QTemporaryDir folder_;
};

// The main window start-up made, while it lives.
TMainDlg* StartedMain() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* main = qobject_cast<TMainDlg*>(window)) return main;
    }
    return nullptr;
}

template <typename T>
QString TextOf(const char* name) {
    const T* widget = StartedMain()->findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) return QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
    if constexpr (std::is_same_v<T, QComboBox>) {
        return widget->currentText();
    } else {
        return widget->text();
    }
}

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void showCommand_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("unset") << "" << int(ShowCommand::Normal);
        QTest::newRow("normal") << "normal" << int(ShowCommand::Normal);
        QTest::newRow("maximized") << "maximized" << int(ShowCommand::Maximized);
        QTest::newRow("maximised, upper case, blanks")
            << " MAXIMISED " << int(ShowCommand::Maximized);
        QTest::newRow("minimized") << "minimized" << int(ShowCommand::Minimized);
        QTest::newRow("minimised") << "Minimised" << int(ShowCommand::Minimized);
        QTest::newRow("the old show-command numbers are not taken")
            << "3" << int(ShowCommand::Normal);
        QTest::newRow("unknown word") << "fullscreen" << int(ShowCommand::Normal);
    }
    void showCommand() {
        QFETCH(QString, value);
        QFETCH(int, expected);
        QCOMPARE(int(ParseShowCommand(value)), expected);
        qputenv("MFBCALC_SHOW", value.toLocal8Bit());
        QCOMPARE(int(ShowCommandFromEnvironment()), expected);
        qunsetenv("MFBCALC_SHOW");
    }

    // What each missing or broken catalogue file leaves on the screen. The fan buttons and the
    // option columns' fan names change only once all three files have been read.
    void catalogueFiles_data() {
        QTest::addColumn<QByteArray>("motor");
        QTest::addColumn<QByteArray>("battery");
        QTest::addColumn<QByteArray>("fan");
        QTest::addColumn<QString>("error");  // %1 is the folder
        QTest::addColumn<QString>("motorText");
        QTest::addColumn<QString>("batteryText");
        QTest::addColumn<QString>("fan1Caption");
        QTest::addColumn<QString>("fanName");
        QTest::addColumn<QString>("details");  // where the error lies, behind the box's button

        const QByteArray motor = SampleFile("motor.txt");
        const QByteArray battery = SampleFile("battery.txt");
        const QByteArray fan = SampleFile("fan.txt");
        const QString fan1 = QString::fromLatin1(fan.split('\n').at(13));
        QTest::newRow("all three") << motor << battery << fan << QString() << "Choose Motor"
                                   << "Choose Battery" << fan1 << fan1 << QString();
        QTest::newRow("empty folder")
            << kMissing << kMissing << kMissing
            << "Cannot open file \"%1/motor.txt\". No such file or directory."
            << "ComboBox1"
            << "ComboBox2"
            << "Mini Fan"
            << ""
            << "motor.txt";
        QTest::newRow("no battery.txt")
            << motor << kMissing << fan
            << "Cannot open file \"%1/battery.txt\". No such file or directory."
            << "Choose Motor"
            << "ComboBox2"
            << "Mini Fan"
            << ""
            << "battery.txt";
        QTest::newRow("no fan.txt") << motor << battery << kMissing
                                    << "Cannot open file \"%1/fan.txt\". No such file or directory."
                                    << "Choose Motor"
                                    << "Choose Battery"
                                    << "Mini Fan"
                                    << ""
                                    << "fan.txt";
        QTest::newRow("fan.txt of 20 lines")
            << motor << battery << FanFileOfLines(20) << "List index out of bounds (20)"
            << "Choose Motor"
            << "Choose Battery"
            << "Mini Fan"
            << ""
            << "fan.txt, line 21";
        QTest::newRow("fan.txt with a bad number")
            << motor << battery << FanFileWithLine(15, "7021,5")
            << "'7021,5' is not a valid floating point value: it uses ',', this system's decimal "
               "separator is '.'; `mfbcalc-cli convert` rewrites a catalogue."
            << "Choose Motor"
            << "Choose Battery"
            << "Mini Fan"
            << ""
            << "fan.txt, line 15, columns 1-6";
        QTest::newRow("empty motor.txt and battery.txt")
            << QByteArray() << QByteArray() << fan << QString() << "Choose Motor"
            << "Choose Battery" << fan1 << fan1 << QString();
    }
    void catalogueFiles() {
        QFETCH(QByteArray, motor);
        QFETCH(QByteArray, battery);
        QFETCH(QByteArray, fan);
        QFETCH(QString, error);
        QFETCH(QString, motorText);
        QFETCH(QString, batteryText);
        QFETCH(QString, fan1Caption);
        QFETCH(QString, fanName);
        QFETCH(QString, details);

        RecordingMessages messages;
        StartedIn run;
        QVERIFY(run.Write("motor.txt", motor));
        QVERIFY(run.Write("battery.txt", battery));
        QVERIFY(run.Write("fan.txt", fan));
        run.Start();

        const QStringList expectedErrors =
            error.isEmpty()
                ? QStringList()
                : QStringList{QString(error).replace(QStringLiteral("%1"), QDir::currentPath())};
        QCOMPARE(messages.errors, expectedErrors);
        QCOMPARE(messages.errorDetails, details.isEmpty() ? QStringList() : QStringList{details});
        QVERIFY(messages.warnings.isEmpty());
        TMainDlg* main = StartedMain();
        QVERIFY(main != nullptr);
        QVERIFY(main->isVisible());
        QCOMPARE(TextOf<QComboBox>("ComboBox1"), motorText);
        QCOMPARE(TextOf<QComboBox>("ComboBox2"), batteryText);
        QCOMPARE(TextOf<QRadioButton>("RadioButton1"), fan1Caption);
        for (const char* label : {"Label96", "Label97", "Label98", "Label99"}) {
            QCOMPARE(TextOf<QLabel>(label), fanName);
        }
    }

    // Six windows, one each, the others handed to the main window; only the main window is
    // shown, centred.
    void windows() {
        RecordingMessages messages;
        StartedIn run;
        run.Start();
        QCOMPARE(QApplication::applicationDisplayName(), kApplicationTitle);

        TMainDlg* main = StartedMain();
        QVERIFY(main != nullptr);
        QCOMPARE(main->windowTitle(),
                 QStringLiteral("Calculate Fan-Motor-Battery Combination 1.1"));
        QVERIFY(main->aboutBox() != nullptr);
        QVERIFY(main->aboutBox()->isHidden());
        for (int option = 1; option <= 4; ++option) {
            TGraphDlg* chart = main->chartWindow(option);
            QVERIFY(chart != nullptr);
            QCOMPARE(chart->option(), option);
            QVERIFY(chart->isHidden());
            QVERIFY(chart->isWindow());
        }
        QVERIFY(QTest::qWaitForWindowExposed(main));
        const QRect screen = main->screen()->geometry();
        const QRect frame = main->frameGeometry();
        // Centred, but never with the title bar above a screen lower than the window.
        const QPoint centred =
            screen.topLeft() + QPoint((screen.width() - frame.width()) / 2,
                                      std::max(0, (screen.height() - frame.height()) / 2));
        QTRY_COMPARE(main->frameGeometry().y(), centred.y());
        // The headless platform's screen is narrower than the window, and it moves a window that
        // starts left of the screen by its frame width.
        const int frameWidth = frame.width() - main->width();
        QVERIFY2(qAbs(main->frameGeometry().x() - centred.x()) <= frameWidth,
                 qPrintable(QStringLiteral("x %1, centred %2")
                                .arg(main->frameGeometry().x())
                                .arg(centred.x())));
        QCOMPARE(main->windowState(), Qt::WindowNoState);

        ShutDown();
        QVERIFY(StartedMain() == nullptr);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY(qobject_cast<TGraphDlg*>(window) == nullptr);
            QVERIFY(dynamic_cast<TAboutDlg*>(window) == nullptr);
        }
    }

    void startsMaximisedOrMinimised_data() {
        QTest::addColumn<int>("show");
        QTest::addColumn<int>("state");
        QTest::newRow("maximized") << int(ShowCommand::Maximized) << int(Qt::WindowMaximized);
        QTest::newRow("minimized") << int(ShowCommand::Minimized) << int(Qt::WindowMinimized);
    }
    void startsMaximisedOrMinimised() {
        QFETCH(int, show);
        QFETCH(int, state);
        RecordingMessages messages;
        StartedIn run;
        run.Start(ShowCommand(show));
        QCOMPARE(int(StartedMain()->windowState()), state);
    }

    // Closing the main window ends the loop with status 0, whatever else is open.
    void closingTheMainWindowEndsTheProgram_data() {
        QTest::addColumn<bool>("viaCloseButton");
        QTest::addColumn<QList<int>>("openCharts");
        QTest::newRow("title bar, no chart") << false << QList<int>{};
        QTest::newRow("title bar, charts 1 and 3 open") << false << QList<int>{1, 3};
        QTest::newRow("&Close, all charts open") << true << QList<int>{1, 2, 3, 4};
    }
    void closingTheMainWindowEndsTheProgram() {
        QFETCH(bool, viaCloseButton);
        QFETCH(QList<int>, openCharts);
        RecordingMessages messages;
        StartedIn run;
        QVERIFY(run.Write("motor.txt", SampleFile("motor.txt")));
        QVERIFY(run.Write("battery.txt", SampleFile("battery.txt")));
        QVERIFY(run.Write("fan.txt", SampleFile("fan.txt")));
        run.Start();
        TMainDlg* main = StartedMain();
        for (int option : openCharts) main->chartWindow(option)->showChart();

        QTimer::singleShot(0, main, [main, viaCloseButton] {
            if (viaCloseButton) {
                main->Button5Click();
            } else {
                main->close();
            }
        });
        // Should the loop not end, this ends it with a status the test does not accept.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(messages.errors.isEmpty());
        QVERIFY(!main->isVisible());
    }

    // "&About" opens the box over the main window and closing it returns to the main window.
    void aboutFromTheMainWindow() {
        RecordingMessages messages;
        StartedIn run;
        run.Start();
        TMainDlg* main = StartedMain();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        TAboutDlg* about = main->aboutBox();
        bool shown = false;
        QTimer::singleShot(0, about, [&] {
            shown = about->isVisible() && QApplication::activeModalWidget() == about;
            about->Button1Click();
        });
        main->About1Click();
        QVERIFY(shown);
        QVERIFY(about->isHidden());
        QVERIFY(main->isVisible());
    }
};

int main(int argc, char* argv[]) {
    Application application(argc, argv);
    StartUpTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "StartUpTest.moc"
