// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "catalogue/Catalogue.h"
#include "explore/Explorer.h"

// The rows of an exploration as a table with the command line's columns, values formatted as the
// option columns show them. Texts are made only for the cells a view asks for, so a hundred
// thousand rows cost no more than their ExploreRows. sort() orders by a column's number, not its
// text; equal values keep the ranking's order.
class ExploreTableModel : public QAbstractTableModel {
public:
    explicit ExploreTableModel(QObject* parent = nullptr);

    // Shows `rows`, best first, of a run on `catalogue`.
    void setRows(std::shared_ptr<const mfb::Catalogue> catalogue, std::vector<mfb::ExploreRow> rows,
                 char decimalSeparator);
    // The exploration's row shown in line `shown`.
    const mfb::ExploreRow& rowAt(int shown) const;
    const std::vector<mfb::ExploreRow>& rankedRows() const { return rows_; }
    const mfb::Catalogue* catalogue() const { return catalogue_.get(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    long double sortValue(std::size_t rank, int column) const;

    std::shared_ptr<const mfb::Catalogue> catalogue_;
    std::vector<mfb::ExploreRow> rows_;  // in the ranking's order
    std::vector<std::size_t> shown_;     // line -> index into rows_
    char decimalSeparator_ = '.';
};
