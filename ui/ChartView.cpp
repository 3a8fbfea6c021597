// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartView.h"

#include <QChart>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>
#include <cstdlib>

namespace {

// A drag shorter than this is a click that slipped, not a rectangle to zoom into.
constexpr int kShortestDrag = 4;
// One notch of a mouse wheel, in QWheelEvent's eighths of a degree.
constexpr double kNotch = 120;

}  // namespace

ChartView::ChartView(QChart* chart, QWidget* parent)
    : QChartView(chart, parent), band_(new QRubberBand(QRubberBand::Rectangle, this)) {
    setMouseTracking(true);
}

QPointF ChartView::ChartPosition(QPointF viewPosition) const {
    return chart()->mapFromScene(mapToScene(viewPosition.toPoint()));
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QChartView::mousePressEvent(event);
    dragStart_ = event->position().toPoint();
    dragging_ = true;
    band_->setGeometry(QRect(dragStart_, QSize()));
    band_->show();
    event->accept();
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) band_->setGeometry(QRect(dragStart_, event->position().toPoint()).normalized());
    emit hovered(ChartPosition(event->position()));
    event->accept();
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        return QChartView::mouseReleaseEvent(event);
    }
    dragging_ = false;
    band_->hide();
    const QPoint end = event->position().toPoint();
    if (std::abs(end.x() - dragStart_.x()) >= kShortestDrag &&
        std::abs(end.y() - dragStart_.y()) >= kShortestDrag) {
        emit rectangleDragged(QRectF(ChartPosition(dragStart_), ChartPosition(end)).normalized());
    }
    event->accept();
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QChartView::mouseDoubleClickEvent(event);
    emit doubleClicked();
    event->accept();
}

void ChartView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / kNotch;
    if (notches != 0) emit wheelTurned(ChartPosition(event->position()), notches);
    event->accept();
}

void ChartView::leaveEvent(QEvent* event) {
    QChartView::leaveEvent(event);
    emit hoverLeft();
}

void ChartView::contextMenuEvent(QContextMenuEvent* event) {
    emit menuRequested(event->globalPos());
    event->accept();
}
