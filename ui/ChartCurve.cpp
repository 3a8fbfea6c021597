// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartCurve.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QList>
#include <QPen>
#include <QPointF>
#include <algorithm>

#include "ui/ChartColour.h"

ChartCurve::ChartCurve(QChart* chart, QLineSeries* line, QAbstractAxis* xAxis, QAbstractAxis* yAxis,
                       const mfb::CurveTable& table, std::size_t index)
    : chart_(chart), line_(line), xAxis_(xAxis), yAxis_(yAxis), table_(table), index_(index) {}

ChartCurve::~ChartCurve() = default;  // the chart owns every line series

void ChartCurve::Cleared() {
    reduction_.Reset();
    late_ = false;
    lastX_ = -std::numeric_limits<double>::infinity();
    earliestLateX_ = std::numeric_limits<double>::infinity();
    changed_ = true;
}

void ChartCurve::Refresh(const mfb::PixelGrid& grid) {
    const bool sameGrid = grid.xMin == lastGrid_.xMin && grid.xMax == lastGrid_.xMax &&
                          grid.left == lastGrid_.left && grid.width == lastGrid_.width;
    Prepare();
    if (drawn_ && sameGrid) return;

    const mfb::CurvePoints stored = table_.Points(index_);
    const auto draw = [&](const mfb::PixelReduction& reduction, QLineSeries* line) {
        reduction.Reduce(stored, grid, buffer_);
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(buffer_.size()));
        for (const mfb::ChartPoint& p : buffer_) points.append(QPointF(p.x, p.y));
        line->replace(points);
    };
    draw(reduction_, line_);
    for (const Segment& segment : segments_) draw(segment.reduction, segment.line);
    lastGrid_ = grid;
    drawn_ = true;
}

void ChartCurve::Rebuild() {
    const mfb::CurvePoints points = table_.Points(index_);  // sorts what arrived out of order
    if (late_) {
        // The stable sort leaves every point below the earliest late x where it was.
        const auto unmoved =
            std::lower_bound(points.begin(), points.end(), earliestLateX_,
                             [](const mfb::ChartPoint& p, double x) { return p.x < x; });
        reduction_.Truncate(static_cast<std::size_t>(unmoved - points.begin()));
        reduction_.Extend(points, points.size());
        late_ = false;
        lastX_ = points.back().x;
        earliestLateX_ = std::numeric_limits<double>::infinity();
    }

    for (const Segment& segment : segments_) {
        chart_->removeSeries(segment.line);
        delete segment.line;
    }
    segments_.clear();
    const auto& runs = table_.ColourRuns(index_);
    for (std::size_t run = 0; run < runs.size(); ++run) {
        if (runs[run].second == table_.SeriesColour(index_)) continue;
        // The run's first point is reached from the point before it, in the run's colour.
        const std::size_t first = runs[run].first > 0 ? runs[run].first - 1 : 0;
        const std::size_t last = run + 1 < runs.size() ? runs[run + 1].first : points.size();
        Segment segment{{}, NewSegmentLine(runs[run].second)};
        segment.reduction.Build(points, first, last);
        segments_.push_back(std::move(segment));
    }
    changed_ = false;
    drawn_ = false;
}

QLineSeries* ChartCurve::NewSegmentLine(mfb::Colour colour) {
    auto* line = new QLineSeries;
    chart_->addSeries(line);
    line->attachAxis(xAxis_);
    line->attachAxis(yAxis_);
    // Adding a series applies the chart theme's pen, so the colour is set afterwards.
    QPen pen = line_->pen();
    pen.setColor(ToQColor(colour));
    line->setPen(pen);
    for (QLegendMarker* marker : chart_->legend()->markers(line)) marker->setVisible(false);
    return line;
}
