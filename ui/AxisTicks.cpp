// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AxisTicks.h"

#include <QGraphicsTextItem>
#include <QTextDocument>
#include <QValueAxis>
#include <memory>

#include "chart/TickChoice.h"

namespace {

// Qt Charts gives a label of a horizontal axis its share of the axis less a padding of 4 pixels
// on each side, and elides one any wider; a few pixels more keep neighbours from touching.
constexpr double kLabelGapAcross = 12;
constexpr double kLabelGapUp = 4;

// How far a tick label of `axis` reaches along it, measured as Qt Charts measures its labels:
// a text item with half a pixel of margin, in the axis' label font.
// Made on the first label measured: an axis without room to share measures none.
mfb::LabelExtent MeasureLabels(const QValueAxis* axis, const QLocale& locale, bool across) {
    return [item = std::shared_ptr<QGraphicsTextItem>(), axis, locale, across](
               double value, int decimals) mutable {
        if (!item) {
            item = std::make_shared<QGraphicsTextItem>();
            item->document()->setDocumentMargin(0.5);
            item->setFont(axis->labelsFont());
        }
        item->setPlainText(locale.toString(value, 'f', decimals));
        const QRectF box = item->boundingRect();
        return across ? box.width() : box.height();
    };
}

}  // namespace

QLocale AxisLabelLocale(char decimalSeparator) {
    QLocale locale =
        decimalSeparator == ',' ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

void ShowAxisRange(QValueAxis* axis, double min, double max, int intervals, double length,
                   const QLocale& locale, bool across) {
    const mfb::TickChoice ticks =
        mfb::ChooseReadableTicks(min, max, intervals, length, MeasureLabels(axis, locale, across),
                                 across ? kLabelGapAcross : kLabelGapUp);
    // The axis may lay its ticks out after each single change, so the range and the interval
    // change in the order that never puts more ticks on it than before or after: a range of
    // 1e-10 with its interval followed by a range of 40000 must not draw 4e14 ticks in between.
    const bool wider = ticks.interval >= axis->tickInterval();
    if (wider) axis->setTickInterval(ticks.interval);
    axis->setTickAnchor(ticks.anchor);
    axis->setRange(min, max);
    if (!wider) axis->setTickInterval(ticks.interval);
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(ticks.decimals));
}
