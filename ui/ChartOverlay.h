// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <optional>

QT_BEGIN_NAMESPACE
class QChart;
class QGraphicsLineItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
QT_END_NAMESPACE

// What a chart window draws over its curves, in chart coordinates: the operating point's vertical
// line with its power written beside it, and the readout's cursor line with a box of values near
// the mouse. They are graphics items of the chart, not series, so the legend never lists them and
// the curves' reduction never sees them. Each line spans the plot area's height.
class ChartOverlay {
public:
    explicit ChartOverlay(QChart* chart);

    // The marker at chart x `position`, or none.
    void ShowMarker(std::optional<double> position, const QString& text);
    // The cursor line at `position` (none: only the box), the box beside `mouse`, kept inside the
    // plot area.
    void ShowReadout(std::optional<double> position, QPointF mouse, const QStringList& lines);
    void HideReadout();

    std::optional<double> MarkerPosition() const;
    QString MarkerText() const;
    std::optional<double> CursorPosition() const;
    QStringList ReadoutLines() const;  // empty while hidden

private:
    void PlaceLine(QGraphicsLineItem* line, std::optional<double> position) const;

    QChart* chart_;
    QGraphicsLineItem* marker_;
    QGraphicsSimpleTextItem* markerText_;
    QGraphicsLineItem* cursor_;
    QGraphicsRectItem* box_;
    QGraphicsSimpleTextItem* readout_;
};
