// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CatalogueTablePage.h"

#include <QLabel>
#include <QStandardItemModel>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include "ui/FieldMark.h"
#include "ui/Latin1Text.h"
#include "ui/SortFilterTable.h"

namespace {

enum Role { IdRole = Qt::UserRole + 1, OriginalRole, BaseRole, LastTextRole, ErrorRole };

class SetTextCommand : public QUndoCommand {
public:
    SetTextCommand(CatalogueTablePage& page, int id, int column, QString before, QString after)
        : page_(page),
          id_(id),
          column_(column),
          before_(std::move(before)),
          after_(std::move(after)) {
        setText(QStringLiteral("Edit"));
    }
    // The first redo finds the change made already, by the user in the table.
    void redo() override {
        if (!first_) page_.setText(id_, column_, after_);
        first_ = false;
    }
    void undo() override { page_.setText(id_, column_, before_); }

private:
    CatalogueTablePage& page_;
    int id_, column_;
    QString before_, after_;
    bool first_ = true;
};

// Adds a row (insert) or takes one away (remove); each is the other's undo.
class RowCommand : public QUndoCommand {
public:
    RowCommand(CatalogueTablePage& page, int modelRow, CatalogueTablePage::Row row, bool insert,
               const QString& text)
        : page_(page), modelRow_(modelRow), row_(std::move(row)), insert_(insert) {
        setText(text);
    }
    void redo() override { apply(insert_); }
    void undo() override { apply(!insert_); }

private:
    void apply(bool insert) {
        if (insert) {
            page_.insertRow(modelRow_, row_);
        } else {
            page_.removeRow(page_.modelRowOf(row_.id));
        }
    }
    CatalogueTablePage& page_;
    int modelRow_;
    CatalogueTablePage::Row row_;
    bool insert_;
};

QList<int> NumberColumns(std::string_view file) {
    QList<int> columns;
    const auto fields = mfb::ItemFields(file);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].number) columns << static_cast<int>(i);
    }
    return columns;
}

}  // namespace

CatalogueTablePage::CatalogueTablePage(const char* file, char separator, QUndoStack& undo,
                                       QWidget* parent)
    : QWidget(parent),
      file_(file),
      separator_(separator),
      undo_(undo),
      model_(new QStandardItemModel(this)),
      table_(new SortFilterTable(*model_, 0, NumberColumns(file), separator, this)),
      finding_(new QLabel(this)) {
    QStringList titles;
    for (const mfb::ItemField& field : mfb::ItemFields(file_)) titles << field.title;
    model_->setHorizontalHeaderLabels(titles);
    finding_->setObjectName(QStringLiteral("finding"));
    finding_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(finding_);

    connect(model_, &QStandardItemModel::itemChanged, this, &CatalogueTablePage::recordEdit);
    connect(table_, &SortFilterTable::currentChanged, this, &CatalogueTablePage::showFinding);
}

void CatalogueTablePage::load(const std::string& text) {
    const bool wasApplying = applying_;
    applying_ = true;
    model_->removeRows(0, model_->rowCount());
    read_ = mfb::SplitEditable(text);
    for (std::size_t i = 0; i < read_.lines.size(); ++i) {
        insertRow(model_->rowCount(), {nextId_++, static_cast<int>(i), read_.lines[i],
                                       mfb::FieldTexts(read_.lines[i], file_)});
    }
    applying_ = wasApplying;
}

std::string CatalogueTablePage::text() const {
    std::vector<mfb::EditedLine> lines;
    for (int r = 0; r < model_->rowCount(); ++r) {
        const Row row = rowAt(r);
        lines.push_back({row.original < 0 ? std::nullopt : std::optional<std::size_t>(row.original),
                         mfb::ComposeLine(row.base, row.texts, file_)});
    }
    return mfb::WriteEdited(read_, lines);
}

bool CatalogueTablePage::hasErrors() const {
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (model_->item(r, 0)->data(ErrorRole).toBool()) return true;
    }
    return false;
}

CatalogueTablePage::Row CatalogueTablePage::rowAt(int modelRow) const {
    const QStandardItem* first = model_->item(modelRow, 0);
    Row row{first->data(IdRole).toInt(),
            first->data(OriginalRole).toInt(),
            Latin1Bytes(first->data(BaseRole).toString()),
            {}};
    for (int c = 0; c < model_->columnCount(); ++c) {
        row.texts.push_back(Latin1Bytes(model_->item(modelRow, c)->text()));
    }
    return row;
}

int CatalogueTablePage::modelRowOf(int id) const {
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (model_->item(r, 0)->data(IdRole).toInt() == id) return r;
    }
    return -1;
}

void CatalogueTablePage::insertRow(int modelRow, const Row& row) {
    const bool wasApplying = applying_;
    applying_ = true;
    QList<QStandardItem*> items;
    for (const std::string& text : row.texts) {
        auto* item = new QStandardItem(Latin1(text));
        item->setData(Latin1(text), LastTextRole);
        items << item;
    }
    items.front()->setData(row.id, IdRole);
    items.front()->setData(row.original, OriginalRole);
    items.front()->setData(Latin1(row.base), BaseRole);
    model_->insertRow(modelRow, items);
    applying_ = wasApplying;
    checkRow(modelRow);
}

void CatalogueTablePage::removeRow(int modelRow) {
    if (modelRow < 0) return;
    model_->removeRow(modelRow);
    emit findingsChanged();
}

void CatalogueTablePage::setText(int id, int column, const QString& text) {
    const int r = modelRowOf(id);
    if (r < 0) return;
    const bool wasApplying = applying_;
    applying_ = true;
    QStandardItem* item = model_->item(r, column);
    item->setText(text);
    item->setData(text, LastTextRole);
    applying_ = wasApplying;
    checkRow(r);
    selectRow(r, column);
}

void CatalogueTablePage::recordEdit(QStandardItem* item) {
    if (applying_) return;
    const QString before = item->data(LastTextRole).toString();
    const QString after = item->text();
    if (before == after) return;
    {
        const bool wasApplying = applying_;
        applying_ = true;
        item->setData(after, LastTextRole);
        applying_ = wasApplying;
    }
    const int id = model_->item(item->row(), 0)->data(IdRole).toInt();
    undo_.push(new SetTextCommand(*this, id, item->column(), before, after));
    checkRow(item->row());
    showFinding(item->index());
}

void CatalogueTablePage::checkRow(int modelRow) {
    const Row row = rowAt(modelRow);
    const auto found = mfb::CheckFields(row.base, row.texts, file_, separator_);
    const bool wasApplying = applying_;
    applying_ = true;
    bool error = false;
    for (int c = 0; c < model_->columnCount(); ++c) {
        QStandardItem* item = model_->item(modelRow, c);
        const FieldMark mark = MarkOf(found, static_cast<std::size_t>(c));
        error = error || mark.error;
        item->setToolTip(mark.toolTip);
        item->setBackground(mark.background);
    }
    // A line left as it was is written as it was: its errors are the file's, not the edit's.
    const bool edited =
        row.original < 0 || mfb::ComposeLine(row.base, row.texts, file_) !=
                                read_.lines.at(static_cast<std::size_t>(row.original));
    model_->item(modelRow, 0)->setData(error && edited, ErrorRole);
    applying_ = wasApplying;
    emit findingsChanged();
}

void CatalogueTablePage::showFinding(const QModelIndex& cell) {
    const QStandardItem* item = cell.isValid() ? model_->itemFromIndex(cell) : nullptr;
    finding_->setText(item != nullptr ? item->toolTip() : QString());
}

int CatalogueTablePage::currentModelRow() const {
    const QModelIndex cell = table_->current();
    return cell.isValid() ? cell.row() : -1;
}

void CatalogueTablePage::selectRow(int modelRow, int column) {
    table_->setCurrent(model_->index(modelRow, column));
    showFinding(table_->current());
}

void CatalogueTablePage::addRow() {
    Row row{nextId_++, -1, std::string(), std::vector<std::string>(mfb::ItemFields(file_).size())};
    const int at = model_->rowCount();
    undo_.push(new RowCommand(*this, at, row, true, QStringLiteral("Add")));
    table_->clearFilter();
    selectRow(modelRowOf(row.id), 0);
    table_->editCurrent();
}

void CatalogueTablePage::duplicateRow() {
    const int current = currentModelRow();
    if (current < 0) return;
    Row row = rowAt(current);
    // The copy keeps what the line holds beside its fields.
    row.base = mfb::ComposeLine(row.base, row.texts, file_);
    row.id = nextId_++;
    row.original = -1;
    undo_.push(new RowCommand(*this, current + 1, row, true, QStringLiteral("Duplicate")));
    selectRow(modelRowOf(row.id), 0);
}

void CatalogueTablePage::deleteRow() {
    const int current = currentModelRow();
    if (current < 0) return;
    undo_.push(new RowCommand(*this, current, rowAt(current), false, QStringLiteral("Delete")));
}
