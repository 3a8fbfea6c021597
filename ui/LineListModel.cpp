// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LineListModel.h"

LineListModel::LineListModel(QObject* parent) : QAbstractListModel(parent) {}

void LineListModel::setLines(const std::vector<std::string>* lines) {
    if (lines_ == lines) return;
    beginResetModel();
    lines_ = lines;
    endResetModel();
}

int LineListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || lines_ == nullptr) return 0;
    return static_cast<int>(lines_->size());
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || lines_ == nullptr ||
        static_cast<std::size_t>(index.row()) >= lines_->size()) {
        return {};
    }
    const std::string& line = (*lines_)[static_cast<std::size_t>(index.row())];
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}
