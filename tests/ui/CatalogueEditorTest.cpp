// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue editor from the main window: a motor added, checked at its fields, saved, chosen
// and calculated, and still there after a restart.
#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/support/RecordingMessages.h"
#include "tests/ui/MainTestSupport.h"
#include "ui/CatalogueEditor.h"

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

// What a user's edit of a cell commits.
void Type(QTableView* table, const QModelIndex& cell, const QString& text) {
    table->setCurrentIndex(cell);
    table->model()->setData(cell, text);
}

}  // namespace

class CatalogueEditorTest : public QObject {
    Q_OBJECT
private slots:
    void addSaveCalculate() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char* file : {"motor.txt", "battery.txt", "fan.txt"}) {
            QVERIFY(QFile::copy(MainTestDirectory() + u'/' + QLatin1String(file),
                                dir.filePath(QLatin1String(file))));
        }
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
        const QByteArray before = Read(dir.filePath(QStringLiteral("motor.txt")));

        RecordingMessages messages;
        ChartWindows charts;
        auto window = ShownMainDlg(QtPlatform(dir.path()));
        Find<QAction>(*window, "EditCatalogues1")->trigger();
        auto* editor = window->findChild<CatalogueEditor*>();
        QVERIFY(editor != nullptr && editor->isVisible());
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
        const QByteArray after = Read(dir.filePath(QStringLiteral("motor.txt")));
        QCOMPARE(Read(dir.filePath(QStringLiteral("motor.txt~"))), before);
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
        QVERIFY(ChartWindows::Points(1) > 0);

        // And after a restart.
        editor->close();
        window.reset();
        window = ShownMainDlg(QtPlatform(dir.path()));
        auto* list = Find<QComboBox>(*window, "ComboBox1");
        QVERIFY(list->findText(QStringLiteral("delta 3000"), Qt::MatchStartsWith) >= 0);
    }
};

QTEST_MAIN(CatalogueEditorTest)
#include "CatalogueEditorTest.moc"
