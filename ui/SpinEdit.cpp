// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SpinEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QStyle>
#include <algorithm>
#include <limits>
#include <optional>

#include "ui/SpinArrowButton.h"

namespace {

constexpr int kArrowWidth = 15;

// Optional sign, then decimal digits only: no blanks, no separators, no other bases.
std::optional<int> ParseWholeInteger(const QString& text) {
    qsizetype at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    if (at == text.size()) return std::nullopt;
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                     : std::numeric_limits<int>::max();
    long long magnitude = 0;
    for (; at < text.size(); ++at) {
        const char16_t c = text[at].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool IsTypeable(const QString& typed) {
    if (typed == QLocale::system().decimalPoint()) return true;
    return std::all_of(typed.begin(), typed.end(), [](QChar c) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\n') return false;
        return (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' ||
               c.category() == QChar::Other_Control;
    });
}

}  // namespace

SpinEdit::SpinEdit(int minimum, int maximum, int initial, QWidget* parent)
    : QWidget(parent),
      minimum_(minimum),
      maximum_(std::max(minimum, maximum)),
      edit_(new QLineEdit(this)),
      up_(new SpinArrowButton(Qt::UpArrow, this)),
      down_(new SpinArrowButton(Qt::DownArrow, this)) {
    up_->setObjectName(QStringLiteral("SpinUp"));
    down_->setObjectName(QStringLiteral("SpinDown"));
    up_->setAccessibleName(tr("Up"));
    down_->setAccessibleName(tr("Down"));
    edit_->setTextMargins(0, 0, kArrowWidth, 0);
    edit_->installEventFilter(this);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(edit_);

    connect(edit_, &QLineEdit::textChanged, this, &SpinEdit::textChanged);
    for (SpinArrowButton* arrow : {up_, down_}) {
        connect(arrow, &SpinArrowButton::pressStarted, this,
                [this] { edit_->setFocus(Qt::MouseFocusReason); });
    }
    connect(up_, &SpinArrowButton::stepped, this, [this] { step(+1); });
    connect(down_, &SpinArrowButton::stepped, this, [this] { step(-1); });

    setValue(initial);
    layoutChildren();
}

int SpinEdit::value() const {
    return ParseWholeInteger(edit_->text()).value_or(minimum_);
}

void SpinEdit::setValue(int value) {
    edit_->setText(QString::number(std::clamp(value, minimum_, maximum_)));
}

QString SpinEdit::text() const {
    return edit_->text();
}

void SpinEdit::setText(const QString& text) {
    edit_->setText(text);
}

void SpinEdit::step(int delta) {
    // In 64 bits, so that a pasted extreme integer cannot overflow before the clamp.
    const long long stepped = static_cast<long long>(value()) + delta;
    setValue(static_cast<int>(std::clamp<long long>(stepped, minimum_, maximum_)));
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress:
            return keyConsumed(*static_cast<QKeyEvent*>(event));
        case QEvent::FocusIn: {
            // The line edit selects everything on keyboard entry only when nothing is selected
            // yet; a selection left over from the last visit must not survive.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                reason == Qt::ShortcutFocusReason) {
                edit_->deselect();
            }
            return false;
        }
        case QEvent::FocusOut: {
            // A context menu or another application taking over does not leave the box: the
            // paste from that menu must arrive on the text as the user left it.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                clampIfOutside();
            }
            return false;
        }
        default:
            return false;
    }
}

bool SpinEdit::keyConsumed(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Up || key.key() == Qt::Key_Down) {
        step(key.key() == Qt::Key_Up ? +1 : -1);
        return true;
    }
    // Shortcuts (paste, copy, select all, undo) are not typing and never meet the filter.
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (key.text().isEmpty() || IsTypeable(key.text())) return false;
    QApplication::beep();
    return true;
}

void SpinEdit::clampIfOutside() {
    const int read = value();
    if (read < minimum_ || read > maximum_) setValue(read);
}

void SpinEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

// The arrows sit inside the edit's frame, so the box keeps one border around text and arrows.
void SpinEdit::layoutChildren() {
    edit_->setGeometry(rect());
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit_);
    const int inner = std::max(2, height() - 2 * frame);
    const int upHeight = inner / 2;
    const int left = width() - frame - kArrowWidth;
    up_->setGeometry(left, frame, kArrowWidth, upHeight);
    down_->setGeometry(left, frame + upHeight, kArrowWidth, inner - upHeight);
}
