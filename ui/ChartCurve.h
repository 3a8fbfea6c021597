// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <algorithm>
#include <limits>
#include <vector>

#include "chart/CurveTable.h"
#include "chart/PixelReduction.h"
#include "model/ChartSink.h"

QT_BEGIN_NAMESPACE
class QAbstractAxis;
class QChart;
class QLineSeries;
QT_END_NAMESPACE

// One curve of a chart: its points, kept in the chart's CurveTable, and the little of them that Qt
// Charts gets to draw. Qt Charts slows down badly with many points (append is quadratic inside a
// chart, and replacing a million raw points takes seconds), so the line series only ever holds the
// per-pixel-column reduction of the points for the plot as it is laid out now.
//
// Points whose colour differs from the curve's are drawn over it as extra segment series, one per
// colour run, kept out of the legend; the segment into a point takes that point's colour.
class ChartCurve {
public:
    // `line` already belongs to `chart` and is attached to both axes; the curve's points are
    // `table`'s curve `index`, which the chart changes and then tells this curve about.
    ChartCurve(QChart* chart, QLineSeries* line, QAbstractAxis* xAxis, QAbstractAxis* yAxis,
               const mfb::CurveTable& table, std::size_t index);
    ~ChartCurve();
    ChartCurve(const ChartCurve&) = delete;
    ChartCurve& operator=(const ChartCurve&) = delete;

    QLineSeries* Line() const { return line_; }

    // The table's curve was cleared.
    void Cleared();
    // The table's curve got the point (x, y). Called millions of times in a row by a sweep: points
    // arriving in x order go straight into the reduction's summary, the rest is noted for the next
    // refresh.
    void Added(double x, double y) {
        if (!late_ && x >= lastX_) {
            reduction_.Push(y);
            lastX_ = x;
        } else {
            late_ = true;
            earliestLateX_ = std::min(earliestLateX_, x);
        }
        changed_ = true;
    }

    // Sorts in what arrived out of order and brings the reduction's summary up to date: work in
    // proportion to the points added since, done once when a sweep is over.
    void Prepare() {
        if (changed_) Rebuild();
    }

    // Hands Qt Charts what the curve looks like on `grid`. Cheap when neither the points nor the
    // grid changed since the last call.
    void Refresh(const mfb::PixelGrid& grid);

private:
    struct Segment {
        mfb::PixelReduction reduction;
        QLineSeries* line;
    };

    void Rebuild();
    QLineSeries* NewSegmentLine(mfb::Colour colour);

    QChart* chart_;
    QLineSeries* line_;
    QAbstractAxis* xAxis_;
    QAbstractAxis* yAxis_;
    const mfb::CurveTable& table_;
    std::size_t index_;
    mfb::PixelReduction reduction_;
    std::vector<Segment> segments_;
    // Since the last refresh: points came in with an x below an earlier one, the smallest being
    // earliestLateX_; sorting them in moves only the points from there on.
    bool late_ = false;
    double lastX_ = -std::numeric_limits<double>::infinity();
    double earliestLateX_ = std::numeric_limits<double>::infinity();
    bool changed_ = true;  // points added or cleared since the last Rebuild
    bool drawn_ = false;   // line_ shows the reduction of the points for lastGrid_
    mfb::PixelGrid lastGrid_;
    std::vector<mfb::ChartPoint> buffer_;
};
