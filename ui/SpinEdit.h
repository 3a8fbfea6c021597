// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;
class SpinArrowButton;

// A cell-count box: an integer line edit with two arrow buttons at its right end.
//
// The text is the state. It may hold anything that was pasted or typed through the character
// filter, and it is read as an integer only when asked; a text that is not a whole decimal
// integer reads as the minimum. Out-of-range text is corrected only when the box loses the focus
// to another control, so the value a user sees is the value the next reader gets.
class SpinEdit : public QWidget {
    Q_OBJECT
public:
    SpinEdit(int minimum, int maximum, int initial, QWidget* parent = nullptr);

    // The text as an integer, else the minimum. Never clamps.
    int value() const;
    // Writes the value clamped to the range.
    void setValue(int value);
    QString text() const;
    // Takes the text as it is, as a paste would.
    void setText(const QString& text);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    QLineEdit* lineEdit() const { return edit_; }

signals:
    void textChanged(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void step(int delta);
    bool keyConsumed(const QKeyEvent& key);
    void clampIfOutside();
    void layoutChildren();

    int minimum_;
    int maximum_;
    QLineEdit* edit_;
    SpinArrowButton* up_;
    SpinArrowButton* down_;
};
