// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartOverlay.h"

#include <QBrush>
#include <QChart>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>
#include <algorithm>

namespace {

// Above the curves (Qt Charts draws series at z up to about 100) and above each other in the order
// the user needs them: the readout box must not be hidden by the marker's text.
constexpr double kMarkerZ = 1000;
constexpr double kCursorZ = 1001;
constexpr double kBoxZ = 1002;
constexpr double kPadding = 4;
constexpr double kMouseGap = 12;

}  // namespace

ChartOverlay::ChartOverlay(QChart* chart)
    : chart_(chart),
      marker_(new QGraphicsLineItem(chart)),
      markerText_(new QGraphicsSimpleTextItem(chart)),
      cursor_(new QGraphicsLineItem(chart)),
      box_(new QGraphicsRectItem(chart)),
      readout_(new QGraphicsSimpleTextItem(box_)) {
    marker_->setPen(QPen(QColor(0, 0, 160), 1, Qt::DashLine));
    markerText_->setBrush(QColor(0, 0, 160));
    cursor_->setPen(QPen(QColor(96, 96, 96), 1));
    box_->setPen(QPen(QColor(96, 96, 96), 1));
    box_->setBrush(QColor(255, 255, 225, 235));
    marker_->setZValue(kMarkerZ);
    markerText_->setZValue(kMarkerZ);
    cursor_->setZValue(kCursorZ);
    box_->setZValue(kBoxZ);
    for (QGraphicsItem* item :
         {static_cast<QGraphicsItem*>(marker_), static_cast<QGraphicsItem*>(markerText_),
          static_cast<QGraphicsItem*>(cursor_), static_cast<QGraphicsItem*>(box_)}) {
        item->hide();
    }
}

void ChartOverlay::PlaceLine(QGraphicsLineItem* line, std::optional<double> position) const {
    const QRectF plot = chart_->plotArea();
    if (!position || *position < plot.left() || *position > plot.right()) {
        line->hide();
        return;
    }
    line->setLine(*position, plot.top(), *position, plot.bottom());
    line->show();
}

void ChartOverlay::ShowMarker(std::optional<double> position, const QString& text) {
    PlaceLine(marker_, position);
    markerText_->setText(text);
    markerText_->setVisible(marker_->isVisible());
    if (!marker_->isVisible()) return;
    // Right of the line at the top of the plot, or left of it where the plot ends too soon.
    const QRectF plot = chart_->plotArea();
    const double width = markerText_->boundingRect().width();
    const double left = *position + kPadding + width <= plot.right() ? *position + kPadding
                                                                     : *position - kPadding - width;
    markerText_->setPos(left, plot.top() + kPadding);
}

void ChartOverlay::ShowReadout(std::optional<double> position, QPointF mouse,
                               const QStringList& lines) {
    PlaceLine(cursor_, position);
    readout_->setText(lines.join(u'\n'));
    const QRectF text = readout_->boundingRect();
    const QSizeF size(text.width() + 2 * kPadding, text.height() + 2 * kPadding);
    const QRectF plot = chart_->plotArea();
    // Beside the mouse, on whichever side still has room, never outside the plot.
    double left = mouse.x() + kMouseGap;
    if (left + size.width() > plot.right()) left = mouse.x() - kMouseGap - size.width();
    double top = mouse.y() + kMouseGap;
    if (top + size.height() > plot.bottom()) top = mouse.y() - kMouseGap - size.height();
    left = std::clamp(left, plot.left(), std::max(plot.left(), plot.right() - size.width()));
    top = std::clamp(top, plot.top(), std::max(plot.top(), plot.bottom() - size.height()));
    box_->setRect(0, 0, size.width(), size.height());
    box_->setPos(left, top);
    readout_->setPos(kPadding, kPadding);
    box_->show();
}

void ChartOverlay::HideReadout() {
    cursor_->hide();
    box_->hide();
}

std::optional<double> ChartOverlay::MarkerPosition() const {
    if (!marker_->isVisible()) return std::nullopt;
    return marker_->line().x1();
}

QString ChartOverlay::MarkerText() const {
    return markerText_->isVisible() ? markerText_->text() : QString();
}

std::optional<double> ChartOverlay::CursorPosition() const {
    if (!cursor_->isVisible()) return std::nullopt;
    return cursor_->line().x1();
}

QStringList ChartOverlay::ReadoutLines() const {
    if (!box_->isVisible()) return {};
    return readout_->text().split(u'\n');
}
