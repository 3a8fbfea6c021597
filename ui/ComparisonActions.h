// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "ui/ChartExport.h"
#include "ui/ComparisonSheet.h"

class QAction;
class QWidget;
class OptionCharts;
class SetupDocument;
class CompareChartsDlg;

// What the File menu offers to compare the four options: "Export Comparison…" (the comparison
// sheet as PDF, or its table as CSV, by the name's suffix), "Print…" and "Compare Charts…". It
// reads the setup from the document and the curves through OptionCharts, and holds no window
// but the comparison chart it opens.
class ComparisonActions : public QObject {
    Q_OBJECT
public:
    // Dialogs open over `window`; `catalogueFolder` is where the catalogues were read.
    ComparisonActions(const SetupDocument& document, const OptionCharts& charts,
                      const QString& catalogueFolder, char decimalSeparator, QWidget* window);
    ~ComparisonActions() override;

    // In the order the menu lists them.
    QList<QAction*> actions() const { return actions_; }

    // How the comparison chart finds an option's static thrust.
    void setThrust(std::function<std::optional<double>(int, double)> thrust) {
        thrust_ = std::move(thrust);
    }
    // Where the sheet finds each option's part-load table.
    void setPartLoads(ComparisonSheet::PartLoads partLoads) { partLoads_ = std::move(partLoads); }

    // Tests put their own prompt in place of the save dialog.
    void setFilePrompt(FilePrompt prompt) { prompt_ = std::move(prompt); }

    void exportAsked();
    // Writes the sheet to `path`: CSV when its name ends in ".csv", PDF otherwise. False, with the
    // reason shown, when it could not be written.
    bool exportTo(const QString& path);
    void printAsked();
    void showCompareCharts();
    // The comparison chart, once it was opened.
    CompareChartsDlg* compareCharts() const { return compare_; }

private:
    ComparisonSheet sheet() const;

    const SetupDocument& document_;
    const OptionCharts& charts_;
    QString catalogueFolder_;
    char decimalSeparator_;
    QWidget* window_;
    QList<QAction*> actions_;
    FilePrompt prompt_;
    QString lastFolder_;
    CompareChartsDlg* compare_ = nullptr;
    ComparisonSheet::PartLoads partLoads_;
    std::function<std::optional<double>(int, double)> thrust_;
};
