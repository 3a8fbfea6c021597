// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FindDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <array>
#include <sstream>

#include "MainTestSupport.h"
#include "explore/ExploreTable.h"
#include "tests/support/RecordingMessages.h"
#include "ui/ExploreTableModel.h"
#include "ui/SetupDocument.h"
#include "ui/SpinEdit.h"

namespace {

// The value labels of option 2 under the table's column headers.
const struct {
    const char* header;
    const char* label;
} kOption2Values[] = {
    {"Rpm", "Label129"},       {"Pout W", "Label137"}, {"Eff", "Label141"},
    {"Current A", "Label125"}, {"Pin W", "Label133"},  {"U Motor V", "Label117"},
    {"Weight g", "Label113"},
};

TFindDlg* OpenFromMenu(const TMainDlg& main) {
    Find<QAction>(main, "Find1")->trigger();
    auto* find = Find<TFindDlg>(main, "FindDlg");
    if (!QTest::qWaitForWindowExposed(find)) qFatal("the Find window was not exposed");
    return find;
}

void SetText(const TFindDlg& find, const char* name, const QString& text) {
    Find<QLineEdit>(find, name)->setText(text);
}

int ColumnOf(const QAbstractItemModel& model, const char* header) {
    for (int c = 0; c < model.columnCount(); ++c) {
        if (model.headerData(c, Qt::Horizontal).toString() == QLatin1String(header)) return c;
    }
    qFatal("no column %s", header);
    return -1;
}

QString Cell(const QAbstractItemModel& model, int row, const char* header) {
    return model.data(model.index(row, ColumnOf(model, header))).toString();
}

// What Export CSV… writes of the window's rows.
std::string ExportedCsv(TFindDlg& find) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rows.csv"));
    find.setFilePrompt([&](const QString&, const QString&, const QString&) { return path; });
    Find<QAbstractButton>(find, "exportButton")->click();
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly)) qFatal("Export CSV wrote nothing");
    return written.readAll().toStdString();
}

// Which combinations rows are, in their order.
std::vector<std::array<std::size_t, 5>> Combinations(const std::vector<mfb::ExploreRow>& rows) {
    std::vector<std::array<std::size_t, 5>> combinations;
    for (const mfb::ExploreRow& r : rows) {
        combinations.push_back({r.motor, r.battery, static_cast<std::size_t>(r.fan),
                                static_cast<std::size_t>(r.serie),
                                static_cast<std::size_t>(r.parallel)});
    }
    return combinations;
}

// The engine's own rows for the request, as CSV.
std::string EngineCsv(const TMainDlg& main, const mfb::ExploreRequest& request) {
    std::ostringstream csv;
    mfb::WriteExploreCsv(main.catalogue(), mfb::Explore(main.catalogue(), request).rows, csv);
    return csv.str();
}

}  // namespace

class FindDlgTest : public QObject {
    Q_OBJECT
private slots:
    // A small search from the menu, its rows as the engine ranks them, and one row put into
    // option 2, which then shows that row's values.
    void runAndUseInOption() {
        RecordingMessages messages;
        const auto main = ShownMainDlg();
        TFindDlg* find = OpenFromMenu(*main);
        SetText(*find, "serieList", QStringLiteral("6,8-10"));
        SetText(*find, "parallelList", QStringLiteral("1-2"));
        SetText(*find, "maxCurrent", QStringLiteral("200"));
        Find<QAbstractButton>(*find, "runButton")->click();
        QTRY_VERIFY(!find->running());
        auto* table = Find<QTableView>(*find, "results");
        const QAbstractItemModel& model = *table->model();
        QVERIFY(model.rowCount() >= 2);

        // The same engine with the same settings gives the same rows: the export is its CSV.
        mfb::ExploreRequest request;
        request.space = mfb::WholeSpace(main->catalogue());
        request.space.series = {6, 8, 9, 10};
        request.space.parallels = {1, 2};
        request.filter.maxCurrent = 200;
        request.top = 1000;
        request.decimalSeparator = main->decimalSeparator();
        // Ranked as the command line ranks without --sort.
        request.key = mfb::DefaultKey(main->catalogue(), request);
        QCOMPARE(ExportedCsv(*find), EngineCsv(*main, request));

        const int row = 1;
        table->setCurrentIndex(model.index(row, 0));
        Find<QAbstractButton>(*find, "useOption2")->click();
        QCOMPARE(main->selectedOption(), 2);
        QTRY_COMPARE(LabelText(*main, "Label129"), Cell(model, row, "Rpm"));
        QCOMPARE(LabelText(*main, "Label105").trimmed(), Cell(model, row, "Motor"));
        QCOMPARE(LabelText(*main, "Label109").trimmed(), Cell(model, row, "Battery"));
        QVERIFY(Cell(model, row, "Fan").endsWith(u' ' + LabelText(*main, "Label97").trimmed()));
        QCOMPARE(QString::number(Find<SpinEdit>(*main, "SpinEdit3")->value()),
                 Cell(model, row, "S"));
        QCOMPARE(QString::number(Find<SpinEdit>(*main, "SpinEdit4")->value()),
                 Cell(model, row, "P"));
        for (const auto& value : kOption2Values) {
            QCOMPARE(LabelText(*main, value.label), Cell(model, row, value.header));
        }
        // The row reached the option as a request to the setup, which now holds it.
        const mfb::SetupOption& chosen = main->setupDocument().option(2);
        QCOMPARE(QString::fromLatin1(chosen.motor.name).trimmed(), Cell(model, row, "Motor"));
        QCOMPARE(QString::fromLatin1(chosen.battery.name).trimmed(), Cell(model, row, "Battery"));
        QCOMPARE(QString::number(chosen.serie), Cell(model, row, "S"));
        QVERIFY(chosen.shown.has_value());
        QVERIFY(messages.warnings.isEmpty() && messages.errors.isEmpty());
    }

    // Cancel ends the run early and leaves no worker; a run after it goes to the end, and closing
    // the program in the middle of one waits for nothing but the combinations under way.
    void cancelRerunAndClose() {
        RecordingMessages messages;
        auto main = ShownMainDlg(QtPlatform(QStringLiteral(MFB_SAMPLE_DATA)));
        TFindDlg* find = OpenFromMenu(*main);
        auto* run = Find<QAbstractButton>(*find, "runButton");
        run->click();
        QVERIFY(find->running());
        QVERIFY(!run->isEnabled());
        Find<QAbstractButton>(*find, "cancelButton")->click();
        QTRY_VERIFY(!find->running());
        QVERIFY(QRegularExpression(QStringLiteral("^cancelled after \\d+ of \\d+$"))
                    .match(LabelText(*find, "timeLeft"))
                    .hasMatch());
        QVERIFY(run->isEnabled());

        SetText(*find, "motorPattern", QStringLiteral("Inrunner 40*"));
        SetText(*find, "serieList", QStringLiteral("20-24"));
        run->click();
        QTRY_VERIFY(!find->running());
        QCOMPARE(LabelText(*find, "timeLeft"), QStringLiteral("done"));
        QVERIFY(LabelText(*find, "summary").contains(QStringLiteral(" ranked")));

        SetText(*find, "motorPattern", QString());
        SetText(*find, "serieList", QStringLiteral("1-40"));
        run->click();
        QVERIFY(find->running());
        QElapsedTimer clock;
        clock.start();
        main.reset();
        QVERIFY(clock.elapsed() < 2000);
    }

    // Settings that cannot describe a search are refused with the reason and start nothing; the
    // power range, the target and the limits switch reach the engine as they stand.
    void powerSettingsReachTheEngine() {
        RecordingMessages messages;
        // The sample catalogues state limits, which this search goes over.
        const auto main = ShownMainDlg(QtPlatform(QStringLiteral(MFB_SAMPLE_DATA)));
        TFindDlg* find = OpenFromMenu(*main);
        const auto targetIndex = [] {
            const auto keys = mfb::ExploreKeyNames();
            for (std::size_t i = 0; i < keys.size(); ++i) {
                if (keys[i].key == mfb::ExploreKey::Target) return static_cast<int>(i);
            }
            qFatal("no target key");
            return -1;
        }();
        struct Refused {
            const char* field;
            const char* text;
            bool rankByTarget;
            const char* reason;
        };
        const Refused refusals[] = {
            {"minPower", "500", false, "The shaft power range runs backwards"},
            {"maxWeight", "heavy", false,
             "Max pack weight (g): 'heavy' is not a valid floating point value"},
            {"maxPower", "", true,
             "Closeness to target power needs a target power or a shaft power range"},
        };
        for (const Refused& refused : refusals) {
            SetText(*find, "minPower", QString());
            SetText(*find, "maxPower", QStringLiteral("100"));
            SetText(*find, "maxWeight", QString());
            SetText(*find, refused.field, QString::fromLatin1(refused.text));
            Find<QComboBox>(*find, "sortKey")
                ->setCurrentIndex(refused.rankByTarget ? targetIndex : 0);
            Find<QAbstractButton>(*find, "runButton")->click();
            QVERIFY(!find->running());
            QCOMPARE(LabelText(*find, "summary"), QString::fromLatin1(refused.reason));
        }

        SetText(*find, "serieList", QStringLiteral("8-12"));
        SetText(*find, "minPower", QStringLiteral("200"));
        SetText(*find, "maxPower", QStringLiteral("900"));
        SetText(*find, "targetPower", QStringLiteral("450"));
        Find<QCheckBox>(*find, "ignoreLimits")->setChecked(true);
        Find<QAbstractButton>(*find, "runButton")->click();
        QTRY_VERIFY(!find->running());

        mfb::ExploreRequest request;
        request.space = mfb::WholeSpace(main->catalogue());
        request.space.series = {8, 9, 10, 11, 12};
        request.minPower = 200;
        request.maxPower = 900;
        request.key = mfb::ExploreKey::Target;
        request.targetPower = 450;
        request.ignoreLimits = true;
        request.top = 1000;
        request.decimalSeparator = main->decimalSeparator();
        const std::string expected = EngineCsv(*main, request);
        QVERIFY(expected.find('\n') + 1 < expected.size());  // some rows besides the header
        QCOMPARE(ExportedCsv(*find), expected);
        QVERIFY(messages.warnings.isEmpty() && messages.errors.isEmpty());
    }

    // A change of the settings reruns a quick search after a pause, without Run; a target shows its
    // ranking in Rank by; settings refused leave no rows to export or use; the file gets its
    // suffix.
    void rerunsAndRefusesAsSettingsChange() {
        RecordingMessages messages;
        const auto main = ShownMainDlg(QtPlatform(QStringLiteral(MFB_SAMPLE_DATA)));
        TFindDlg* find = OpenFromMenu(*main);
        const auto& model =
            *static_cast<const ExploreTableModel*>(Find<QTableView>(*find, "results")->model());
        for (const char* header : {"C", "Margin %"}) ColumnOf(model, header);

        mfb::ExploreRequest request;
        request.space = mfb::WholeSpace(main->catalogue());
        request.space.motors = {};
        for (std::size_t m = 0; m < main->catalogue().MotorLines.size(); ++m) {
            if (main->catalogue().MotorLines[m].starts_with("Inrunner 36")) {
                request.space.motors.push_back(m);
            }
        }
        request.space.series = {6};
        request.space.parallels = {1};
        request.top = 1000;
        request.decimalSeparator = main->decimalSeparator();
        request.key = mfb::DefaultKey(main->catalogue(), request);
        SetText(*find, "motorPattern", QStringLiteral("Inrunner 36*"));
        SetText(*find, "serieList", QStringLiteral("6"));
        SetText(*find, "parallelList", QStringLiteral("1"));
        const auto engineRows = [&] {
            return Combinations(mfb::Explore(main->catalogue(), request).rows);
        }();
        QVERIFY(!engineRows.empty());
        QTRY_COMPARE(Combinations(model.rankedRows()), engineRows);

        auto* sortKey = Find<QComboBox>(*find, "sortKey");
        SetText(*find, "targetPower", QStringLiteral("1000"));
        QCOMPARE(sortKey->currentText(), QStringLiteral("Closeness to target power"));
        request.key = mfb::ExploreKey::Target;
        request.targetPower = 1000;
        const auto targetRows = Combinations(mfb::Explore(main->catalogue(), request).rows);
        QTRY_COMPARE(Combinations(model.rankedRows()), targetRows);

        sortKey->setCurrentIndex(0);
        QTRY_VERIFY(LabelText(*find, "summary").startsWith(QStringLiteral("Target power (W)")));
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!Find<QAbstractButton>(*find, "exportButton")->isEnabled());
        QVERIFY(!Find<QAbstractButton>(*find, "useOption1")->isEnabled());

        sortKey->setCurrentIndex(sortKey->findText(QStringLiteral("Closeness to target power")));
        QTRY_COMPARE(Combinations(model.rankedRows()), targetRows);
        // The library's fan is offered unchecked below the five, and searched once checked.
        auto* sixth = Find<QCheckBox>(*find, "fan6");
        QVERIFY(!sixth->isChecked());
        sixth->setChecked(true);
        request.space.fans.push_back(6);
        const auto withSixth = Combinations(mfb::Explore(main->catalogue(), request).rows);
        QVERIFY(std::any_of(withSixth.begin(), withSixth.end(),
                            [](const auto& c) { return c[2] == 6; }));
        QTRY_COMPARE(Combinations(model.rankedRows()), withSixth);
        QTemporaryDir dir;
        find->setFilePrompt([&](const QString&, const QString&, const QString&) {
            return dir.filePath(QStringLiteral("rows"));
        });
        Find<QAbstractButton>(*find, "exportButton")->click();
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("rows.csv"))));
        QVERIFY(messages.warnings.isEmpty() && messages.errors.isEmpty());

        // A row of the library's fan cannot go into an option, whose fans are the buttons'.
        const auto sixthRow = std::find_if(withSixth.begin(), withSixth.end(),
                                           [](const auto& c) { return c[2] == 6; });
        Find<QTableView>(*find, "results")
            ->selectRow(static_cast<int>(sixthRow - withSixth.begin()));
        const mfb::SetupOption before = main->setupDocument().option(1);
        Find<QAbstractButton>(*find, "useOption1")->click();
        QCOMPARE(messages.warnings, QStringList(QStringLiteral(
                                        "Use in Option|Fan 80 mm is fan 6 of the fan library and "
                                        "stands on no fan button. Put it on one in Catalogues > "
                                        "Edit\u2026 to calculate it in an option.")));
        QVERIFY(main->setupDocument().option(1) == before);
    }

    // Sorting orders by the numbers behind the texts, both ways, and "#" brings the ranking back.
    // The rows answer for the main window's flight: a model weight typed there re-runs them ranked
    // by thrust to weight, as no ranking was chosen, and shows here; emptied here, it is not known
    // in the main window either. Thrust to weight without a weight is refused, and the front has
    // no ranking to choose.
    void followsTheMainWindowsFlight() {
        RecordingMessages messages;
        const auto main = ShownMainDlg(QtPlatform(QStringLiteral(MFB_SAMPLE_DATA)));
        TFindDlg* find = OpenFromMenu(*main);
        const auto& model =
            *static_cast<const ExploreTableModel*>(Find<QTableView>(*find, "results")->model());
        SetText(*find, "motorPattern", QStringLiteral("Inrunner 36*"));
        SetText(*find, "serieList", QStringLiteral("6"));
        SetText(*find, "parallelList", QStringLiteral("1"));
        QTRY_VERIFY(model.rowCount() > 0);
        QVERIFY(Cell(model, 0, "T/W").isEmpty());
        auto* sortKey = Find<QComboBox>(*find, "sortKey");
        const QString thrustToWeight = QStringLiteral("Thrust to weight");
        QVERIFY(sortKey->currentText() != thrustToWeight);

        TypeInto(*main, "ModelWeight", QStringLiteral("900"));
        QCOMPARE(sortKey->currentText(), thrustToWeight);
        QCOMPARE(Find<QLineEdit>(*find, "modelWeight")->text(), QStringLiteral("900"));
        QTRY_VERIFY(!Cell(model, 0, "T/W").isEmpty());
        // The figures a modeller compares are in view at the window's own size.
        const auto* table = Find<QTableView>(*find, "results");
        for (const char* header : {"Thrust g", "Flight min", "T/W", "Margin %"}) {
            const int section = ColumnOf(model, header);
            QVERIFY2(table->horizontalHeader()->sectionViewportPosition(section) +
                             table->columnWidth(section) <=
                         table->viewport()->width(),
                     header);
        }

        TypeInto(*find, "modelWeight", QString());
        QCOMPARE(main->flightSettings().modelWeight, std::nullopt);
        QVERIFY(Find<QLineEdit>(*main, "ModelWeight")->text().isEmpty());
        sortKey->setCurrentIndex(sortKey->findText(thrustToWeight));
        QTRY_COMPARE(LabelText(*find, "summary"),
                     QStringLiteral("Thrust to weight needs the model's weight without its pack"));
        QCOMPARE(model.rowCount(), 0);
        Find<QAbstractButton>(*find, "pareto")->click();
        QVERIFY(!sortKey->isEnabled());
    }

    void sortsByNumber() {
        const auto catalogue = std::make_shared<const mfb::Catalogue>(
            TMainDlg(QtPlatform(QStringLiteral(MFB_SAMPLE_DATA))).catalogue());
        mfb::ExploreRequest request;
        request.space = mfb::WholeSpace(*catalogue);
        request.space.series = {3, 9, 27};
        request.top = 5000;
        ExploreTableModel model;
        model.setRows(catalogue, mfb::Explore(*catalogue, request).rows, ',');
        QVERIFY(model.rowCount() > 100);
        const auto number = [&](int row, int column) {
            return model.data(model.index(row, column)).toString().replace(u',', u'.').toDouble();
        };
        for (const char* header : {"#", "S", "Rpm", "Pout W", "Eff", "W/kg", "Run min"}) {
            const int column = ColumnOf(model, header);
            for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                model.sort(column, order);
                for (int row = 1; row < model.rowCount(); ++row) {
                    const double before = number(row - 1, column), after = number(row, column);
                    QVERIFY2(order == Qt::AscendingOrder ? before <= after : before >= after,
                             header);
                }
            }
        }
        model.sort(ColumnOf(model, "#"), Qt::AscendingOrder);
        for (int row = 0; row < model.rowCount(); ++row) QCOMPARE(number(row, 0), row + 1.0);
    }
};

QTEST_MAIN(FindDlgTest)
#include "FindDlgTest.moc"
