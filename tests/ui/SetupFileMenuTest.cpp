// SPDX-License-Identifier: GPL-3.0-or-later
// Setups saved and opened through the File menu, and what closing asks.
#include <QAction>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/support/RecordingMessages.h"
#include "tests/ui/MainTestSupport.h"
#include "ui/ComparisonActions.h"
#include "ui/SetupDocument.h"
#include "ui/SetupFileMenu.h"
#include "ui/SpinEdit.h"

namespace {

const QString kTitle = QStringLiteral("Calculate Fan-Motor-Battery Combination 1.1");
// The catalogue area shows the entry chosen last, which a setup does not keep.
const QStringList kParameterLabels = {"Label5",  "Label6",  "Label7", "Label10",
                                      "Label11", "Label40", "Label57"};

// Everything the options show: every label but the catalogue area's parameters, with its
// tooltip, the cell-count boxes, the Chart buttons and the selected option.
QStringList Shown(const TMainDlg& window) {
    QStringList shown;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (kParameterLabels.contains(label->objectName())) continue;
        shown << label->objectName() + u'=' + label->text() + u'|' + label->toolTip();
    }
    for (const SpinEdit* edit : window.findChildren<SpinEdit*>()) {
        shown << edit->objectName() + u'=' + edit->text();
    }
    for (const char* chart : {"Button6", "Button7", "Button8", "Button9"}) {
        shown << QString::fromLatin1(chart) + u'=' +
                     QString::number(Find<QPushButton>(window, chart)->isEnabled());
    }
    shown << QStringLiteral("selected=%1").arg(window.selectedOption());
    shown.sort();
    return shown;
}

void Trigger(const TMainDlg& window, const char* action) {
    Find<QAction>(window, action)->trigger();
}

// Every file dialog answers `path`.
void AnswerWith(const TMainDlg& window, const QString& path) {
    const auto prompt = [path](const QString&, const QString&, const QString&) { return path; };
    window.setupFiles().setPrompts(prompt, prompt);
}

}  // namespace

class SetupFileMenuTest : public QObject {
    Q_OBJECT
private slots:
    // Saved in one window and opened in a fresh one: the same labels, boxes, flight settings and
    // selection, the calculated options calculated again, the file's name in both titles.
    void openedAsSaved() {
        RecordingMessages messages;
        QTemporaryDir folder;
        const auto first = ShownMainDlg();
        // The test fans' curves are steep at low power: part throttle needs most of the rpm.
        TypeInto(*first, "PartThrottle", QStringLiteral("90"));
        ChooseThreeOptions(*first);
        QTRY_VERIFY(!first->calculating(1) && !first->calculating(3));
        QCOMPARE(first->windowTitle(), kTitle);
        AnswerWith(*first, folder.filePath(QStringLiteral("trial")));
        Trigger(*first, "SaveAs1");
        const QString path = folder.filePath(QStringLiteral("trial.mfbsetup"));
        QVERIFY(QFile::exists(path));
        QCOMPARE(first->windowTitle(), QStringLiteral("trial.mfbsetup[*] - ") + kTitle);
        QVERIFY(!first->isWindowModified());

        const auto second = ShownMainDlg();
        AnswerWith(*second, path);
        Trigger(*second, "Open1");
        QTRY_COMPARE(Shown(*second), Shown(*first));
        QCOMPARE(second->windowTitle(), first->windowTitle());
        QVERIFY(!second->isWindowModified());
        QCOMPARE(second->setupDocument().setup(), first->setupDocument().setup());
        QCOMPARE(second->flightSettings().modelWeight, std::optional<double>(950));
        QCOMPARE(second->flightSettings().throttle, 0.9);
        // The flight time, which the part throttle sets, is among the labels shown alike.
        QVERIFY(LabelText(*second, "Figure1_6").endsWith(QStringLiteral(" min")));
        QCOMPARE(second->setupFiles().recentFiles().value(0), path);

        Find<SpinEdit>(*second, "SpinEdit1")->setText(QStringLiteral("7"));
        QVERIFY(second->isWindowModified());
        QVERIFY(messages.warnings.isEmpty() && messages.errors.isEmpty());
    }

    // A column calculated, then given a pack that gives out during the sweep and calculated again:
    // its figure rows say why with no figure, the values of the earlier pack are greyed and name
    // it. The file reopens to the same column, unmodified, and the comparison sheet's CSV is what
    // mfbcalc-cli setup prints for the file.
    void stalledColumnReopensAsSavedAndAgrees() {
        RecordingMessages messages;
        QTemporaryDir folder;
        const auto first = ShownMainDlg();
        TypeInto(*first, "PartThrottle", QStringLiteral("90"));
        TypeInto(*first, "ModelWeight", QStringLiteral("950"));
        ChooseMotor(*first, QStringLiteral("alpha"));
        ChooseBattery(*first, QStringLiteral("Good"));
        Click(*first, "Button1");
        QTRY_VERIFY(!first->calculating(1));
        QVERIFY(LabelText(*first, "Figure1_1").endsWith(QStringLiteral(" C")));
        const QString current = LabelText(*first, "Label124");
        ChooseBattery(*first, QStringLiteral("Step"));
        Click(*first, "Button1");
        QTRY_VERIFY(!first->calculating(1));
        QCOMPARE(messages.warnings.size(), 1);
        QCOMPARE(LabelText(*first, "Figure1_1"), QStringLiteral("-"));
        QVERIFY(
            Find<QLabel>(*first, "Figure1_1")->toolTip().startsWith("Combination not possible"));
        QCOMPARE(LabelText(*first, "Label124"), current);
        QVERIFY(Find<QLabel>(*first, "Label124")->toolTip().startsWith("Calculated for alpha"));
        QVERIFY(Find<QLabel>(*first, "Label112")->toolTip().isEmpty());

        const QString path = folder.filePath(QStringLiteral("stalled.mfbsetup"));
        AnswerWith(*first, path);
        Trigger(*first, "SaveAs1");
        const auto second = ShownMainDlg();
        AnswerWith(*second, path);
        Trigger(*second, "Open1");
        QTRY_VERIFY(!second->calculating(1));
        QVERIFY(!second->isWindowModified());
        QCOMPARE(second->setupDocument().setup(), first->setupDocument().setup());
        for (const char* label : {"Label112", "Label116", "Label120", "Figure1_1", "Figure1_6"}) {
            QCOMPARE(LabelText(*second, label), LabelText(*first, label));
            QCOMPARE(Find<QLabel>(*second, label)->toolTip(),
                     Find<QLabel>(*first, label)->toolTip());
        }

        const QString sheet = folder.filePath(QStringLiteral("sheet.csv"));
        QVERIFY(second->comparison().exportTo(sheet));
        QFile written(sheet);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray csv = written.readAll();
        QVERIFY(csv.contains("Result,Combination not possible"));
        QProcess cli;
        cli.start(
            QStringLiteral(MFBCALC_CLI),
            {QStringLiteral("setup"), path, QStringLiteral("--csv"), QStringLiteral("--catalogues"),
             MainTestDirectory(), QStringLiteral("--decimal-separator"), QStringLiteral(".")});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 3);
        QCOMPARE(cli.readAllStandardOutput(), csv);
    }

    // A file that is no setup is refused with its reason and changes nothing.
    void refusedFileChangesNothing() {
        RecordingMessages messages;
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("motor.mfbsetup"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("charlie 2000        slow inrunner\n");
        file.close();
        const auto window = ShownMainDlg();
        ChooseThreeOptions(*window);
        const QStringList before = Shown(*window);
        QVERIFY(!window->setupFiles().open(path));
        QCOMPARE(
            messages.errors,
            QStringList{
                QStringLiteral("Cannot open setup \"%1\". It is not a setup file.").arg(path)});
        QCOMPARE(Shown(*window), before);
        QCOMPARE(window->windowTitle(), kTitle);
    }

    // Closing with changes asks only once a setup file has been used, and does what it is told.
    void closingAsksAboutChanges_data() {
        QTest::addColumn<bool>("usedFile");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        using Answer = MessageService::SaveAnswer;
        QTest::newRow("no file") << false << int(Answer::Cancel) << true;
        QTest::newRow("cancel") << true << int(Answer::Cancel) << false;
        QTest::newRow("discard") << true << int(Answer::Discard) << true;
        QTest::newRow("save") << true << int(Answer::Save) << true;
    }
    void closingAsksAboutChanges() {
        QFETCH(bool, usedFile);
        QFETCH(int, answer);
        QFETCH(bool, closes);
        RecordingMessages messages;
        messages.saveAnswer = static_cast<MessageService::SaveAnswer>(answer);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("asked.mfbsetup"));
        const auto window = ShownMainDlg();
        AnswerWith(*window, path);
        if (usedFile) Trigger(*window, "SaveAs1");
        ChooseMotor(*window, QStringLiteral("alpha"));
        QCOMPARE(window->isWindowModified(), usedFile);

        QCOMPARE(window->close(), closes);
        QCOMPARE(messages.questions.size(), usedFile ? 1 : 0);
        if (usedFile) {
            QCOMPARE(messages.questions.front(),
                     QStringLiteral("Unsaved Changes|Save the changes to asked.mfbsetup?"));
        }
        if (messages.saveAnswer == MessageService::SaveAnswer::Save) {
            QFile saved(path);
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QVERIFY(saved.readAll().contains("alpha 3000"));
        }
    }
};

QTEST_MAIN(SetupFileMenuTest)
#include "SetupFileMenuTest.moc"
