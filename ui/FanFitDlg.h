// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <optional>

#include "catalogue/FanLibrary.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Fit from points…": a fan's curve fitted to the points of its static test or datasheet, typed
// in a table (power, rpm and where measured the static thrust; shaft power, or input power with a
// stated motor efficiency) or loaded from a CSV file, with its swept area and static efficiency
// from the rotor's and hub's diameters. Fit shows each point's residual, or why no curve serves;
// "Add to library" hands the fitted fan on, as long as nothing was changed since the fit. Numbers
// in the catalogue's notation.
class FanFitDlg : public QDialog {
    Q_OBJECT
public:
    FanFitDlg(char separator, QWidget* parent);

    void fit();
    // Fills the table with the points of a CSV file as `mfbcalc-cli fit-fan` reads it, or says
    // why it does not read.
    void loadCsv(const QString& path);
    // The fan handed on cannot join the library, for `reason`.
    void refuse(const QString& reason);

signals:
    void fanFitted(const mfb::LibraryFan& fan);

private:
    void forgetFit();
    // The number `text` states, nothing when it is blank; throws mfb::Error naming `what`.
    std::optional<double> number(const QString& text, const QString& what) const;

    char separator_;
    QLineEdit* name_;
    QComboBox* power_;
    QLineEdit* efficiency_;
    QLineEdit* diameter_;
    QLineEdit* hub_;
    QLineEdit* maxRpm_;
    QTableWidget* points_;
    QLabel* result_;
    QPushButton* add_;
    std::optional<mfb::LibraryFan> fitted_;
    bool showing_ = false;  // residuals are being written, which changes no point
};
