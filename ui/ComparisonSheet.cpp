// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ComparisonSheet.h"

#include <QBuffer>
#include <QFont>
#include <QLocale>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <vector>

#include "chart/PixelReduction.h"
#include "chart/TickChoice.h"
#include "explore/ExploreTable.h"
#include "model/ChartSink.h"
#include "model/DisplayFormat.h"
#include "setup/ComparisonTable.h"
#include "ui/Latin1Text.h"
#include "ui/OptionCharts.h"

namespace {

const QString kTitle = QStringLiteral("Comparison of Options");

QFont SheetFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The curves on paper: each its own dash, so that no colour is needed to tell them apart.
struct CurveInk {
    mfb::Series series;
    const char* name;
    Qt::PenStyle style;
    bool right;  // on the right-hand axis
};
constexpr std::array<CurveInk, mfb::kSeriesCount> kCurveInks{{
    {mfb::Series::RpmFan, "RPM Fan", Qt::SolidLine, false},
    {mfb::Series::RpmMotor, "RPM Motor", Qt::DashLine, false},
    {mfb::Series::Current, "Current [A]", Qt::DotLine, true},
}};

// The painter, the page and where on it the next thing goes, in device pixels.
class Pages {
public:
    Pages(QPainter& painter, QPagedPaintDevice& device)
        : painter_(painter), device_(device), mm_(device.logicalDpiY() / 25.4) {}

    QPainter& painter() const { return painter_; }
    double mm() const { return mm_; }
    double width() const { return device_.width(); }
    double y() const { return y_; }
    void advance(double height) { y_ += height; }
    // Starts a new page unless `height` still fits below; true when it did.
    bool makeRoom(double height) {
        if (y_ == 0 || y_ + height <= device_.height()) return false;
        device_.newPage();
        y_ = 0;
        return true;
    }

private:
    QPainter& painter_;
    QPagedPaintDevice& device_;
    double mm_;
    double y_ = 0;
};

double TextHeight(QPainter& painter, double width, const QString& text) {
    return painter.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
}

void PaintHeading(Pages& pages, const QStringList& lines) {
    QPainter& p = pages.painter();
    p.setFont(SheetFont(14, true));
    const double titleHeight = TextHeight(p, pages.width(), kTitle);
    p.drawText(QRectF(0, 0, pages.width(), titleHeight), kTitle);
    pages.advance(titleHeight + pages.mm());
    p.setFont(SheetFont(9));
    for (const QString& line : lines) {
        const double height = TextHeight(p, pages.width(), line);
        p.drawText(QRectF(0, pages.y(), pages.width(), height), Qt::TextWordWrap, line);
        pages.advance(height);
    }
    pages.advance(3 * pages.mm());
}

void PaintTable(Pages& pages, const std::vector<mfb::ComparisonRow>& rows) {
    QPainter& p = pages.painter();
    const double mm = pages.mm();
    const double pad = mm;
    const double captionWidth = pages.width() * 0.27;
    const double cellWidth = (pages.width() - captionWidth) / mfb::kOptionCount;
    const auto cellRect = [&](std::size_t column, double y, double height) {
        const double left = column == 0 ? 0 : captionWidth + (column - 1) * cellWidth;
        return QRectF(left, y, column == 0 ? captionWidth : cellWidth, height);
    };
    // Measured in bold, the wider of the two faces a row uses.
    const auto rowHeight = [&](const QStringList& texts) {
        p.setFont(SheetFont(8, true));
        double height = 0;
        for (qsizetype c = 0; c < texts.size(); ++c) {
            const double width = (c == 0 ? captionWidth : cellWidth) - 2 * pad;
            height = std::max(height, TextHeight(p, width, texts[c]));
        }
        return height + 2 * pad;
    };
    const auto paintRow = [&](const QStringList& texts, double height, bool heading, bool shaded) {
        if (shaded || heading) {
            p.fillRect(QRectF(0, pages.y(), pages.width(), height),
                       heading ? QColor(210, 210, 210) : QColor(240, 240, 240));
        }
        for (qsizetype c = 0; c < texts.size(); ++c) {
            const QRectF cell = cellRect(static_cast<std::size_t>(c), pages.y(), height);
            p.setFont(SheetFont(8, heading || c == 0));
            p.drawText(cell.adjusted(pad, pad, -pad, -pad), Qt::TextWordWrap, texts[c]);
            p.drawRect(cell);
        }
        pages.advance(height);
    };
    p.setPen(QPen(Qt::black, 0.2 * mm));
    QStringList headings{QString()};
    for (int k = 1; k <= mfb::kOptionCount; ++k) headings << Latin1(mfb::OptionHeading(k));
    const double headingHeight = rowHeight(headings);
    pages.makeRoom(headingHeight);
    paintRow(headings, headingHeight, true, false);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        QStringList texts{Latin1(rows[r].caption)};
        for (const std::string& cell : rows[r].cells) texts << Latin1(cell);
        const double height = rowHeight(texts);
        // A table that goes on over a page break takes its headings along.
        if (pages.makeRoom(height)) paintRow(headings, headingHeight, true, false);
        paintRow(texts, height, false, r % 2 == 1);
    }
    pages.advance(5 * mm);
}

// A calculated option's part-load table under its heading, a column per kPartLoadColumns, in a
// small face: ten rows of it stay a few centimetres high.
void PaintPartLoad(Pages& pages, const QString& heading, const std::vector<mfb::PartLoadRow>& rows,
                   char separator) {
    QPainter& p = pages.painter();
    const double mm = pages.mm();
    const double pad = 0.6 * mm;
    const double width = pages.width() / static_cast<double>(mfb::kPartLoadColumns.size());
    p.setFont(SheetFont(7, true));
    const double height = TextHeight(p, width, QStringLiteral("Current A")) + 2 * pad;
    pages.makeRoom(height * static_cast<double>(rows.size() + 2));
    p.setFont(SheetFont(8, true));
    p.drawText(QRectF(0, pages.y(), pages.width(), height), Qt::AlignVCenter, heading);
    pages.advance(height);
    const auto paintRow = [&](const QStringList& texts, bool bold) {
        p.setFont(SheetFont(7, bold));
        for (qsizetype c = 0; c < texts.size(); ++c) {
            const QRectF cell(static_cast<double>(c) * width, pages.y(), width, height);
            p.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignRight | Qt::AlignVCenter, texts[c]);
            p.drawRect(cell);
        }
        pages.advance(height);
    };
    QStringList headers;
    for (const mfb::PartLoadColumn& column : mfb::kPartLoadColumns)
        headers << Latin1(std::string(column.header));
    paintRow(headers, true);
    for (const mfb::PartLoadRow& row : rows) {
        QStringList texts;
        for (const mfb::PartLoadColumn& column : mfb::kPartLoadColumns) {
            const auto value = column.value(row);
            texts << (value ? Latin1(mfb::FormatValue(*value, separator)) : QStringLiteral("-"));
        }
        paintRow(texts, false);
    }
    pages.advance(4 * mm);
}

QString TickText(double value, int decimals, char separator) {
    QString text = QString::number(value, 'f', decimals);
    if (separator != '.') text.replace(u'.', QChar::fromLatin1(separator));
    return text;
}

// Hands `draw` each round tick of [min, max]: where it stands, as a fraction of the way from min,
// and its label.
template <class Draw>
void Ticks(double min, double max, int count, char separator, Draw draw) {
    const mfb::TickChoice ticks = mfb::ChooseTicks(min, max, count);
    for (int i = 0;; ++i) {
        const double value = ticks.anchor + i * ticks.interval;
        if (value > max + ticks.interval * 1e-9) break;
        draw((value - min) / (max - min), TickText(value, ticks.decimals, separator));
        if (i > 1000) break;
    }
}

// One option's chart in `box`: shaft power across, the two speeds on the left axis and the
// current on the right, from zero up to the highest value each reached.
void PaintChart(QPainter& p, const QRectF& box, double mm, const QString& title,
                const mfb::CurveTable& curves, std::optional<double> operatingPoint,
                char separator) {
    p.save();
    p.setFont(SheetFont(8, true));
    p.setPen(QPen(Qt::black, 0.2 * mm));
    const double titleHeight = TextHeight(p, box.width(), title);
    p.drawText(QRectF(box.left(), box.top(), box.width(), titleHeight), Qt::TextWordWrap, title);
    p.setFont(SheetFont(6.5));
    const QRectF plot = box.adjusted(13 * mm, titleHeight + 2 * mm, -11 * mm, -14 * mm);

    const mfb::CurvePoints first = curves.Points(0);
    double xMin = first.front().x, xMax = first.back().x;
    std::array<double, 2> yMax{1e-9, 1e-9};  // left, right
    for (const CurveInk& ink : kCurveInks) {
        for (const mfb::ChartPoint point : curves.Points(static_cast<std::size_t>(ink.series))) {
            xMin = std::min(xMin, point.x);
            xMax = std::max(xMax, point.x);
            double& top = yMax[ink.right ? 1 : 0];
            top = std::max(top, point.y);
        }
    }
    if (!(xMax > xMin)) xMax = xMin + 1;
    const auto toX = [&](double x) {
        return plot.left() + (x - xMin) / (xMax - xMin) * plot.width();
    };

    p.setPen(QPen(QColor(180, 180, 180), 0.15 * mm, Qt::DotLine));
    const QFontMetricsF metrics(p.font(), p.device());
    Ticks(0, yMax[0], 5, separator, [&](double at, const QString& text) {
        const double y = plot.bottom() - at * plot.height();
        p.setPen(QPen(QColor(180, 180, 180), 0.15 * mm, Qt::DotLine));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(box.left(), y - 2 * mm, plot.left() - box.left() - mm, 4 * mm),
                   Qt::AlignRight | Qt::AlignVCenter, text);
    });
    Ticks(0, yMax[1], 5, separator, [&](double at, const QString& text) {
        const double y = plot.bottom() - at * plot.height();
        p.drawText(QRectF(plot.right() + mm, y - 2 * mm, box.right() - plot.right(), 4 * mm),
                   Qt::AlignLeft | Qt::AlignVCenter, text);
    });
    Ticks(xMin, xMax, 6, separator, [&](double at, const QString& text) {
        const double x = plot.left() + at * plot.width();
        p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + mm));
        p.drawText(QRectF(x - 8 * mm, plot.bottom() + mm, 16 * mm, 3.5 * mm), Qt::AlignCenter,
                   text);
    });
    p.drawText(QRectF(plot.left(), plot.bottom() + 4.5 * mm, plot.width(), 3.5 * mm),
               Qt::AlignCenter, QStringLiteral("Shaft power [W]"));
    p.setPen(QPen(Qt::black, 0.25 * mm));
    p.drawRect(plot);

    // Each curve as its pixel columns show it, at the device's resolution.
    const mfb::PixelGrid grid{xMin, xMax, plot.left(), plot.width()};
    std::vector<mfb::ChartPoint> reduced;
    p.setClipRect(plot);
    for (const CurveInk& ink : kCurveInks) {
        const mfb::CurvePoints points = curves.Points(static_cast<std::size_t>(ink.series));
        if (points.empty()) continue;
        mfb::PixelReduction reduction;
        reduction.Build(points, 0, points.size());
        reduction.Reduce(points, grid, reduced);
        const double top = yMax[ink.right ? 1 : 0];
        QPolygonF line;
        for (const mfb::ChartPoint& point : reduced) {
            line << QPointF(toX(point.x), plot.bottom() - point.y / top * plot.height());
        }
        p.setPen(QPen(Qt::black, 0.3 * mm, ink.style));
        p.drawPolyline(line);
    }
    if (operatingPoint) {
        const double x = toX(*operatingPoint);
        p.setPen(QPen(QColor(90, 90, 90), 0.2 * mm, Qt::DashDotLine));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.setPen(Qt::black);
        // Right of the line, or left of it where the plot ends too soon.
        const QString text =
            Latin1(mfb::FormatValue(*operatingPoint, separator)) + QStringLiteral(" W");
        const double width = metrics.horizontalAdvance(text);
        const double left = x + mm + width <= plot.right() ? x + mm : x - mm - width;
        p.drawText(QRectF(left, plot.top() + mm, width + mm, 4 * mm), Qt::AlignLeft, text);
    }
    p.setClipping(false);

    // The legend: a stretch of each curve's line and its name.
    double x = plot.left();
    const double y = box.bottom() - 2 * mm;
    for (const CurveInk& ink : kCurveInks) {
        p.setPen(QPen(Qt::black, 0.3 * mm, ink.style));
        p.drawLine(QPointF(x, y), QPointF(x + 8 * mm, y));
        p.setPen(Qt::black);
        const QString name = QString::fromLatin1(ink.name);
        p.drawText(QRectF(x + 9.5 * mm, y - 2 * mm, 30 * mm, 4 * mm), Qt::AlignVCenter, name);
        x += 9.5 * mm + metrics.horizontalAdvance(name) + 5 * mm;
    }
    p.restore();
}

}  // namespace

ComparisonSheet::ComparisonSheet(const mfb::Setup& setup, const OptionCharts& charts,
                                 const QString& catalogueFolder, const QString& setupFile,
                                 const QDate& date, char decimalSeparator)
    : setup_(setup),
      charts_(charts),
      catalogueFolder_(catalogueFolder),
      setupFile_(setupFile),
      date_(date),
      decimalSeparator_(decimalSeparator) {}

bool ComparisonSheet::paint(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    Pages pages(painter, device);
    const double mm = pages.mm();
    QStringList heading;
    if (!setupFile_.isEmpty()) heading << QStringLiteral("Setup: ") + setupFile_;
    heading << QStringLiteral("Catalogues: ") + catalogueFolder_
            << QStringLiteral("Date: ") + date_.toString(Qt::ISODate);
    PaintHeading(pages, heading);
    const std::vector<mfb::ComparisonRow> rows = mfb::ComparisonRows(setup_, decimalSeparator_);
    PaintTable(pages, rows);
    for (int k = 1; k <= mfb::kOptionCount && partLoads_; ++k) {
        // A table of an earlier choice would stand under the names of the current one.
        const mfb::SetupOption& o = setup_.option(k);
        if (!mfb::ShowsCurrent(o) || !o.shown->reached()) continue;
        const std::vector<mfb::PartLoadRow> partLoad = partLoads_(k);
        if (partLoad.empty()) continue;
        PaintPartLoad(
            pages, Latin1(mfb::OptionHeading(k) + ": part load, " + mfb::OptionSummary(setup_, k)),
            partLoad, decimalSeparator_);
    }

    // Two charts side by side, as many rows of them as there are calculated options.
    const double gap = 6 * mm;
    const QSizeF size((pages.width() - gap) / 2, (pages.width() - gap) / 2 * 0.8);
    int placed = 0;
    for (int k = 1; k <= mfb::kOptionCount; ++k) {
        const mfb::CurveTable* curves = charts_.curves(k);
        // A chart of an earlier choice would stand under the names of the current one.
        const mfb::SetupOption& o = setup_.option(k);
        if (!mfb::ShowsCurrent(o) || !o.shown->reached() || curves == nullptr || curves->Empty(0))
            continue;
        const bool left = placed % 2 == 0;
        if (left) pages.makeRoom(size.height());
        const QRectF box(QPointF(left ? 0 : size.width() + gap, pages.y()), size);
        PaintChart(painter, box, mm,
                   Latin1(mfb::OptionHeading(k) + ": " + mfb::OptionSummary(setup_, k)), *curves,
                   charts_.operatingPoint(k), decimalSeparator_);
        if (!left) pages.advance(size.height() + gap);
        ++placed;
    }
    return painter.end();
}

QByteArray ComparisonSheet::pdf(const QPageSize& size) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(size);
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(600);
        writer.setTitle(kTitle);
        writer.setCreator(QStringLiteral("mfbcalc"));
        if (!paint(writer)) return {};
    }
    return bytes;
}

QByteArray ComparisonSheet::csv() const {
    return Latin1(mfb::ComparisonCsv(mfb::ComparisonRows(setup_, decimalSeparator_))).toUtf8();
}

QPageSize LocalePageSize(const QLocale& locale) {
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                             : QPageSize::A4);
}
