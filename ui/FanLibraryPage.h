// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "catalogue/CatalogueEdit.h"
#include "catalogue/FanEdit.h"

class QComboBox;
class QLabel;
class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QUndoStack;
class SortFilterTable;

// The fans of the fan file: the five on the fan buttons, then those of its library, a row each,
// with their curves, limits and jet data as fields that are edited in place, sorted and filtered
// by name as the other catalogues' rows are, and checked as they change by the rules of the
// catalogue check, the finding shown at its field (colour and tooltip) and below the table for the
// current field. Library fans are added, duplicated, deleted, fitted to typed points, or put on a
// fan button, the fan that stood there going into the library in their place. Every change is a
// step of the editor's undo stack, and text() writes the file back with every line the changes left
// alone as it was.
class FanLibraryPage : public QWidget {
    Q_OBJECT
public:
    FanLibraryPage(char separator, QUndoStack& undo, QWidget* parent);

    void load(const std::string& text);
    std::string text() const;
    // Whether a fan that was added or changed has an error.
    bool hasErrors() const;

    void addRow();
    void duplicateRow();
    // The current library fan; the five on the buttons stay.
    void deleteRow();

    // Used by the undo commands.
    void setLines(const std::vector<mfb::EditedLine>& lines);

signals:
    void findingsChanged();

private:
    void showFans();
    void recordEdit(QStandardItem* item);
    void showFinding();
    // The change as one undoable step; nothing when it changes nothing.
    void change(const std::vector<mfb::EditedLine>& after, const QString& what);
    // The new fan's number, 0 when the library is full.
    int addFan(const mfb::FanTexts& texts, const QString& what);
    void standOnButton();
    void openFit();
    int currentFan() const;
    // Nothing when the fan is not there or the filter hides it.
    void selectFan(int fan, int column);

    char separator_;
    QUndoStack& undo_;
    QStandardItemModel* model_;  // a row per fan in the file's order, whatever the view shows
    SortFilterTable* table_;
    QLabel* finding_;
    QComboBox* button_;
    QPushButton* stand_;
    mfb::EditableText read_;
    std::map<int, mfb::FanTexts> readTexts_;  // each fan's fields as the file was read
    std::vector<mfb::EditedLine> lines_;      // as the changes left them
    bool applying_ = false;                   // the table is being filled, not edited
    bool errors_ = false;
};
