// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <memory>

#include "catalogue/Catalogue.h"
#include "ui/MainDlg.h"
#include "ui/QtPlatform.h"

// The main window's tests read the small catalogues in tests/data/main: three motors (one with a
// bad Ri field), three cell types (one that calculates with "alpha 3000", one too weak for 75 W,
// one that gives out during the sweep) and five fans named "Slow Fan" to "Fan Five".
inline QString MainTestDirectory() {
    return QStringLiteral(MFB_TEST_DATA "/main");
}
inline mfb::CataloguePlatform MainTestPlatform() {
    return QtPlatform(MainTestDirectory());
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

inline std::unique_ptr<TMainDlg> ShownMainDlg(
    mfb::CataloguePlatform platform = MainTestPlatform()) {
    auto window = std::make_unique<TMainDlg>(std::move(platform));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qFatal("the main window was not exposed");
    return window;
}
