// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as it comes up: texts, checked buttons, layout, tab order, and what a failing
// catalogue leaves.
#include <QGroupBox>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "model/Error.h"
#include "tests/support/RecordingMessages.h"
#include "tests/ui/MainTestSupport.h"
#include "ui/SpinEdit.h"

namespace {

constexpr const char* kFanButtons[] = {"RadioButton1", "RadioButton2", "RadioButton7",
                                       "RadioButton8", "RadioButton9"};
constexpr const char* kDesignCaptions[] = {"Mini Fan", "Midi Fan", "Schubeler DS-51", "HW-730",
                                           "HW-750"};
constexpr const char* kTestFans[] = {"Slow Fan", "Fan Two", "Fan Three", "Fan Four", "Fan Five"};
constexpr const char* kFanLabels[] = {"Label96", "Label97", "Label98", "Label99"};
constexpr const char* kNameLabels[] = {"Label104", "Label105", "Label106", "Label107",
                                       "Label108", "Label109", "Label110", "Label111"};
constexpr const char* kChartButtons[] = {"Button6", "Button7", "Button8", "Button9"};

// The test directory, except that `failing` cannot be opened.
mfb::CataloguePlatform FailingPlatform(const std::string& failing) {
    mfb::CataloguePlatform platform = MainTestPlatform();
    platform.readFile = [inner = platform.readFile, failing](const std::string& name) {
        if (name == failing) throw mfb::Error("Cannot open file \"" + name + "\". It is gone");
        return inner(name);
    };
    return platform;
}

QStringList Entries(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
}

}  // namespace

class MainDlgTest : public QObject {
    Q_OBJECT

private slots:
    void startUpState() {
        RecordingMessages messages;
        TMainDlg window(MainTestPlatform());

        QCOMPARE(window.windowTitle(),
                 QStringLiteral("Calculate Fan-Motor-Battery Combination 1.1"));
        QCOMPARE(window.objectName(), QStringLiteral("MainDlg"));
        QVERIFY(messages.errors.isEmpty());
        QCOMPARE(window.selectedOption(), 1);
        QVERIFY(Find<QRadioButton>(window, "RadioButton3")->isChecked());
        QVERIFY(Find<QRadioButton>(window, "RadioButton1")->isChecked());
        for (int j = 0; j < 5; ++j) {
            QCOMPARE(Find<QRadioButton>(window, kFanButtons[j])->text(),
                     QString::fromLatin1(kTestFans[j]));
        }
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(LabelText(window, kFanLabels[k - 1]), QStringLiteral("Slow Fan"));
            QCOMPARE(QString::fromStdString(window.slot(k).FanName), QStringLiteral("Slow Fan"));
            QVERIFY(!Find<QPushButton>(window, kChartButtons[k - 1])->isEnabled());
        }
        for (const char* name : kNameLabels) QVERIFY(LabelText(window, name).isEmpty());
        for (const char* name : {"Label5", "Label6", "Label7", "Label10", "Label11", "Label40",
                                 "Label57", "Label112", "Label116", "Label156", "Label143"}) {
            QVERIFY2(LabelText(window, name).isEmpty(), name);
        }
        for (const char* name : {"SpinEdit1", "SpinEdit3", "SpinEdit5", "SpinEdit7"}) {
            QCOMPARE(Find<SpinEdit>(window, name)->text(), "10");
        }
        for (const char* name : {"SpinEdit2", "SpinEdit4", "SpinEdit6", "SpinEdit8"}) {
            QCOMPARE(Find<SpinEdit>(window, name)->text(), "1");
        }

        const auto* motors = Find<QComboBox>(window, "ComboBox1");
        QCOMPARE(motors->currentIndex(), -1);
        QCOMPARE(motors->currentText(), QStringLiteral("Choose Motor"));
        QCOMPARE(Find<QComboBox>(window, "ComboBox2")->currentText(),
                 QStringLiteral("Choose Battery"));
        // Sorted with case ignored: the file has charlie, alpha, Bravo.
        QCOMPARE(Entries(motors), (QStringList{"alpha 3000          test inrunner           ",
                                               "Bravo broken Ri     Ri field is bad         ",
                                               "charlie 2000        slow inrunner           "}));
        // The line lists are invisible and hold the whole lines.
        const auto* motorLines = Find<QListView>(window, "ListBox1");
        QVERIFY(motorLines->isHidden());
        QCOMPARE(motorLines->model()->rowCount(), 3);
        QVERIFY(motorLines->model()->index(0, 0).data().toString().endsWith(
            QStringLiteral("3000  0.030    1.5")));
        QCOMPARE(Find<QListView>(window, "ListBox3")->model()->rowCount(), 53);

        // The "&File" menu, then "&About" and the "&Find…" that opens the Find window, which
        // have no submenu, and after them the "&Catalogues" menu.
        const auto* menu = Find<QMenuBar>(window, "MainMenu1");
        QCOMPARE(menu->actions().size(), 4);
        QCOMPARE(menu->actions().front()->text(), QStringLiteral("&File"));
        QCOMPARE(menu->actions()[1]->text(), QStringLiteral("&About"));
        QCOMPARE(menu->actions()[2]->text(), QStringLiteral("&Find\u2026"));
        QCOMPARE(menu->actions()[2]->shortcut(), QKeySequence(QKeySequence::Find));
        for (const QAction* action : menu->actions().mid(1, 2)) QVERIFY(action->menu() == nullptr);
        QCOMPARE(menu->actions().back()->text(), QStringLiteral("&Catalogues"));
        QVERIFY(menu->actions().back()->menu() != nullptr);
    }

    void everyLabelOnce() {
        TMainDlg window(MainTestPlatform());
        for (int n = 1; n <= 163; ++n) {
            const QString name = QStringLiteral("Label%1").arg(n);
            QCOMPARE(window.findChildren<QLabel*>(name).size(), 1);
        }
    }

    // A click at a control's place in the client area reaches that control.
    void clickReaches_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("click");
        QTest::newRow("motor list") << "ComboBox1" << QPoint(186, 40);
        QTest::newRow("battery list") << "ComboBox2" << QPoint(186, 96);
        QTest::newRow("fan 3, the wide one") << "RadioButton7" << QPoint(856, 76);
        QTest::newRow("option 4") << "RadioButton6" << QPoint(768, 160);
        QTest::newRow("Serie 1") << "SpinEdit1" << QPoint(130, 299);
        QTest::newRow("Parallel 4") << "SpinEdit8" << QPoint(826, 323);
        QTest::newRow("Calculate 2") << "Button2" << QPoint(313, 576);
        QTest::newRow("Chart 4") << "Button9" << QPoint(861, 576);
        QTest::newRow("Close") << "Button5" << QPoint(476, 644);
    }
    void clickReaches() {
        QFETCH(QString, name);
        QFETCH(QPoint, click);
        const auto window = ShownMainDlg();
        const auto* widget = window->findChild<QWidget*>(name);
        QVERIFY(widget != nullptr);
        QWidget* hit = window->centralWidget()->childAt(click);
        QVERIFY2(hit != nullptr, qPrintable(name));
        QVERIFY2(hit == widget || widget->isAncestorOf(hit), qPrintable(hit->objectName()));
    }

    // The client area below the menu bar holds the frames and "&Close" in its designed 706 px,
    // and the flight settings and the figures' rows below them.
    void clientSize() {
        const auto window = ShownMainDlg();
        QCOMPARE(window->centralWidget()->size(), QSize(953, 852));
    }

    // Left-aligned labels keep their left edge, right-aligned ones their right edge.
    void labelAnchors_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("topLeft");  // x = -1: right-aligned, see right
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Motor: caption") << "Label1" << QPoint(8, 8) << -1 << 15 << true;
        QTest::newRow("kv caption") << "Label2" << QPoint(380, 32) << -1 << 15 << false;
        QTest::newRow("kv unit") << "Label145" << QPoint(448, 32) << -1 << 13 << false;
        QTest::newRow("weight per cell unit")
            << "Label151" << QPoint(-1, 104) << 730 << 13 << false;
        QTest::newRow("fan name 4") << "Label99" << QPoint(764, 192) << -1 << 15 << true;
        QTest::newRow("Number of cells 3") << "Label58" << QPoint(500, 264) << -1 << 13 << false;
        QTest::newRow("unit g of column 4") << "Label95" << QPoint(844, 340) << -1 << 13 << false;
        QTest::newRow("U Motor caption 1") << "Label154" << QPoint(20, 388) << -1 << 13 << false;
    }
    void labelAnchors() {
        QFETCH(QString, name);
        QFETCH(QPoint, topLeft);
        QFETCH(int, right);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        TMainDlg window(MainTestPlatform());
        const auto* label = window.findChild<QLabel*>(name);
        QVERIFY(label != nullptr);
        QVERIFY(!label->text().isEmpty());
        QCOMPARE(label->y(), topLeft.y());
        if (topLeft.x() >= 0) {
            QCOMPARE(label->x(), topLeft.x());
        } else {
            QCOMPARE(label->x() + label->width(), right);
            QVERIFY(label->alignment().testFlag(Qt::AlignRight));
        }
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
        QCOMPARE(label->font().pixelSize(), pixelSize);
        QCOMPARE(label->font().bold(), bold);
    }

    void tabOrder() {
        TMainDlg window(MainTestPlatform());
        const QStringList expected{"RadioButton1", "RadioButton2", "RadioButton7", "RadioButton8",
                                   "RadioButton9", "RadioButton3", "RadioButton4", "RadioButton5",
                                   "RadioButton6", "SpinEdit1",    "SpinEdit2",    "SpinEdit3",
                                   "SpinEdit4",    "SpinEdit5",    "SpinEdit6",    "SpinEdit7",
                                   "SpinEdit8",    "Button1",      "Button2",      "Button3",
                                   "Button4",      "Button5",      "ComboBox1",    "ComboBox2",
                                   "Button6",      "Button7",      "Button8",      "Button9"};
        // A spin edit takes the focus in its line edit, so the chain names it by the box.
        QStringList chain;
        QWidget* start = Find<QWidget>(window, "RadioButton1");
        QWidget* w = start;
        do {
            QString name = w->objectName();
            if (!expected.contains(name) && w->parentWidget() != nullptr &&
                w->parentWidget()->focusProxy() == w) {
                name = w->parentWidget()->objectName();
            }
            if (expected.contains(name) && (chain.isEmpty() || chain.back() != name)) {
                chain << name;
            }
            w = w->nextInFocusChain();
        } while (w != start);
        QCOMPARE(chain, expected);
    }

    // Each stage of the loading takes effect before the next reads its file; a failure stops
    // there, and the window still comes up with an error box.
    void failedLoading_data() {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("motors");
        QTest::addColumn<int>("batteries");
        QTest::addColumn<QString>("motorText");
        QTest::addColumn<QString>("batteryText");
        QTest::newRow("motor.txt") << "motor.txt" << 0 << 0 << "ComboBox1"
                                   << "ComboBox2";
        QTest::newRow("battery.txt") << "battery.txt" << 3 << 0 << "Choose Motor"
                                     << "ComboBox2";
        QTest::newRow("fan.txt") << "fan.txt" << 3 << 3 << "Choose Motor"
                                 << "Choose Battery";
    }
    void failedLoading() {
        QFETCH(QString, failing);
        QFETCH(int, motors);
        QFETCH(int, batteries);
        QFETCH(QString, motorText);
        QFETCH(QString, batteryText);
        RecordingMessages messages;
        TMainDlg window(FailingPlatform(failing.toStdString()));

        QCOMPARE(messages.errors, QStringList{"Cannot open file \"" + failing + "\". It is gone."});
        QCOMPARE(Find<QComboBox>(window, "ComboBox1")->count(), motors);
        QCOMPARE(Find<QComboBox>(window, "ComboBox1")->currentText(), motorText);
        QCOMPARE(Find<QComboBox>(window, "ComboBox2")->count(), batteries);
        QCOMPARE(Find<QComboBox>(window, "ComboBox2")->currentText(), batteryText);
        for (int j = 0; j < 5; ++j) {
            QCOMPARE(Find<QRadioButton>(window, kFanButtons[j])->text(),
                     QString::fromLatin1(kDesignCaptions[j]));
        }
        for (const char* name : kFanLabels) QVERIFY(LabelText(window, name).isEmpty());
        QVERIFY(Find<QRadioButton>(window, "RadioButton1")->isChecked());
    }

    // The bottom line tells what check would, and its link lists the findings as check prints
    // them; catalogues without findings leave it hidden.
    void catalogueFindings() {
        TMainDlg window(MainTestPlatform());
        auto* line = Find<QLabel>(window, "CatalogueFindings");
        QVERIFY(!line->isHidden());
        QVERIFY(line->text().startsWith(u"Catalogues: 1 error, 0 warnings \u2014 <a "));
        emit line->linkActivated(QStringLiteral("details"));
        QCOMPARE(Find<QPlainTextEdit>(window, "CatalogueFindingsText")->toPlainText(),
                 QStringLiteral("motor.txt:3:51-55: error: Ri: '0.0x5' is not a valid floating "
                                "point value"));

        TMainDlg clean(QtPlatform(QStringLiteral(MFB_SAMPLE_DATA)));
        QVERIFY(Find<QLabel>(clean, "CatalogueFindings")->isHidden());
    }

    // Without fans a Calculate cannot run; it says so instead of using a stale fan speed.
    void calculateWithoutFans() {
        RecordingMessages messages;
        TMainDlg window(FailingPlatform("fan.txt"));
        ChooseMotor(window, "alpha");
        ChooseBattery(window, "Good");
        QVERIFY_THROWS_EXCEPTION(mfb::Error, window.Button1Click());
        QVERIFY(LabelText(window, "Label112").isEmpty());
        QVERIFY(!Find<QPushButton>(window, "Button6")->isEnabled());
    }
};

QTEST_MAIN(MainDlgTest)
#include "MainDlgTest.moc"
