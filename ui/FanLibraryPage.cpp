// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FanLibraryPage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include "catalogue/Catalogue.h"
#include "catalogue/FanFit.h"
#include "catalogue/FanLibrary.h"
#include "catalogue/Limits.h"
#include "catalogue/NumberRule.h"
#include "model/Error.h"

namespace {

const QStringList kTitles = {QStringLiteral("Fan"),
                             QStringLiteral("Name"),
                             QStringLiteral("a0"),
                             QStringLiteral("a1"),
                             QStringLiteral("a2"),
                             QStringLiteral("a3"),
                             QStringLiteral("a4"),
                             QStringLiteral("Chart min [W]"),
                             QStringLiteral("Max rpm"),
                             QStringLiteral("Swept area [cm2]"),
                             QStringLiteral("Static efficiency")};

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString Number(std::optional<double> value) {
    return value ? Latin1(mfb::FanFileNumber(*value)) : QString();
}

// A swap undoes itself.
class SwapCommand : public QUndoCommand {
public:
    SwapCommand(FanLibraryPage& page, int button, int number)
        : page_(page), button_(button), number_(number) {
        setText(QStringLiteral("Fan %1 on button %2").arg(number).arg(button));
    }
    void redo() override { page_.swap(button_, number_); }
    void undo() override { page_.swap(button_, number_); }

private:
    FanLibraryPage& page_;
    int button_, number_;
};

}  // namespace

FanLibraryPage::FanLibraryPage(char separator, QUndoStack& undo, QWidget* parent)
    : QWidget(parent),
      separator_(separator),
      undo_(undo),
      table_(new QTableWidget(this)),
      button_(new QComboBox(this)),
      stand_(new QPushButton(QStringLiteral("&Put on fan button"), this)) {
    table_->setObjectName(QStringLiteral("table"));
    table_->setColumnCount(static_cast<int>(kTitles.size()));
    table_->setHorizontalHeaderLabels(kTitles);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    button_->setObjectName(QStringLiteral("fanButton"));
    for (int k = 1; k <= mfb::kFanCount; ++k) button_->addItem(QString::number(k), k);
    stand_->setObjectName(QStringLiteral("putOnButton"));
    stand_->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("The selected library fan:"), this));
    row->addWidget(stand_);
    row->addWidget(button_);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(row);

    connect(stand_, &QPushButton::clicked, this, &FanLibraryPage::standOnButton);
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int current) { stand_->setEnabled(current >= mfb::kFanCount); });
}

void FanLibraryPage::load(const std::string& text) {
    read_ = mfb::SplitEditable(text);
    lines_ = read_.lines;
    showFans();
}

std::string FanLibraryPage::text() const {
    std::vector<mfb::EditedLine> lines;
    for (std::size_t i = 0; i < lines_.size(); ++i) lines.push_back({i, lines_[i]});
    return mfb::WriteEdited(read_, lines);
}

bool FanLibraryPage::swap(int button, int number) {
    if (!mfb::SwapFans(lines_, button, number)) return false;
    showFans();
    return true;
}

void FanLibraryPage::standOnButton() {
    const int row = table_->currentRow();
    if (row < mfb::kFanCount) return;
    const int number = table_->item(row, 0)->data(Qt::UserRole).toInt();
    const int button = button_->currentData().toInt();
    // Tried first, so that a swap that cannot be made leaves no step on the undo stack.
    if (mfb::SwapFans(lines_, button, number)) {
        mfb::SwapFans(lines_, button, number);
        undo_.push(new SwapCommand(*this, button, number));
        table_->setCurrentCell(button - 1, 1);
    }
}

void FanLibraryPage::showFans() {
    const int current = table_->currentRow();
    table_->setRowCount(0);
    if (lines_.size() < mfb::kFanFileMinLines) return;
    const auto limits = mfb::ReadFanLimits(lines_, separator_);
    const auto jets = mfb::ReadFanJetData(lines_, separator_);
    const auto add = [this](int number, QStringList cells) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        cells.prepend(number <= mfb::kFanCount ? QStringLiteral("button %1").arg(number)
                                               : QString::number(number));
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setData(Qt::UserRole, number);
            table_->setItem(row, c, item);
        }
    };
    for (int k = 1; k <= mfb::kFanCount; ++k) {
        const std::size_t name = mfb::FanNameLine(k) - 1;
        QStringList cells{Latin1(lines_[name])};
        for (std::size_t j = 1; j <= 6; ++j) {
            try {
                cells << Number(mfb::ParseNumber(lines_[name + j], separator_));
            } catch (const mfb::Error&) {
                cells << Latin1(lines_[name + j]);
            }
        }
        const auto i = static_cast<std::size_t>(k - 1);
        cells << Number(limits[i]) << Number(jets[i].SweptArea) << Number(jets[i].StaticEfficiency);
        add(k, cells);
    }
    for (const mfb::LibraryFan& fan : mfb::ReadFanLibrary(lines_, separator_)) {
        const mfb::TFanData& f = fan.fan;
        add(fan.number, {Latin1(f.Name), Number(f.a0), Number(f.a1), Number(f.a2), Number(f.a3),
                         Number(f.a4), Number(f.ChartMinPower), Number(fan.maxRpm),
                         Number(fan.jet.SweptArea), Number(fan.jet.StaticEfficiency)});
    }
    table_->setCurrentCell(std::min(current, table_->rowCount() - 1), 1);
    stand_->setEnabled(table_->currentRow() >= mfb::kFanCount);
}
