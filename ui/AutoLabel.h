// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A label that is always as wide as its text. A left-anchored one keeps its left edge; a
// right-anchored one keeps its right edge and grows to the left, so a column of numbers stays
// aligned on the right whatever their length.
class AutoLabel : public QLabel {
public:
    enum class Anchor { Left, Right };

    // `x` is the left edge of a left-anchored label and the right edge of a right-anchored one.
    AutoLabel(const char* objectName, const QString& text, int x, int top, Anchor anchor,
              const QFont& font, QWidget* parent);

    // Replaces QLabel::setText so that the width follows the text; write through this type.
    void setText(const QString& text);

private:
    void fit();

    int x_;
    int top_;
    Anchor anchor_;
};
