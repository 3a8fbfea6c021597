// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>

#include "model/ChartSink.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QFrame;
class QLineSeries;
class QPushButton;
class QValueAxis;
QT_END_NAMESPACE

namespace mfb {
class PointSeries;
}
class ChartCurve;

// The chart window of one option: fan speed, motor speed and current of the option's last sweep
// against shaft power. Created hidden; "&Ok" and the title-bar close button hide it with its
// content kept. Whatever a sweep hands it, it stays quick to show and resize, because Qt Charts
// only ever sees what a pixel column can show (see ChartCurve).
class TGraphDlg : public QWidget, public mfb::ChartSink {
    Q_OBJECT
public:
    explicit TGraphDlg(int option, QWidget* parent = nullptr);  // option 1..4
    ~TGraphDlg() override;

    int option() const { return option_; }

    // Shows the window (centred on the screen the first time, afterwards where it was hidden),
    // raises and activates it; a visible window is only brought to the front.
    void showChart();

    // Every point the series was given, in x order.
    const mfb::PointSeries& series(mfb::Series s) const;

    QChart* chart() const { return chart_; }
    QLineSeries* lineSeries(mfb::Series s) const;
    QValueAxis* axis(mfb::Axis a) const;
    QStringList titleLines() const { return titleLines_; }

    void ClearSeries(mfb::Series s) override;
    void AddPoint(mfb::Series s, double x, double y, std::string_view text,
                  mfb::Colour colour) override;
    void AddStep(double x, double rpmFan, double rpmMotor, double current) override;
    void SetAxisRange(mfb::Axis a, double first, double second) override;
    void SetTitle(const std::string& line) override;
    void SetAxisTitle(mfb::Axis a, const std::string& title) override;

    void Button1Click();
    void FormResize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ScheduleRefresh() {
        if (refreshQueued_) return;
        refreshQueued_ = true;
        QueueRefresh();
    }
    void QueueRefresh();
    void Refresh();
    void ShowTitle();

    int option_;
    bool placed_ = false;
    bool refreshQueued_ = false;
    QChartView* chart1_;
    QChart* chart_;
    QFrame* panel1_;
    QPushButton* button1_;
    std::array<QValueAxis*, 3> axes_{};                                  // by mfb::Axis
    std::array<std::unique_ptr<ChartCurve>, mfb::kSeriesCount> curves_;  // by mfb::Series
    QStringList titleLines_;
};
