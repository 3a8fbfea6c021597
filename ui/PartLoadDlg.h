// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "model/PartLoad.h"

class QSpinBox;
class QTableWidget;

// The part-load table of one calculated option: a row per throttle setting from the step to the
// operating point, a column per kPartLoadColumns. The table comes from the core through `table`,
// asked again whenever the step changes; the dialog only shows it.
class PartLoadDlg : public QDialog {
public:
    using Table = std::function<std::vector<mfb::PartLoadRow>(double step)>;
    PartLoadDlg(const QString& title, Table table, char decimalSeparator, QWidget* parent);

    // Shows the option's table anew, for a Calculate that has just changed it.
    void setTable(const QString& title, Table table);

private:
    void fill();

    Table table_;
    char separator_;
    QSpinBox* step_;
    QTableWidget* rows_;
};
