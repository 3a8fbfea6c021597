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
#include <string>

#include "chart/AxisZoom.h"
#include "chart/CurveTable.h"
#include "chart/PointsCsv.h"
#include "model/ChartSink.h"
#include "ui/ChartExport.h"

QT_BEGIN_NAMESPACE
class QChart;
class QAction;
class QFrame;
class QLineSeries;
class QMenu;
class QProgressDialog;
class QPushButton;
class QValueAxis;
QT_END_NAMESPACE

class ChartCurve;
class ChartExportTask;
class ChartOverlay;
class ChartView;

// The chart window of one option: fan speed, motor speed and current of the option's last sweep
// against shaft power. Created hidden; "&Ok" and the title-bar close button hide it with its
// content kept. Whatever a sweep hands it, it stays quick to show and resize, because Qt Charts
// only ever sees what a pixel column can show (see ChartCurve).
//
// Beyond the curves: a marker at the operating point, a readout of the stored values under the
// mouse, zoom (drag a rectangle, turn the wheel; a double-click or Esc returns to the sweep's
// ranges, and so does the next sweep), and a context menu that saves or copies the chart as an
// image and its points as CSV. The points are written on a worker thread, with a progress dialog
// that cancels, however many there are; the clipboard takes them up to kCopyLimit bytes of text,
// beyond which the window offers to save them instead.
class TGraphDlg : public QWidget, public mfb::ChartSink {
    Q_OBJECT
public:
    explicit TGraphDlg(int option, QWidget* parent = nullptr);  // option 1..4
    ~TGraphDlg() override;

    int option() const { return option_; }

    // Shows the window (centred on the screen the first time, afterwards where it was hidden),
    // raises and activates it; a visible window is only brought to the front.
    void showChart();

    // Every point the series was given, in x order; valid until the series changes.
    mfb::CurvePoints points(mfb::Series s) const;
    const mfb::CurveTable& curves() const { return table_; }

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

    // The shaft power of the step the option's sweep kept, in W, or none when it kept no step.
    // Clearing a series drops it, since the curves it belonged to are gone.
    void ShowOperatingPoint(std::optional<double> shaftPower);
    std::optional<double> operatingPoint() const { return operatingPoint_; }

    // Zoom: a rectangle in chart coordinates (those of QChart::plotArea()); wheel notches about a
    // point, positive zooming in, never wider than the sweep's ranges.
    void ZoomTo(const QRectF& rectangle);
    void ZoomAbout(QPointF position, double notches);
    void ResetZoom();
    bool zoomed() const { return zoomed_; }

    // The readout for the mouse at `position` in chart coordinates; hidden outside the plot.
    void ShowReadout(QPointF position);
    void HideReadout();
    const ChartOverlay& overlay() const { return *overlay_; }

    void SaveImage();
    void CopyImage();
    void SaveData();
    void CopyData();
    // Whether "Save Data as CSV" or "Copy Data" is still at work.
    bool exporting() const { return export_ != nullptr; }
    static constexpr qsizetype kCopyLimit = 50'000'000;
    void setFilePrompt(FilePrompt prompt) { prompt_ = std::move(prompt); }
    QMenu* contextMenu() const { return menu_; }

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
    void BuildMenu();
    void UpdateOverlay();
    // Pixel x in chart coordinates of a shaft power on the bottom axis as shown, and back.
    double PixelX(double power) const;
    double PowerAt(double pixelX) const;
    mfb::AxisRange Shown(mfb::Axis a) const;
    void ShowRanges(const std::array<mfb::AxisRange, 3>& ranges);
    // A file name from the prompt, starting in the folder used last, with `suffix` added when the
    // name has none; empty when cancelled.
    QString AskFileName(const QString& caption, const QString& name, const QString& filter,
                        const QString& suffix);
    // Writes every stored point of the three series as CSV: shaft power, fan rpm, motor rpm,
    // current.
    std::function<bool(const mfb::CsvSink&)> CsvWriter() const;
    // Runs `task` on its worker thread, with a progress dialog.
    void ExportData(std::unique_ptr<ChartExportTask> task, const QString& label);
    void ExportEnded();
    // Ends an export before the rows it reads change.
    void DropExport();
    // Shows [min, max] on the axis with ticks at round values inside it.
    void ShowRange(mfb::Axis a, double min, double max);

    int option_;
    char decimalSeparator_;  // of the program's locale, for every number the window writes
    bool placed_ = false;
    bool refreshQueued_ = false;
    ChartView* chart1_;
    QChart* chart_;
    QFrame* panel1_;
    QPushButton* button1_;
    std::array<QValueAxis*, 3> axes_{};  // by mfb::Axis
    // What each axis' ticks were last chosen for: range and length in pixels (none yet).
    std::array<std::array<double, 3>, 3> tickInputs_{
        {{NAN, NAN, NAN}, {NAN, NAN, NAN}, {NAN, NAN, NAN}}};
    mfb::CurveTable table_;  // the points, by mfb::Series
    std::array<std::unique_ptr<ChartCurve>, mfb::kSeriesCount> curves_;  // by mfb::Series
    QStringList titleLines_;

    std::optional<double> operatingPoint_;
    std::array<mfb::AxisRange, 3> sweepRanges_{};  // by mfb::Axis, as the sweep set them
    bool zoomed_ = false;
    std::unique_ptr<ChartOverlay> overlay_;
    std::optional<QPointF> hover_;  // the mouse over the plot, in chart coordinates
    QMenu* menu_;
    FilePrompt prompt_;
    // Save dialogs start in the folder saved to last, for as long as the program runs.
    QString lastFolder_;
    std::unique_ptr<ChartExportTask> export_;
    QProgressDialog* exportProgress_ = nullptr;
};
