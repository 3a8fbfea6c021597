// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SortFilterTable.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>
#include <string_view>
#include <utility>

#include "catalogue/NumberRule.h"
#include "model/Error.h"

namespace {

class PartsProxy : public QSortFilterProxyModel {
public:
    PartsProxy(QList<int> numberColumns, char decimalSeparator, QObject* parent)
        : QSortFilterProxyModel(parent),
          numberColumns_(std::move(numberColumns)),
          separator_(decimalSeparator) {}

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        if (!numberColumns_.contains(left.column())) {
            return QSortFilterProxyModel::lessThan(left, right);
        }
        const std::optional<double> a = value(left);
        const std::optional<double> b = value(right);
        if (a && b) return *a < *b;
        // Qt sorts descending by asking the other way round; a cell without a number stays
        // after the numbers either way, and among such cells the text decides, then the model.
        if (a || b) return a.has_value() == (sortOrder() == Qt::AscendingOrder);
        return QSortFilterProxyModel::lessThan(left, right);
    }

private:
    std::optional<double> value(const QModelIndex& cell) const {
        if (const QVariant given = cell.data(Qt::UserRole); given.isValid()) {
            return given.toDouble();
        }
        const QByteArray bytes = cell.data().toString().toLatin1();
        try {
            return mfb::ParseNumber(std::string_view(bytes.constData(), bytes.size()), separator_);
        } catch (const mfb::Error&) {
            return std::nullopt;
        }
    }

    QList<int> numberColumns_;
    char separator_;
};

}  // namespace

SortFilterTable::SortFilterTable(QAbstractItemModel& model, int nameColumn,
                                 QList<int> numberColumns, char decimalSeparator, QWidget* parent)
    : QWidget(parent),
      proxy_(new PartsProxy(std::move(numberColumns), decimalSeparator, this)),
      view_(new QTableView(this)),
      filter_(new QLineEdit(this)) {
    proxy_->setSourceModel(&model);
    proxy_->setFilterKeyColumn(nameColumn);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy_->setSortCaseSensitivity(Qt::CaseInsensitive);
    view_->setModel(proxy_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(-1, Qt::AscendingOrder);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->setObjectName(QStringLiteral("table"));
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(QStringLiteral("Filter by name"));
    filter_->setClearButtonEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(filter_);
    layout->addWidget(view_);

    connect(filter_, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& shown) { emit currentChanged(proxy_->mapToSource(shown)); });
}

QModelIndex SortFilterTable::current() const {
    return proxy_->mapToSource(view_->currentIndex());
}

void SortFilterTable::setCurrent(const QModelIndex& cell) {
    const QModelIndex shown = proxy_->mapFromSource(cell);
    if (shown.isValid()) view_->setCurrentIndex(shown);
}

void SortFilterTable::editCurrent() {
    view_->edit(view_->currentIndex());
}

void SortFilterTable::clearFilter() {
    filter_->clear();
}
