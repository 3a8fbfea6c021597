// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/GraphDlg.h"

#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QGuiApplication>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/PixelReduction.h"
#include "ui/ChartColour.h"
#include "ui/ChartCurve.h"

namespace {

constexpr int kClientWidth = 728;
constexpr int kClientHeight = 518;
constexpr int kPanelHeight = 41;
constexpr double kNarrowestRange = 1e-10;

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

std::size_t Index(mfb::Series s) {
    return static_cast<std::size_t>(s);
}
std::size_t Index(mfb::Axis a) {
    return static_cast<std::size_t>(a);
}

// Titles are rich text in Qt Charts, which would also collapse the two blanks between the names
// of the chart title; what the sweep passes is plain Latin-1 text.
QString TitleHtml(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
}

}  // namespace

TGraphDlg::TGraphDlg(int option, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), option_(option) {
    setObjectName(QStringLiteral("GraphDlg%1").arg(option));
    setWindowTitle(QStringLiteral("Option %1 Chart").arg(option));
    // Closing a chart window only hides it; it must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    chart_ = new QChart;
    // The view takes the chart's minimum size as its own; the window may be made narrower than
    // axes, legend and title need, and the chart then still fills the space above the panel.
    chart_->setMinimumSize(0, 0);
    chart1_ = new QChartView(chart_, this);
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

    const std::array<Qt::Alignment, 3> alignments{Qt::AlignBottom, Qt::AlignLeft, Qt::AlignRight};
    for (std::size_t a = 0; a < axes_.size(); ++a) {
        axes_[a] = new QValueAxis;
        chart_->addAxis(axes_[a], alignments[a]);
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
        curves_[s] = std::make_unique<ChartCurve>(chart_, line, xAxis, yAxis, design.colour);
    }
    titleLines_ = QStringList{QString()};
    ShowTitle();

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

    resize(kClientWidth, kClientHeight);
}

TGraphDlg::~TGraphDlg() = default;

void TGraphDlg::showChart() {
    if (!placed_) {
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
        if (screen) {
            setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                            screen->availableGeometry()));
        }
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

const mfb::PointSeries& TGraphDlg::series(mfb::Series s) const {
    return curves_[Index(s)]->Data();
}

QLineSeries* TGraphDlg::lineSeries(mfb::Series s) const {
    return curves_[Index(s)]->Line();
}

QValueAxis* TGraphDlg::axis(mfb::Axis a) const {
    return axes_[Index(a)];
}

void TGraphDlg::ClearSeries(mfb::Series s) {
    curves_[Index(s)]->Clear();
    ScheduleRefresh();
}

void TGraphDlg::AddPoint(mfb::Series s, double x, double y, std::string_view, mfb::Colour colour) {
    // A sweep calls this millions of times without returning to the event loop: store, and leave
    // the drawing to one refresh afterwards.
    curves_[Index(s)]->Add(x, y, colour);
    ScheduleRefresh();
}

void TGraphDlg::AddStep(double x, double rpmFan, double rpmMotor, double current) {
    curves_[Index(mfb::Series::RpmFan)]->Add(x, rpmFan, mfb::kRed);
    curves_[Index(mfb::Series::RpmMotor)]->Add(x, rpmMotor, mfb::kGreen);
    curves_[Index(mfb::Series::Current)]->Add(x, current, mfb::kYellow);
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
    axes_[Index(a)]->setRange(min, max);
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
    const QRectF plot = chart_->plotArea();
    const double ratio = devicePixelRatioF();
    const QValueAxis* bottom = axes_[Index(mfb::Axis::Bottom)];
    const mfb::PixelGrid grid{bottom->min(), bottom->max(), plot.left() * ratio,
                              plot.width() * ratio};
    for (const auto& curve : curves_) curve->Refresh(grid);
}

void TGraphDlg::ShowTitle() {
    // A rich-text title: lines are joined by <br>, and an empty line still takes its height.
    QStringList html;
    for (const QString& line : titleLines_) {
        html.append(line.isEmpty() ? QStringLiteral("&nbsp;") : TitleHtml(line));
    }
    chart_->setTitle(html.join(QStringLiteral("<br>")));
}
