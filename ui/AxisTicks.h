// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

QT_BEGIN_NAMESPACE
class QValueAxis;
QT_END_NAMESPACE

// Qt Charts formats axis labels with a QLocale, which would also bring that locale's digits and
// group separators; the program writes Latin digits, no group separator, and only its decimal
// separator from the locale. Of the Latin-1 separators, '.' is the C locale's and ',' German's.
QLocale AxisLabelLocale(char decimalSeparator);

// Shows [min, max] on `axis` with about `intervals` tick intervals at round values inside it,
// widened until every label, written in `locale`, fits an axis `length` pixels long (0 while it
// has no size; see ChooseReadableTicks). `across`: the axis runs across the plot.
void ShowAxisRange(QValueAxis* axis, double min, double max, int intervals, double length,
                   const QLocale& locale, bool across);
