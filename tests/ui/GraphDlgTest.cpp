// SPDX-License-Identifier: GPL-3.0-or-later
#include <QChart>
#include <QFontInfo>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QtTest>
#include <cmath>
#include <map>
#include <random>

#include "chart/PixelReduction.h"
#include "model/PowerTrain.h"
#include "model/Sweep.h"
#include "tests/support/RecordingSinks.h"
#include "ui/GraphDlg.h"

using mfb::Axis;
using mfb::Series;

namespace {

constexpr std::array kAllSeries{Series::RpmFan, Series::RpmMotor, Series::Current};
constexpr std::array kColours{mfb::kRed, mfb::kGreen, mfb::kYellow};  // by series

class SilentView : public mfb::ResultView {
public:
    void ShowValue(mfb::ResultField, const std::string&) override {}
    void EnableChart() override {}
    void ShowWarning(const std::string&) override {}
};

// A slot with a fan of 90 mm on a six-cell pack: a sweep of about 1400 steps that ends once the
// fan turns 2500 rpm faster than the motor.
struct SweepRig {
    mfb::FanTable fans;
    mfb::TOptionSlot slot;

    SweepRig() {
        for (mfb::TFanData& fan : fans) {
            fan = {"Fan A",
                   312.039338298,
                   1908.36353101,
                   -74.8588722283,
                   11.9775520149,
                   3.71033172082,
                   30,
                   0};
        }
        slot.Motor = {2700, 0.017, 2.6};
        slot.Battery = {1100, 0.008, 1.2, 21};
        slot.MotorName = "Motor \xE9";  // catalogue bytes are Latin-1
        slot.BatteryName = "Pack";
        slot.FanName = "Fan A";
    }
    void Run(mfb::ResultView& view, mfb::ChartSink& chart, mfb::CalculateReport& report) {
        mfb::Calculate(slot, {fans, mfb::kWireResistance, mfb::kAllFansWhole, 1, 6, 1, '.'}, view,
                       chart, report);
    }
};

std::vector<QPointF> ToPoints(const mfb::PointSeries& series) {
    std::vector<QPointF> out;
    for (const mfb::ChartPoint& p : series.Points()) out.emplace_back(p.x, p.y);
    return out;
}

// The pixel column a point of x falls into on the chart as it is laid out now.
struct Columns {
    mfb::PixelGrid grid;
    explicit Columns(const TGraphDlg& dlg) {
        const QRectF plot = dlg.chart()->plotArea();
        const QValueAxis* bottom = dlg.axis(Axis::Bottom);
        grid = {bottom->min(), bottom->max(), plot.left() * dlg.devicePixelRatioF(),
                plot.width() * dlg.devicePixelRatioF()};
    }
    bool Visible(double x) const { return x >= grid.xMin && x <= grid.xMax; }
    long Of(double x) const {
        return static_cast<long>(
            std::floor(grid.left + (x - grid.xMin) * grid.width / (grid.xMax - grid.xMin)));
    }
};

std::map<long, std::pair<double, double>> ColumnExtremes(const Columns& columns,
                                                         const std::vector<QPointF>& points) {
    std::map<long, std::pair<double, double>> extremes;
    for (const QPointF& p : points) {
        if (!columns.Visible(p.x())) continue;
        const auto [it, fresh] = extremes.try_emplace(columns.Of(p.x()), p.y(), p.y());
        it->second.first = std::min(it->second.first, p.y());
        it->second.second = std::max(it->second.second, p.y());
    }
    return extremes;
}

}  // namespace

Q_DECLARE_METATYPE(mfb::Series)
Q_DECLARE_METATYPE(mfb::Axis)

class GraphDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init() { dlg_ = std::make_unique<TGraphDlg>(3); }
    void cleanup() { dlg_.reset(); }

    void windowAsDesigned();
    void curvesAsDesigned_data();
    void curvesAsDesigned();
    void axesAndTitleAsDesigned();
    void sweepOperationsFillTheChart();
    void pointsKeptInXOrder_data();
    void pointsKeptInXOrder();
    void axisRange_data();
    void axisRange();
    void buttonCentred_data();
    void buttonCentred();
    void hidingKeepsContentAndPlace();
    void showingAVisibleWindowOnlyRaisesIt();
    void reducedCurveHasTheSameColumnExtremes();
    void addingPointsWaitsForTheEventLoop();
    void sweepsWhileHiddenAreDrawnWhenShown();
    void pointOfAnotherColourGetsItsOwnSegment();
    void realSweepShowsWhatCalculateReported();
    void failedSweepKeepsEarlierRangesAndTitle();

private:
    void Show() {
        dlg_->showChart();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
        QCoreApplication::processEvents();
    }
    template <typename T>
    T* Child(const char* name) {
        return dlg_->findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<TGraphDlg> dlg_;
};

void GraphDlgTest::windowAsDesigned() {
    QCOMPARE(dlg_->option(), 3);
    QCOMPARE(dlg_->objectName(), QStringLiteral("GraphDlg3"));
    QCOMPARE(dlg_->windowTitle(), QStringLiteral("Option 3 Chart"));
    QVERIFY(dlg_->isWindow());
    QVERIFY(dlg_->isHidden());
    QVERIFY(dlg_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(dlg_->size(), QSize(728, 518));

    Show();
    auto* chart1 = Child<QWidget>("Chart1");
    auto* panel1 = Child<QWidget>("Panel1");
    auto* button1 = Child<QPushButton>("Button1");
    QVERIFY(chart1 && panel1 && button1);
    QCOMPARE(chart1->geometry(), QRect(0, 0, 728, 477));
    QCOMPARE(panel1->geometry(), QRect(0, 477, 728, 41));
    QCOMPARE(button1->parentWidget(), panel1);
    QCOMPARE(button1->geometry(), QRect(326, 8, 75, 25));
    QCOMPARE(button1->text(), QStringLiteral("&Ok"));
    QVERIFY(!dlg_->isModal());
}

void GraphDlgTest::curvesAsDesigned_data() {
    QTest::addColumn<Series>("series");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<Axis>("axis");
    QTest::newRow("fan") << Series::RpmFan << "Series1"
                         << "RPM Fan" << QColor(255, 0, 0) << Axis::Left;
    QTest::newRow("motor") << Series::RpmMotor << "Series2"
                           << "RPM Motor" << QColor(0, 128, 0) << Axis::Left;
    QTest::newRow("current") << Series::Current << "Series3"
                             << "Current" << QColor(255, 255, 0) << Axis::Right;
}

void GraphDlgTest::curvesAsDesigned() {
    QFETCH(Series, series);
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QColor, colour);
    QFETCH(Axis, axis);
    QLineSeries* line = dlg_->lineSeries(series);
    QCOMPARE(line->objectName(), name);
    QCOMPARE(line->name(), title);
    QCOMPARE(line->color(), colour);
    QVERIFY(!line->pointsVisible());
    QVERIFY(!line->pointLabelsVisible());
    const QList<QAbstractAxis*> attached = line->attachedAxes();
    QCOMPARE(attached.size(), 2);
    QVERIFY(attached.contains(dlg_->axis(Axis::Bottom)));
    QVERIFY(attached.contains(dlg_->axis(axis)));
    const mfb::Colour designed = kColours[static_cast<std::size_t>(series)];
    QCOMPARE(dlg_->series(series).SeriesColour(), designed);
}

void GraphDlgTest::axesAndTitleAsDesigned() {
    QChart* chart = dlg_->chart();
    QCOMPARE(chart->legend()->alignment(), Qt::AlignBottom);
    QVERIFY(chart->legend()->isVisible());
    QCOMPARE(dlg_->titleLines(), QStringList{QString()});
    QVERIFY(!chart->title().isEmpty());  // the empty line still takes its height

    const QFont font = chart->titleFont();
    QCOMPARE(font.pixelSize(), 13);
    QVERIFY(font.bold());
    const QString family = QFontInfo(font).family();
    QVERIFY2(family == "Arial" || family == "Liberation Sans", qPrintable(family));

    QCOMPARE(dlg_->axis(Axis::Left)->alignment(), Qt::AlignLeft);
    QCOMPARE(dlg_->axis(Axis::Right)->alignment(), Qt::AlignRight);
    QCOMPARE(dlg_->axis(Axis::Bottom)->alignment(), Qt::AlignBottom);
    QVERIFY(!dlg_->axis(Axis::Left)->isLineVisible());
    QVERIFY(dlg_->axis(Axis::Left)->isGridLineVisible());
    QVERIFY(!dlg_->axis(Axis::Right)->isGridLineVisible());
    QVERIFY(dlg_->axis(Axis::Right)->isLineVisible());
    QVERIFY(dlg_->axis(Axis::Bottom)->isGridLineVisible());
}

void GraphDlgTest::sweepOperationsFillTheChart() {
    for (int round = 0; round < 2; ++round) {  // a second sweep replaces the first
        for (Series s : kAllSeries) dlg_->ClearSeries(s);
        for (int i = 1; i <= 50; ++i) {
            dlg_->AddPoint(Series::RpmFan, i, 1000 + i, "", mfb::kRed);
            dlg_->AddPoint(Series::RpmMotor, i, 5000 - i, "", mfb::kGreen);
            dlg_->AddPoint(Series::Current, i, 0.5 * i, "", mfb::kYellow);
        }
        dlg_->SetAxisRange(Axis::Bottom, 0.9 * 1, 1.05 * 50);
        dlg_->SetAxisRange(Axis::Left, 0.9 * 1001, 1.05 * 4999);
        dlg_->SetAxisRange(Axis::Right, 0.95 * 0.5, 1.05 * 25);
        dlg_->SetTitle("Fan \xB5  M <b>&  Pack");
        dlg_->SetAxisTitle(Axis::Left, "Revolutions per Minute [rpm]");
        dlg_->SetAxisTitle(Axis::Right, "Current [A]");
        dlg_->SetAxisTitle(Axis::Bottom, "Power [W]");
    }
    Show();

    for (Series s : kAllSeries) QCOMPARE(dlg_->series(s).Size(), std::size_t{50});
    QCOMPARE(dlg_->lineSeries(Series::RpmMotor)->count(), 50);
    QCOMPARE(dlg_->lineSeries(Series::RpmMotor)->at(49), QPointF(50, 4950));
    QCOMPARE(dlg_->axis(Axis::Bottom)->min(), 0.9 * 1);
    QCOMPARE(dlg_->axis(Axis::Left)->max(), 1.05 * 4999);
    QCOMPARE(dlg_->axis(Axis::Right)->min(), 0.95 * 0.5);
    // One line, shown as typed: Latin-1, markup characters escaped, both blanks kept.
    QCOMPARE(dlg_->titleLines(), QStringList{QString::fromUtf8("Fan µ  M <b>&  Pack")});
    QCOMPARE(dlg_->chart()->title(),
             QString::fromUtf8("Fan&nbsp;µ&nbsp;&nbsp;M&nbsp;&lt;b&gt;&amp;&nbsp;&nbsp;Pack"));
    QCOMPARE(dlg_->axis(Axis::Left)->titleText(),
             QStringLiteral("Revolutions&nbsp;per&nbsp;Minute&nbsp;[rpm]"));
    QCOMPARE(dlg_->axis(Axis::Right)->titleText(), QStringLiteral("Current&nbsp;[A]"));
}

void GraphDlgTest::pointsKeptInXOrder_data() {
    QTest::addColumn<std::vector<QPointF>>("added");
    QTest::addColumn<std::vector<QPointF>>("kept");
    using P = QPointF;
    QTest::newRow("rising") << std::vector{P(1, 1), P(2, 2), P(3, 3)}
                            << std::vector{P(1, 1), P(2, 2), P(3, 3)};
    QTest::newRow("smaller x inserted")
        << std::vector{P(1, 1), P(3, 3), P(2, 2)} << std::vector{P(1, 1), P(2, 2), P(3, 3)};
    QTest::newRow("ties keep arrival order") << std::vector{P(2, 1), P(1, 2), P(2, 3), P(1, 4)}
                                             << std::vector{P(1, 2), P(1, 4), P(2, 1), P(2, 3)};
    QTest::newRow("falling tail of a sweep")
        << std::vector{P(1, 0), P(4, 1), P(6, 2), P(5, 3), P(4, 4), P(2, 5)}
        << std::vector{P(1, 0), P(2, 5), P(4, 1), P(4, 4), P(5, 3), P(6, 2)};
}

void GraphDlgTest::pointsKeptInXOrder() {
    QFETCH(std::vector<QPointF>, added);
    QFETCH(std::vector<QPointF>, kept);
    dlg_->AddPoint(Series::Current, 99, 99, "", mfb::kYellow);  // cleared below
    Show();
    dlg_->ClearSeries(Series::Current);
    for (const QPointF& p : added) dlg_->AddPoint(Series::Current, p.x(), p.y(), "", mfb::kYellow);
    dlg_->SetAxisRange(Axis::Bottom, 0, 10);
    QCoreApplication::processEvents();
    QCOMPARE(ToPoints(dlg_->series(Series::Current)), kept);
    const QList<QPointF> drawn = dlg_->lineSeries(Series::Current)->points();
    QCOMPARE(std::vector<QPointF>(drawn.begin(), drawn.end()), kept);
}

void GraphDlgTest::axisRange_data() {
    QTest::addColumn<Axis>("axis");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("second");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::newRow("in order") << Axis::Bottom << 27.0 << 160.5 << 27.0 << 160.5;
    QTest::newRow("reversed") << Axis::Left << 18000.0 << 7600.0 << 7600.0 << 18000.0;
    QTest::newRow("negative reversed") << Axis::Right << -3.0 << -7.0 << -7.0 << -3.0;
    QTest::newRow("equal bounds widened") << Axis::Left << 0.0 << 0.0 << 0.0 << 1e-10;
    QTest::newRow("narrower widened") << Axis::Right << 5.0 << 5.0 + 1e-11 << 5.0 << 5.0 + 1e-10;
    QTest::newRow("reversed and narrow")
        << Axis::Bottom << 2e-11 << 1e-11 << 1e-11 << 1e-11 + 1e-10;
    QTest::newRow("exactly 1e-10 kept") << Axis::Left << 0.0 << 1e-10 << 0.0 << 1e-10;
}

void GraphDlgTest::axisRange() {
    QFETCH(Axis, axis);
    QFETCH(double, first);
    QFETCH(double, second);
    QFETCH(double, min);
    QFETCH(double, max);
    dlg_->SetAxisRange(axis, first, second);
    // Points far outside must not move the range: there is no automatic scaling.
    for (Series s : kAllSeries) {
        dlg_->AddPoint(s, 1e6, -1e6, "", kColours[static_cast<std::size_t>(s)]);
    }
    Show();
    QCOMPARE(dlg_->axis(axis)->min(), min);
    QCOMPARE(dlg_->axis(axis)->max(), max);
}

void GraphDlgTest::buttonCentred_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("left");
    QTest::newRow("design width") << 728 << 326;
    QTest::newRow("odd difference") << 729 << 327;
    QTest::newRow("even difference") << 731 << 328;
    QTest::newRow("wide") << 1000 << 462;
    QTest::newRow("button width") << 75 << 0;
    QTest::newRow("one wider") << 76 << 0;
    QTest::newRow("narrower than the button") << 70 << -2;
    QTest::newRow("much narrower") << 20 << -27;
}

void GraphDlgTest::buttonCentred() {
    QFETCH(int, width);
    QFETCH(int, left);
    Show();
    dlg_->resize(width, 300);
    QCoreApplication::processEvents();
    QCOMPARE(dlg_->width(), width);
    auto* button = Child<QPushButton>("Button1");
    QCOMPARE(button->x(), left);
    QCOMPARE(button->y(), 8);
    QCOMPARE(Child<QWidget>("Chart1")->geometry(), QRect(0, 0, width, 259));
    QCOMPARE(Child<QWidget>("Panel1")->geometry(), QRect(0, 259, width, 41));
}

void GraphDlgTest::hidingKeepsContentAndPlace() {
    for (int i = 0; i < 20; ++i) dlg_->AddPoint(Series::RpmFan, i, i * i, "", mfb::kRed);
    dlg_->SetAxisRange(Axis::Bottom, 0, 20);
    dlg_->SetTitle("kept");
    Show();
    dlg_->move(140, 90);
    QCoreApplication::processEvents();
    const QPoint place = dlg_->pos();
    const QList<QPointF> drawn = dlg_->lineSeries(Series::RpmFan)->points();

    QTest::mouseClick(Child<QPushButton>("Button1"), Qt::LeftButton);
    QVERIFY(dlg_->isHidden());
    Show();
    QCOMPARE(dlg_->pos(), place);

    QVERIFY(dlg_->close());  // the title-bar button
    QVERIFY(dlg_->isHidden());
    Show();
    QCOMPARE(dlg_->pos(), place);
    QCOMPARE(dlg_->series(Series::RpmFan).Size(), std::size_t{20});
    QCOMPARE(dlg_->lineSeries(Series::RpmFan)->points(), drawn);
    QCOMPARE(dlg_->titleLines(), QStringList{"kept"});
    QCOMPARE(dlg_->axis(Axis::Bottom)->max(), 20.0);
}

void GraphDlgTest::showingAVisibleWindowOnlyRaisesIt() {
    Show();
    dlg_->move(200, 100);
    QCoreApplication::processEvents();
    const QPoint place = dlg_->pos();
    const int windows = QApplication::topLevelWidgets().size();
    dlg_->showChart();
    QCoreApplication::processEvents();
    QVERIFY(dlg_->isVisible());
    QCOMPARE(dlg_->pos(), place);  // not centred again
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
}

void GraphDlgTest::reducedCurveHasTheSameColumnExtremes() {
    // Far more points than pixel columns, noisy, with a falling tail arriving out of order and
    // points beyond both ends of the power axis.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> noise(-300, 300);
    const int steps = 300000;
    for (int i = 0; i < steps; ++i) {
        const double t = static_cast<double>(i) / steps / 0.9;
        const double x = 20 + 200 * (2 * t - t * t);
        dlg_->AddPoint(Series::RpmFan, x, 9000 + 20 * x + noise(random), "", mfb::kRed);
        dlg_->AddPoint(Series::Current, x, 0.1 * x + noise(random) / 100, "", mfb::kYellow);
    }
    dlg_->SetAxisRange(Axis::Bottom, 27, 200);
    dlg_->SetAxisRange(Axis::Left, 8000, 14000);
    dlg_->SetAxisRange(Axis::Right, 0, 25);
    Show();

    for (const int width : {728, 517}) {  // as shown, and after a resize
        dlg_->resize(width, 518);
        QTest::qWait(50);  // layout, then the refresh it queues
        const Columns columns(*dlg_);
        for (Series s : {Series::RpmFan, Series::Current}) {
            const QList<QPointF> drawnList = dlg_->lineSeries(s)->points();
            const std::vector<QPointF> drawn(drawnList.begin(), drawnList.end());
            QVERIFY(drawn.size() <= 4 * static_cast<std::size_t>(width) + 2);
            QCOMPARE(ColumnExtremes(columns, drawn),
                     ColumnExtremes(columns, ToPoints(dlg_->series(s))));
            // The lines leaving the plot at both ends are drawn up to the points beyond them.
            QVERIFY(drawn.front().x() < 27);
            QVERIFY(drawn.back().x() > 200);
        }
    }
}

void GraphDlgTest::addingPointsWaitsForTheEventLoop() {
    Show();
    dlg_->SetAxisRange(Axis::Bottom, 0, 10);
    QCoreApplication::processEvents();
    for (int i = 0; i < 5; ++i) dlg_->AddPoint(Series::RpmMotor, i, i, "", mfb::kGreen);
    QCOMPARE(dlg_->lineSeries(Series::RpmMotor)->count(), 0);      // no work per point
    QTRY_COMPARE(dlg_->lineSeries(Series::RpmMotor)->count(), 5);  // repainted while visible
    dlg_->ClearSeries(Series::RpmMotor);
    QTRY_COMPARE(dlg_->lineSeries(Series::RpmMotor)->count(), 0);
}

void GraphDlgTest::sweepsWhileHiddenAreDrawnWhenShown() {
    dlg_->SetAxisRange(Axis::Bottom, 0, 100);
    // Two sweeps into the hidden window, each followed by the event loop, the second one with
    // points arriving out of order.
    for (int i = 0; i < 40; ++i) dlg_->AddPoint(Series::RpmFan, i, i, "", mfb::kRed);
    QCoreApplication::processEvents();
    QCOMPARE(dlg_->lineSeries(Series::RpmFan)->count(), 0);  // nothing drawn while hidden
    dlg_->ClearSeries(Series::RpmFan);
    for (int i = 0; i < 30; ++i) dlg_->AddPoint(Series::RpmFan, i, -i, "", mfb::kRed);
    for (int i = 29; i >= 20; --i) dlg_->AddPoint(Series::RpmFan, i + 0.5, 100 + i, "", mfb::kRed);
    QCoreApplication::processEvents();
    dlg_->AddPoint(Series::RpmFan, 10.5, 7, "", mfb::kRed);
    Show();
    const QList<QPointF> drawn = dlg_->lineSeries(Series::RpmFan)->points();
    QCOMPARE(std::vector<QPointF>(drawn.begin(), drawn.end()),
             ToPoints(dlg_->series(Series::RpmFan)));
    QCOMPARE(drawn.size(), 41);
    QCOMPARE(drawn[11], QPointF(10.5, 7));
    QCOMPARE(drawn[40], QPointF(29.5, 129));
}

void GraphDlgTest::pointOfAnotherColourGetsItsOwnSegment() {
    const mfb::Colour blue = 0xFF0000;
    for (int i = 0; i < 10; ++i) {
        dlg_->AddPoint(Series::RpmFan, i, i, "", i >= 4 && i < 6 ? blue : mfb::kRed);
    }
    dlg_->SetAxisRange(Axis::Bottom, 0, 10);
    Show();
    QLineSeries* segment = nullptr;
    for (QAbstractSeries* s : dlg_->chart()->series()) {
        auto* line = qobject_cast<QLineSeries*>(s);
        if (line && line->color() == QColor(0, 0, 255)) segment = line;
    }
    QVERIFY(segment);
    // From the point before the run to its last point; the curve itself is drawn throughout.
    QCOMPARE(segment->points(), (QList<QPointF>{{3, 3}, {4, 4}, {5, 5}}));
    QCOMPARE(dlg_->lineSeries(Series::RpmFan)->count(), 10);
    QVERIFY(segment->attachedAxes().contains(dlg_->axis(Axis::Left)));
    int shown = 0;
    for (QLegendMarker* marker : dlg_->chart()->legend()->markers()) shown += marker->isVisible();
    QCOMPARE(shown, 3);

    dlg_->ClearSeries(Series::RpmFan);
    QTRY_COMPARE(dlg_->chart()->series().size(), 3);
}

void GraphDlgTest::realSweepShowsWhatCalculateReported() {
    SweepRig rig;
    SilentView view;
    mfb::CalculateReport report;
    rig.Run(view, *dlg_, report);
    QCOMPARE(report.outcome, mfb::Outcome::Calculated);
    QVERIFY(report.steps > 100);

    SweepRig again;
    mfb::test::RecordingSinks recorded;
    mfb::CalculateReport recordedReport;
    again.Run(recorded, recorded, recordedReport);
    QCOMPARE(recordedReport.steps, report.steps);

    Show();
    for (Series s : kAllSeries) {
        const auto i = static_cast<int>(s);
        QCOMPARE(dlg_->series(s).Size(), static_cast<std::size_t>(report.steps));
        QCOMPARE(ToPoints(dlg_->series(s)), ToPoints(recorded.series[i]));
        QVERIFY(dlg_->lineSeries(s)->count() > 0);
    }
    for (Axis a : {Axis::Bottom, Axis::Left, Axis::Right}) {
        const auto range = recorded.ranges.at(a);
        QCOMPARE(dlg_->axis(a)->min(), std::min(range.first, range.second));
        QCOMPARE(dlg_->axis(a)->max(), std::max(range.first, range.second));
    }
    QCOMPARE(dlg_->titleLines(), QStringList{QString::fromLatin1(recorded.title)});
    QVERIFY(dlg_->titleLines().front().contains(QString::fromUtf8("Motor é")));
    QCOMPARE(dlg_->axis(Axis::Left)->titleText(),
             QStringLiteral("Revolutions&nbsp;per&nbsp;Minute&nbsp;[rpm]"));
    QCOMPARE(dlg_->axis(Axis::Bottom)->titleText(), QStringLiteral("Power&nbsp;[W]"));
}

void GraphDlgTest::failedSweepKeepsEarlierRangesAndTitle() {
    SweepRig rig;
    SilentView view;
    mfb::CalculateReport report;
    rig.Run(view, *dlg_, report);
    const double powerMax = dlg_->axis(Axis::Bottom)->max();
    const QStringList title = dlg_->titleLines();

    // Cells this poor deliver at most about 80 W: the sweep breaks off after some steps.
    rig.slot.Battery.RCell = 0.0253;
    rig.Run(view, *dlg_, report);
    QCOMPARE(report.outcome, mfb::Outcome::NotPossible);
    QVERIFY(report.failedStep > 10);
    Show();
    QCOMPARE(dlg_->series(Series::RpmFan).Size(), static_cast<std::size_t>(report.failedStep - 1));
    QCOMPARE(dlg_->axis(Axis::Bottom)->max(), powerMax);
    QCOMPARE(dlg_->titleLines(), title);
}

QTEST_MAIN(GraphDlgTest)
#include "GraphDlgTest.moc"
