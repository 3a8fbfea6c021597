// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

// Catalogue lines as an invisible line list shows them, one row a line, read from the lines
// themselves as Latin-1 when asked: a list of 64 MiB of lines would otherwise hold them a second
// time, as UTF-16 at twice the size. The lines must outlive the model, as the catalogue does the
// main window.
class LineListModel : public QAbstractListModel {
public:
    explicit LineListModel(QObject* parent);

    void setLines(const std::vector<std::string>* lines);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const std::vector<std::string>* lines_ = nullptr;
};
