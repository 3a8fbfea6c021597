// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QToolButton>
#include <limits>

#include "ui/SpinArrowButton.h"
#include "ui/SpinEdit.h"

namespace {

struct Range {
    int minimum;
    int maximum;
    int initial;
};
constexpr Range kSerie{1, 40, 10};
constexpr Range kParallel{1, 10, 1};

}  // namespace

Q_DECLARE_METATYPE(Range)

namespace {

// A spin edit between two other controls, in tab order, in an active window, at the size the
// main window gives it.
struct Host {
    QWidget window;
    QLineEdit* before;
    SpinEdit* spin;
    QLineEdit* after;

    explicit Host(Range range)
        : before(new QLineEdit(&window)),
          spin(new SpinEdit(range.minimum, range.maximum, range.initial, &window)),
          after(new QLineEdit(&window)) {
        before->setGeometry(0, 0, 60, 22);
        spin->setGeometry(0, 30, 41, 22);
        QFont font = spin->font();
        font.setPixelSize(11);
        spin->setFont(font);
        after->setGeometry(0, 60, 60, 22);
        QWidget::setTabOrder(before, spin);
        QWidget::setTabOrder(spin, after);
        window.resize(100, 100);
        window.show();
        window.activateWindow();
    }
    bool active() { return QTest::qWaitForWindowActive(&window); }
    QToolButton* arrow(bool up) const {
        return spin->findChild<QToolButton*>(up ? QStringLiteral("SpinUp")
                                                : QStringLiteral("SpinDown"));
    }
    // Focus into the box with its whole text replaced by what the keyboard types.
    void type(const QString& keys) {
        spin->lineEdit()->setFocus(Qt::MouseFocusReason);
        spin->lineEdit()->selectAll();
        QTest::keyClick(spin->lineEdit(), Qt::Key_Backspace);
        for (const QChar c : keys) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(spin->lineEdit(), c.toLatin1());
            } else {
                // The test library only types Latin-1, so a foreign character arrives as a
                // keyboard layout would deliver it.
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(spin->lineEdit(), &press);
            }
        }
    }
};

QString Decimal(const QString& pattern) {
    return QString(pattern).replace(u'.', QLocale::system().decimalPoint());
}

}  // namespace

class SpinEditTest : public QObject {
    Q_OBJECT
private slots:
    void readsTextWithoutClamping_data();
    void readsTextWithoutClamping();
    void clampsOnlyWhenLeftOutOfRange_data();
    void clampsOnlyWhenLeftOutOfRange();
    void filtersTypedCharacters_data();
    void filtersTypedCharacters();
    void pasteBypassesFilter();
    void arrowKeysStepAndClamp_data();
    void arrowKeysStepAndClamp();
    void clickStepsOnceAtRelease_data();
    void clickStepsOnceAtRelease();
    void holdingRepeatsUpToMaximum();
    void repeatPausesOffTheButton();
    void keyboardEntrySelectsAll_data();
    void keyboardEntrySelectsAll();
    void arrowsAtRightEndHalfHeight();
};

void SpinEditTest::readsTextWithoutClamping_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    const QString intMax = QString::number(std::numeric_limits<int>::max());
    const QString intMin = QString::number(std::numeric_limits<int>::min());
    QTest::newRow("in range") << "7" << 7;
    QTest::newRow("above maximum") << "99" << 99;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("plus sign") << "+12" << 12;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("lone minus") << "-" << 1;
    QTest::newRow("lone plus") << "+" << 1;
    QTest::newRow("decimal") << Decimal("2.5") << 1;
    QTest::newRow("whole decimal") << Decimal("3.0") << 1;
    QTest::newRow("letters") << "abc" << 1;
    QTest::newRow("digits then letter") << "12a" << 1;
    QTest::newRow("two signs") << "--4" << 1;
    QTest::newRow("sign after digits") << "4-" << 1;
    QTest::newRow("blank before") << " 5" << 1;
    QTest::newRow("blank after") << "5 " << 1;
    QTest::newRow("hexadecimal") << "0x1F" << 1;
    QTest::newRow("largest int") << intMax << std::numeric_limits<int>::max();
    QTest::newRow("smallest int") << intMin << std::numeric_limits<int>::min();
    QTest::newRow("beyond int") << intMax + "0" << 1;
    QTest::newRow("just beyond int") << "2147483648" << 1;
    QTest::newRow("just below int") << "-2147483649" << 1;
}

void SpinEditTest::readsTextWithoutClamping() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    SpinEdit spin(kSerie.minimum, kSerie.maximum, kSerie.initial);
    spin.setText(text);
    QCOMPARE(spin.text(), text);
    QCOMPARE(spin.value(), expected);
}

void SpinEditTest::clampsOnlyWhenLeftOutOfRange_data() {
    QTest::addColumn<Range>("range");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("readWhileEditing");
    QTest::addColumn<QString>("textAfterLeaving");
    const auto row = [](const char* name, Range range, const QString& typed, int read,
                        const QString& after) {
        QTest::newRow(name) << range << typed << read << after;
    };
    row("Serie 99", kSerie, "99", 99, "40");
    row("Serie 0", kSerie, "0", 0, "1");
    row("Serie -7", kSerie, "-7", -7, "1");
    row("Serie 40 stays", kSerie, "40", 40, "40");
    row("Serie +5 stays as typed", kSerie, "+5", 5, "+5");
    row("Serie 007 stays as typed", kSerie, "007", 7, "007");
    row("Serie +99", kSerie, "+99", 99, "40");
    row("Parallel 0", kParallel, "0", 0, "1");
    row("Parallel 25", kParallel, "25", 25, "10");
    row("Parallel empty stays empty", kParallel, "", 1, "");
    row("Parallel minus stays", kParallel, "-", 1, "-");
    row("Serie decimal stays", kSerie, Decimal("2.5"), 1, Decimal("2.5"));
}

void SpinEditTest::clampsOnlyWhenLeftOutOfRange() {
    QFETCH(Range, range);
    QFETCH(QString, typed);
    QFETCH(int, readWhileEditing);
    QFETCH(QString, textAfterLeaving);
    Host host(range);
    QVERIFY(host.active());
    host.type(typed);
    QCOMPARE(host.spin->text(), typed);
    QCOMPARE(host.spin->value(), readWhileEditing);

    // A context menu taking the focus is not leaving the box.
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(host.spin->lineEdit(), &popup);
    QCOMPARE(host.spin->text(), typed);

    QTest::keyClick(host.spin->lineEdit(), Qt::Key_Tab);
    QVERIFY(host.after->hasFocus());
    QCOMPARE(host.spin->text(), textAfterLeaving);
}

void SpinEditTest::filtersTypedCharacters_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QString& keys, const QString& expected) {
        QTest::newRow(name) << keys << expected;
    };
    row("digits", "0123456789", "0123456789");
    row("signs", "+-", "+-");
    row("decimal separator", Decimal("2.5"), Decimal("2.5"));
    row("letters dropped", "1a2B", "12");
    row("blank dropped", "3 4", "34");
    row("other punctuation dropped", "5*/=e%", "5");
    row("non-ASCII digit dropped", QString::fromUtf8("7\u0663"), "7");
    row("backspace edits", "123\b", "12");
    row("enter dropped", "4\r5", "45");
}

void SpinEditTest::filtersTypedCharacters() {
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    Host host(kSerie);
    QVERIFY(host.active());
    host.type(keys);
    QCOMPARE(host.spin->text(), expected);
}

void SpinEditTest::pasteBypassesFilter() {
    Host host(kSerie);
    QVERIFY(host.active());
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    host.spin->lineEdit()->setFocus(Qt::MouseFocusReason);
    host.spin->lineEdit()->selectAll();
    QTest::keyClick(host.spin->lineEdit(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(host.spin->text(), QStringLiteral("abc"));
    QCOMPARE(host.spin->value(), kSerie.minimum);
    QTest::keyClick(host.spin->lineEdit(), Qt::Key_Tab);
    QCOMPARE(host.spin->text(), QStringLiteral("abc"));
}

void SpinEditTest::arrowKeysStepAndClamp_data() {
    QTest::addColumn<Range>("range");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, Range range, const QString& text, Qt::Key key,
                        const QString& expected) {
        QTest::newRow(name) << range << text << int(key) << expected;
    };
    row("up", kSerie, "10", Qt::Key_Up, "11");
    row("down", kSerie, "10", Qt::Key_Down, "9");
    row("empty up reads minimum", kSerie, "", Qt::Key_Up, "2");
    row("decimal up reads minimum", kSerie, Decimal("2.5"), Qt::Key_Up, "2");
    row("up at maximum", kSerie, "40", Qt::Key_Up, "40");
    row("down at minimum", kSerie, "1", Qt::Key_Down, "1");
    row("down from above range", kSerie, "99", Qt::Key_Down, "40");
    row("up from below range", kSerie, "-5", Qt::Key_Up, "1");
    row("up from zero", kSerie, "0", Qt::Key_Up, "1");
    row("signed text rewritten", kSerie, "+7", Qt::Key_Up, "8");
    row("up at int maximum", kSerie, "2147483647", Qt::Key_Up, "40");
    row("down at int minimum", kSerie, "-2147483648", Qt::Key_Down, "1");
    row("Parallel up at maximum", kParallel, "10", Qt::Key_Up, "10");
}

void SpinEditTest::arrowKeysStepAndClamp() {
    QFETCH(Range, range);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, expected);
    Host host(range);
    QVERIFY(host.active());
    host.spin->setText(text);
    host.spin->lineEdit()->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(host.spin->lineEdit(), Qt::Key(key));
    QCOMPARE(host.spin->text(), expected);
}

void SpinEditTest::clickStepsOnceAtRelease_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("releaseOver");
    QTest::addColumn<QString>("expected");
    QTest::newRow("up") << "10" << true << true << "11";
    QTest::newRow("down") << "10" << false << true << "9";
    QTest::newRow("up at maximum") << "40" << true << true << "40";
    QTest::newRow("down in empty box") << "" << false << true << "1";
    QTest::newRow("released off the button") << "10" << true << false << "10";
}

void SpinEditTest::clickStepsOnceAtRelease() {
    QFETCH(QString, text);
    QFETCH(bool, up);
    QFETCH(bool, releaseOver);
    QFETCH(QString, expected);
    Host host(kSerie);
    QVERIFY(host.active());
    host.after->setFocus();
    host.spin->setText(text);
    QToolButton* arrow = host.arrow(up);
    QVERIFY(arrow);

    QTest::mousePress(arrow, Qt::LeftButton);
    QVERIFY(host.spin->lineEdit()->hasFocus());
    QCOMPARE(host.spin->text(), text);
    const QPoint releaseAt = releaseOver ? arrow->rect().center() : QPoint(-20, -20);
    if (!releaseOver) QTest::mouseMove(arrow, releaseAt);
    QTest::mouseRelease(arrow, Qt::LeftButton, {}, releaseAt);
    QCOMPARE(host.spin->text(), expected);
    QTest::qWait(SpinArrowButton::kRepeatDelayMs + SpinArrowButton::kRepeatIntervalMs);
    QCOMPARE(host.spin->text(), expected);
}

void SpinEditTest::holdingRepeatsUpToMaximum() {
    Host host(kSerie);
    QVERIFY(host.active());
    host.spin->setValue(38);
    QToolButton* arrow = host.arrow(true);
    QElapsedTimer held;
    held.start();
    QTest::mousePress(arrow, Qt::LeftButton);
    QTest::qWait(SpinArrowButton::kRepeatDelayMs - 100);
    // Only meaningful while the delay has not passed: a loaded machine may wake up later.
    const QString early = host.spin->text();
    if (held.elapsed() < SpinArrowButton::kRepeatDelayMs) QCOMPARE(early, QStringLiteral("38"));
    // A loaded machine may also make two steps between two looks, so only the first is awaited.
    QTRY_VERIFY_WITH_TIMEOUT(host.spin->text() != QStringLiteral("38"), 1000);
    QVERIFY(held.elapsed() >= SpinArrowButton::kRepeatDelayMs);
    QTRY_COMPARE_WITH_TIMEOUT(host.spin->text(), QStringLiteral("40"), 1000);
    QTest::qWait(3 * SpinArrowButton::kRepeatIntervalMs);
    QCOMPARE(host.spin->text(), QStringLiteral("40"));
    QTest::mouseRelease(arrow, Qt::LeftButton);
    QCOMPARE(host.spin->text(), QStringLiteral("40"));
}

void SpinEditTest::repeatPausesOffTheButton() {
    Host host(kSerie);
    QVERIFY(host.active());
    QToolButton* arrow = host.arrow(false);
    const QPoint off(arrow->width() + 20, -20);
    QTest::mousePress(arrow, Qt::LeftButton);
    QTest::mouseMove(arrow, off);
    QTest::qWait(SpinArrowButton::kRepeatDelayMs + 2 * SpinArrowButton::kRepeatIntervalMs);
    QCOMPARE(host.spin->text(), QStringLiteral("10"));

    QTest::mouseMove(arrow, arrow->rect().center());
    QTRY_VERIFY_WITH_TIMEOUT(host.spin->text().toInt() < 10, 1000);

    QTest::mouseMove(arrow, off);
    const QString leftAt = host.spin->text();
    QTest::qWait(2 * SpinArrowButton::kRepeatIntervalMs);
    QTest::mouseRelease(arrow, Qt::LeftButton, {}, off);
    QCOMPARE(host.spin->text(), leftAt);
}

enum class Entry { Tab, Backtab, Click };

void SpinEditTest::keyboardEntrySelectsAll_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("expectedSelection");
    QTest::newRow("Tab") << int(Entry::Tab) << QStringLiteral("10");
    QTest::newRow("Shift+Tab") << int(Entry::Backtab) << QStringLiteral("10");
    QTest::newRow("mouse click") << int(Entry::Click) << QString();
}

void SpinEditTest::keyboardEntrySelectsAll() {
    QFETCH(int, entry);
    QFETCH(QString, expectedSelection);
    Host host(kSerie);
    QVERIFY(host.active());
    // A partial selection left from an earlier visit.
    host.spin->lineEdit()->setSelection(0, 1);
    switch (Entry(entry)) {
        case Entry::Tab:
            host.before->setFocus();
            QTest::keyClick(host.before, Qt::Key_Tab);
            break;
        case Entry::Backtab:
            host.after->setFocus();
            QTest::keyClick(host.after, Qt::Key_Backtab, Qt::ShiftModifier);
            break;
        case Entry::Click:
            host.after->setFocus();
            host.spin->lineEdit()->deselect();
            QTest::mouseClick(host.spin->lineEdit(), Qt::LeftButton);
            break;
    }
    QVERIFY(host.spin->lineEdit()->hasFocus());
    QCOMPARE(host.spin->lineEdit()->selectedText(), expectedSelection);

    // The arrows take no Tab stop of their own.
    QTest::keyClick(host.spin->lineEdit(), Qt::Key_Tab);
    QVERIFY(host.after->hasFocus());
}

void SpinEditTest::arrowsAtRightEndHalfHeight() {
    Host host(kSerie);
    const QRect box = host.spin->rect();
    const QRect up = host.arrow(true)->geometry();
    const QRect down = host.arrow(false)->geometry();
    QVERIFY(box.contains(up) && box.contains(down));
    QCOMPARE(up.right(), down.right());
    QVERIFY(box.right() - up.right() <= 3);
    QCOMPARE(up.bottom() + 1, down.top());
    QVERIFY(qAbs(up.height() - down.height()) <= 1);
    QVERIFY(up.height() + down.height() >= box.height() - 6);
    QVERIFY(up.left() > box.width() / 2);
    QCOMPARE(host.spin->lineEdit()->geometry(), box);
}

QTEST_MAIN(SpinEditTest)
#include "SpinEditTest.moc"
