// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SortFilterTable.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

SortFilterTable::SortFilterTable(QAbstractItemModel& model, int nameColumn, QWidget* parent)
    : QWidget(parent),
      proxy_(new QSortFilterProxyModel(this)),
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
