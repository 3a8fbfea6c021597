// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison sheet as the File menu exports it, and the comparison chart it opens.
#include <QAction>
#include <QChart>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QProcess>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest>

#include "model/FigureRows.h"
#include "tests/support/RecordingMessages.h"
#include "tests/ui/MainTestSupport.h"
#include "ui/ChartOverlay.h"
#include "ui/CompareChartsDlg.h"
#include "ui/ComparisonActions.h"
#include "ui/SetupDocument.h"

namespace {

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qFatal("%s failed", qPrintable(program));
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Options 1 and 3 calculated, option 3 back at the cells it was calculated with, and the
// comparison chart opened on them.
CompareChartsDlg* CompareThreeOptions(const TMainDlg& window) {
    ChooseThreeOptions(window);
    if (!QTest::qWaitFor([&] { return !window.calculating(1) && !window.calculating(3); }))
        qFatal("options 1 and 3 still calculating");
    Find<SpinEdit>(window, "SpinEdit5")->setText(QStringLiteral("6"));
    Find<QAction>(window, "CompareCharts1")->trigger();
    CompareChartsDlg* compare = window.comparison().compareCharts();
    if (compare == nullptr || !QTest::qWaitForWindowExposed(compare)) qFatal("no comparison chart");
    return compare;
}

}  // namespace

class ComparisonActionsTest : public QObject {
    Q_OBJECT
private slots:
    // The sheet holds every value and figure the calculated options show, the catalogue folder
    // and the date, on the locale's paper; the CSV is the same table.
    void exportWritesTheSheet_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("paper");  // as pdfinfo names it; none for CSV
        QTest::newRow("A4") << "de_DE"
                            << "sheet.pdf"
                            << "(A4)";
        QTest::newRow("Letter") << "en_US"
                                << "sheet.pdf"
                                << "(letter)";
        QTest::newRow("CSV") << "de_DE"
                             << "table.csv"
                             << "";
    }
    void exportWritesTheSheet() {
        QFETCH(QString, locale);
        QFETCH(QString, name);
        QFETCH(QString, paper);
        RecordingMessages messages;
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        QTemporaryDir folder;
        // Option 3's fan has jet data: it shows a thrust.
        const auto window = ShownMainDlg(JetPlatform());
        ChartWindows charts(*window);
        ChooseThreeOptions(*window);
        QTRY_VERIFY(!window->calculating(1) && !window->calculating(3));
        // Back to the cells option 3 was calculated with: its values are its choice's again.
        Find<SpinEdit>(*window, "SpinEdit5")->setText(QStringLiteral("6"));

        const QString path = folder.filePath(name);
        window->comparison().setFilePrompt(
            [path](const QString&, const QString&, const QString&) { return path; });
        Find<QAction>(*window, "ExportComparison1")->trigger();
        QVERIFY(messages.errors.isEmpty());
        QVERIFY(QFile::exists(path));
        QString text;
        if (paper.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            text = QString::fromUtf8(file.readAll());
            QCOMPARE(text.section(u'\n', 0, 0),
                     QStringLiteral(",Option 1,Option 2,Option 3,Option 4"));
        } else {
            text = Run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
            QVERIFY(Run(QStringLiteral("pdfinfo"), {path}).contains(paper));
            QVERIFY(text.contains(QDir::currentPath()));
            QVERIFY(text.contains(QDate::currentDate().toString(Qt::ISODate)));
            // A compact part-load table for each calculated option, and none for the others.
            for (const int option : {1, 3})
                QVERIFY(text.contains(QStringLiteral("Option %1: part load").arg(option)));
            QVERIFY(!text.contains(QStringLiteral("Option 2: part load")));
            QVERIFY(text.contains(QStringLiteral("Throttle %")));
        }
        QVERIFY(text.contains(QStringLiteral("8S2P")) && text.contains(QStringLiteral("6S1P")));
        const mfb::Setup& setup = window->setupDocument().setup();
        for (const int option : {1, 3}) {
            QVERIFY(setup.option(option).shown);
            for (const std::string& value : setup.option(option).shown->values) {
                QVERIFY2(!value.empty() && text.contains(QString::fromStdString(value)),
                         value.c_str());
            }
            for (int row = 1; row <= int{mfb::kShownFigureCount}; ++row) {
                const QByteArray name =
                    "Figure" + QByteArray::number(option) + '_' + QByteArray::number(row);
                const QString figure = LabelText(*window, name.constData());
                QVERIFY2(figure == u'-' || text.contains(figure), qPrintable(figure));
            }
        }
        QVERIFY(LabelText(*window, "Figure3_4").endsWith(QStringLiteral(" g")));
    }

    // Static thrust against shaft power, for the options whose fan has jet data: its dot at the
    // operating point is the thrust the column shows.
    void compareChartsOffersStaticThrust() {
        RecordingMessages messages;
        const auto window = ShownMainDlg(JetPlatform());
        ChartWindows charts(*window);
        CompareChartsDlg* compare = CompareThreeOptions(*window);
        compare->showThrust();
        QCOMPARE(compare->axis(mfb::Axis::Left)->titleText(), QStringLiteral("Static thrust [g]"));
        QVERIFY(!compare->lineSeries(1)->isVisible());
        QVERIFY(compare->lineSeries(3)->isVisible());
        const QString thrust = LabelText(*window, "Figure3_4");
        QCOMPARE(compare->operatingPoint(3)->count(), 1);
        QVERIFY(std::abs(compare->operatingPoint(3)->at(0).y() -
                         thrust.section(u' ', 0, 0).toDouble()) < 0.01);
        compare->setQuantity(mfb::Series::Current);
        QVERIFY(!compare->showsThrust() && compare->lineSeries(1)->isVisible());
    }

    // The comparison chart draws the calculated options, named in the legend, one quantity at a
    // time, and reads all of them out at the mouse.
    void compareChartsOverlaysTheOptions() {
        RecordingMessages messages;
        const auto window = ShownMainDlg();
        ChartWindows charts(*window);
        CompareChartsDlg* compare = CompareThreeOptions(*window);
        // Each calculated option's operating point is marked on its curve, and none elsewhere.
        for (const auto& [option, pout] : {std::pair{1, "Label136"}, std::pair{3, "Label138"}}) {
            const QScatterSeries* marker = compare->operatingPoint(option);
            QCOMPARE(marker->count(), 1);
            // At the shaft power the column shows, to its two decimals.
            QVERIFY(std::abs(marker->at(0).x() - LabelText(*window, pout).toDouble()) < 0.01);
        }
        QCOMPARE(compare->operatingPoint(2)->count(), 0);

        const auto legend = [&](int option) {
            const auto markers = compare->chart()->legend()->markers(compare->lineSeries(option));
            return !markers.isEmpty() && markers.front()->isVisible();
        };
        const auto highest = [&](int option) {
            double top = 0;
            for (const QPointF& p : compare->lineSeries(option)->points())
                top = std::max(top, p.y());
            return top;
        };
        for (int option = 1; option <= 4; ++option) {
            const bool calculated = option == 1 || option == 3;
            QCOMPARE(compare->lineSeries(option)->isVisible(), calculated);
            QCOMPARE(legend(option), calculated);
            QCOMPARE(compare->lineSeries(option)->count() > 0, calculated);
        }
        QCOMPARE(compare->lineSeries(3)->name(), QStringLiteral("Option 3"));
        const QStringList title = compare->chart()->title().split(QStringLiteral("<br>"));
        QCOMPARE(title.size(), 2);
        QVERIFY(title[1].startsWith(QStringLiteral("Option 3: charlie")) &&
                title[1].contains("6S1P"));
        const double fanRpm = highest(1);
        compare->setQuantity(mfb::Series::Current);
        QTRY_VERIFY(highest(1) > 0 && highest(1) < fanRpm);
        QCOMPARE(compare->axis(mfb::Axis::Left)->titleText(), QStringLiteral("Current [A]"));

        // Where both sweeps have steps.
        const auto one = compare->lineSeries(1)->points();
        const auto three = compare->lineSeries(3)->points();
        const double power = (std::max(one.front().x(), three.front().x()) +
                              std::min(one.back().x(), three.back().x())) /
                             2;
        compare->showReadout(
            compare->chart()->mapToPosition(QPointF(power, 0), compare->lineSeries(1)) -
            QPointF(0, 20));
        const QStringList lines = compare->overlay().ReadoutLines();
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[1].startsWith(QStringLiteral("Option 1: ")) && lines[1].endsWith(" A"));
        QVERIFY(lines[2].startsWith(QStringLiteral("Option 3: ")));
        QVERIFY(messages.errors.isEmpty());
    }
};

QTEST_MAIN(ComparisonActionsTest)
#include "ComparisonActionsTest.moc"
