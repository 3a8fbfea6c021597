// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

#include "catalogue/CatalogueCheck.h"

class QDialog;

// The main window's bottom line: how many errors and warnings `mfbcalc-cli check` would report on
// the catalogues the window loaded, with a link to the list of them as check prints them. Hidden
// when there are none.
class CatalogueFindingsLine final : public QLabel {
    Q_OBJECT
public:
    explicit CatalogueFindingsLine(QWidget* parent);

    void showFindings(const mfb::Findings& findings);
    // The list of findings, in a window of its own that does not block the main window.
    void showDetails();

private:
    QString list_;
    QDialog* details_ = nullptr;  // made on first use, then kept
};
