// SPDX-License-Identifier: GPL-3.0-or-later
// The column frames: red around the selected option's column, grey around the others, on every
// repaint of the window.
#include <QImage>
#include <QtTest>

#include "tests/ui/MainTestSupport.h"

namespace {

constexpr int kLefts[] = {10, 244, 476, 708};
constexpr int kRights[] = {243, 477, 709, 941};
constexpr int kTop = 178;
constexpr int kBottom = 601;
constexpr const char* kOptionButtons[] = {"RadioButton3", "RadioButton4", "RadioButton5",
                                          "RadioButton6"};

}  // namespace

class MainFramesTest : public QObject {
    Q_OBJECT

private slots:
    void frameColours_data() {
        QTest::addColumn<QList<int>>("clicks");  // options clicked in turn
        QTest::addColumn<int>("selected");
        QTest::newRow("at start") << QList<int>{} << 1;
        QTest::newRow("option 2") << QList<int>{2} << 2;
        QTest::newRow("option 3") << QList<int>{3} << 3;
        QTest::newRow("option 4") << QList<int>{4} << 4;
        QTest::newRow("option 3, then back to 1") << QList<int>{3, 1} << 1;
        QTest::newRow("option 4 clicked twice") << QList<int>{4, 4} << 4;
    }
    void frameColours() {
        QFETCH(QList<int>, clicks);
        QFETCH(int, selected);
        const auto window = ShownMainDlg();
        for (int option : clicks) Click(*window, kOptionButtons[option - 1]);
        // A grab repaints the whole client area, as uncovering the window does.
        const QImage image = window->centralWidget()->grab().toImage();
        for (int column = 1; column <= 4; ++column) {
            const QColor expected = column == selected ? QColor(255, 0, 0) : QColor(128, 128, 128);
            const int middle = (kLefts[column - 1] + kRights[column - 1]) / 2;
            QCOMPARE(image.pixelColor(middle, kTop), expected);
            QCOMPARE(image.pixelColor(middle, kBottom), expected);
        }
        // The frames' sides are there too, and nothing is drawn inside the column.
        const int height = (kTop + kBottom) / 2;
        const QColor outer = image.pixelColor(kLefts[0], height);
        QCOMPARE(outer, selected == 1 ? QColor(255, 0, 0) : QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(kRights[3], height),
                 selected == 4 ? QColor(255, 0, 0) : QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(kLefts[0] + 5, height),
                 window->palette().color(QPalette::Button));
    }
};

QTEST_MAIN(MainFramesTest)
#include "MainFramesTest.moc"
