// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChartView>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <array>
#include <optional>

#include "chart/AxisZoom.h"

QT_BEGIN_NAMESPACE
class QRubberBand;
QT_END_NAMESPACE

// Where `position` lies on `plot` (both in chart coordinates), as the axes run.
inline mfb::PlotFraction PlotFractionAt(const QRectF& plot, QPointF position) {
    return {(position.x() - plot.left()) / plot.width(),
            (plot.bottom() - position.y()) / plot.height()};
}

// The ranges that show `rectangle` (a drag on `plot`) across the plot, or nothing where the drag
// misses the plot or the zoom would go past its bounds.
template <std::size_t N>
std::optional<std::array<mfb::AxisRange, N>> ZoomedToRectangle(const mfb::ChartAxes<N>& axes,
                                                               const QRectF& plot,
                                                               const QRectF& rectangle) {
    const QRectF inside = rectangle.intersected(plot);
    if (inside.isEmpty()) return std::nullopt;
    return mfb::ZoomedTo(axes, PlotFractionAt(plot, inside.bottomLeft()),
                         PlotFractionAt(plot, inside.topRight()));
}

// The ranges after `notches` wheel notches at `position`, or nothing off the plot.
template <std::size_t N>
std::optional<std::array<mfb::AxisRange, N>> ZoomedAboutPosition(const mfb::ChartAxes<N>& axes,
                                                                 const QRectF& plot,
                                                                 QPointF position, double notches) {
    if (!plot.contains(position)) return std::nullopt;
    return mfb::ZoomedAbout(axes, PlotFractionAt(plot, position), notches);
}

// The view of a chart window's chart that turns the mouse into what the user means: hovering, a
// dragged rectangle, a wheel turn, a double-click and a right-click. Positions are in the chart's
// coordinates, those of QChart::plotArea(); what they mean for the axes is the window's business.
class ChartView : public QChartView {
    Q_OBJECT
public:
    explicit ChartView(QChart* chart, QWidget* parent = nullptr);

signals:
    void hovered(QPointF position);
    void hoverLeft();
    void rectangleDragged(QRectF rectangle);
    // Wheel notches, positive away from the user.
    void wheelTurned(QPointF position, double notches);
    void doubleClicked();
    void menuRequested(QPoint globalPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QPointF ChartPosition(QPointF viewPosition) const;

    QRubberBand* band_;
    QPoint dragStart_;
    bool dragging_ = false;
};
