// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "catalogue/CatalogueEdit.h"

class QLabel;
class QModelIndex;
class QStandardItem;
class QStandardItemModel;
class QUndoStack;
class SortFilterTable;

// One catalogue of motors or cell types as a table: a row per part, a column per field with its
// unit. Every change goes through the editor's undo stack, and every row is checked as it changes
// by the rule the catalogue check applies, the finding shown at its field (colour and tooltip)
// and below the table for the field that has the focus. The rows stay in file order, whatever
// the view's sorting and filter show, and text() writes them back in the file's own notation.
class CatalogueTablePage : public QWidget {
    Q_OBJECT
public:
    CatalogueTablePage(const char* file, char separator, QUndoStack& undo, QWidget* parent);

    // Shows the file's bytes as rows; what was there before is gone.
    void load(const std::string& text);
    // The file as it would be written: every untouched line as it was read.
    std::string text() const;
    // Whether a row that was added or changed has an error; a line left alone keeps its own.
    bool hasErrors() const;
    const char* file() const { return file_; }

    void addRow();
    void duplicateRow();
    void deleteRow();

    // Used by the undo commands: rows by their id, which stays while the editor is open.
    struct Row {
        int id = 0;
        int original = -1;  // the line of the file as read, -1 for a new row
        std::string base;   // the line the fields are put into
        std::vector<std::string> texts;
    };
    Row rowAt(int modelRow) const;
    int modelRowOf(int id) const;
    void insertRow(int modelRow, const Row& row);
    void removeRow(int modelRow);
    void setText(int id, int column, const QString& text);

signals:
    void findingsChanged();

private:
    void recordEdit(QStandardItem* item);
    void checkRow(int modelRow);
    void showFinding(const QModelIndex& index);
    int currentModelRow() const;
    void selectRow(int modelRow, int column);

    const char* file_;
    char separator_;
    QUndoStack& undo_;
    QStandardItemModel* model_;
    SortFilterTable* table_;
    QLabel* finding_;
    mfb::EditableText read_;
    int nextId_ = 1;
    bool applying_ = false;  // a change made by the page or an undo command, not by the user
};
