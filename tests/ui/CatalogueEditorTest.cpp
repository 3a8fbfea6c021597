// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue editor from the main window: a motor added, checked at its fields, saved, chosen
// and calculated, and still there after a restart.
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/FanFit.h"
#include "catalogue/FanLibrary.h"
#include "catalogue/TextLines.h"
#include "tests/support/RecordingMessages.h"
#include "tests/ui/MainTestSupport.h"
#include "ui/CatalogueEditor.h"
#include "ui/FanFitDlg.h"
#include "ui/SetupDocument.h"
#include "ui/SetupFileMenu.h"

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

// The cell of the motor table's row whose name is `name`, as the view shows it.
QModelIndex Cell(QTableView* table, const QString& name, int column) {
    const QAbstractItemModel* model = table->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        if (model->index(r, 0).data().toString() == name) return model->index(r, column);
    }
    qFatal("no row named %s", qPrintable(name));
}

QString Shown(const QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
}

// What a user's edit of a cell commits.
void Type(QTableView* table, const QModelIndex& cell, const QString& text) {
    table->setCurrentIndex(cell);
    table->model()->setData(cell, text);
}

// Copies of the main window's test catalogues in a folder of their own, which is the working
// directory while it lives, as the program's is; `extraFanLines` go after the fan blocks.
struct CatalogueFolder {
    explicit CatalogueFolder(const QByteArray& extraFanLines = {}) {
        for (const char* file : {"motor.txt", "battery.txt", "fan.txt"}) {
            QFile::copy(MainTestDirectory() + u'/' + QLatin1String(file),
                        dir.filePath(QLatin1String(file)));
        }
        QFile fan(dir.filePath(QStringLiteral("fan.txt")));
        if (!extraFanLines.isEmpty() && fan.open(QIODevice::Append)) fan.write(extraFanLines);
        QDir::setCurrent(dir.path());
    }
    ~CatalogueFolder() { QDir::setCurrent(previous); }
    QString path(const char* file) const { return dir.filePath(QLatin1String(file)); }

    QTemporaryDir dir;
    QString previous = QDir::currentPath();
};

CatalogueEditor* OpenEditor(const TMainDlg& window) {
    Find<QAction>(window, "EditCatalogues1")->trigger();
    auto* editor = window.findChild<CatalogueEditor*>();
    if (editor == nullptr || !editor->isVisible()) qFatal("no catalogue editor");
    return editor;
}

// The main window on the folder's catalogues with its editor open, boxes recorded.
struct Session {
    explicit Session(const CatalogueFolder& folder)
        : window(ShownMainDlg(QtPlatform(folder.dir.path()))),
          charts(*window),
          editor(OpenEditor(*window)) {}
    RecordingMessages messages;
    std::unique_ptr<TMainDlg> window;
    ChartWindows charts;
    CatalogueEditor* editor;
};

}  // namespace

class CatalogueEditorTest : public QObject {
    Q_OBJECT
private slots:
    void addSaveCalculate() {
        const CatalogueFolder folder;
        const QByteArray before = Read(folder.path("motor.txt"));

        Session session(folder);
        auto& [messages, window, charts, editor] = session;
        QWidget* motors = Find(*editor, "motor");
        auto* table = Find<QTableView>(*motors, "table");
        auto* save = Find<QPushButton>(*editor, "save");
        QVERIFY(!save->isEnabled());

        // A copy of a motor that calculates, renamed; an impossible kv stops the saving and says
        // why at its field until it is mended.
        table->setCurrentIndex(Cell(table, QStringLiteral("alpha 3000"), 0));
        Find<QPushButton>(*editor, "duplicate")->click();
        Type(table, table->currentIndex(), QStringLiteral("delta 3000"));
        Type(table, Cell(table, QStringLiteral("delta 3000"), 2), QStringLiteral("0"));
        QVERIFY(!save->isEnabled());
        QCOMPARE(Find<QLabel>(*motors, "finding")->text(),
                 QStringLiteral("error: kv is 0: the model needs a value above 0"));
        Find<QPushButton>(*editor, "undo")->click();
        QCOMPARE(Cell(table, QStringLiteral("delta 3000"), 2).data().toString(),
                 QStringLiteral("3000"));
        QVERIFY(save->isEnabled());
        save->click();
        QVERIFY(messages.errors.isEmpty());

        // The file gained that one line, in its own line ends, and kept its old self as motor.txt~.
        const QByteArray after = Read(folder.path("motor.txt"));
        QCOMPARE(Read(folder.path("motor.txt~")), before);
        const QByteArray added =
            "delta 3000          test inrunner           3000  0.030    1.5\r\n";
        const qsizetype at = before.indexOf("Bravo");
        QCOMPARE(after, before.left(at) + added + before.mid(at));

        // At once in the motor list, and it calculates.
        ChooseMotor(*window, QStringLiteral("delta"));
        ChooseBattery(*window, QStringLiteral("Good"));
        Click(*window, "Button1");
        QTRY_VERIFY(!window->calculating(1));
        QCOMPARE(window->slot(1).MotorName, std::string("delta 3000          "));
        QVERIFY(window->slot(1).RpmMotor > 0);
        QVERIFY(charts.Points(1) > 0);

        // And after a restart.
        editor->close();
        const auto restarted = ShownMainDlg(QtPlatform(folder.dir.path()));
        auto* list = Find<QComboBox>(*restarted, "ComboBox1");
        QVERIFY(list->findText(QStringLiteral("delta 3000"), Qt::MatchStartsWith) >= 0);
    }

    // Library fan 6 put on fan button 2 in the editor stands there once saved, calculates, and a
    // setup saved with it finds it again. Put back into the library, and the motor's kv changed,
    // the option says so as an opened setup does and no longer takes its result for its own; the
    // setup opened then names where the fan is.
    void sixthFanInASetup() {
        const CatalogueFolder folder(
            "fan 6 name: Fan Six\r\nfan 6 a0: 0\r\nfan 6 a1: 3200\r\nfan 6 a2: 0\r\n"
            "fan 6 a3: 0\r\nfan 6 a4: 0\r\nfan 6 chart minimum power: 50\r\n");
        Session session(folder);
        auto& [messages, window, charts, editor] = session;
        QWidget* fans = Find(*editor, "fan");
        auto* table = Find<QTableView>(*fans, "table");
        const auto putOnButton2 = [&] {
            table->setCurrentIndex(table->model()->index(5, 1));
            Find<QComboBox>(*fans, "fanButton")->setCurrentIndex(1);
            Find<QPushButton>(*fans, "putOnButton")->click();
        };
        QCOMPARE(table->model()->rowCount(), 6);
        Find<QAction>(*window, "Find1")->trigger();
        putOnButton2();
        QCOMPARE(Shown(table, 1, 1), QStringLiteral("Fan Six"));
        QCOMPARE(Shown(table, 5, 1), QStringLiteral("Fan Two"));
        Find<QPushButton>(*editor, "save")->click();
        QVERIFY(messages.errors.isEmpty());
        // Find offers the fans as they now stand.
        QCOMPARE(Find<QCheckBox>(*window, "fan2")->text(), QStringLiteral("Fan Six"));
        QCOMPARE(Find<QCheckBox>(*window, "fan6")->text(), QStringLiteral("Fan Two (fan 6)"));

        QCOMPARE(Find<QAbstractButton>(*window, "RadioButton2")->text(), QStringLiteral("Fan Six"));
        ChooseMotor(*window, QStringLiteral("alpha"));
        ChooseBattery(*window, QStringLiteral("Good"));
        Click(*window, "RadioButton2");
        QCOMPARE(window->slot(1).FanName, std::string("Fan Six"));
        Click(*window, "Button1");
        QTRY_VERIFY(!window->calculating(1));
        QVERIFY(window->slot(1).RpmFan > 0);
        QCOMPARE(window->catalogue().FanLibrary.at(0).fan.Name, std::string("Fan Two"));

        const QString setup = folder.path("six.mfbsetup");
        const auto prompt = [setup](const QString&, const QString&, const QString&) {
            return setup;
        };
        window->setupFiles().setPrompts(prompt, prompt);
        Find<QAction>(*window, "SaveAs1")->trigger();
        {
            const auto reopened = ShownMainDlg(QtPlatform(folder.dir.path()));
            QVERIFY(reopened->setupFiles().open(setup));
            QTRY_VERIFY(!reopened->calculating(1));
            QCOMPARE(reopened->slot(1).FanName, std::string("Fan Six"));
            QVERIFY(mfb::ShowsCurrent(reopened->setupDocument().option(1)));
            QVERIFY(messages.warnings.isEmpty());
        }

        putOnButton2();
        auto* motors = Find<QTableView>(*Find(*editor, "motor"), "table");
        Type(motors, Cell(motors, QStringLiteral("alpha 3000"), 2), QStringLiteral("3100"));
        Find<QPushButton>(*editor, "save")->click();
        QCOMPARE(messages.warnings,
                 QStringList(QStringLiteral(
                     "Edit Catalogues|The saved catalogues do not hold the options' parts as they "
                     "were chosen:\n\nOption 1: the motor \"alpha 3000\" of motor.txt differs "
                     "from the one chosen: kv \"3000\" then, \"3100\" now.\nOption 1: the fan "
                     "\"Fan Six\" stands in the library of fan.txt as fan 6, on no fan button, so "
                     "fan 2 \"Fan Two\" is chosen.")));
        QCOMPARE(window->slot(1).Motor.Kv, 3100.0);
        QCOMPARE(window->slot(1).FanName, std::string("Fan Two"));
        QVERIFY(!mfb::ShowsCurrent(window->setupDocument().option(1)));

        messages.warnings.clear();
        QVERIFY(window->setupFiles().open(setup));
        QCOMPARE(messages.warnings.size(), 1);
        QVERIFY(messages.warnings[0].contains(
            QStringLiteral("the fan \"Fan Six\" stands in the library of fan.txt as fan 6")));
    }

    // A fan fitted in the editor to points of fan 2's curve joins the library as fan 6; a field
    // of it typed wrong stops the saving and says why at the field until undone, and the file
    // saved holds the fan, its curve that of fan 2, every line before it as it was.
    void fitEditSave() {
        const CatalogueFolder folder;
        const QByteArray before = Read(folder.path("fan.txt"));
        Session session(folder);
        auto& [messages, window, charts, editor] = session;
        QWidget* fans = Find(*editor, "fan");
        auto* table = Find<QTableView>(*fans, "table");
        Find<QPushButton>(*fans, "fitFromPoints")->click();
        auto* fit = editor->findChild<FanFitDlg*>();
        QVERIFY(fit != nullptr && fit->isVisible());

        const mfb::TFanData& two = window->catalogue().Fans[1];
        const std::array<double, 5> a{two.a0, two.a1, two.a2, two.a3, two.a4};
        const double powers[] = {80, 150, 300, 600, 1000, 1500};
        auto* points = Find<QTableWidget>(*fit, "points");
        for (int r = 0; r < 6; ++r) {
            const double rpm = mfb::FanCurveRpm(a, powers[r]);
            Type(points, points->model()->index(r, 0), QString::number(powers[r]));
            Type(points, points->model()->index(r, 1), QString::number(rpm, 'g', 12));
        }
        Find<QLineEdit>(*fit, "name")->setText(QStringLiteral("Fan Two fitted"));
        Find<QLineEdit>(*fit, "diameter")->setText(QStringLiteral("70"));
        Find<QLineEdit>(*fit, "hub")->setText(QStringLiteral("25"));
        auto* add = Find<QPushButton>(*fit, "addToLibrary");
        QVERIFY(!add->isEnabled());
        Find<QPushButton>(*fit, "fit")->click();
        QVERIFY(add->isEnabled());
        bool shown = false;
        QVERIFY(std::abs(points->item(0, 3)->text().toDouble(&shown)) < 0.1 && shown);
        QVERIFY(Find<QLabel>(*fit, "result")->text().contains(QStringLiteral("swept area 33.")));
        add->click();
        QCOMPARE(table->model()->rowCount(), 6);
        QCOMPARE(Shown(table, 5, 1), QStringLiteral("Fan Two fitted"));

        auto* save = Find<QPushButton>(*editor, "save");
        QVERIFY(save->isEnabled());
        Type(table, table->model()->index(5, 2), QStringLiteral("12x"));
        QVERIFY(!save->isEnabled());
        QVERIFY(Find<QLabel>(*fans, "finding")->text().startsWith(QStringLiteral("error: ")));
        Find<QPushButton>(*editor, "undo")->click();
        QVERIFY(save->isEnabled());
        save->click();
        QVERIFY(messages.errors.isEmpty());

        const QByteArray after = Read(folder.path("fan.txt"));
        QCOMPARE(Read(folder.path("fan.txt~")), before);
        QVERIFY(after.startsWith(before));
        const auto library = mfb::ReadFanLibrary(
            mfb::SplitLines(std::string(after.constData(), static_cast<std::size_t>(after.size()))),
            '.');
        QCOMPARE(library.size(), std::size_t{1});
        const mfb::LibraryFan& fitted = library.front();
        QCOMPARE(fitted.number, 6);
        const std::array<double, 5> b{fitted.fan.a0, fitted.fan.a1, fitted.fan.a2, fitted.fan.a3,
                                      fitted.fan.a4};
        for (const double power : powers) {
            QVERIFY(std::abs(mfb::FanCurveRpm(b, power) / mfb::FanCurveRpm(a, power) - 1) < 1e-3);
        }
        QCOMPARE(window->catalogue().FanLibrary.size(), std::size_t{1});

        // An edit left unsaved as the window goes.
        Type(table, table->model()->index(5, 2), QStringLiteral("900"));
        QVERIFY(save->isEnabled());
    }

    // A number column sorts by value, a cell that holds none after the numbers either way.
    void numbersSortByValue() {
        const CatalogueFolder folder;
        Session session(folder);
        auto* table = Find<QTableView>(*Find(*session.editor, "motor"), "table");
        Type(table, Cell(table, QStringLiteral("charlie 2000"), 2), QStringLiteral("900"));
        const struct {
            int column;
            Qt::SortOrder order;
            QStringList names;
        } sorts[] = {
            {2, Qt::AscendingOrder, {"charlie 2000", "Bravo broken Ri", "alpha 3000"}},
            {3, Qt::AscendingOrder, {"alpha 3000", "charlie 2000", "Bravo broken Ri"}},
            {3, Qt::DescendingOrder, {"charlie 2000", "alpha 3000", "Bravo broken Ri"}},
        };
        for (const auto& sort : sorts) {
            table->sortByColumn(sort.column, sort.order);
            QStringList names;
            for (int r = 0; r < table->model()->rowCount(); ++r) names << Shown(table, r, 0);
            QCOMPARE(names, sort.names);
        }
    }

    // Filtered and sorted by name, a row edits and duplicates its own fan: renamed so that it
    // sorts after another, it stays the current row, and the file saved differs in that fan's two
    // lines and its copy.
    void sortFilterEdit() {
        const QString block = QStringLiteral(
            "fan %1 name: %2\nfan %1 a0: 0\nfan %1 a1: %3\nfan %1 a2: 0\nfan %1 a3: 0\n"
            "fan %1 a4: 0\nfan %1 chart minimum power: 50\n");
        const CatalogueFolder folder((block.arg(6).arg(QStringLiteral("Zed 90")).arg(3100) +
                                      block.arg(7).arg(QStringLiteral("Alpha 90")).arg(3200) +
                                      block.arg(8).arg(QStringLiteral("Fan 80")).arg(3300))
                                         .toLatin1());
        const QByteArray before = Read(folder.path("fan.txt"));
        Session session(folder);
        auto& [messages, window, charts, editor] = session;
        QWidget* fans = Find(*editor, "fan");
        auto* table = Find<QTableView>(*fans, "table");
        Find<QTabWidget>(*editor, "catalogueTabs")->setCurrentWidget(fans);
        Find<QLineEdit>(*fans, "filter")->setText(QStringLiteral("90"));
        table->sortByColumn(1, Qt::AscendingOrder);
        QCOMPARE(table->model()->rowCount(), 2);
        QCOMPARE(Shown(table, 0, 0), QStringLiteral("7"));

        Type(table, table->model()->index(0, 1), QStringLiteral("Zulu 90"));
        QCOMPARE(Shown(table, 1, 1), QStringLiteral("Zulu 90"));
        QCOMPARE(table->currentIndex().row(), 1);
        Type(table, table->currentIndex().siblingAtColumn(3), QStringLiteral("3250"));
        Find<QPushButton>(*editor, "duplicate")->click();
        Find<QPushButton>(*editor, "save")->click();
        QVERIFY(messages.errors.isEmpty());

        QByteArray expected = before;
        expected.replace("fan 7 name: Alpha 90", "fan 7 name: Zulu 90")
            .replace("fan 7 a1: 3200", "fan 7 a1: 3250");
        expected += block.arg(9).arg(QStringLiteral("Zulu 90")).arg(3250).toLatin1();
        QCOMPARE(Read(folder.path("fan.txt")), expected);
    }
};

QTEST_MAIN(CatalogueEditorTest)
#include "CatalogueEditorTest.moc"
