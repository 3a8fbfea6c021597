// SPDX-License-Identifier: GPL-3.0-or-later
// What the setup document holds of each option's result, and when it counts as modified.
#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "setup/SetupFile.h"
#include "ui/SetupDocument.h"

namespace {

// Option 1 with a motor, a pack and 6S1P chosen.
mfb::Setup Chosen() {
    mfb::Setup setup;
    mfb::SetupOption& o = setup.option(1);
    o.motor = {"Inrunner 4060-2000  ", "Inrunner 4060-2000  40x60 mm"};
    o.battery = {"LiPo 3300           ", "LiPo 3300            pouch"};
    o.fan = 3;
    o.fanName = "Fan 90 mm";
    o.serie = 6;
    return setup;
}

// A result of what option 1 has chosen in `setup`: an operating point, or not possible.
mfb::ShownResult Result(const mfb::Setup& setup, bool reached, const std::string& thrust) {
    mfb::ShownResult shown;
    shown.calculatedFor = mfb::ChosenCombination(setup.option(1));
    shown.values[0] = "400,00";
    if (reached) {
        shown.figures[3] = thrust;
    } else {
        shown.notPossible = "Combination not possible";
    }
    return shown;
}

mfb::Setup Calculated() {
    mfb::Setup setup = Chosen();
    setup.option(1).shown = Result(setup, true, "2514,00 g");
    return setup;
}

}  // namespace

class SetupDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void transitions() {
        struct Row {
            const char* name;
            mfb::Setup opened;  // the setup as a file gave it
            std::function<void(SetupDocument&)> step;
            bool modified, current, reached;
        };
        const auto calculate = [](bool reached, const char* thrust) {
            return [reached, thrust](SetupDocument& d) {
                d.setShown(1, Result(d.setup(), reached, thrust));
            };
        };
        const Row rows[] = {
            {"choose", mfb::Setup{}, [](SetupDocument& d) { d.setCells(1, 4, 1); }, true, false,
             false},
            {"calculate", Chosen(), calculate(true, "2514,00 g"), true, true, true},
            {"not possible", Calculated(), calculate(false, ""), true, true, false},
            // Opening calculates again: other texts of the same outcome change nothing chosen.
            {"open", Calculated(), calculate(true, "2514,10 g"), false, true, true},
            {"change after calculate", Calculated(),
             [](SetupDocument& d) {
                 d.setBattery(1, {"NiMH 2/3A 1100      ", "NiMH 2/3A 1100       cylinder"});
             },
             true, false, true},
            {"cells changed and back", Calculated(),
             [](SetupDocument& d) {
                 d.setCells(1, 3, 1);
                 d.setCells(1, 6, 1);
             },
             true, true, true},
            {"save", Calculated(),
             [](SetupDocument& d) {
                 d.setCells(1, 3, 1);
                 d.markSaved(QStringLiteral("/tmp/saved.mfbsetup"));
             },
             false, false, true},
        };
        for (const Row& row : rows) {
            SetupDocument document;
            document.replace(row.opened, QStringLiteral("/tmp/opened.mfbsetup"));
            QSignalSpy changed(&document, &SetupDocument::optionChanged);
            row.step(document);
            const mfb::SetupOption& o = document.option(1);
            QVERIFY2(document.modified() == row.modified, row.name);
            QVERIFY2(mfb::ShowsCurrent(o) == row.current, row.name);
            QVERIFY2(!o.shown || o.shown->reached() == row.reached, row.name);
            QVERIFY2(!changed.isEmpty(), row.name);
            // Whatever it holds, the file gives back the same.
            QVERIFY2(mfb::ReadSetup(mfb::WriteSetup(document.setup())) == document.setup(),
                     row.name);
        }
    }
};

QTEST_GUILESS_MAIN(SetupDocumentTest)
#include "SetupDocumentTest.moc"
