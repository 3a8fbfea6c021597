// SPDX-License-Identifier: GPL-3.0-or-later
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <new>
#include <stdexcept>

#include "model/Error.h"
#include "tests/support/RecordingMessages.h"
#include "ui/Application.h"

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void errorBoxText_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Floating point overflow"
                                << "Floating point overflow.";
        QTest::newRow("digit") << "Error 42"
                               << "Error 42.";
        QTest::newRow("full stop") << "Cannot open file \"x\". Gone."
                                   << "Cannot open file \"x\". Gone.";
        QTest::newRow("exclamation mark") << "Stop!"
                                          << "Stop!";
        QTest::newRow("closing parenthesis") << "List index out of bounds (13)"
                                             << "List index out of bounds (13)";
        QTest::newRow("double quote") << "bad \"x\""
                                      << "bad \"x\"";
        QTest::newRow("single quote") << "bad 'x'"
                                      << "bad 'x'";
        QTest::newRow("blank") << "trailing "
                               << "trailing ";
        QTest::newRow("comma sorts before") << "a,"
                                            << "a,";
        QTest::newRow("slash sorts after") << "a/"
                                           << "a/.";
        QTest::newRow("Latin-1 letter")
            << QString::fromLatin1("caf\xe9") << QString::fromLatin1("caf\xe9.");
        QTest::newRow("empty") << ""
                               << "";
    }
    void errorBoxText() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorBoxText(message), shown);
    }

    // The error raised in a click handler is shown once; later events are still handled.
    void exceptionFromSlotShowsOneBoxAndLoopGoesOn_data() {
        QTest::addColumn<int>("thrown");  // an index into the throws of the handler below
        QTest::addColumn<QString>("shown");
        QTest::newRow("std::exception") << 0 << "Floating point division by zero.";
        QTest::newRow("out of memory") << 1 << "Out of memory: the last action was abandoned.";
        QTest::newRow("a long quote cut short") << 2
                                                << "'7021.5x  \u2026' is not a valid floating "
                                                   "point value.";
        QTest::newRow("anything else") << 3 << "An unknown error occurred.";
    }
    void exceptionFromSlotShowsOneBoxAndLoopGoesOn() {
        QFETCH(int, thrown);
        QFETCH(QString, shown);
        RecordingMessages messages;
        QPushButton button(QStringLiteral("Calculate"));
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        int handled = 0;
        QObject::connect(&button, &QPushButton::clicked, [&handled, thrown] {
            ++handled;
            switch (thrown) {
                case 0:
                    throw std::runtime_error("Floating point division by zero");
                case 1:
                    throw std::bad_alloc();
                case 2:
                    throw mfb::Error(std::string("'7021.5x  ") + mfb::kCutMark +
                                     "' is not a valid floating point value");
                default:
                    throw 42;
            }
        });

        bool later = false;
        QTimer::singleShot(0, [&] { QTest::mouseClick(&button, Qt::LeftButton); });
        QTimer::singleShot(10, [&] {
            later = true;
            QCoreApplication::quit();
        });
        QCOMPARE(QCoreApplication::exec(), 0);

        QCOMPARE(handled, 1);
        QCOMPARE(messages.errors, QStringList{shown});
        QVERIFY(later);
        QVERIFY(!button.isDown());
    }

    // An error in a timer handler inside a nested loop ends only that handler.
    void exceptionInsideNestedLoop() {
        RecordingMessages messages;
        QEventLoop inner;
        QTimer::singleShot(0, [] { throw std::runtime_error("Invalid floating point operation"); });
        QTimer::singleShot(5, &inner, [&inner] { inner.exit(7); });
        QCOMPARE(inner.exec(), 7);
        QCOMPARE(messages.errors, QStringList{"Invalid floating point operation."});
    }
};

int main(int argc, char* argv[]) {
    Application application(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationTest.moc"
