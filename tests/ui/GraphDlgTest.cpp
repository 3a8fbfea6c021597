// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QChart>
#include <QClipboard>
#include <QFileDialog>
#include <QFontInfo>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest>
#include <cmath>
#include <csignal>
#include <map>
#include <random>

#include <sys/resource.h>

#include "chart/PixelReduction.h"
#include "model/DiscardingSinks.h"
#include "model/DisplayFormat.h"
#include "model/PowerTrain.h"
#include "model/Sweep.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/RecordingSinks.h"
#include "ui/ChartOverlay.h"
#include "ui/GraphDlg.h"

using mfb::Axis;
using mfb::Series;

namespace {

constexpr std::array kAllSeries{Series::RpmFan, Series::RpmMotor, Series::Current};
constexpr std::array kColours{mfb::kRed, mfb::kGreen, mfb::kYellow};  // by series

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

// A file saved earlier, whose content a failed or cancelled save must leave as it is.
bool Plant(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

std::vector<QPointF> ToPoints(const mfb::CurvePoints& series) {
    std::vector<QPointF> out;
    for (const mfb::ChartPoint p : series) out.emplace_back(p.x, p.y);
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
    void roundTicksInTheLocale_data();
    void roundTicksInTheLocale();
    void wideRangeLabelsWhole();
    void operatingPointMarker();
    void readoutShowsStoredPoints();
    void zoomRedrawsTheVisibleRange();
    void zoomReset_data();
    void zoomReset();
    void dataExportRoundTrips();
    void imageExport_data();
    void imageExport();
    void failedWriteKeepsTheFile();
    void largeStoreExportsInTheBackground();
    void bareNameAsksBeforeReplacing();

private:
    void Show() {
        dlg_->showChart();
        QVERIFY(QTest::qWaitForWindowExposed(dlg_.get()));
        QCoreApplication::processEvents();
    }
    // The mouse as a user moves it over the chart, at a point in chart coordinates.
    void Mouse(QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton) {
        QWidget* viewport = Child<QGraphicsView>("Chart1")->viewport();
        const QPointF local = Child<QGraphicsView>("Chart1")->mapFromScene(at);
        QMouseEvent event(type, local, viewport->mapToGlobal(local), button,
                          type == QEvent::MouseMove ? Qt::MouseButtons(button) : button,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
    void Wheel(QPointF at, int notches) {
        QWidget* viewport = Child<QGraphicsView>("Chart1")->viewport();
        const QPointF local = Child<QGraphicsView>("Chart1")->mapFromScene(at);
        QWheelEvent event(local, viewport->mapToGlobal(local), {}, {0, 120 * notches}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }
    void Drag(QPointF from, QPointF to) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton);
    }
    void Trigger(const char* action) {
        auto* found = dlg_->findChild<QAction*>(QString::fromLatin1(action));
        QVERIFY(found);
        found->trigger();
    }
    void FillSweep() {
        SweepRig rig;
        mfb::DiscardingSinks view;
        mfb::CalculateReport report;
        rig.Run(view, *dlg_, report);
        QCOMPARE(report.outcome, mfb::Outcome::Calculated);
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
    QCOMPARE(dlg_->curves().SeriesColour(static_cast<std::size_t>(series)), designed);
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

    for (Series s : kAllSeries) QCOMPARE(dlg_->points(s).size(), std::size_t{50});
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
    QCOMPARE(ToPoints(dlg_->points(Series::Current)), kept);
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
    QCOMPARE(dlg_->points(Series::RpmFan).size(), std::size_t{20});
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
                     ColumnExtremes(columns, ToPoints(dlg_->points(s))));
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
             ToPoints(dlg_->points(Series::RpmFan)));
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
    mfb::DiscardingSinks view;
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
        QCOMPARE(dlg_->points(s).size(), static_cast<std::size_t>(report.steps));
        QCOMPARE(ToPoints(dlg_->points(s)), ToPoints(recorded.chart.Points(i)));
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
    mfb::DiscardingSinks view;
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
    QCOMPARE(dlg_->points(Series::RpmFan).size(), static_cast<std::size_t>(report.failedStep - 1));
    QCOMPARE(dlg_->axis(Axis::Bottom)->max(), powerMax);
    QCOMPARE(dlg_->titleLines(), title);
}

void GraphDlgTest::roundTicksInTheLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("point") << QLocale::c()
                           << QStringList{"0.4", "0.6", "0.8", "1.0", "1.2", "1.4", "1.6"};
    QTest::newRow("comma") << QLocale(QLocale::German)
                           << QStringList{"0,4", "0,6", "0,8", "1,0", "1,2", "1,4", "1,6"};
}

void GraphDlgTest::roundTicksInTheLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QStringList, labels);
    QLocale::setDefault(locale);
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
    dlg_ = std::make_unique<TGraphDlg>(3);
    dlg_->SetAxisRange(Axis::Right, 0.31, 1.7);
    dlg_->SetAxisRange(Axis::Left, 8862.6, 42000);
    Show();

    QCOMPARE(dlg_->axis(Axis::Right)->min(), 0.31);  // the range as the sweep set it
    QCOMPARE(dlg_->axis(Axis::Right)->max(), 1.7);
    QStringList shown;
    for (const QGraphicsItem* item : dlg_->chart()->scene()->items()) {
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item)) {
            shown << text->toPlainText();
        }
    }
    for (const QString& label : labels) QVERIFY2(shown.contains(label), qPrintable(label));
    // Grouping digits would write 10.000 under a comma locale.
    for (const QString rpm : {"10000", "20000", "30000", "40000"}) {
        QVERIFY2(shown.contains(rpm), qPrintable(shown.join('|')));
    }
}

// Labels of six digits on the power axis stay whole at the designed size, narrowed and zoomed.
void GraphDlgTest::wideRangeLabelsWhole() {
    dlg_->SetAxisRange(Axis::Bottom, 900, 267272);
    Show();
    const auto labels = [&] {
        QStringList shown;
        for (const QGraphicsItem* item : dlg_->chart()->scene()->items()) {
            const auto* text = dynamic_cast<const QGraphicsTextItem*>(item);
            if (text && text->isVisible()) shown << text->toPlainText();
        }
        return shown;
    };
    for (const int width : {728, 350}) {
        dlg_->resize(width, 518);
        QTest::qWait(50);
        const QStringList shown = labels();
        QVERIFY2(shown.contains("100000") && shown.filter("\u2026").isEmpty() &&
                     shown.filter("...").isEmpty(),
                 qPrintable(shown.join('|')));
    }
    const QRectF plot = dlg_->chart()->plotArea();
    dlg_->ZoomTo(QRectF(plot.left(), plot.top(), plot.width() / 3, plot.height()));
    QTest::qWait(50);
    QVERIFY2(labels().filter("\u2026").isEmpty(), qPrintable(labels().join('|')));
}

void GraphDlgTest::operatingPointMarker() {
    for (int i = 0; i <= 100; ++i) dlg_->AddPoint(Series::RpmFan, i, i, "", mfb::kRed);
    dlg_->SetAxisRange(Axis::Bottom, 0, 100);
    dlg_->SetAxisRange(Axis::Left, 0, 100);
    Show();
    QVERIFY(!dlg_->overlay().MarkerPosition());  // no kept step yet

    dlg_->ShowOperatingPoint(40.125);
    const QRectF plot = dlg_->chart()->plotArea();
    QVERIFY(dlg_->overlay().MarkerPosition());
    QCOMPARE(*dlg_->overlay().MarkerPosition(), plot.left() + 0.40125 * plot.width());
    QCOMPARE(dlg_->overlay().MarkerText(), QStringLiteral("40.13 W"));
    int listed = 0;
    for (QLegendMarker* marker : dlg_->chart()->legend()->markers()) listed += marker->isVisible();
    QCOMPARE(listed, 3);

    dlg_->ZoomTo(
        QRectF(plot.left() + 0.5 * plot.width(), plot.top(), 0.4 * plot.width(), plot.height()));
    QVERIFY(!dlg_->overlay().MarkerPosition());  // zoomed away from it
    dlg_->ResetZoom();
    QVERIFY(dlg_->overlay().MarkerPosition());
    dlg_->ClearSeries(Series::RpmFan);  // a new sweep begins: its operating point is unknown
    QVERIFY(!dlg_->operatingPoint());
    QVERIFY(!dlg_->overlay().MarkerPosition());
}

void GraphDlgTest::readoutShowsStoredPoints() {
    FillSweep();
    Show();
    const QRectF plot = dlg_->chart()->plotArea();
    const QValueAxis* bottom = dlg_->axis(Axis::Bottom);
    for (const double across : {0.02, 0.37, 0.81}) {
        // The mouse rests on whole pixels.
        const QPointF at(std::round(plot.left() + across * plot.width()), plot.center().y());
        Mouse(QEvent::MouseMove, at);
        const double power =
            bottom->min() + (at.x() - plot.left()) / plot.width() * (bottom->max() - bottom->min());
        // Brute force: the first stored point of least distance in x.
        QStringList expected;
        for (Series s : kAllSeries) {
            const mfb::CurvePoints points = dlg_->points(s);
            std::size_t best = 0;
            for (std::size_t i = 1; i < points.size(); ++i) {
                if (std::abs(points[i].x - power) < std::abs(points[best].x - power)) best = i;
            }
            if (s == Series::RpmFan) {
                expected << "Shaft power " +
                                QString::fromStdString(mfb::FormatValue(points[best].x, '.')) +
                                " W";
                QCOMPARE(*dlg_->overlay().CursorPosition(),
                         plot.left() + (points[best].x - bottom->min()) /
                                           (bottom->max() - bottom->min()) * plot.width());
            }
            expected << dlg_->lineSeries(s)->name() + ' ' +
                            QString::fromStdString(mfb::FormatValue(points[best].y, '.')) +
                            (s == Series::Current ? " A" : "");
        }
        QCOMPARE(dlg_->overlay().ReadoutLines(), expected);
    }
    Mouse(QEvent::MouseMove, plot.topLeft() - QPointF(5, 5));  // off the plot
    QVERIFY(dlg_->overlay().ReadoutLines().isEmpty());
    QVERIFY(!dlg_->overlay().CursorPosition());
}

void GraphDlgTest::zoomRedrawsTheVisibleRange() {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> noise(-300, 300);
    for (int i = 0; i < 200000; ++i) {
        dlg_->AddPoint(Series::RpmFan, 20 + i * 1e-3, 9000 + noise(random), "", mfb::kRed);
    }
    dlg_->SetAxisRange(Axis::Bottom, 0, 250);
    dlg_->SetAxisRange(Axis::Left, 8000, 10000);
    Show();
    const QRectF plot = dlg_->chart()->plotArea();
    // The middle fifth across, the upper half up.
    Drag({plot.left() + 0.4 * plot.width(), plot.top()},
         {plot.left() + 0.6 * plot.width(), plot.center().y()});
    // The mouse moves by whole pixels.
    const auto near = [&](double value, double expected, double range, double pixels) {
        return std::abs(value - expected) <= range / pixels;
    };
    QVERIFY(dlg_->zoomed());
    QVERIFY(near(dlg_->axis(Axis::Bottom)->min(), 100, 250, plot.width()));
    QVERIFY(near(dlg_->axis(Axis::Bottom)->max(), 150, 250, plot.width()));
    QVERIFY(near(dlg_->axis(Axis::Left)->min(), 9000, 2000, plot.height()));
    QVERIFY(near(dlg_->axis(Axis::Left)->max(), 10000, 2000, plot.height()));

    // A wheel notch in keeps the value under the mouse where it is.
    const QValueAxis* bottom = dlg_->axis(Axis::Bottom);
    const double width = bottom->max() - bottom->min();
    const QPointF at(plot.left() + 0.25 * plot.width(), plot.center().y());
    const double under = bottom->min() + 0.25 * width;
    Wheel(at, 1);
    QCOMPARE(bottom->max() - bottom->min(), 0.8 * width);
    QVERIFY(near(bottom->min() + 0.25 * 0.8 * width, under, 2 * width, plot.width()));

    QTest::qWait(50);  // the queued refresh
    const Columns columns(*dlg_);
    const QList<QPointF> drawnList = dlg_->lineSeries(Series::RpmFan)->points();
    const std::vector<QPointF> drawn(drawnList.begin(), drawnList.end());
    QVERIFY(drawn.size() <= 4 * static_cast<std::size_t>(plot.width()) + 2);
    QCOMPARE(ColumnExtremes(columns, drawn),
             ColumnExtremes(columns, ToPoints(dlg_->points(Series::RpmFan))));
}

void GraphDlgTest::zoomReset_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("double-click") << "double-click";
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("the next sweep") << "sweep";
}

void GraphDlgTest::zoomReset() {
    QFETCH(QString, how);
    for (int i = 0; i < 10; ++i) dlg_->AddPoint(Series::Current, i, i, "", mfb::kYellow);
    dlg_->SetAxisRange(Axis::Bottom, 0, 10);
    dlg_->SetAxisRange(Axis::Left, 0, 100);
    dlg_->SetAxisRange(Axis::Right, 0, 20);
    Show();
    const QRectF plot = dlg_->chart()->plotArea();
    Wheel(plot.center(), 3);
    QVERIFY(dlg_->zoomed());
    QVERIFY(dlg_->axis(Axis::Right)->max() < 20);
    Wheel(plot.center(), -20);  // out as far as it goes: the sweep's ranges, no further
    QVERIFY(!dlg_->zoomed());
    QCOMPARE(dlg_->axis(Axis::Bottom)->max(), 10.0);
    Wheel(plot.center(), 2);
    QVERIFY(dlg_->zoomed());

    if (how == "double-click") {
        Mouse(QEvent::MouseButtonDblClick, plot.center(), Qt::LeftButton);
    } else if (how == "Esc") {
        QTest::keyClick(dlg_.get(), Qt::Key_Escape);
    } else {
        for (Series s : kAllSeries) dlg_->ClearSeries(s);
    }
    QVERIFY(!dlg_->zoomed());
    QCOMPARE(dlg_->axis(Axis::Bottom)->min(), 0.0);
    QCOMPARE(dlg_->axis(Axis::Bottom)->max(), 10.0);
    QCOMPARE(dlg_->axis(Axis::Left)->max(), 100.0);
    QCOMPARE(dlg_->axis(Axis::Right)->max(), 20.0);
}

void GraphDlgTest::dataExportRoundTrips() {
    FillSweep();
    QTemporaryDir folder;
    QStringList starts;
    dlg_->setFilePrompt([&](const QString&, const QString& start, const QString&) {
        starts << start;
        return folder.filePath(QStringLiteral("sweep"));  // the suffix is added
    });
    Trigger("SaveDataAction");
    QTRY_VERIFY(!dlg_->exporting());
    Trigger("SaveDataAction");
    QTRY_VERIFY(!dlg_->exporting());
    QCOMPARE(starts.size(), 2);
    QVERIFY(starts[0].startsWith(QDir::homePath()));
    QCOMPARE(QFileInfo(starts[1]).absolutePath(), folder.path());  // the folder used last

    QFile file(folder.filePath(QStringLiteral("sweep.csv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines = text.split('\n');
    QCOMPARE(lines.takeFirst(), QStringLiteral("Shaft power [W],RPM Fan,RPM Motor,Current [A]"));
    QCOMPARE(lines.takeLast(), QString());
    const std::size_t count = dlg_->points(Series::RpmFan).size();
    QCOMPARE(static_cast<std::size_t>(lines.size()), count);
    for (std::size_t i = 0; i < count; ++i) {
        const QStringList cells = lines[static_cast<int>(i)].split(',');
        QCOMPARE(cells.size(), 4);
        QCOMPARE(cells[0].toDouble(), dlg_->points(Series::RpmFan)[i].x);
        for (Series s : kAllSeries) {
            const mfb::ChartPoint p = dlg_->points(s)[i];
            QCOMPARE(cells[0].toDouble(), p.x);
            QCOMPARE(cells[1 + static_cast<int>(s)].toDouble(), p.y);
        }
    }

    Trigger("CopyDataAction");
    QTRY_VERIFY(!dlg_->exporting());
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
}

void GraphDlgTest::imageExport_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written");
    QTest::newRow("png") << "chart.png"
                         << "chart.png";
    QTest::newRow("svg") << "chart.SVG"
                         << "chart.SVG";
    QTest::newRow("no suffix is png") << "chart"
                                      << "chart.png";
}

void GraphDlgTest::imageExport() {
    QFETCH(QString, name);
    QFETCH(QString, written);
    FillSweep();
    dlg_->ShowOperatingPoint(dlg_->points(Series::RpmFan)[100].x);
    Show();
    QTemporaryDir folder;
    dlg_->setFilePrompt(
        [&](const QString&, const QString&, const QString&) { return folder.filePath(name); });
    Mouse(QEvent::MouseMove, dlg_->chart()->plotArea().center());
    Trigger("SaveImageAction");
    QVERIFY(dlg_->overlay().ReadoutLines().isEmpty());  // not in the picture
    QFile file(folder.filePath(written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QSize size = Child<QWidget>("Chart1")->size();
    if (written.endsWith(".png")) {
        QImage image;
        QVERIFY(image.loadFromData(bytes, "PNG"));
        QCOMPARE(image.size() / image.devicePixelRatio(), size);
    } else {
        QVERIFY(bytes.contains("<svg"));
        QVERIFY(bytes.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"")
                                   .arg(size.width())
                                   .arg(size.height())
                                   .toLatin1()));
        const double marked = dlg_->points(Series::RpmFan)[100].x;
        QVERIFY(bytes.contains((mfb::FormatValue(marked, '.') + " W").c_str()));
    }

    Trigger("CopyImageAction");
    QCOMPARE(QGuiApplication::clipboard()->image().size(), size);
}

// The disk fills up while a file is written: an error, and the file saved there before stays as
// it was, with nothing left beside it.
void GraphDlgTest::failedWriteKeepsTheFile() {
    FillSweep();
    Show();
    const QByteArray earlier(1500, 'e');
    for (const auto& [name, action] : {std::pair{"chart.png", "SaveImageAction"},
                                       {"chart.svg", "SaveImageAction"},
                                       {"chart.csv", "SaveDataAction"}}) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QString::fromLatin1(name));
        QVERIFY(Plant(path, earlier));
        QFile file(path);
        dlg_->setFilePrompt([&](const QString&, const QString&, const QString&) { return path; });
        RecordingMessages messages;
        {
            // Writing past 2000 bytes fails, as on a full disk.
            rlimit before{};
            QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
            rlimit limit = before;
            limit.rlim_cur = 2000;
            const auto signalBefore = std::signal(SIGXFSZ, SIG_IGN);
            const auto restore = qScopeGuard([&] {
                setrlimit(RLIMIT_FSIZE, &before);
                std::signal(SIGXFSZ, signalBefore);
            });
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
            Trigger(action);
            QTRY_VERIFY(!dlg_->exporting());
        }
        // The system's words, not Qt's "Unknown error".
        QCOMPARE(messages.errors, QStringList{"Cannot write file \"" + path + "\". " +
                                              qt_error_string(EFBIG) + "."});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), earlier);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QString::fromLatin1(name)});
    }
}

// A million steps, about 65 MB of text: the window's thread is back at its event loop while a
// worker writes. Cancelled, or stopped by a new sweep, the save leaves the earlier file; the
// clipboard refuses that much and offers to save instead, and the save holds every row.
void GraphDlgTest::largeStoreExportsInTheBackground() {
    constexpr int kSteps = 1'000'000;
    for (int i = 0; i < kSteps; ++i) {
        const double x = 75 + 0.1 * i;
        dlg_->AddStep(x, std::sqrt(x) * 1000 / 3, std::sqrt(x) * 1200 / 7, x / 44.4);
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sweep.csv"));
    const QByteArray earlier("earlier\n");
    QVERIFY(Plant(path, earlier));
    QFile file(path);
    dlg_->setFilePrompt([&](const QString&, const QString&, const QString&) { return path; });
    RecordingMessages messages;
    const auto kept = [&] {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), earlier);
        file.close();
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"sweep.csv"});
    };

    Trigger("SaveDataAction");
    QVERIFY(dlg_->exporting());
    auto* progress = Child<QProgressDialog>("ExportProgress");
    QVERIFY(progress);
    progress->findChild<QPushButton*>()->click();
    QTRY_VERIFY(!dlg_->exporting());
    kept();
    QVERIFY(messages.errors.isEmpty());

    Trigger("SaveDataAction");
    dlg_->AddStep(1e6, 1, 2, 3);
    QVERIFY(!dlg_->exporting());
    QTRY_COMPARE(messages.errors.size(), 1);
    QVERIFY2(messages.errors[0].contains("The chart changed"), qPrintable(messages.errors[0]));
    kept();

    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    messages.answer = true;
    Trigger("CopyDataAction");
    QTRY_COMPARE(messages.questions.size(), 1);
    QVERIFY(messages.questions[0].startsWith("Copy Data|"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    QVERIFY(dlg_->exporting());  // the save the question offered
    QTRY_VERIFY_WITH_TIMEOUT(!dlg_->exporting(), 60000);
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    qsizetype lines = 0;
    QByteArray last;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.isEmpty()) last = line, ++lines;
    }
    QCOMPARE(lines, qsizetype{kSteps + 2});  // a header and the step added
    const QList<QByteArray> cells = last.trimmed().split(',');
    QCOMPARE(cells.size(), 4);
    const mfb::ChartPoint top = dlg_->points(Series::RpmFan).back();
    QCOMPARE(cells[0].toDouble(), top.x);
    QCOMPARE(cells[1].toDouble(), top.y);
}

// A name typed without its suffix gets it, and the file of that full name is only replaced once the
// user agrees, as with a name typed in full.
void GraphDlgTest::bareNameAsksBeforeReplacing() {
    QTemporaryDir folder;
    const QByteArray earlier("earlier\n");
    QFile file(folder.filePath(QStringLiteral("sweep.csv")));
    QVERIFY(Plant(file.fileName(), earlier));
    dlg_->setFilePrompt(SaveFileDialog(dlg_.get()));
    int asked = 0;
    bool typed = false;
    QTimer user;
    connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++asked;
            box->reject();  // No
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (typed) return dialog->reject();
            typed = true;
            // As typed: selectFile() leaves the name alone while the name field has the focus.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(folder.filePath(QStringLiteral("sweep")));
            // Queued: the timer does not fire again while its slot runs, and accepting asks.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    user.start(10);
    Trigger("SaveDataAction");
    QCOMPARE(asked, 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), earlier);
}

QTEST_MAIN(GraphDlgTest)
#include "GraphDlgTest.moc"
