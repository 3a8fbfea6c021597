// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AxisTicks.h"

#include <QValueAxis>

#include "chart/TickChoice.h"

QLocale AxisLabelLocale(char decimalSeparator) {
    QLocale locale =
        decimalSeparator == ',' ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

void ShowAxisRange(QValueAxis* axis, double min, double max, int intervals) {
    const mfb::TickChoice ticks = mfb::ChooseTicks(min, max, intervals);
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
