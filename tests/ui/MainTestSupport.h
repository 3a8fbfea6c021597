// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <memory>

#include "catalogue/Catalogue.h"
#include "ui/GraphDlg.h"
#include "ui/MainDlg.h"
#include "ui/QtPlatform.h"
#include "ui/SpinEdit.h"

// The main window's tests read the small catalogues in tests/data/main: three motors (one with a
// bad Ri field), three cell types (one that calculates with "alpha 3000", one too weak for 75 W,
// one that gives out during the sweep) and five fans named "Slow Fan" to "Fan Five".
inline QString MainTestDirectory() {
    return QStringLiteral(MFB_TEST_DATA "/main");
}
inline mfb::CataloguePlatform MainTestPlatform() {
    return QtPlatform(MainTestDirectory());
}
// The same catalogues, with the jet data of fan 1 after the fan blocks.
inline mfb::CataloguePlatform JetPlatform() {
    mfb::CataloguePlatform platform = MainTestPlatform();
    platform.readFile = [read = platform.readFile](const std::string& name) {
        std::string text = read(name);
        if (name == "fan.txt") text += "swept area fan 1: 30\nstatic efficiency fan 1: 0.7\n";
        return text;
    };
    return platform;
}

template <class T = QWidget>
T* Find(const QObject& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return child;
}

inline QString LabelText(const QObject& window, const char* name) {
    return Find<QLabel>(window, name)->text();
}

// Picks the entry that starts with `start` as a click in the open list does.
inline void ChooseEntry(QComboBox* list, const QString& start) {
    const int index = list->findText(start, Qt::MatchStartsWith);
    if (index < 0) qFatal("no entry starting with %s", qPrintable(start));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

inline void ChooseMotor(const TMainDlg& window, const QString& start) {
    ChooseEntry(Find<QComboBox>(window, "ComboBox1"), start);
}
inline void ChooseBattery(const TMainDlg& window, const QString& start) {
    ChooseEntry(Find<QComboBox>(window, "ComboBox2"), start);
}

// Clicks the button as the user does; a checked radio button stays checked and runs nothing.
inline void Click(const TMainDlg& window, const char* name) {
    Find<QAbstractButton>(window, name)->click();
}

// Types `text` into the line edit `name` in place of what it held, as a user does.
inline void TypeInto(const QObject& window, const char* name, const QString& text) {
    auto* field = Find<QLineEdit>(window, name);
    field->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(field, text);
    }
}

inline std::unique_ptr<TMainDlg> ShownMainDlg(
    mfb::CataloguePlatform platform = MainTestPlatform()) {
    auto window = std::make_unique<TMainDlg>(std::move(platform));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qFatal("the main window was not exposed");
    return window;
}

// Option 1 calculated with 8S2P on fan 2, option 3 calculated with 6S and then set to 9S without
// a Calculate, option 2 with a motor only; option 3 selected; a model weight.
inline void ChooseThreeOptions(const TMainDlg& window) {
    TypeInto(window, "ModelWeight", QStringLiteral("950"));
    ChooseMotor(window, QStringLiteral("alpha"));
    ChooseBattery(window, QStringLiteral("Good"));
    Click(window, "RadioButton2");
    Find<SpinEdit>(window, "SpinEdit1")->setText(QStringLiteral("8"));
    Find<SpinEdit>(window, "SpinEdit2")->setText(QStringLiteral("2"));
    Click(window, "Button1");
    Click(window, "RadioButton4");
    ChooseMotor(window, QStringLiteral("charlie"));
    Click(window, "RadioButton5");
    ChooseMotor(window, QStringLiteral("charlie"));
    ChooseBattery(window, QStringLiteral("Good"));
    Find<SpinEdit>(window, "SpinEdit5")->setText(QStringLiteral("6"));
    Click(window, "Button3");
    Find<SpinEdit>(window, "SpinEdit5")->setText(QStringLiteral("9"));
}

// Chart windows 1..4 handed to `window` as start-up does, taken back at the end of a test.
struct ChartWindows {
    explicit ChartWindows(TMainDlg& window) : window_(window) {
        for (int k = 1; k <= 4; ++k) graphs_[k - 1] = new TGraphDlg(k);
        window_.setChartWindows(graphs_);
    }
    ~ChartWindows() {
        window_.setChartWindows({});
        for (TGraphDlg* graph : graphs_) delete graph;
    }
    ChartWindows(const ChartWindows&) = delete;
    ChartWindows& operator=(const ChartWindows&) = delete;
    std::size_t Points(int option) const {
        return graphs_[option - 1]->points(mfb::Series::RpmFan).size();
    }

private:
    TMainDlg& window_;
    std::array<TGraphDlg*, 4> graphs_{};
};
