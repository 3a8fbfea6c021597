// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AutoLabel.h"

AutoLabel::AutoLabel(const char* objectName, const QString& text, int x, int top, Anchor anchor,
                     const QFont& font, QWidget* parent)
    : QLabel(text, parent), x_(x), top_(top), anchor_(anchor) {
    setObjectName(QString::fromLatin1(objectName));
    setFont(font);
    setTextFormat(Qt::PlainText);  // catalogue text is shown as it is, never as markup
    setAlignment((anchor == Anchor::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    fit();
}

void AutoLabel::setText(const QString& text) {
    QLabel::setText(text);
    fit();
}

void AutoLabel::fit() {
    const int width = text().isEmpty() ? 0 : sizeHint().width();
    const int height = fontMetrics().height();
    const int left = anchor_ == Anchor::Right ? x_ - width : x_;
    setGeometry(left, top_, width, height);
}
