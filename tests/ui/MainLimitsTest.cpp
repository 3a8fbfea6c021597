// SPDX-License-Identifier: GPL-3.0-or-later
// The limits of the catalogues in the main window: each value label's tooltip tells the figures
// and limits that belong to it, a value over a limit is drawn red, and a value within its limits
// goes back to the window's own colour.
#include <QtTest>

#include "tests/ui/MainTestSupport.h"

namespace {

// Column 1's value labels that carry notes, and one that never does.
constexpr const char* kCurrent = "Label124";
constexpr const char* kRpm = "Label128";
constexpr const char* kPinMotor = "Label132";
constexpr const char* kPoutMotor = "Label136";
constexpr const char* kWeight = "Label112";

// The test catalogues, with limits added where the reading of the fields never looks: "alpha
// 3000" may take 1 A (far too little) and 99999 W (plenty), and fan 1 may turn at 1 000 000 rpm.
mfb::CataloguePlatform LimitedPlatform() {
    mfb::CataloguePlatform platform = MainTestPlatform();
    platform.readFile = [read = platform.readFile](const std::string& name) {
        std::string text = read(name);
        if (name == "motor.txt") {
            const auto alpha = text.find('\r', text.find("alpha 3000"));
            text.insert(alpha, "     1  99999");
        } else if (name == "fan.txt") {
            text += "max rpm fan 1: 1000000\n";
        }
        return text;
    };
    return platform;
}

bool DrawnRed(const QLabel* label) {
    return label->palette().color(QPalette::WindowText) == QColor(Qt::red);
}

void Calculate(const TMainDlg& window, const char* motor) {
    ChooseMotor(window, QString::fromLatin1(motor));
    ChooseBattery(window, QStringLiteral("Good cell"));
    Click(window, "Button1");
    // The first slice ends the sweep only on a machine with time to spare.
    QTRY_VERIFY(!window.calculating(1));
}

}  // namespace

class MainLimitsTest : public QObject {
    Q_OBJECT
private slots:
    void aValueOverALimitIsRedAndItsTooltipSaysByHowMuch() {
        const auto window = ShownMainDlg(LimitedPlatform());
        Calculate(*window, "alpha");

        const QLabel* current = Find<QLabel>(*window, kCurrent);
        QVERIFY(!current->text().isEmpty());
        QVERIFY(DrawnRed(current));
        QVERIFY(current->toolTip().startsWith(QStringLiteral("C-rate: ")));
        QVERIFY(current->toolTip().contains(QStringLiteral("\nFull-throttle run time: ")));
        QVERIFY(current->toolTip().contains(
            QStringLiteral("\nOver the motor's maximum continuous current of 1.00 A by ")));

        for (const char* within : {kPinMotor, kRpm}) {
            const QLabel* label = Find<QLabel>(*window, within);
            QVERIFY2(!DrawnRed(label), within);
            QVERIFY2(label->toolTip().startsWith(QStringLiteral("Within ")), within);
        }
        QVERIFY(Find<QLabel>(*window, kPoutMotor)
                    ->toolTip()
                    .startsWith(QStringLiteral("Shaft power per pack weight: ")));
        QVERIFY(Find<QLabel>(*window, kWeight)->toolTip().isEmpty());

        // The same column recalculated with a motor without limits: the window's colour again, the
        // figures alone.
        Calculate(*window, "charlie");
        QVERIFY(!DrawnRed(current));
        QVERIFY(!current->testAttribute(Qt::WA_SetPalette));
        QVERIFY(!current->toolTip().contains(QStringLiteral("limit")));
        QVERIFY(!current->toolTip().contains(QStringLiteral("Over ")));
    }
};

QTEST_MAIN(MainLimitsTest)
#include "MainLimitsTest.moc"
