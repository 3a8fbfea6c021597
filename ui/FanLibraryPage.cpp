// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FanLibraryPage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include "catalogue/Catalogue.h"
#include "catalogue/FanLibrary.h"
#include "ui/FanFitDlg.h"
#include "ui/FieldMark.h"
#include "ui/Latin1Text.h"
#include "ui/SortFilterTable.h"

namespace {

// After the fan's number, a column per field in the order of mfb::FanTexts.
const QStringList kTitles = {QStringLiteral("Fan"),
                             QStringLiteral("Name"),
                             QStringLiteral("a0"),
                             QStringLiteral("a1"),
                             QStringLiteral("a2"),
                             QStringLiteral("a3"),
                             QStringLiteral("a4"),
                             QStringLiteral("Chart min [W]"),
                             QStringLiteral("Reserved"),
                             QStringLiteral("Max rpm [rpm]"),
                             QStringLiteral("Swept area [cm2]"),
                             QStringLiteral("Static efficiency")};
static_assert(mfb::kFanFieldCount == 11);
constexpr int kNameColumn = 1 + static_cast<int>(mfb::kFanNameField);

// Every column but the name holds a number.
QList<int> NumberColumns() {
    QList<int> columns;
    for (int c = 0; c < kTitles.size(); ++c) {
        if (c != kNameColumn) columns << c;
    }
    return columns;
}

// The fan file's lines before and after a change; the file is small enough to keep whole.
class LinesCommand : public QUndoCommand {
public:
    LinesCommand(FanLibraryPage& page, std::vector<mfb::EditedLine> before,
                 std::vector<mfb::EditedLine> after, const QString& text)
        : page_(page), before_(std::move(before)), after_(std::move(after)) {
        setText(text);
    }
    void redo() override { page_.setLines(after_); }
    void undo() override { page_.setLines(before_); }

private:
    FanLibraryPage& page_;
    std::vector<mfb::EditedLine> before_, after_;
};

}  // namespace

FanLibraryPage::FanLibraryPage(char separator, QUndoStack& undo, QWidget* parent)
    : QWidget(parent),
      separator_(separator),
      undo_(undo),
      model_(new QStandardItemModel(0, static_cast<int>(kTitles.size()), this)),
      table_(new SortFilterTable(*model_, kNameColumn, NumberColumns(), separator, this)),
      finding_(new QLabel(this)),
      button_(new QComboBox(this)),
      stand_(new QPushButton(QStringLiteral("&Put on fan button"), this)) {
    model_->setHorizontalHeaderLabels(kTitles);
    finding_->setObjectName(QStringLiteral("finding"));
    finding_->setWordWrap(true);
    button_->setObjectName(QStringLiteral("fanButton"));
    for (int k = 1; k <= mfb::kFanCount; ++k) button_->addItem(QString::number(k), k);
    stand_->setObjectName(QStringLiteral("putOnButton"));
    stand_->setAutoDefault(false);
    auto* fit = new QPushButton(QStringLiteral("Fi&t from points…"), this);
    fit->setObjectName(QStringLiteral("fitFromPoints"));
    fit->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("The selected library fan:"), this));
    row->addWidget(stand_);
    row->addWidget(button_);
    row->addStretch();
    row->addWidget(fit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(finding_);
    layout->addLayout(row);

    connect(stand_, &QPushButton::clicked, this, &FanLibraryPage::standOnButton);
    connect(fit, &QPushButton::clicked, this, &FanLibraryPage::openFit);
    connect(model_, &QStandardItemModel::itemChanged, this, &FanLibraryPage::recordEdit);
    connect(table_, &SortFilterTable::currentChanged, this, [this] {
        stand_->setEnabled(currentFan() > mfb::kFanCount);
        showFinding();
    });
}

void FanLibraryPage::load(const std::string& text) {
    read_ = mfb::SplitEditable(text);
    lines_.clear();
    for (std::size_t i = 0; i < read_.lines.size(); ++i) lines_.push_back({i, read_.lines[i]});
    readTexts_.clear();
    for (const int fan : mfb::EditableFans(read_.lines)) {
        readTexts_[fan] = mfb::FanFieldTexts(read_.lines, fan);
    }
    showFans();
}

std::string FanLibraryPage::text() const {
    return mfb::WriteEdited(read_, lines_);
}

bool FanLibraryPage::hasErrors() const {
    return errors_;
}

void FanLibraryPage::setLines(const std::vector<mfb::EditedLine>& lines) {
    lines_ = lines;
    showFans();
}

int FanLibraryPage::currentFan() const {
    const QModelIndex cell = table_->current();
    return cell.isValid() ? model_->item(cell.row(), 0)->data(Qt::UserRole).toInt() : 0;
}

void FanLibraryPage::selectFan(int fan, int column) {
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (model_->item(r, 0)->data(Qt::UserRole).toInt() == fan) {
            table_->setCurrent(model_->index(r, column));
        }
    }
}

void FanLibraryPage::change(const std::vector<mfb::EditedLine>& after, const QString& what) {
    if (mfb::LineTexts(after) == mfb::LineTexts(lines_)) {
        showFans();  // a text the field cannot hold as typed shows as it stays
        return;
    }
    undo_.push(new LinesCommand(*this, lines_, after, what));
}

void FanLibraryPage::recordEdit(QStandardItem* item) {
    if (applying_ || item->column() == 0) return;
    const int fan = model_->item(item->row(), 0)->data(Qt::UserRole).toInt();
    std::vector<mfb::EditedLine> after = lines_;
    mfb::SetFanField(after, fan, static_cast<std::size_t>(item->column() - 1),
                     Latin1Bytes(item->text()));
    change(after, QStringLiteral("Edit fan %1").arg(fan));
}

int FanLibraryPage::addFan(const mfb::FanTexts& texts, const QString& what) {
    std::vector<mfb::EditedLine> after = lines_;
    const int number = mfb::AddLibraryFan(after, texts);
    if (number == 0) return 0;
    change(after, what.arg(number));
    table_->clearFilter();
    selectFan(number, 1);
    return number;
}

void FanLibraryPage::addRow() {
    if (addFan({}, QStringLiteral("Add fan %1")) != 0) table_->editCurrent();
}

void FanLibraryPage::duplicateRow() {
    const int fan = currentFan();
    if (fan == 0) return;
    mfb::FanTexts texts = mfb::FanFieldTexts(mfb::LineTexts(lines_), fan);
    // A block's reserved value is the block's own; the library's is 0 when absent.
    if (fan <= mfb::kFanCount) texts[mfb::kFanReservedField].clear();
    addFan(texts, QStringLiteral("Duplicate as fan %1"));
}

void FanLibraryPage::deleteRow() {
    const int fan = currentFan();
    std::vector<mfb::EditedLine> after = lines_;
    if (mfb::DeleteLibraryFan(after, fan)) change(after, QStringLiteral("Delete fan %1").arg(fan));
}

void FanLibraryPage::standOnButton() {
    const int number = currentFan();
    const int button = button_->currentData().toInt();
    std::vector<std::string> texts = mfb::LineTexts(lines_);
    if (number <= mfb::kFanCount || !mfb::SwapFans(texts, button, number)) return;
    std::vector<mfb::EditedLine> after = lines_;
    for (std::size_t i = 0; i < after.size(); ++i) after[i].text = texts[i];
    change(after, QStringLiteral("Fan %1 on button %2").arg(number).arg(button));
    selectFan(button, 1);
}

void FanLibraryPage::openFit() {
    auto* dialog = findChild<FanFitDlg*>();
    if (dialog == nullptr) {
        dialog = new FanFitDlg(separator_, this);
        connect(dialog, &FanFitDlg::fanFitted, this, [this, dialog](const mfb::LibraryFan& fan) {
            const std::string taken =
                mfb::FanNameTaken(mfb::LineTexts(lines_), fan.fan.Name, separator_);
            if (!taken.empty()) {
                dialog->refuse(Latin1(taken + "; give the fitted fan a name of its own"));
                return;
            }
            addFan(mfb::FanTextsOf(fan, separator_), QStringLiteral("Fit as fan %1"));
        });
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void FanLibraryPage::showFans() {
    const QModelIndex current = table_->current();
    applying_ = true;
    const std::vector<std::string> texts = mfb::LineTexts(lines_);
    const std::vector<int> fans = mfb::EditableFans(texts);
    // The items stay while the fans do: an edit is shown from within the commit of its cell,
    // whose editor belongs to that item.
    bool same = model_->rowCount() == static_cast<int>(fans.size());
    for (int r = 0; same && r < model_->rowCount(); ++r) {
        same = model_->item(r, 0)->data(Qt::UserRole).toInt() == fans[static_cast<std::size_t>(r)];
    }
    if (!same) {
        model_->setRowCount(0);
        for (const int fan : fans) {
            auto* number =
                new QStandardItem(fan <= mfb::kFanCount ? QStringLiteral("button %1").arg(fan)
                                                        : QString::number(fan));
            number->setEditable(false);
            number->setData(fan, Qt::UserRole);
            QList<QStandardItem*> row{number};
            while (row.size() < model_->columnCount()) row << new QStandardItem;
            model_->appendRow(row);
        }
    }
    const auto findings = mfb::CheckFanFields(texts, separator_);
    errors_ = false;
    for (int r = 0; r < model_->rowCount(); ++r) {
        const int fan = fans[static_cast<std::size_t>(r)];
        const mfb::FanTexts fields = mfb::FanFieldTexts(texts, fan);
        const auto found = findings.find(fan);
        const auto read = readTexts_.find(fan);
        const bool edited = read == readTexts_.end() || read->second != fields;
        for (std::size_t field = 0; field < fields.size(); ++field) {
            QStandardItem* item = model_->item(r, static_cast<int>(field) + 1);
            item->setText(Latin1(fields[field]));
            const FieldMark mark =
                found != findings.end() ? MarkOf(found->second, field) : FieldMark{};
            item->setToolTip(mark.toolTip);
            item->setBackground(mark.background);
            // A fan left as it was is written as it was: its errors are the file's.
            errors_ = errors_ || (mark.error && edited);
        }
    }
    applying_ = false;
    // The current row is the file's, not the view's: a fan gone leaves its place to the next.
    if (current.isValid()) {
        table_->setCurrent(model_->index(std::min(current.row(), model_->rowCount() - 1),
                                         std::max(current.column(), 1)));
    }
    stand_->setEnabled(currentFan() > mfb::kFanCount);
    showFinding();
    emit findingsChanged();
}

void FanLibraryPage::showFinding() {
    const QModelIndex cell = table_->current();
    finding_->setText(cell.isValid() ? model_->itemFromIndex(cell)->toolTip() : QString());
}
