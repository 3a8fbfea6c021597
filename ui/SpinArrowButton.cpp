// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SpinArrowButton.h"

#include <QMouseEvent>

SpinArrowButton::SpinArrowButton(Qt::ArrowType arrow, QWidget* parent) : QToolButton(parent) {
    setArrowType(arrow);
    setFocusPolicy(Qt::NoFocus);
    setAutoRaise(false);
    connect(&repeat_, &QTimer::timeout, this, &SpinArrowButton::repeat);
}

void SpinArrowButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || holding_) return;
    holding_ = true;
    setDown(true);
    emit pressStarted();
    repeat_.start(kRepeatDelayMs);
}

void SpinArrowButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!holding_) return;
    const bool over = hitButton(event->position().toPoint());
    if (over != isDown()) setDown(over);
}

void SpinArrowButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !holding_) return;
    const bool over = hitButton(event->position().toPoint());
    stopHolding();
    if (over) emit stepped();
}

// Without these a button hidden or disabled mid-press would never see its release and go on
// stepping.
void SpinArrowButton::hideEvent(QHideEvent* event) {
    stopHolding();
    QToolButton::hideEvent(event);
}

void SpinArrowButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) stopHolding();
    QToolButton::changeEvent(event);
}

void SpinArrowButton::repeat() {
    repeat_.setInterval(kRepeatIntervalMs);
    if (isDown()) emit stepped();
}

void SpinArrowButton::stopHolding() {
    repeat_.stop();
    holding_ = false;
    setDown(false);
}
