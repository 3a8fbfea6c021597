// SPDX-License-Identifier: GPL-3.0-or-later
// Catalogue choices: by mouse or keyboard, never by typing, into the selected option only; and the
// fan buttons following the selected option.
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

#include "model/Error.h"
#include "tests/support/RecordingMessages.h"
#include "tests/ui/MainTestSupport.h"
#include "ui/MessageService.h"

namespace {

constexpr const char* kOptionButtons[] = {"RadioButton3", "RadioButton4", "RadioButton5",
                                          "RadioButton6"};
constexpr const char* kFanLabels[] = {"Label96", "Label97", "Label98", "Label99"};
constexpr const char* kMotorLabels[] = {"Label104", "Label105", "Label106", "Label107"};
constexpr const char* kBatteryLabels[] = {"Label108", "Label109", "Label110", "Label111"};

QString Name(const std::string& bytes) {
    return QString::fromLatin1(bytes);
}

}  // namespace

class MainChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void choiceGoesIntoSelectedOptionOnly_data() {
        QTest::addColumn<int>("option");
        for (int k = 1; k <= 4; ++k) QTest::addRow("option %d", k) << k;
    }
    void choiceGoesIntoSelectedOptionOnly() {
        QFETCH(int, option);
        const auto window = ShownMainDlg();
        Click(*window, kOptionButtons[option - 1]);
        QCOMPARE(window->selectedOption(), option);

        ChooseMotor(*window, "alpha");
        ChooseBattery(*window, "Good");
        Click(*window, "RadioButton7");

        const mfb::TOptionSlot& slot = window->slot(option);
        QCOMPARE(Name(slot.MotorName), QStringLiteral("alpha 3000          "));
        QCOMPARE(slot.Motor.Kv, 3000.0);
        QCOMPARE(slot.Motor.Ri, 0.030);
        QCOMPARE(slot.Motor.Io, 1.5);
        QCOMPARE(Name(slot.BatteryName), QStringLiteral("Good cell           "));
        QCOMPARE(slot.Battery.Capacity, 3000.0);
        QCOMPARE(slot.Battery.RCell, 0.004);
        QCOMPARE(slot.Battery.UCell, 1.2);
        QCOMPARE(slot.Battery.CellWeight, 56.0);
        QCOMPARE(Name(slot.FanName), QStringLiteral("Fan Three"));
        QCOMPARE(LabelText(*window, kMotorLabels[option - 1]), Name(slot.MotorName));
        QCOMPARE(LabelText(*window, kBatteryLabels[option - 1]), Name(slot.BatteryName));
        QCOMPARE(LabelText(*window, kFanLabels[option - 1]), QStringLiteral("Fan Three"));

        // The shared parameter labels show the raw fields.
        QCOMPARE(LabelText(*window, "Label5"), QStringLiteral("3000"));
        QCOMPARE(LabelText(*window, "Label6"), QStringLiteral("0.030"));
        QCOMPARE(LabelText(*window, "Label7"), QStringLiteral(" 1.5"));
        QCOMPARE(LabelText(*window, "Label10"), QStringLiteral("3000"));
        QCOMPARE(LabelText(*window, "Label11"), QStringLiteral("0.0040"));
        QCOMPARE(LabelText(*window, "Label40"), QStringLiteral(" 1.20"));
        QCOMPARE(LabelText(*window, "Label57"), QStringLiteral("  56"));
        QCOMPARE(Find<QComboBox>(*window, "ComboBox1")->currentText(),
                 QStringLiteral("alpha 3000          test inrunner           "));

        for (int other = 1; other <= 4; ++other) {
            if (other == option) continue;
            QVERIFY(window->slot(other).MotorName.empty());
            QVERIFY(window->slot(other).BatteryName.empty());
            QCOMPARE(window->slot(other).Motor.Kv, 0.0);
            QCOMPARE(Name(window->slot(other).FanName), QStringLiteral("Slow Fan"));
            QVERIFY(LabelText(*window, kMotorLabels[other - 1]).isEmpty());
            QCOMPARE(LabelText(*window, kFanLabels[other - 1]), QStringLiteral("Slow Fan"));
        }
    }

    // A bad Ri field ends the choice after the name and kv: the name label shows the new name,
    // Ri and Io keep the previous motor's values.
    void badFieldKeepsWhatWasWritten() {
        const auto window = ShownMainDlg();
        ChooseMotor(*window, "alpha");
        try {
            ChooseMotor(*window, "Bravo");
            QFAIL("the bad Ri field was accepted");
        } catch (const mfb::LocatedError& error) {
            QCOMPARE(QString::fromLatin1(error.what()),
                     QStringLiteral("'0.0x5' is not a valid floating point value"));
            // Sorted second, it is the file's third line; the error box tells that, and the line
            // itself, behind its details button.
            RecordingMessages messages;
            ShowError(error);
            QCOMPARE(
                messages.errorDetails,
                QStringList{"motor.txt, line 3, columns 51-55\nBravo broken Ri     Ri field is "
                            "bad         2500  0.0x5    1.2"});
        }
        const mfb::TOptionSlot& slot = window->slot(1);
        QCOMPARE(Name(slot.MotorName), QStringLiteral("Bravo broken Ri     "));
        QCOMPARE(LabelText(*window, "Label104"), Name(slot.MotorName));
        QCOMPARE(slot.Motor.Kv, 2500.0);
        QCOMPARE(slot.Motor.Ri, 0.030);
        QCOMPARE(slot.Motor.Io, 1.5);
        QCOMPARE(LabelText(*window, "Label5"), QStringLiteral("2500"));
        QCOMPARE(LabelText(*window, "Label6"), QStringLiteral("0.0x5"));
        QCOMPARE(LabelText(*window, "Label7"), QStringLiteral(" 1.2"));
    }

    // The arrow keys choose; typing an entry's text and confirming or leaving chooses nothing.
    void keyboardChoosesTypingDoesNot() {
        const auto window = ShownMainDlg();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* motors = Find<QComboBox>(*window, "ComboBox1");
        motors->setFocus(Qt::TabFocusReason);

        QTest::keyClick(motors, Qt::Key_Down);
        QCOMPARE(motors->currentIndex(), 0);
        QCOMPARE(Name(window->slot(1).MotorName), QStringLiteral("alpha 3000          "));

        const QString charlie = motors->itemText(2);
        motors->lineEdit()->selectAll();
        QTest::keyClicks(motors, charlie);
        QTest::keyClick(motors, Qt::Key_Return);
        Find<QWidget>(*window, "Button1")->setFocus(Qt::TabFocusReason);
        QVERIFY(!motors->hasFocus());

        QCOMPARE(motors->count(), 3);
        QCOMPARE(Name(window->slot(1).MotorName), QStringLiteral("alpha 3000          "));
        QCOMPARE(LabelText(*window, "Label5"), QStringLiteral("3000"));
        QCOMPARE(motors->currentText(), charlie);
    }

    // Choose fan 3 for option 2, select option 1 (fan 1), then option 2 again.
    void fanButtonsFollowTheSelectedOption() {
        const auto window = ShownMainDlg();
        Click(*window, "RadioButton4");
        QVERIFY(Find<QRadioButton>(*window, "RadioButton1")->isChecked());
        Click(*window, "RadioButton7");
        QCOMPARE(LabelText(*window, "Label97"), QStringLiteral("Fan Three"));
        QCOMPARE(LabelText(*window, "Label96"), QStringLiteral("Slow Fan"));

        Click(*window, "RadioButton3");
        QVERIFY(Find<QRadioButton>(*window, "RadioButton1")->isChecked());
        QVERIFY(!Find<QRadioButton>(*window, "RadioButton7")->isChecked());
        QCOMPARE(LabelText(*window, "Label96"), QStringLiteral("Slow Fan"));

        Click(*window, "RadioButton4");
        QVERIFY(Find<QRadioButton>(*window, "RadioButton7")->isChecked());
        QVERIFY(!Find<QRadioButton>(*window, "RadioButton1")->isChecked());
        QCOMPARE(LabelText(*window, "Label97"), QStringLiteral("Fan Three"));
        QCOMPARE(Name(window->slot(2).FanName), QStringLiteral("Fan Three"));
        QCOMPARE(Name(window->slot(1).FanName), QStringLiteral("Slow Fan"));
        // The two groups are independent.
        QVERIFY(Find<QRadioButton>(*window, "RadioButton4")->isChecked());
    }

    // When two fans share the name of the option's fan, the later button ends up checked.
    void twoFansOfOneNameLastMatchWins() {
        RecordingMessages messages;
        mfb::CataloguePlatform platform = MainTestPlatform();
        platform.readFile = [inner = platform.readFile](const std::string& name) {
            std::string text = inner(name);
            // Fan 2 renamed to fan 1's name: two buttons match "Slow Fan", the later one wins.
            if (name == "fan.txt") text.replace(text.find("Fan Two"), 7, "Slow Fan");
            return text;
        };
        const auto window = ShownMainDlg(platform);
        Click(*window, "RadioButton8");
        Click(*window, "RadioButton4");
        QVERIFY(Find<QRadioButton>(*window, "RadioButton2")->isChecked());
        QCOMPARE(LabelText(*window, "Label97"), QStringLiteral("Slow Fan"));
        Click(*window, "RadioButton3");
        QVERIFY(Find<QRadioButton>(*window, "RadioButton8")->isChecked());
        QVERIFY(messages.errors.isEmpty());
    }
};

QTEST_MAIN(MainChoiceTest)
#include "MainChoiceTest.moc"
