// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PartLoadDlg.h"
#include "ui/Latin1Text.h"

#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/DisplayFormat.h"

namespace {}  // namespace

PartLoadDlg::PartLoadDlg(const QString& title, Table table, char decimalSeparator, QWidget* parent)
    : QDialog(parent), separator_(decimalSeparator) {
    setObjectName(QStringLiteral("PartLoadDlg"));
    auto* layout = new QVBoxLayout(this);
    auto* stepRow = new QHBoxLayout;
    auto* stepLabel = new QLabel(QStringLiteral("&Step:"), this);
    step_ = new QSpinBox(this);
    step_->setObjectName(QStringLiteral("partLoadStep"));
    step_->setRange(1, 100);
    step_->setValue(static_cast<int>(mfb::kPartLoadStep * 100));
    step_->setSuffix(QStringLiteral(" %"));
    step_->setToolTip(
        QStringLiteral("Throttle from this share of the operating point's fan rpm "
                       "to all of it, in steps of it"));
    stepLabel->setBuddy(step_);
    stepRow->addWidget(stepLabel);
    stepRow->addWidget(step_);
    stepRow->addStretch();
    layout->addLayout(stepRow);
    rows_ = new QTableWidget(this);
    rows_->setObjectName(QStringLiteral("partLoadTable"));
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->verticalHeader()->hide();
    rows_->setColumnCount(static_cast<int>(mfb::kPartLoadColumns.size()));
    QStringList headers;
    for (const mfb::PartLoadColumn& column : mfb::kPartLoadColumns)
        headers << Latin1(column.header);
    rows_->setHorizontalHeaderLabels(headers);
    layout->addWidget(rows_);
    connect(step_, &QSpinBox::valueChanged, this, &PartLoadDlg::fill);
    resize(640, 380);
    setTable(title, std::move(table));
}

void PartLoadDlg::setTable(const QString& title, Table table) {
    setWindowTitle(title);
    table_ = std::move(table);
    fill();
}

void PartLoadDlg::fill() {
    const std::vector<mfb::PartLoadRow> rows = table_(step_->value() / 100.0);
    rows_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        // A row the motor or pack cannot hold says why in its tooltip.
        const QString why = rows[r].part
                                ? QString()
                                : QStringLiteral("Not possible: ") +
                                      Latin1(mfb::DescribeRefusal(rows[r].refusal, separator_));
        for (std::size_t c = 0; c < mfb::kPartLoadColumns.size(); ++c) {
            const auto value = mfb::kPartLoadColumns[c].value(rows[r]);
            auto* item = new QTableWidgetItem(value ? Latin1(mfb::FormatValue(*value, separator_))
                                                    : QStringLiteral("-"));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setToolTip(why);
            rows_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    rows_->resizeColumnsToContents();
}
