// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ExploreTableModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "explore/ExploreTable.h"
#include "model/DisplayFormat.h"

namespace {

constexpr int kLeadColumns = static_cast<int>(mfb::kExploreLeadHeaders.size());

int ValueEnd() {
    return kLeadColumns + static_cast<int>(mfb::ExploreValueColumns().size());
}

int ColumnCount() {
    return ValueEnd() + static_cast<int>(mfb::ExploreFigureColumns().size());
}

const mfb::ExploreValueColumn& ValueColumn(int column) {
    return mfb::ExploreValueColumns()[static_cast<std::size_t>(column - kLeadColumns)];
}

const mfb::ExploreFigureColumn& FigureColumn(int column) {
    return mfb::ExploreFigureColumns()[static_cast<std::size_t>(column - ValueEnd())];
}

// Motor, battery and fan are text and read best left-aligned; the rest are numbers.
bool LeftAligned(int column) {
    return column >= 1 && column <= 3;
}

}  // namespace

ExploreTableModel::ExploreTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ExploreTableModel::setRows(std::shared_ptr<const mfb::Catalogue> catalogue,
                                std::vector<mfb::ExploreRow> rows, char decimalSeparator) {
    beginResetModel();
    catalogue_ = std::move(catalogue);
    rows_ = std::move(rows);
    shown_.resize(rows_.size());
    std::iota(shown_.begin(), shown_.end(), std::size_t{0});
    decimalSeparator_ = decimalSeparator;
    endResetModel();
}

const mfb::ExploreRow& ExploreTableModel::rowAt(int shown) const {
    return rows_.at(shown_.at(static_cast<std::size_t>(shown)));
}

int ExploreTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ExploreTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant ExploreTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (LeftAligned(index.column()) ? Qt::AlignLeft : Qt::AlignRight));
    }
    if (role != Qt::DisplayRole) return {};
    const std::size_t rank = shown_.at(static_cast<std::size_t>(index.row()));
    const mfb::ExploreRow& row = rows_[rank];
    if (index.column() < kLeadColumns) {
        const auto cells = mfb::ExploreLeadCells(*catalogue_, row, rank + 1);
        // Catalogue bytes are Latin-1, as the main window shows them.
        return QString::fromLatin1(cells.at(static_cast<std::size_t>(index.column())));
    }
    if (index.column() >= ValueEnd()) {
        const auto figure = FigureColumn(index.column()).value(row);
        return figure ? QString::fromStdString(mfb::FormatValue(*figure, decimalSeparator_))
                      : QString();
    }
    const long double value = ValueColumn(index.column()).value(row);
    // A flight figure that is not known, such as the thrust of a fan without jet data, is blank.
    if (std::isnan(value)) return QString();
    return QString::fromStdString(mfb::FormatValue(value, decimalSeparator_));
}

QVariant ExploreTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    if (section < 0 || section >= ColumnCount()) return {};
    const std::string_view header =
        section < kLeadColumns ? mfb::kExploreLeadHeaders[static_cast<std::size_t>(section)]
        : section < ValueEnd() ? ValueColumn(section).header
                               : FigureColumn(section).header;
    return QString::fromLatin1(header.data(), static_cast<qsizetype>(header.size()));
}

// The motor and battery indexes follow the lists' alphabetical order, so they sort the names too.
long double ExploreTableModel::sortValue(std::size_t rank, int column) const {
    const mfb::ExploreRow& row = rows_[rank];
    switch (column) {
        case 0:
            return static_cast<long double>(rank);
        case 1:
            return static_cast<long double>(row.motor);
        case 2:
            return static_cast<long double>(row.battery);
        case 3:
            return row.fan;
        case 4:
            return row.serie;
        case 5:
            return row.parallel;
        default:
            if (column < ValueEnd()) {
                const long double value = ValueColumn(column).value(row);
                // Sorting needs an order among all values: an unknown figure sorts lowest.
                return std::isnan(value) ? -std::numeric_limits<long double>::infinity() : value;
            }
            // A row without the figure sorts below every row with it.
            return FigureColumn(column).value(row).value_or(
                -std::numeric_limits<double>::infinity());
    }
}

void ExploreTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount()) return;
    std::vector<long double> keys(rows_.size());
    for (std::size_t rank = 0; rank < rows_.size(); ++rank) keys[rank] = sortValue(rank, column);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> rankOf;
    for (const QModelIndex& index : before)
        rankOf.push_back(shown_[static_cast<std::size_t>(index.row())]);

    std::iota(shown_.begin(), shown_.end(), std::size_t{0});
    std::stable_sort(shown_.begin(), shown_.end(), [&](std::size_t a, std::size_t b) {
        return order == Qt::AscendingOrder ? keys[a] < keys[b] : keys[b] < keys[a];
    });

    std::vector<int> lineOf(rows_.size());
    for (std::size_t line = 0; line < shown_.size(); ++line) {
        lineOf[shown_[line]] = static_cast<int>(line);
    }
    QModelIndexList after;
    for (int i = 0; i < before.size(); ++i) {
        after << index(lineOf[rankOf[static_cast<std::size_t>(i)]], before[i].column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
