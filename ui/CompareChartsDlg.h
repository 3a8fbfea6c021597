// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>

#include "chart/AxisZoom.h"
#include "chart/CurveTable.h"
#include "model/ChartSink.h"
#include "model/OptionSlot.h"
#include "ui/ChartExport.h"

QT_BEGIN_NAMESPACE
class QChart;
class QComboBox;
class QLineSeries;
class QScatterSeries;
class QMenu;
class QValueAxis;
QT_END_NAMESPACE

class ChartCurve;
class ChartOverlay;
class ChartView;
class OptionCharts;
class SetupDocument;

// The calculated options in one chart: one quantity at a time (fan rpm, motor rpm or current,
// chosen in the window) against shaft power, each option in its own colour and named in the
// legend. Like a chart window it has round ticks, a readout (every option's stored value nearest
// the mouse's shaft power), zoom (drag, wheel; a double-click or Esc returns) and a context menu
// that saves or copies the picture.
//
// It keeps a copy of each option's points, read through OptionCharts when it is shown and
// whenever the setup says an option changed, so that a sweep starting in a chart window never
// changes points under its curves.
class CompareChartsDlg : public QWidget {
    Q_OBJECT
public:
    CompareChartsDlg(const SetupDocument& document, const OptionCharts& charts,
                     char decimalSeparator, QWidget* parent = nullptr);
    ~CompareChartsDlg() override;

    mfb::Series quantity() const { return quantity_; }
    void setQuantity(mfb::Series quantity);
    // Static thrust against shaft power instead of a quantity of the sweep, for the options whose
    // fan has jet data; `thrust` gives an option's thrust, g, at a shaft power, W.
    using Thrust = std::function<std::optional<double>(int option, double shaftPower)>;
    void setThrust(Thrust thrust) { thrust_ = std::move(thrust); }
    void showThrust();
    bool showsThrust() const { return showsThrust_; }

    // Reads the options' curves again.
    void reload();

    QChart* chart() const { return chart_; }
    QLineSeries* lineSeries(int option) const;  // 1..4
    // The dot on option `option`'s curve (1..4) at the shaft power of its operating point.
    QScatterSeries* operatingPoint(int option) const;
    QValueAxis* axis(mfb::Axis a) const;  // Bottom or Left
    const ChartOverlay& overlay() const { return *overlay_; }
    QMenu* contextMenu() const { return menu_; }
    void setFilePrompt(FilePrompt prompt) { prompt_ = std::move(prompt); }

    void showReadout(QPointF position);
    void hideReadout();
    void zoomTo(const QRectF& rectangle);
    void zoomAbout(QPointF position, double notches);
    void resetZoom();
    void saveImage();
    void copyImage();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void reloadLater();
    void showCurves();
    void refresh();
    void showRanges(const std::array<mfb::AxisRange, 2>& ranges);
    mfb::AxisRange shown(std::size_t axis) const;
    mfb::ChartAxes<2> axes() const;  // bottom, left
    double powerAt(double pixelX) const;

    const SetupDocument& document_;
    const OptionCharts& charts_;
    char decimalSeparator_;
    mfb::Series quantity_ = mfb::Series::RpmFan;
    bool reloadQueued_ = false;
    QComboBox* quantityBox_;
    ChartView* view_;
    QChart* chart_;
    std::array<QValueAxis*, 2> axes_{};  // bottom, left
    // What each axis' ticks were last chosen for: range and length in pixels (none yet).
    std::array<std::array<double, 3>, 2> tickInputs_{{{NAN, NAN, NAN}, {NAN, NAN, NAN}}};
    std::array<QLineSeries*, mfb::kOptionCount> lines_{};
    std::array<QScatterSeries*, mfb::kOptionCount> markers_{};
    std::array<std::optional<double>, mfb::kOptionCount> operatingPoints_{};  // W, by option
    std::array<mfb::CurveTable, mfb::kOptionCount> tables_;                   // copies, by option
    std::array<mfb::CurveTable, mfb::kOptionCount> thrusts_;  // curve 0, over tables_' powers
    Thrust thrust_;
    bool showsThrust_ = false;
    const mfb::CurveTable& shownTable(std::size_t k) const;
    std::size_t shownCurve() const;
    std::array<std::unique_ptr<ChartCurve>, mfb::kOptionCount> curves_;
    std::array<mfb::AxisRange, 2> fullRanges_{};
    std::unique_ptr<ChartOverlay> overlay_;
    QMenu* menu_;
    FilePrompt prompt_;
};
