// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QWidget>

class QAbstractItemModel;
class QLineEdit;
class QModelIndex;
class QSortFilterProxyModel;
class QTableView;

// An editor's table of parts under a field that filters the rows by name; a click on a column's
// header sorts by it, and until then the rows show in the model's order. A number column sorts
// by value as the catalogue reads it (with the file's decimal separator), its blank and
// unreadable cells after every number in either direction; a cell whose text is not its number
// (a fan shown by its button) gives the number as its Qt::UserRole. Any other column sorts as
// text, case ignored. Sorting and filtering change only what is shown: every cell this class
// takes or gives is the model's, so a page never meets a row as the view happens to place it.
class SortFilterTable : public QWidget {
    Q_OBJECT
public:
    SortFilterTable(QAbstractItemModel& model, int nameColumn, QList<int> numberColumns,
                    char decimalSeparator, QWidget* parent);

    // The model's cell that is current in the view; invalid when there is none.
    QModelIndex current() const;
    // Nothing when the filter hides the cell.
    void setCurrent(const QModelIndex& cell);
    void editCurrent();
    void clearFilter();

signals:
    void currentChanged(const QModelIndex& cell);

private:
    QSortFilterProxyModel* proxy_;
    QTableView* view_;
    QLineEdit* filter_;
};
