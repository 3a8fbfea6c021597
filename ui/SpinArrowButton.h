// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QToolButton>

// One of the two arrow buttons of a SpinEdit. It steps once when the left button is released over
// it and repeats while the button is held. The repeat clock keeps running while the pointer is
// off the button, so coming back resumes the 100 ms rhythm instead of waiting out the first delay
// again.
class SpinArrowButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int kRepeatDelayMs = 400;
    static constexpr int kRepeatIntervalMs = 100;

    SpinArrowButton(Qt::ArrowType arrow, QWidget* parent);

signals:
    void pressStarted();
    void stepped();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void repeat();
    void stopHolding();

    QTimer repeat_;
    bool holding_ = false;
};
