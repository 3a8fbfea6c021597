// SPDX-License-Identifier: GPL-3.0-or-later
// Calculate and Chart from the main window: what each outcome of a sweep leaves on screen, in
// which column, and which chart window it fills.
#include <QPushButton>
#include <QtTest>
#include <map>

#include "chart/CurveTable.h"
#include "model/PowerTrain.h"
#include "model/Sweep.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/RecordingSinks.h"
#include "tests/ui/MainTestSupport.h"
#include "ui/GraphDlg.h"
#include "ui/SpinEdit.h"

namespace {

using mfb::ResultField;

struct ValueLabel {
    const char* name;
    int right;
};

// The value labels of each column by ResultField, with their fixed right edges.
const std::array<std::array<ValueLabel, mfb::kResultFieldCount>, 4> kValueLabels{{
    {{{"Label112", 154},
      {"Label116", 156},
      {"Label120", 156},
      {"Label124", 155},
      {"Label128", 155},
      {"Label132", 155},
      {"Label136", 155},
      {"Label140", 155},
      {"Label156", 155}}},
    {{{"Label113", 386},
      {"Label157", 386},
      {"Label121", 388},
      {"Label125", 387},
      {"Label129", 387},
      {"Label133", 387},
      {"Label137", 387},
      {"Label141", 387},
      {"Label117", 388}}},
    {{{"Label114", 618},
      {"Label160", 619},
      {"Label122", 620},
      {"Label126", 619},
      {"Label130", 619},
      {"Label134", 619},
      {"Label138", 619},
      {"Label142", 619},
      {"Label118", 620}}},
    {{{"Label115", 843},
      {"Label163", 843},
      {"Label123", 844},
      {"Label127", 843},
      {"Label131", 843},
      {"Label135", 843},
      {"Label139", 843},
      {"Label143", 843},
      {"Label119", 844}}},
}};
constexpr const char* kOptionButtons[] = {"RadioButton3", "RadioButton4", "RadioButton5",
                                          "RadioButton6"};
constexpr const char* kCalculateButtons[] = {"Button1", "Button2", "Button3", "Button4"};
constexpr const char* kChartButtons[] = {"Button6", "Button7", "Button8", "Button9"};
constexpr const char* kSerieEdits[] = {"SpinEdit1", "SpinEdit3", "SpinEdit5", "SpinEdit7"};
constexpr const char* kParallelEdits[] = {"SpinEdit2", "SpinEdit4", "SpinEdit6", "SpinEdit8"};

// What the core shows for a slot, to hold the window's labels against.
struct Expected {
    mfb::test::RecordingSinks view{false};
    mfb::CalculateReport report;
};

// The core's Calculate on a copy of the window's slot, with the same inputs the window reads.
Expected CoreCalculate(const TMainDlg& window, int option, int serie, int parallel) {
    Expected expected;
    mfb::TOptionSlot slot = window.slot(option);
    const mfb::SweepInputs inputs{window.catalogue().Fans,
                                  window.catalogue().WireResistance,
                                  window.catalogue().CompleteFans,
                                  option,
                                  serie,
                                  parallel,
                                  MainTestPlatform().decimalSeparator};
    mfb::Calculate(slot, inputs, expected.view, expected.view, expected.report);
    return expected;
}

void Prepare(TMainDlg& window, int option, const QString& battery) {
    Click(window, kOptionButtons[option - 1]);
    ChooseMotor(window, QStringLiteral("alpha"));
    ChooseBattery(window, battery);
}

QStringList ValueTexts(const TMainDlg& window, int option) {
    QStringList texts;
    for (const ValueLabel& label : kValueLabels[static_cast<std::size_t>(option - 1)]) {
        texts << LabelText(window, label.name);
    }
    return texts;
}

}  // namespace

class MainCalculateTest : public QObject {
    Q_OBJECT

private slots:
    void outcomes_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("battery");
        QTest::addColumn<int>("serie");
        QTest::addColumn<int>("parallel");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("shownValues");  // how many labels, in field order, got a value
        const auto calculated = static_cast<int>(mfb::Outcome::Calculated);
        const auto notPossible = static_cast<int>(mfb::Outcome::NotPossible);
        QTest::newRow("calculates") << 1 << "Good" << 10 << 1 << calculated << 9;
        QTest::newRow("calculates in column 4") << 4 << "Good" << 10 << 1 << calculated << 9;
        QTest::newRow("counts typed, column 3") << 3 << "Good" << 12 << 2 << calculated << 9;
        QTest::newRow("not possible at the start") << 1 << "Weak" << 10 << 1 << notPossible << 0;
        QTest::newRow("not possible at a step") << 2 << "Step" << 10 << 1 << notPossible << 3;
        QTest::newRow("motor too slow") << 3 << "Good" << 3 << 1 << notPossible << 3;
    }
    void outcomes() {
        QFETCH(int, option);
        QFETCH(QString, battery);
        QFETCH(int, serie);
        QFETCH(int, parallel);
        QFETCH(int, outcome);
        QFETCH(int, shownValues);
        RecordingMessages messages;
        const auto window = ShownMainDlg();
        Prepare(*window, option, battery);
        Find<SpinEdit>(*window, kSerieEdits[option - 1])->setText(QString::number(serie));
        Find<SpinEdit>(*window, kParallelEdits[option - 1])->setText(QString::number(parallel));
        const Expected expected = CoreCalculate(*window, option, serie, parallel);
        QCOMPARE(static_cast<int>(expected.report.outcome), outcome);

        Click(*window, kCalculateButtons[option - 1]);
        QTRY_VERIFY(!window->calculating(option));

        const bool calculated = outcome == static_cast<int>(mfb::Outcome::Calculated);
        QCOMPARE(messages.warnings,
                 calculated ? QStringList()
                            : QStringList{QStringLiteral("Warning|") +
                                          QString::fromLatin1(
                                              mfb::NotPossibleMessage(expected.report.reason))});
        QVERIFY(messages.errors.isEmpty());
        QCOMPARE(Find<QPushButton>(*window, kChartButtons[option - 1])->isEnabled(), calculated);
        const auto& labels = kValueLabels[option - 1];
        for (int f = 0; f < mfb::kResultFieldCount; ++f) {
            const auto field = static_cast<ResultField>(f);
            const auto* label = Find<QLabel>(*window, labels[static_cast<std::size_t>(f)].name);
            const auto shown = expected.view.values.find(field);
            QCOMPARE(shown != expected.view.values.end(), f < shownValues);
            QCOMPARE(label->text(),
                     f < shownValues ? QString::fromLatin1(shown->second) : QString());
            if (f < shownValues) {
                QCOMPARE(label->x() + label->width(), labels[static_cast<std::size_t>(f)].right);
                QVERIFY(label->width() > 0);
            }
        }
        QCOMPARE(window->slot(option).CellsSerie, serie);
        QCOMPARE(window->slot(option).CellsParallel, parallel);
    }

    // A later failing Calculate leaves the Chart button enabled and the earlier results shown,
    // except the three pack values it writes before the sweep.
    void chartButtonStaysEnabled() {
        RecordingMessages messages;
        const auto window = ShownMainDlg();
        Prepare(*window, 1, QStringLiteral("Good"));
        window->Button1Click();
        QTRY_VERIFY(!window->calculating(1));
        const QStringList calculated = ValueTexts(*window, 1);
        QVERIFY(Find<QPushButton>(*window, "Button6")->isEnabled());

        ChooseBattery(*window, QStringLiteral("Step"));
        const Expected failing = CoreCalculate(*window, 1, 10, 1);
        window->Button1Click();
        QTRY_VERIFY(!window->calculating(1));
        QVERIFY(Find<QPushButton>(*window, "Button6")->isEnabled());
        QStringList expected = calculated;
        for (ResultField field :
             {ResultField::Weight, ResultField::UBattery, ResultField::RTotal}) {
            expected[static_cast<int>(field)] = QString::fromLatin1(failing.view.values.at(field));
        }
        QCOMPARE(ValueTexts(*window, 1), expected);
        QVERIFY(expected != calculated);
    }

    // fan.txt cut short in fan 5's block: the window's lists and fans 1 to 4 are whole, so each of
    // those calculates; fan 5 and the empty fan name every option keeps after the failure are
    // refused with nothing changed.
    void aFanReadWholeCalculatesAfterAFailedFanFile() {
        RecordingMessages messages;
        mfb::CataloguePlatform platform = MainTestPlatform();
        platform.readFile = [inner = platform.readFile](const std::string& name) {
            std::string text = inner(name);
            if (name == "fan.txt") {
                std::size_t end = 0;
                for (int line = 0; line < 52; ++line) end = text.find('\n', end) + 1;
                text.resize(end);
            }
            return text;
        };
        const auto window = ShownMainDlg(platform);
        ChartWindows charts(*window);
        QCOMPARE(messages.errors, QStringList{"List index out of bounds (52)"});
        Prepare(*window, 1, QStringLiteral("Good"));
        using Handler = void (TMainDlg::*)();
        const Handler fans[] = {nullptr,
                                &TMainDlg::RadioButton1Click,
                                &TMainDlg::RadioButton2Click,
                                &TMainDlg::RadioButton7Click,
                                &TMainDlg::RadioButton8Click,
                                &TMainDlg::RadioButton9Click};
        for (int fan = 0; fan <= 5; ++fan) {
            if (fans[fan] != nullptr) (window.get()->*fans[fan])();
            const QStringList before = ValueTexts(*window, 1);
            const bool whole = fan >= 1 && fan <= 4;
            Expected expected;
            if (whole) {
                expected =
                    CoreCalculate(*window, 1, Find<SpinEdit>(*window, kSerieEdits[0])->value(),
                                  Find<SpinEdit>(*window, kParallelEdits[0])->value());
                QVERIFY(expected.report.outcome != mfb::Outcome::NotRun);
            }
            bool refused = false;
            try {
                window->Button1Click();
            } catch (const mfb::Error& error) {
                refused = true;
                QCOMPARE(QString::fromLatin1(error.what()),
                         "Option 1 has no valid fan: the fan catalogue \"fan.txt\" did not load");
            }
            QCOMPARE(refused, !whole);
            if (refused) {
                QCOMPARE(ValueTexts(*window, 1), before);
                continue;
            }
            // The first slice ends the sweep only on a machine with time to spare.
            QTRY_VERIFY(!window->calculating(1));
            for (int f = 0; f < mfb::kResultFieldCount; ++f) {
                const auto shown = expected.view.values.find(static_cast<ResultField>(f));
                if (shown == expected.view.values.end()) continue;
                QCOMPARE(LabelText(*window, kValueLabels[0][static_cast<std::size_t>(f)].name),
                         QString::fromLatin1(shown->second));
            }
        }
    }

    // Without a motor or without a battery, Calculate does nothing and says nothing.
    void preconditionIsSilent_data() {
        QTest::addColumn<bool>("motor");
        QTest::addColumn<bool>("battery");
        QTest::newRow("neither") << false << false;
        QTest::newRow("motor only") << true << false;
        QTest::newRow("battery only") << false << true;
    }
    void preconditionIsSilent() {
        QFETCH(bool, motor);
        QFETCH(bool, battery);
        RecordingMessages messages;
        const auto window = ShownMainDlg();
        ChartWindows charts(*window);
        if (motor) ChooseMotor(*window, QStringLiteral("alpha"));
        if (battery) ChooseBattery(*window, QStringLiteral("Good"));
        Click(*window, "Button1");
        QVERIFY(!window->calculating(1));
        QVERIFY(messages.warnings.isEmpty());
        QVERIFY(messages.errors.isEmpty());
        for (const QString& text : ValueTexts(*window, 1)) QVERIFY(text.isEmpty());
        QVERIFY(!Find<QPushButton>(*window, "Button6")->isEnabled());
        QCOMPARE(window->slot(1).CellsSerie, 0);
        QCOMPARE(charts.Points(1), std::size_t{0});
    }

    // Each Calculate button works on its own column, whichever option is selected, and fills its
    // own chart window.
    void columnTwoWhileOptionFourIsSelected() {
        RecordingMessages messages;
        const auto window = ShownMainDlg();
        ChartWindows charts(*window);
        Prepare(*window, 2, QStringLiteral("Good"));
        Click(*window, "RadioButton6");
        QCOMPARE(window->selectedOption(), 4);
        const Expected expected = CoreCalculate(*window, 2, 10, 1);

        Click(*window, "Button2");
        QTRY_VERIFY(!window->calculating(2));

        QVERIFY(messages.warnings.isEmpty());
        QStringList shown;
        for (int f = 0; f < mfb::kResultFieldCount; ++f) {
            shown << QString::fromLatin1(expected.view.values.at(static_cast<ResultField>(f)));
        }
        QCOMPARE(ValueTexts(*window, 2), shown);
        QVERIFY(Find<QPushButton>(*window, "Button7")->isEnabled());
        QCOMPARE(charts.Points(2), static_cast<std::size_t>(expected.report.steps));
        QVERIFY(expected.report.steps > 0);
        QCOMPARE(window->chartWindow(2)->titleLines(),
                 QStringList{"Slow Fan  alpha 3000            Good cell           "});
        // The marker sits on the chart point of the kept step.
        const mfb::ResultPoint& kept = expected.report.result;
        QVERIFY(kept.PinMotor != 0);
        QCOMPARE(
            window->chartWindow(2)->operatingPoint(),
            std::optional(static_cast<double>(mfb::ShaftPower(kept.PinMotor, kept.Efficiency))));
        for (int other : {1, 3, 4}) {
            for (const QString& text : ValueTexts(*window, other)) QVERIFY(text.isEmpty());
            QVERIFY(!Find<QPushButton>(*window, kChartButtons[other - 1])->isEnabled());
            QCOMPARE(charts.Points(other), std::size_t{0});
            QVERIFY(!window->chartWindow(other)->operatingPoint());
            QCOMPARE(window->slot(other).PinMotor, 0.0);
        }

        Click(*window, "Button7");
        QVERIFY(window->chartWindow(2)->isVisible());
        QVERIFY(!window->chartWindow(4)->isVisible());
    }

    // A sweep to the 1 MW limit: ten million steps. The window answers while it runs (every
    // QTRY below needs the event loop), its button shows the power reached and stops it, and the
    // stop leaves the column broken off, without a warning. The motor chosen and the count typed
    // during the sweep stay in the slot; what the sweep computed belongs to the counts of the
    // click.
    void longSweepShowsProgressAndStops() {
        RecordingMessages messages;
        const auto window = ShownMainDlg(QtPlatform(QStringLiteral(MFB_TEST_DATA "/long")));
        ChartWindows charts(*window);
        ChooseMotor(*window, QStringLiteral("alpha"));
        ChooseBattery(*window, QStringLiteral("Tall"));
        auto* calculate = Find<QPushButton>(*window, "Button1");

        Click(*window, "Button1");
        QVERIFY(window->calculating(1));
        QTRY_VERIFY(calculate->text().startsWith(QStringLiteral("Stop ")));
        const std::size_t seen = charts.Points(1);
        QTRY_VERIFY(charts.Points(1) > seen);
        Find<SpinEdit>(*window, "SpinEdit1")->setText(QStringLiteral("12"));
        ChooseMotor(*window, QStringLiteral("charlie"));
        Click(*window, "Button1");

        QVERIFY(!window->calculating(1));
        QCOMPARE(calculate->text(), QStringLiteral("Calculate"));
        QVERIFY(messages.warnings.isEmpty());
        QVERIFY(messages.errors.isEmpty());
        const mfb::TOptionSlot& slot = window->slot(1);
        QCOMPARE(slot.CellsSerie, 10);
        QVERIFY(QString::fromLatin1(slot.MotorName).startsWith(QStringLiteral("charlie")));
        QCOMPARE(slot.Motor.Kv, 2000.0);
        const std::size_t steps = charts.Points(1);
        QVERIFY(steps > seen && steps < 10000000);
        // The last point is the last evaluation, which the slot holds.
        const mfb::CurvePoints motor = window->chartWindow(1)->points(mfb::Series::RpmMotor);
        QCOMPARE(motor.size(), steps);
        QVERIFY(slot.PinMotor > mfb::StartPower);
        QCOMPARE(slot.RpmMotor, motor.back().y);
        const QStringList shown = ValueTexts(*window, 1);
        for (int f = 0; f < mfb::kResultFieldCount; ++f) {
            const bool pack = f <= static_cast<int>(ResultField::RTotal);
            QCOMPARE(shown[f].isEmpty(), !pack);
        }
        QCOMPARE(shown[static_cast<int>(ResultField::Weight)], QStringLiteral("560.00"));
        QVERIFY(!Find<QPushButton>(*window, "Button6")->isEnabled());
        QCOMPARE(window->chartWindow(1)->titleLines(), QStringList{QString()});
    }

    // A new combination put into an option whose sweep is running is calculated, not merely
    // stopped on: by Use in option, or by a click on the button while it still reads Calculate.
    void newCombinationReplacesARunningSweep_data() {
        QTest::addColumn<bool>("useCombination");
        QTest::newRow("Use in option") << true;
        QTest::newRow("Calculate clicked again") << false;
    }
    void newCombinationReplacesARunningSweep() {
        QFETCH(bool, useCombination);
        RecordingMessages messages;
        const auto window = ShownMainDlg(QtPlatform(QStringLiteral(MFB_TEST_DATA "/long")));
        auto* calculate = Find<QPushButton>(*window, "Button1");
        ChooseMotor(*window, QStringLiteral("alpha"));
        ChooseBattery(*window, QStringLiteral("Tall"));
        Click(*window, "Button1");
        QVERIFY(window->calculating(1));

        if (useCombination) {
            window->useCombination(1, {1, 0, 2, 12, 1});
        } else {
            if (calculate->text() != u"Calculate") QSKIP("the first slice outlasted the progress");
            ChooseMotor(*window, QStringLiteral("charlie"));
            Find<SpinEdit>(*window, "SpinEdit1")->setText(QStringLiteral("12"));
            Click(*window, "Button1");
        }
        QVERIFY(window->calculating(1));
        QTRY_VERIFY(calculate->text().startsWith(u"Stop "));
        Click(*window, "Button1");
        QVERIFY(!window->calculating(1));
        QCOMPARE(window->slot(1).CellsSerie, 12);
        QVERIFY(QString::fromLatin1(window->slot(1).MotorName).startsWith(u"charlie"));
        QVERIFY(messages.warnings.isEmpty() && messages.errors.isEmpty());
    }
};

QTEST_MAIN(MainCalculateTest)
#include "MainCalculateTest.moc"
