// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of figures below the option columns: shown without the mouse for every calculated
// column, following the flight settings shared by the four options, and explained in tooltips.
#include <QAction>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <cmath>

#include "tests/ui/MainTestSupport.h"
#include "ui/FlightSettingsBar.h"

namespace {

double Number(const QString& text) {
    return text.section(u' ', 0, 0).toDouble();
}

}  // namespace

class MainFiguresTest : public QObject {
    Q_OBJECT
private slots:
    void everyCalculatedColumnShowsItsFiguresBelowIt() {
        const auto window = ShownMainDlg(JetPlatform());
        // The test fans' curves are steep at low power: part throttle needs most of the rpm.
        TypeInto(*window, "PartThrottle", QStringLiteral("90"));
        ChooseMotor(*window, QStringLiteral("alpha"));
        ChooseBattery(*window, QStringLiteral("Good cell"));
        Click(*window, "Button1");

        // Column 1, top to bottom; the row of a figure that needs the model weight shows a dash.
        const char* const suffixes[] = {" C", " min", " W/kg", " g", " km/h", " min", ""};
        for (int row = 1; row <= 7; ++row) {
            const QByteArray name = "Figure1_" + QByteArray::number(row);
            const QLabel* value = Find<QLabel>(*window, name.constData());
            QTRY_VERIFY2(!value->text().isEmpty(), name.constData());
            QVERIFY2(value->isVisible(), name.constData());
            QVERIFY(
                window->rect().contains(value->mapTo(window.get(), value->rect().bottomRight())));
            QVERIFY2(value->text().endsWith(QLatin1String(suffixes[row - 1])), name.constData());
            QVERIFY2(!value->toolTip().isEmpty(), name.constData());
            QVERIFY(LabelText(*window, "Figure2_" + QByteArray::number(row)).isEmpty());
        }
        QCOMPARE(LabelText(*window, "Figure1_7"), QStringLiteral("-"));
        QVERIFY(Find<QLabel>(*window, "Figure1_7")->toolTip().contains(u"weight"));

        // A model weight, and the thrust to weight follows from the thrust and the all-up weight.
        TypeInto(*window, "ModelWeight", QStringLiteral("1000"));
        const double thrust = Number(LabelText(*window, "Figure1_4"));
        const double pack = Number(LabelText(*window, "Label112"));
        QVERIFY(thrust > 0 && pack > 0);
        QCOMPARE(Number(LabelText(*window, "Figure1_7")),
                 std::round(thrust / (1000 + pack) * 100) / 100);

        // A lower part throttle spends less current at part throttle: a longer flight.
        const double flight = Number(LabelText(*window, "Figure1_6"));
        TypeInto(*window, "PartThrottle", QStringLiteral("80"));
        QVERIFY(Number(LabelText(*window, "Figure1_6")) > flight);
    }

    // A field takes what is typed in the locale's notation within its setting's range, or keeps
    // the setting and says why.
    void fieldsTakeOnlyWhatTheySay_data() {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");  // NaN: the weight not known
        QTest::addColumn<QString>("refusal");
        const double nan = std::nan("");
        const QString weight = QStringLiteral("Model without pack takes 1 to 100000 g");
        QTest::newRow("weight with a comma") << ',' << "ModelWeight"
                                             << "1400,5" << 1400.5 << "";
        QTest::newRow("comma where a point is")
            << '.' << "ModelWeight"
            << "1400,5" << 1200.0 << weight + ", written as digits with '.' for decimals";
        QTest::newRow("weight with a point") << '.' << "ModelWeight"
                                             << "1.4" << 1.4 << "";
        QTest::newRow("exponent") << '.' << "ModelWeight"
                                  << "1e9" << 1200.0
                                  << weight + ", written as digits with '.' for decimals";
        QTest::newRow("sign") << '.' << "ModelWeight"
                              << "-5" << 1200.0
                              << weight + ", written as digits with '.' for decimals";
        QTest::newRow("too heavy") << '.' << "ModelWeight"
                                   << "250000" << 1200.0 << weight;
        QTest::newRow("weight emptied") << '.' << "ModelWeight"
                                        << "" << nan << "";
        QTest::newRow("over all the capacity") << ',' << "UsableCapacity"
                                               << "120" << 0.8 << "Capacity used takes 1 to 100 %";
        QTest::newRow("no throttle") << ',' << "PartThrottle"
                                     << "0" << 0.65 << "Part throttle takes 1 to 100 %";
        QTest::newRow("half a percent more") << ',' << "PartThrottle"
                                             << "65,5" << 0.655 << "";
    }
    void fieldsTakeOnlyWhatTheySay() {
        QFETCH(char, separator);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(double, stored);
        QFETCH(QString, refusal);
        FlightSettingsBar bar(0, 953, separator, nullptr);
        mfb::FlightSettings start;
        start.modelWeight = 1200;
        bar.setSettings(start);
        TypeInto(bar, field.toLatin1().constData(), typed);
        const mfb::FlightSettings& now = bar.settings();
        const double got = field == u"ModelWeight"    ? now.modelWeight.value_or(std::nan(""))
                           : field == u"PartThrottle" ? now.throttle
                                                      : now.usable;
        QVERIFY2(got == stored || (std::isnan(got) && std::isnan(stored)),
                 qPrintable(QString::number(got)));
        auto* edit = Find<QLineEdit>(bar, field.toLatin1().constData());
        if (!refusal.isEmpty()) QCOMPARE(edit->toolTip(), refusal);
        // Leaving the field shows the setting that holds.
        emit edit->editingFinished();
        QCOMPARE(edit->text().isEmpty(), std::isnan(stored));
    }

    void aColumnsPartLoadTableOpensFromItsFigureRows() {
        const auto window = ShownMainDlg(JetPlatform());
        auto* action = window->findChild<QAction*>(QStringLiteral("PartLoad1"));
        QVERIFY(action != nullptr);
        QVERIFY(!action->isEnabled());
        QVERIFY(Find<QLabel>(*window, "Figure1_6")->actions().contains(action));
        ChooseMotor(*window, QStringLiteral("alpha"));
        ChooseBattery(*window, QStringLiteral("Good cell"));
        Click(*window, "Button1");
        QTRY_VERIFY(action->isEnabled());
        QVERIFY(!window->findChild<QAction*>(QStringLiteral("PartLoad2"))->isEnabled());

        action->trigger();
        auto* table = window->findChild<QTableWidget*>(QStringLiteral("partLoadTable"));
        QVERIFY(table != nullptr);
        QVERIFY(table->isVisible());
        QCOMPARE(table->rowCount(), 10);
        QCOMPARE(table->item(9, 0)->text(), QStringLiteral("100.00"));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("10.00"));
        window->findChild<QSpinBox*>(QStringLiteral("partLoadStep"))->setValue(25);
        QCOMPARE(table->rowCount(), 4);
    }
};

QTEST_MAIN(MainFiguresTest)
#include "MainFiguresTest.moc"
