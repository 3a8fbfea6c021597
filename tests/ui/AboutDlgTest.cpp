// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "ui/AboutDlg.h"

namespace {

// Runs `whileOpen` once the box's modal loop is running, then makes sure the loop ends.
void ShowModalAndThen(TAboutDlg& about, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, &about, [&about, whileOpen] {
        whileOpen();
        QTimer::singleShot(2000, &about, [&about] {
            if (about.isVisible()) about.reject();  // keeps a broken close from hanging the run
        });
    });
    about.showModal();
}

}  // namespace

class AboutDlgTest : public QObject {
    Q_OBJECT

private slots:
    void window() {
        TAboutDlg about;
        QCOMPARE(about.objectName(), QStringLiteral("AboutDlg"));
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        QCOMPARE(about.size(), QSize(257, 223));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(about.isModal());
        QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(about.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(about.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(about.isHidden());
    }

    void lines_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("Label1") << "Label1"
                                << "Program designed by" << 28 << 16;
        QTest::newRow("Label2") << "Label2"
                                << "the mfbcalc developers" << 72 << 16;
        QTest::newRow("Label3") << "Label3"
                                << "Use on own risk" << 108 << 13;
        QTest::newRow("Label4") << "Label4"
                                << "Version 1.1" << 152 << 16;
    }
    void lines() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(int, top);
        QFETCH(int, pixelSize);
        TAboutDlg about;
        const auto* label = about.findChild<QLabel*>(name);
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->y(), top);
        QCOMPARE(label->font().pixelSize(), pixelSize);
        QVERIFY(label->font().bold());
        // Wide enough for its text, and centred in the 257 px client area.
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(text));
        QCOMPARE(label->x(), (257 - label->width()) / 2);
    }

    void closeButton() {
        TAboutDlg about;
        const auto* button = about.findChild<QPushButton*>(QStringLiteral("Button1"));
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), QStringLiteral("&Close"));
        QCOMPARE(button->geometry(), QRect(91, 184, 75, 25));
        QCOMPARE(button->font().pixelSize(), 16);
        QVERIFY(!button->font().bold());
        QVERIFY(button->isDefault());
    }

    void centredOver_data() {
        QTest::addColumn<QRect>("mainFrame");
        QTest::addColumn<QSize>("aboutOuter");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("odd differences truncate")
            << QRect(100, 50, 961, 760) << QSize(257, 223) << QPoint(452, 318);
        QTest::newRow("even differences")
            << QRect(0, 0, 500, 400) << QSize(260, 224) << QPoint(120, 88);
        QTest::newRow("main window left of the screen")
            << QRect(-300, 10, 961, 760) << QSize(263, 252) << QPoint(49, 264);
        QTest::newRow("main window smaller than the box")
            << QRect(10, 10, 100, 100) << QSize(257, 223) << QPoint(-68, -51);
    }
    void centredOver() {
        QFETCH(QRect, mainFrame);
        QFETCH(QSize, aboutOuter);
        QFETCH(QPoint, expected);
        QCOMPARE(TAboutDlg::CentredOver(mainFrame, aboutOuter), expected);
    }

    // Every way of closing ends the modal loop and hides the box; the focus is on "&Close".
    void closing_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("click") << 0;
        QTest::newRow("Enter") << 1;
        QTest::newRow("Space") << 2;
        QTest::newRow("title-bar close") << 3;
    }
    void closing() {
        QFETCH(int, way);
        QWidget main;
        main.resize(961, 760);
        main.show();
        TAboutDlg about(&main);
        bool wasOpen = false;
        QWidget* focus = nullptr;
        ShowModalAndThen(about, [&] {
            wasOpen = about.isVisible();
            if (QTest::qWaitForWindowActive(&about)) focus = QApplication::focusWidget();
            switch (way) {
                case 0:
                    QTest::mouseClick(about.Button1, Qt::LeftButton);
                    break;
                case 1:
                    QTest::keyClick(about.Button1, Qt::Key_Return);
                    break;
                case 2:
                    QTest::keyClick(about.Button1, Qt::Key_Space);
                    break;
                default:
                    about.close();
                    break;
            }
        });
        QVERIFY(wasOpen);
        QCOMPARE(focus, about.Button1);
        QVERIFY(about.isHidden());
        QCOMPARE(about.result(), int(QDialog::Rejected));
    }

    // The first time the box is centred over the main window; the second time it comes back where
    // the user left it, even though the main window has moved in between.
    void reopensWhereItWasLast() {
        QWidget main;
        main.setGeometry(100, 50, 961, 760);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QPoint mainAt = main.frameGeometry().topLeft();
        TAboutDlg about(&main);

        QPoint first;
        ShowModalAndThen(about, [&] {
            first = about.frameGeometry().topLeft();
            about.move(first + QPoint(37, -12));  // the user drags it away
            about.Button1Click();
        });
        QCOMPARE(first, mainAt + QPoint((961 - 257) / 2, (760 - 223) / 2));

        main.move(mainAt + QPoint(200, 150));
        QPoint second;
        ShowModalAndThen(about, [&] {
            second = about.frameGeometry().topLeft();
            about.Button1Click();
        });
        QCOMPARE(second, first + QPoint(37, -12));

        QPoint third;
        ShowModalAndThen(about, [&] {
            third = about.frameGeometry().topLeft();
            about.close();
        });
        QCOMPARE(third, second);
    }

    // While the box is open the main window takes no input.
    void modal() {
        QWidget main;
        main.show();
        TAboutDlg about(&main);
        bool blocked = false;
        ShowModalAndThen(about, [&] {
            blocked = QApplication::activeModalWidget() == &about;
            about.close();
        });
        QVERIFY(blocked);
    }
};

QTEST_MAIN(AboutDlgTest)
#include "AboutDlgTest.moc"
