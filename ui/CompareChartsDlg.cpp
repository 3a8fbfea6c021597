// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CompareChartsDlg.h"

#include <QAction>
#include <QChart>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QPen>
#include <QScatterSeries>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <limits>

#include "chart/NearestPoint.h"
#include "chart/PixelReduction.h"
#include "model/DisplayFormat.h"
#include "setup/ComparisonTable.h"
#include "ui/AxisTicks.h"
#include "ui/ChartCurve.h"
#include "ui/ChartOverlay.h"
#include "ui/ChartView.h"
#include "ui/MessageService.h"
#include "ui/OptionCharts.h"
#include "ui/SetupDocument.h"

namespace {

struct QuantityDesign {
    mfb::Series series;
    const char* name;
    const char* axisTitle;
    const char* unit;  // after a value in the readout
};
constexpr std::array<QuantityDesign, mfb::kSeriesCount> kQuantities{{
    {mfb::Series::RpmFan, "Fan rpm", "Fan speed [n/min]", " n/min"},
    {mfb::Series::RpmMotor, "Motor rpm", "Motor speed [n/min]", " n/min"},
    {mfb::Series::Current, "Current", "Current [A]", " A"},
}};

// Not of the sweep: worked out from each stored step's shaft power and the fan's jet data.
constexpr QuantityDesign kThrust{mfb::Series::RpmFan, "Static thrust", "Static thrust [g]", " g"};

// Far apart in hue and in lightness, so that even a grey copy keeps the options apart.
const std::array<QColor, mfb::kOptionCount> kOptionColours{
    QColor(0, 60, 200), QColor(220, 40, 30), QColor(0, 150, 70), QColor(120, 40, 140)};

constexpr std::size_t kBottom = 0, kLeft = 1;
constexpr std::array<int, 2> kTickIntervals{8, 6};  // by axis, the power axis the wider one
// Room above the highest curve, so that its top is not drawn on the plot's border.
constexpr double kHeadroom = 1.05;

std::size_t Index(mfb::Series s) {
    return static_cast<std::size_t>(s);
}

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A copy of the three curves in `from`: as shared rows where they are a sweep's steps, the usual
// case, else curve by curve.
void CopyCurves(const mfb::CurveTable& from, mfb::CurveTable& to) {
    for (std::size_t s = 0; s < mfb::kSeriesCount; ++s) to.Clear(s);
    const std::array<mfb::CurvePoints, mfb::kSeriesCount> points{from.Points(0), from.Points(1),
                                                                 from.Points(2)};
    const std::size_t n = points[0].size();
    bool rows = points[1].size() == n && points[2].size() == n;
    for (std::size_t i = 0; rows && i < n; ++i) {
        const double x = points[0][i].x;
        if (points[1][i].x != x || points[2][i].x != x) {
            rows = false;
            break;
        }
        to.AddRow(x, {points[0][i].y, points[1][i].y, points[2][i].y});
    }
    if (rows) return;
    for (std::size_t s = 0; s < mfb::kSeriesCount; ++s) to.Clear(s);
    for (std::size_t s = 0; s < mfb::kSeriesCount; ++s) {
        for (const mfb::ChartPoint p : points[s]) to.Add(s, p.x, p.y, to.SeriesColour(s));
    }
}

}  // namespace

CompareChartsDlg::CompareChartsDlg(const SetupDocument& document, const OptionCharts& charts,
                                   char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window),
      document_(document),
      charts_(charts),
      decimalSeparator_(decimalSeparator) {
    setObjectName(QStringLiteral("CompareChartsDlg"));
    setWindowTitle(QStringLiteral("Compare Charts"));
    setAttribute(Qt::WA_QuitOnClose, false);

    quantityBox_ = new QComboBox(this);
    quantityBox_->setObjectName(QStringLiteral("QuantityBox"));
    for (const QuantityDesign& q : kQuantities) quantityBox_->addItem(QString::fromLatin1(q.name));
    quantityBox_->addItem(QString::fromLatin1(kThrust.name));
    connect(quantityBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index == static_cast<int>(kQuantities.size())) {
            showThrust();
        } else if (index >= 0) {
            setQuantity(kQuantities[static_cast<std::size_t>(index)].series);
        }
    });
    auto* label = new QLabel(QStringLiteral("&Quantity:"), this);
    label->setBuddy(quantityBox_);

    chart_ = new QChart;
    chart_->setMinimumSize(0, 0);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    chart_->setLocalizeNumbers(true);
    chart_->setLocale(AxisLabelLocale(decimalSeparator_));
    QFont titleFont = chart_->titleFont();
    titleFont.setPointSizeF(9);
    chart_->setTitleFont(titleFont);
    view_ = new ChartView(chart_, this);
    view_->setObjectName(QStringLiteral("Chart1"));
    view_->setRenderHint(QPainter::Antialiasing);
    const std::array<Qt::Alignment, 2> alignments{Qt::AlignBottom, Qt::AlignLeft};
    for (std::size_t a = 0; a < axes_.size(); ++a) {
        axes_[a] = new QValueAxis;
        axes_[a]->setTickType(QValueAxis::TicksDynamic);
        chart_->addAxis(axes_[a], alignments[a]);
    }
    axes_[kBottom]->setTitleText(QStringLiteral("Shaft power [W]"));
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        auto* line = new QLineSeries;
        line->setObjectName(QStringLiteral("Option%1").arg(k + 1));
        chart_->addSeries(line);
        line->attachAxis(axes_[kBottom]);
        line->attachAxis(axes_[kLeft]);
        line->setPen(QPen(kOptionColours[k], 2));  // after addSeries, which applies the theme
        lines_[k] = line;
        auto* marker = new QScatterSeries;
        marker->setObjectName(QStringLiteral("OperatingPoint%1").arg(k + 1));
        chart_->addSeries(marker);
        marker->attachAxis(axes_[kBottom]);
        marker->attachAxis(axes_[kLeft]);
        marker->setMarkerSize(9);
        marker->setColor(kOptionColours[k]);
        marker->setBorderColor(kOptionColours[k]);
        for (QLegendMarker* entry : chart_->legend()->markers(marker)) entry->setVisible(false);
        markers_[k] = marker;
    }
    overlay_ = std::make_unique<ChartOverlay>(chart_);

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(quantityBox_);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("ChartMenu"));
    const std::pair<const char*, void (CompareChartsDlg::*)()> items[] = {
        {"Save Image\u2026", &CompareChartsDlg::saveImage},
        {"Copy Image", &CompareChartsDlg::copyImage},
        {"Reset Zoom", &CompareChartsDlg::resetZoom},
    };
    for (const auto& [text, run] : items) {
        if (run == &CompareChartsDlg::resetZoom) menu_->addSeparator();
        QAction* action = menu_->addAction(QString::fromUtf8(text));
        connect(action, &QAction::triggered, this, run);
        if (run == &CompareChartsDlg::resetZoom) {
            action->setShortcut(Qt::Key_Escape);
            addAction(action);  // Esc works with the menu closed too
        }
    }
    prompt_ = SaveFileDialog(this);

    connect(view_, &ChartView::hovered, this, &CompareChartsDlg::showReadout);
    connect(view_, &ChartView::hoverLeft, this, &CompareChartsDlg::hideReadout);
    connect(view_, &ChartView::rectangleDragged, this, &CompareChartsDlg::zoomTo);
    connect(view_, &ChartView::wheelTurned, this, &CompareChartsDlg::zoomAbout);
    connect(view_, &ChartView::doubleClicked, this, &CompareChartsDlg::resetZoom);
    connect(view_, &ChartView::menuRequested, menu_, [this](QPoint at) { menu_->popup(at); });
    connect(chart_, &QChart::plotAreaChanged, this, &CompareChartsDlg::refresh);
    connect(axes_[kBottom], &QValueAxis::rangeChanged, this, &CompareChartsDlg::refresh);
    connect(&document_, &SetupDocument::optionChanged, this, &CompareChartsDlg::reloadLater);
    connect(&document_, &SetupDocument::replaced, this, &CompareChartsDlg::reloadLater);

    resize(728, 518);
    reload();
}

CompareChartsDlg::~CompareChartsDlg() = default;

QScatterSeries* CompareChartsDlg::operatingPoint(int option) const {
    return markers_.at(static_cast<std::size_t>(option - 1));
}

QLineSeries* CompareChartsDlg::lineSeries(int option) const {
    return lines_.at(static_cast<std::size_t>(option - 1));
}

QValueAxis* CompareChartsDlg::axis(mfb::Axis a) const {
    return a == mfb::Axis::Bottom ? axes_[kBottom] : axes_[kLeft];
}

void CompareChartsDlg::showThrust() {
    if (showsThrust_) return;
    showsThrust_ = true;
    quantityBox_->setCurrentIndex(static_cast<int>(kQuantities.size()));
    showCurves();
}

const mfb::CurveTable& CompareChartsDlg::shownTable(std::size_t k) const {
    return showsThrust_ ? thrusts_.at(k) : tables_.at(k);
}

std::size_t CompareChartsDlg::shownCurve() const {
    return showsThrust_ ? 0 : Index(quantity_);
}

void CompareChartsDlg::setQuantity(mfb::Series quantity) {
    if (quantity_ == quantity && !showsThrust_) return;
    quantity_ = quantity;
    showsThrust_ = false;
    quantityBox_->setCurrentIndex(static_cast<int>(Index(quantity)));
    showCurves();
}

void CompareChartsDlg::reloadLater() {
    // A setup being opened changes every option in a row; one reading does for all.
    if (reloadQueued_ || !isVisible()) return;
    reloadQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        reloadQueued_ = false;
        reload();
    });
}

void CompareChartsDlg::reload() {
    for (int k = 1; k <= mfb::kOptionCount; ++k) {
        mfb::CurveTable& table = tables_[static_cast<std::size_t>(k - 1)];
        const mfb::CurveTable* source = charts_.curves(k);
        // Only what the option shows as calculated is compared; a chart may be half a sweep.
        auto& point = operatingPoints_[static_cast<std::size_t>(k - 1)];
        point.reset();
        const mfb::SetupOption& o = document_.option(k);
        if (mfb::ShowsCurrent(o) && o.shown->reached() && source != nullptr) {
            CopyCurves(*source, table);
            point = charts_.operatingPoint(k);
        } else {
            for (std::size_t s = 0; s < mfb::kSeriesCount; ++s) table.Clear(s);
        }
        mfb::CurveTable& thrust = thrusts_[static_cast<std::size_t>(k - 1)];
        thrust.Clear(0);
        for (const mfb::ChartPoint p : table.Points(Index(mfb::Series::RpmFan))) {
            const std::optional<double> grams = thrust_ ? thrust_(k, p.x) : std::nullopt;
            if (grams) thrust.Add(0, p.x, *grams, thrust.SeriesColour(0));
        }
    }
    showCurves();
}

void CompareChartsDlg::showCurves() {
    const std::size_t q = shownCurve();
    mfb::AxisRange across{std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    double highest = 0;
    // The legend names the options; the title says what each is, in lines too long for a legend.
    QStringList title;
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        const mfb::CurvePoints points = shownTable(k).Points(q);
        curves_[k] = std::make_unique<ChartCurve>(chart_, lines_[k], axes_[kBottom], axes_[kLeft],
                                                  shownTable(k), q);
        for (const mfb::ChartPoint p : points) {
            curves_[k]->Added(p.x, p.y);
            highest = std::max(highest, p.y);
        }
        const bool shown = !points.empty();
        if (shown) {
            across = {std::min(across.min, points.front().x),
                      std::max(across.max, points.back().x)};
        }
        const int option = static_cast<int>(k) + 1;
        lines_[k]->setName(Latin1(mfb::OptionHeading(option)));
        if (shown) {
            title << Latin1(mfb::OptionHeading(option) + ": " +
                            mfb::OptionSummary(document_.setup(), option))
                         .toHtmlEscaped();
        }
        if (!shown) lines_[k]->clear();
        lines_[k]->setVisible(shown);
        // The operating point on the curve: the stored step nearest its shaft power, the very
        // step the sweep kept.
        markers_[k]->clear();
        const std::size_t at = operatingPoints_[k] && shown
                                   ? mfb::NearestPoint(points, *operatingPoints_[k])
                                   : points.size();
        if (at < points.size()) markers_[k]->append(points[at].x, points[at].y);
        markers_[k]->setVisible(at < points.size());
        for (QLegendMarker* marker : chart_->legend()->markers(lines_[k]))
            marker->setVisible(shown);
    }
    chart_->setTitle(title.join(QStringLiteral("<br>")));
    if (!(across.max > across.min)) across = {0, 1};
    fullRanges_ = {across, mfb::AxisRange{0, highest > 0 ? highest * kHeadroom : 1}};
    axes_[kLeft]->setTitleText(
        QString::fromLatin1((showsThrust_ ? kThrust : kQuantities[q]).axisTitle));
    showRanges(fullRanges_);
    refresh();
}

void CompareChartsDlg::refresh() {
    if (!isVisible()) return;
    showRanges({shown(kBottom), shown(kLeft)});
    const QRectF plot = chart_->plotArea();
    const double ratio = devicePixelRatioF();
    const mfb::PixelGrid grid{axes_[kBottom]->min(), axes_[kBottom]->max(), plot.left() * ratio,
                              plot.width() * ratio};
    for (std::size_t k = 0; k < curves_.size(); ++k) {
        if (lines_[k]->isVisible()) curves_[k]->Refresh(grid);
    }
}

void CompareChartsDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    hideReadout();
    reload();
}

void CompareChartsDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    hideReadout();
}

mfb::AxisRange CompareChartsDlg::shown(std::size_t axis) const {
    return {axes_[axis]->min(), axes_[axis]->max()};
}

double CompareChartsDlg::powerAt(double x) const {
    const QRectF plot = chart_->plotArea();
    return shown(kBottom).At((x - plot.left()) / plot.width());
}

void CompareChartsDlg::showRanges(const std::array<mfb::AxisRange, 2>& ranges) {
    // Labels are measured for the plot as laid out, so a hidden window measures none; showing it
    // and every resize choose the ticks again.
    const QRectF plot = chart_->plotArea();
    for (std::size_t a = 0; a < axes_.size(); ++a) {
        const bool across = a == kBottom;
        const double length = isVisible() ? (across ? plot.width() : plot.height()) : 0;
        const std::array<double, 3> inputs{ranges[a].min, ranges[a].max, length};
        if (inputs == tickInputs_[a]) continue;
        tickInputs_[a] = inputs;
        ShowAxisRange(axes_[a], ranges[a].min, ranges[a].max, kTickIntervals[a], length,
                      chart_->locale(), across);
    }
}

mfb::ChartAxes<2> CompareChartsDlg::axes() const {
    return {{shown(kBottom), shown(kLeft)}, fullRanges_, {true, false}};
}

void CompareChartsDlg::zoomTo(const QRectF& rectangle) {
    const auto ranges = ZoomedToRectangle(axes(), chart_->plotArea(), rectangle);
    if (ranges) showRanges(*ranges);
}

void CompareChartsDlg::zoomAbout(QPointF position, double notches) {
    const auto ranges = ZoomedAboutPosition(axes(), chart_->plotArea(), position, notches);
    if (ranges) showRanges(*ranges);
}

void CompareChartsDlg::resetZoom() {
    showRanges(fullRanges_);
}

void CompareChartsDlg::showReadout(QPointF position) {
    const QRectF plot = chart_->plotArea();
    if (!plot.contains(position)) {
        hideReadout();
        return;
    }
    // Each option's stored point nearest the mouse's shaft power, for the options whose sweep
    // reached that power.
    const double power = powerAt(position.x());
    const QuantityDesign& quantity = showsThrust_ ? kThrust : kQuantities[Index(quantity_)];
    QStringList lines{QStringLiteral("Shaft power ") +
                      Latin1(mfb::FormatValue(power, decimalSeparator_)) + QStringLiteral(" W")};
    for (std::size_t k = 0; k < tables_.size(); ++k) {
        const mfb::CurvePoints points = shownTable(k).Points(shownCurve());
        if (points.empty() || power < points.front().x || power > points.back().x) continue;
        const double y = points[mfb::NearestPoint(points, power)].y;
        lines << Latin1(mfb::OptionHeading(static_cast<int>(k) + 1)) + QStringLiteral(": ") +
                     Latin1(mfb::FormatValue(y, decimalSeparator_)) +
                     QString::fromLatin1(quantity.unit);
    }
    overlay_->ShowReadout(position.x(), position, lines);
}

void CompareChartsDlg::hideReadout() {
    overlay_->HideReadout();
}

void CompareChartsDlg::saveImage() {
    QString path = prompt_(QStringLiteral("Save Image"),
                           QDir::home().filePath(QStringLiteral("comparison-chart.png")),
                           QStringLiteral("PNG image (*.png);;SVG image (*.svg)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
    hideReadout();
    const QString failure = SaveWidgetImage(view_, path);
    if (!failure.isEmpty()) {
        Messages().error(
            ErrorBoxText(QStringLiteral("Cannot write file \"%1\". %2").arg(path, failure)));
    }
}

void CompareChartsDlg::copyImage() {
    hideReadout();
    QGuiApplication::clipboard()->setImage(view_->grab().toImage());
}
