// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/GraphDlg.h"

#include <QAction>
#include <QChart>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLegend>
#include <QLineSeries>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/NearestPoint.h"
#include "chart/PixelReduction.h"
#include "chart/PointsCsv.h"
#include "model/DisplayFormat.h"
#include "ui/AxisTicks.h"
#include "ui/ChartColour.h"
#include "ui/ChartCurve.h"
#include "ui/ChartExportTask.h"
#include "ui/ChartOverlay.h"
#include "ui/ChartView.h"
#include "ui/MessageService.h"
#include "ui/QtPlatform.h"

namespace {

constexpr int kClientWidth = 728;
constexpr int kClientHeight = 518;
constexpr int kPanelHeight = 41;
constexpr double kNarrowestRange = 1e-10;
// About how many tick intervals each axis gets, by mfb::Axis: the power axis is the wider one.
constexpr std::array<int, 3> kTickIntervals{8, 6, 6};
// An export shows its progress once it has run this long.
constexpr int kProgressAfterMs = 300;

struct CurveDesign {
    const char* objectName;
    const char* title;
    mfb::Colour colour;
    mfb::Axis axis;
};
constexpr std::array<CurveDesign, mfb::kSeriesCount> kCurves{{
    {"Series1", "RPM Fan", mfb::kRed, mfb::Axis::Left},
    {"Series2", "RPM Motor", mfb::kGreen, mfb::Axis::Left},
    {"Series3", "Current", mfb::kYellow, mfb::Axis::Right},
}};
// The readout's unit after each series' value, and the CSV's column names.
constexpr std::array<const char*, mfb::kSeriesCount> kUnits{"", "", " A"};
const std::vector<std::string> kCsvColumns{"Shaft power [W]", "RPM Fan", "RPM Motor",
                                           "Current [A]"};

static_assert(mfb::kSeriesCount == mfb::kCurveCount);

std::size_t Index(mfb::Series s) {
    return static_cast<std::size_t>(s);
}
std::size_t Index(mfb::Axis a) {
    return static_cast<std::size_t>(a);
}

void CannotWrite(const QString& path, const QString& reason) {
    Messages().error(
        ErrorBoxText(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason)));
}

// Titles are rich text in Qt Charts, which would also collapse the two blanks between the names
// of the chart title; what the sweep passes is plain Latin-1 text.
QString TitleHtml(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
}

}  // namespace

TGraphDlg::TGraphDlg(int option, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      option_(option),
      fileStem_(QStringLiteral("option%1").arg(option)),
      decimalSeparator_(DecimalSeparator(QLocale())),
      table_({kCurves[0].colour, kCurves[1].colour, kCurves[2].colour}) {
    setObjectName(QStringLiteral("GraphDlg%1").arg(option));
    setWindowTitle(QStringLiteral("Option %1 Chart").arg(option));
    // Closing a chart window only hides it; it must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    chart_ = new QChart;
    // The view takes the chart's minimum size as its own; the window may be made narrower than
    // axes, legend and title need, and the chart then still fills the space above the panel.
    chart_->setMinimumSize(0, 0);
    chart1_ = new ChartView(chart_, this);
    chart1_->setObjectName(QStringLiteral("Chart1"));
    chart1_->setFocusPolicy(Qt::NoFocus);
    chart1_->setRenderHint(QPainter::Antialiasing);

    QFont titleFont;
    titleFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    chart_->setTitleFont(titleFont);
    chart_->setTitleBrush(Qt::black);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->setLocalizeNumbers(true);
    chart_->setLocale(AxisLabelLocale(decimalSeparator_));

    const std::array<Qt::Alignment, 3> alignments{Qt::AlignBottom, Qt::AlignLeft, Qt::AlignRight};
    for (std::size_t a = 0; a < axes_.size(); ++a) {
        axes_[a] = new QValueAxis;
        chart_->addAxis(axes_[a], alignments[a]);
        axes_[a]->setTickType(QValueAxis::TicksDynamic);
        ShowRange(static_cast<mfb::Axis>(a), axes_[a]->min(), axes_[a]->max());
    }
    // Hiding the left axis line also hides its tick marks; its grid stays.
    axes_[Index(mfb::Axis::Left)]->setLineVisible(false);
    axes_[Index(mfb::Axis::Right)]->setGridLineVisible(false);

    for (std::size_t s = 0; s < curves_.size(); ++s) {
        const CurveDesign& design = kCurves[s];
        auto* line = new QLineSeries;
        line->setObjectName(QString::fromLatin1(design.objectName));
        line->setName(QString::fromLatin1(design.title));
        chart_->addSeries(line);
        QAbstractAxis* xAxis = axes_[Index(mfb::Axis::Bottom)];
        QAbstractAxis* yAxis = axes_[Index(design.axis)];
        line->attachAxis(xAxis);
        line->attachAxis(yAxis);
        line->setColor(ToQColor(design.colour));  // after addSeries, which applies the theme
        curves_[s] = std::make_unique<ChartCurve>(chart_, line, xAxis, yAxis, table_, s);
    }
    titleLines_ = QStringList{QString()};
    ShowTitle();
    overlay_ = std::make_unique<ChartOverlay>(chart_);
    for (std::size_t a = 0; a < axes_.size(); ++a) sweepRanges_[a] = Shown(mfb::Axis(a));

    panel1_ = new QFrame(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    button1_ = new QPushButton(QStringLiteral("&Ok"), panel1_);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setGeometry(174, 8, 75, 25);
    connect(button1_, &QPushButton::clicked, this, &TGraphDlg::Button1Click);

    connect(chart_, &QChart::plotAreaChanged, this, &TGraphDlg::ScheduleRefresh);
    connect(axes_[Index(mfb::Axis::Bottom)], &QValueAxis::rangeChanged, this,
            &TGraphDlg::ScheduleRefresh);

    connect(chart1_, &ChartView::hovered, this, &TGraphDlg::ShowReadout);
    connect(chart1_, &ChartView::hoverLeft, this, &TGraphDlg::HideReadout);
    connect(chart1_, &ChartView::rectangleDragged, this, &TGraphDlg::ZoomTo);
    connect(chart1_, &ChartView::wheelTurned, this, &TGraphDlg::ZoomAbout);
    connect(chart1_, &ChartView::doubleClicked, this, &TGraphDlg::ResetZoom);
    BuildMenu();
    connect(chart1_, &ChartView::menuRequested, menu_, [this](QPoint at) { menu_->popup(at); });
    prompt_ = SaveFileDialog(this);
    lastFolder_ = QDir::homePath();

    resize(kClientWidth, kClientHeight);
}

void TGraphDlg::BuildMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("ChartMenu"));
    struct Item {
        const char* name;
        QString text;
        void (TGraphDlg::*handler)();
    };
    const Item items[] = {
        {"SaveImageAction", QStringLiteral("Save Image\u2026"), &TGraphDlg::SaveImage},
        {"CopyImageAction", QStringLiteral("Copy Image"), &TGraphDlg::CopyImage},
        {"SaveDataAction", QStringLiteral("Save Data as CSV\u2026"), &TGraphDlg::SaveData},
        {"CopyDataAction", QStringLiteral("Copy Data"), &TGraphDlg::CopyData},
        {"ResetZoomAction", QStringLiteral("Reset Zoom"), &TGraphDlg::ResetZoom},
    };
    for (const Item& item : items) {
        if (item.handler == &TGraphDlg::ResetZoom) menu_->addSeparator();
        QAction* action = menu_->addAction(item.text);
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, item.handler);
        if (item.handler == &TGraphDlg::ResetZoom) {
            action->setShortcut(Qt::Key_Escape);
            addAction(action);  // Esc works with the menu closed too
        }
    }
}

TGraphDlg::~TGraphDlg() = default;

void TGraphDlg::showChart() {
    if (!placed_) {
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
        if (screen) {
            // The four cascade about the centre: option 1 up and left of it, option 4 down and
            // right, each title bar visible below the one before.
            constexpr int kCascadeStep = 28;
            const int offset = (option_ - 1) * kCascadeStep - 3 * kCascadeStep / 2;
            const QRect area = screen->availableGeometry();
            QRect place = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), area)
                              .translated(offset, offset);
            // On a screen too small for the cascade the window stays on it, its top left first.
            place.moveRight(std::min(place.right(), area.right()));
            place.moveBottom(std::min(place.bottom(), area.bottom()));
            place.moveTopLeft(
                {std::max(place.left(), area.left()), std::max(place.top(), area.top())});
            setGeometry(place);
        }
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

void TGraphDlg::showCombination(const QString& cells, const QString& fileStem) {
    const QString caption = QStringLiteral("Option %1 Chart").arg(option_);
    setWindowTitle(cells.isEmpty() ? caption : caption + QStringLiteral(" - ") + cells);
    fileStem_ = fileStem.isEmpty() ? QStringLiteral("option%1").arg(option_) : fileStem;
}

void TGraphDlg::clearChart() {
    for (std::size_t s = 0; s < mfb::kSeriesCount; ++s) ClearSeries(static_cast<mfb::Series>(s));
    showCombination(QString(), QString());
    hide();
}

mfb::CurvePoints TGraphDlg::points(mfb::Series s) const {
    return table_.Points(Index(s));
}

QLineSeries* TGraphDlg::lineSeries(mfb::Series s) const {
    return curves_[Index(s)]->Line();
}

QValueAxis* TGraphDlg::axis(mfb::Axis a) const {
    return axes_[Index(a)];
}

void TGraphDlg::ClearSeries(mfb::Series s) {
    if (export_) [[unlikely]] {
        DropExport();
    }
    table_.Clear(Index(s));
    curves_[Index(s)]->Cleared();
    ShowOperatingPoint(std::nullopt);
    ResetZoom();
    ScheduleRefresh();
}

void TGraphDlg::AddPoint(mfb::Series s, double x, double y, std::string_view, mfb::Colour colour) {
    // A sweep calls this millions of times without returning to the event loop: store, and leave
    // the drawing to one refresh afterwards.
    if (export_) [[unlikely]] {
        DropExport();
    }
    table_.Add(Index(s), x, y, colour);
    curves_[Index(s)]->Added(x, y);
    ScheduleRefresh();
}

void TGraphDlg::AddStep(double x, double rpmFan, double rpmMotor, double current) {
    // The step's colours are the curves' own, so the table stores it as one row.
    static_assert(kCurves[0].colour == mfb::kRed && kCurves[1].colour == mfb::kGreen &&
                  kCurves[2].colour == mfb::kYellow);
    if (export_) [[unlikely]] {
        DropExport();
    }
    table_.AddRow(x, {rpmFan, rpmMotor, current});
    curves_[Index(mfb::Series::RpmFan)]->Added(x, rpmFan);
    curves_[Index(mfb::Series::RpmMotor)]->Added(x, rpmMotor);
    curves_[Index(mfb::Series::Current)]->Added(x, current);
    ScheduleRefresh();
}

void TGraphDlg::SetAxisRange(mfb::Axis a, double first, double second) {
    const double min = std::min(first, second);
    double max = std::max(first, second);
    if (max - min < kNarrowestRange) max = min + kNarrowestRange;
    // Far from zero min + 1e-10 rounds back to min, and an empty range cannot be drawn.
    if (!(max > min)) max = std::nextafter(min, std::numeric_limits<double>::infinity());
    // Qt's value axes never rescale to their series by themselves, so setting the range is all
    // there is to switching the automatic scaling off.
    sweepRanges_[Index(a)] = {min, max};
    ResetZoom();
}

void TGraphDlg::SetTitle(const std::string& line) {
    titleLines_ = QStringList{QString::fromLatin1(line)};
    ShowTitle();
}

void TGraphDlg::SetAxisTitle(mfb::Axis a, const std::string& title) {
    axes_[Index(a)]->setTitleText(TitleHtml(QString::fromLatin1(title)));
}

void TGraphDlg::Button1Click() {
    close();
}

void TGraphDlg::FormResize() {
    // Integer division truncates toward zero: a client 70 px wide puts the button at -2.
    button1_->move((width() - button1_->width()) / 2, button1_->y());
}

void TGraphDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int chartHeight = std::max(0, height() - kPanelHeight);
    chart1_->setGeometry(0, 0, width(), chartHeight);
    panel1_->setGeometry(0, chartHeight, width(), kPanelHeight);
    FormResize();
}

void TGraphDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormResize();
    // The mouse that last rested on the plot may be anywhere now.
    HideReadout();
    // A hidden window does not draw; catch up before the first paint shows stale curves.
    Refresh();
}

void TGraphDlg::QueueRefresh() {
    QTimer::singleShot(0, this, &TGraphDlg::Refresh);
}

void TGraphDlg::Refresh() {
    refreshQueued_ = false;
    // A hidden window gets its sorting done now, right after the sweep, so that showing it only
    // draws; the drawing waits until it is shown.
    if (!isVisible()) {
        for (const auto& curve : curves_) curve->Prepare();
        return;
    }
    // The room for tick labels changes with the window's size.
    for (std::size_t a = 0; a < axes_.size(); ++a) {
        const mfb::AxisRange shown = Shown(static_cast<mfb::Axis>(a));
        ShowRange(static_cast<mfb::Axis>(a), shown.min, shown.max);
    }
    const QRectF plot = chart_->plotArea();
    const double ratio = devicePixelRatioF();
    const QValueAxis* bottom = axes_[Index(mfb::Axis::Bottom)];
    const mfb::PixelGrid grid{bottom->min(), bottom->max(), plot.left() * ratio,
                              plot.width() * ratio};
    for (const auto& curve : curves_) curve->Refresh(grid);
    UpdateOverlay();
}

void TGraphDlg::ShowRange(mfb::Axis a, double min, double max) {
    // A hidden window measures no labels (a sweep sets its ranges several times); showing it
    // refreshes the ticks for the size it has then.
    const bool across = a == mfb::Axis::Bottom;
    const QRectF plot = chart_->plotArea();
    const double length = isVisible() ? (across ? plot.width() : plot.height()) : 0;
    const std::array<double, 3> inputs{min, max, length};
    if (inputs == tickInputs_[Index(a)]) return;
    tickInputs_[Index(a)] = inputs;
    ShowAxisRange(axes_[Index(a)], min, max, kTickIntervals[Index(a)], length, chart_->locale(),
                  across);
}

void TGraphDlg::ShowTitle() {
    // A rich-text title: lines are joined by <br>, and an empty line still takes its height.
    QStringList html;
    for (const QString& line : titleLines_) {
        html.append(line.isEmpty() ? QStringLiteral("&nbsp;") : TitleHtml(line));
    }
    chart_->setTitle(html.join(QStringLiteral("<br>")));
}

mfb::AxisRange TGraphDlg::Shown(mfb::Axis a) const {
    return {axes_[Index(a)]->min(), axes_[Index(a)]->max()};
}

double TGraphDlg::PixelX(double power) const {
    const QRectF plot = chart_->plotArea();
    const mfb::AxisRange shown = Shown(mfb::Axis::Bottom);
    return plot.left() + (power - shown.min) / shown.Width() * plot.width();
}

double TGraphDlg::PowerAt(double pixelX) const {
    const QRectF plot = chart_->plotArea();
    return Shown(mfb::Axis::Bottom).At((pixelX - plot.left()) / plot.width());
}

void TGraphDlg::ShowOperatingPoint(std::optional<double> shaftPower) {
    operatingPoint_ = shaftPower;
    UpdateOverlay();
}

void TGraphDlg::UpdateOverlay() {
    if (operatingPoint_) {
        overlay_->ShowMarker(
            PixelX(*operatingPoint_),
            QString::fromStdString(mfb::FormatValue(*operatingPoint_, decimalSeparator_) + " W"));
    } else {
        overlay_->ShowMarker(std::nullopt, QString());
    }
    if (hover_) {
        ShowReadout(*hover_);
    }
}

void TGraphDlg::ShowRanges(const std::array<mfb::AxisRange, 3>& ranges) {
    for (std::size_t a = 0; a < axes_.size(); ++a) {
        ShowRange(static_cast<mfb::Axis>(a), ranges[a].min, ranges[a].max);
    }
    zoomed_ = ranges != sweepRanges_;
    UpdateOverlay();
}

mfb::ChartAxes<3> TGraphDlg::Axes() const {
    mfb::ChartAxes<3> axes{{}, sweepRanges_, {true, false, false}};
    for (std::size_t a = 0; a < axes_.size(); ++a) axes.shown[a] = Shown(static_cast<mfb::Axis>(a));
    return axes;
}

void TGraphDlg::ZoomTo(const QRectF& rectangle) {
    const auto ranges = ZoomedToRectangle(Axes(), chart_->plotArea(), rectangle);
    if (ranges) ShowRanges(*ranges);
}

void TGraphDlg::ZoomAbout(QPointF position, double notches) {
    const auto ranges = ZoomedAboutPosition(Axes(), chart_->plotArea(), position, notches);
    if (ranges) ShowRanges(*ranges);
}

void TGraphDlg::ResetZoom() {
    ShowRanges(sweepRanges_);
}

void TGraphDlg::ShowReadout(QPointF position) {
    const QRectF plot = chart_->plotArea();
    const mfb::CurvePoints first = table_.Points(0);
    if (!plot.contains(position) || first.empty()) {
        HideReadout();
        return;
    }
    hover_ = position;
    // Each curve's stored point nearest in shaft power to the mouse (see NearestPoint): a sweep
    // gives the three curves the same shaft power at each step, so the three are the same step's.
    const double power = PowerAt(position.x());
    const double snapped = first[mfb::NearestPoint(first, power)].x;
    QStringList lines{QStringLiteral("Shaft power ") +
                      QString::fromStdString(mfb::FormatValue(snapped, decimalSeparator_)) +
                      QStringLiteral(" W")};
    for (std::size_t s = 0; s < curves_.size(); ++s) {
        const mfb::CurvePoints points = table_.Points(s);
        if (points.empty()) continue;
        const double y = points[mfb::NearestPoint(points, power)].y;
        lines << QString::fromLatin1(kCurves[s].title) + u' ' +
                     QString::fromStdString(mfb::FormatValue(y, decimalSeparator_)) +
                     QString::fromLatin1(kUnits[s]);
    }
    const double cursor = PixelX(snapped);
    overlay_->ShowReadout(cursor >= plot.left() && cursor <= plot.right()
                              ? std::optional<double>(cursor)
                              : std::nullopt,
                          position, lines);
}

void TGraphDlg::HideReadout() {
    hover_.reset();
    overlay_->HideReadout();
}

QString TGraphDlg::AskFileName(const QString& caption, const QString& name, const QString& filter,
                               const QString& suffix) {
    QString path = prompt_(caption, QDir(lastFolder_).filePath(name), filter);
    if (path.isEmpty()) return path;
    const QFileInfo file(path);
    lastFolder_ = file.absolutePath();
    if (file.suffix().isEmpty()) path += u'.' + suffix;
    return path;
}

void TGraphDlg::SaveImage() {
    const QString path =
        AskFileName(QStringLiteral("Save Image"), fileStem_ + QStringLiteral("-chart.png"),
                    QStringLiteral("PNG image (*.png);;SVG image (*.svg)"), QStringLiteral("png"));
    if (path.isEmpty()) return;
    // The picture is of the chart, not of where the mouse happened to be.
    HideReadout();
    const QString failure = SaveWidgetImage(chart1_, path);
    if (!failure.isEmpty()) CannotWrite(path, failure);
}

void TGraphDlg::CopyImage() {
    HideReadout();
    QGuiApplication::clipboard()->setImage(chart1_->grab().toImage());
}

void TGraphDlg::SaveData() {
    if (export_) return;
    const QString path =
        AskFileName(QStringLiteral("Save Data as CSV"), fileStem_ + QStringLiteral("-chart.csv"),
                    QStringLiteral("CSV file (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty()) return;
    ExportData(std::make_unique<ChartExportTask>(CsvWriter(), path),
               QStringLiteral("Saving data\u2026"));
}

void TGraphDlg::CopyData() {
    if (export_) return;
    ExportData(std::make_unique<ChartExportTask>(CsvWriter(), kCopyLimit),
               QStringLiteral("Copying data\u2026"));
}

std::function<bool(const mfb::CsvSink&)> TGraphDlg::CsvWriter() const {
    // Sorted here, on the window's thread; the worker only reads.
    std::vector<mfb::CurvePoints> curves;
    for (std::size_t s = 0; s < mfb::kSeriesCount; ++s) curves.push_back(table_.Points(s));
    return [curves = std::move(curves)](const mfb::CsvSink& sink) {
        return mfb::WritePointsCsv(kCsvColumns, curves, sink);
    };
}

void TGraphDlg::ExportData(std::unique_ptr<ChartExportTask> task, const QString& label) {
    export_ = std::move(task);
    exportProgress_ = new QProgressDialog(label, QStringLiteral("Cancel"), 0,
                                          ChartExportTask::kProgressSteps, this);
    exportProgress_->setObjectName(QStringLiteral("ExportProgress"));
    exportProgress_->setWindowModality(Qt::WindowModal);
    exportProgress_->setAutoReset(false);
    exportProgress_->setAutoClose(false);
    exportProgress_->setMinimumDuration(kProgressAfterMs);
    exportProgress_->setValue(0);
    // Esc rejects the dialog without its canceled().
    connect(exportProgress_, &QProgressDialog::canceled, export_.get(), &ChartExportTask::cancel);
    connect(exportProgress_, &QProgressDialog::rejected, export_.get(), &ChartExportTask::cancel);
    connect(export_.get(), &ChartExportTask::progressed, exportProgress_,
            &QProgressDialog::setValue);
    connect(export_.get(), &ChartExportTask::finished, this, &TGraphDlg::ExportEnded);
    export_->start();
}

void TGraphDlg::ExportEnded() {
    // Called from the task's own signal: it goes once that has returned.
    ChartExportTask* task = export_.release();
    task->setParent(this);
    task->deleteLater();
    delete std::exchange(exportProgress_, nullptr);
    if (task->toFile()) {
        if (!task->failure().isEmpty()) CannotWrite(task->path(), task->failure());
        return;
    }
    if (task->tooLarge()) {
        const QString text = QStringLiteral(
                                 "The data is larger than the clipboard takes (%1 MB). Save it as "
                                 "a CSV file instead?")
                                 .arg(kCopyLimit / 1'000'000);
        if (Messages().question(QStringLiteral("Copy Data"), text)) SaveData();
        return;
    }
    // The text is ASCII, so Latin-1 reads it as it is.
    if (!task->cancelled())
        QGuiApplication::clipboard()->setText(QString::fromLatin1(task->text()));
}

void TGraphDlg::DropExport() {
    const std::unique_ptr<ChartExportTask> task = std::move(export_);
    delete std::exchange(exportProgress_, nullptr);
    task->stop();
    // A file the worker finished meanwhile is complete; otherwise the old one stays as it was.
    if (!task->toFile() || (task->failure().isEmpty() && !task->cancelled())) return;
    const QString reason = task->failure().isEmpty()
                               ? QStringLiteral("The chart changed before its data was written.")
                               : task->failure();
    // Told once the sweep that changes the rows has handed back to the event loop.
    QTimer::singleShot(0, this, [path = task->path(), reason] { CannotWrite(path, reason); });
}
