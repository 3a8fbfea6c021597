// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>
#include <vector>

#include "model/PartLoad.h"

#include "setup/Setup.h"

QT_BEGIN_NAMESPACE
class QLocale;
class QPageSize;
class QPagedPaintDevice;
QT_END_NAMESPACE

class OptionCharts;

// The four options on paper, for a printer or a PDF file: a heading with the setup's file, the
// catalogue folder and the date; the options side by side (the rows of ComparisonRows); then each
// calculated option's chart. In black on white, the three curves told apart by their dashes, so
// that a black-and-white copy reads as well as the original; laid out on whatever page the device
// has, A4 or Letter alike, with the table going on over as many pages as it needs.
class ComparisonSheet {
public:
    ComparisonSheet(const mfb::Setup& setup, const OptionCharts& charts,
                    const QString& catalogueFolder, const QString& setupFile, const QDate& date,
                    char decimalSeparator);

    // Each calculated option's part-load table, painted compactly after the options side by side;
    // none without this.
    using PartLoads = std::function<std::vector<mfb::PartLoadRow>(int option)>;
    void setPartLoads(PartLoads partLoads) { partLoads_ = std::move(partLoads); }

    // Paints the sheet on `device`, a new page whenever one is full; false when the device could
    // not be painted on.
    bool paint(QPagedPaintDevice& device) const;
    // The sheet as a PDF document on pages of `size`; empty when it could not be made.
    QByteArray pdf(const QPageSize& size) const;
    // The options side by side as comma-separated UTF-8 text: a row of headings, then a row for
    // each row of the table.
    QByteArray csv() const;

private:
    const mfb::Setup& setup_;
    const OptionCharts& charts_;
    QString catalogueFolder_;
    QString setupFile_;
    QDate date_;
    char decimalSeparator_;
    PartLoads partLoads_;
};

// Letter where the locale measures in US units, A4 everywhere else.
QPageSize LocalePageSize(const QLocale& locale);
