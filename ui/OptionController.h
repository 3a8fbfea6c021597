// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "model/Derived.h"
#include "model/OptionSlot.h"
#include "model/PartLoad.h"
#include "model/Sweep.h"
#include "setup/Setup.h"

class FigureRows;
class OptionColumn;
class QAction;
class QWidget;
class SetupDocument;
class SweepTask;
class TGraphDlg;

// One option of the main window: its column, its figure rows, its running sweep and its chart
// window, which start-up hands it. It calculates the option's slot as the document has chosen
// it, stores each outcome in the document with the combination it was for, and shows what the
// document holds of the option against what it has chosen now.
class OptionController : public QObject {
    Q_OBJECT
public:
    // Option `option` (1..4) on `client`, its figure rows from `figureRowsTop`. The slot, the
    // catalogue and the document outlive it.
    OptionController(int option, mfb::TOptionSlot& slot, const mfb::Catalogue& catalogue,
                     SetupDocument& document, char decimalSeparator, int figureRowsTop,
                     QWidget* client, QObject* parent);
    ~OptionController() override;

    int option() const { return option_; }
    OptionColumn& column() const { return *column_; }
    // "Part load..." of the figure rows' context menu, enabled while they show figures.
    QAction* partLoadAction() const;
    // Null until one is handed over, as when the main window is tested on its own: the chart
    // part of a sweep is dropped then.
    TGraphDlg* chartWindow() const { return chart_; }
    void setChartWindow(TGraphDlg* chart) { chart_ = chart; }

    // The Calculate button: the choice as the document holds it, the boxes showing its cells. A
    // click on a sweep that offers to stop stops it.
    void calculate();
    // Sweeps the slot with the cells of `combination`, which is what the slot holds otherwise.
    void sweep(const mfb::CalculatedFor& combination);
    // Whether a sweep is still running (see SweepTask).
    bool calculating() const { return running_ != nullptr; }
    void stop();
    void showChart();

    // Back to an option never calculated: values, figures and chart emptied, the sweep stopped.
    void clear();
    // The values a setup kept of a result that cannot be swept again.
    void showKept(const mfb::ShownResult& shown);
    // The figures of the last operating point again, under the document's flight settings now.
    void reassess();
    // Marks the column's values against what the option has chosen now and fills its figure rows.
    void showOutcome();

    // The part-load table and the static thrust at `shaftPower` W of the last operating point,
    // of the slot as it was swept; none once the option has chosen otherwise.
    std::vector<mfb::PartLoadRow> partLoad(double step) const;
    std::optional<double> thrustAt(double shaftPower) const;

private:
    // A Calculate that found an operating point: the combination it was for, the slot as swept,
    // its report, the values it wrote and their assessment under the flight settings now.
    struct Shown {
        mfb::CalculatedFor combination;
        mfb::TOptionSlot swept;
        mfb::CalculateReport report;
        std::array<std::string, mfb::kResultFieldCount> values;
        std::optional<mfb::Assessment> assessed;
    };
    void calculated(Shown shown);
    // The last operating point while it is what the option has chosen.
    const Shown* current() const;
    mfb::FlightSettings flight() const;

    int option_;
    mfb::TOptionSlot& slot_;
    const mfb::Catalogue& catalogue_;
    SetupDocument& document_;
    char separator_;
    std::unique_ptr<OptionColumn> column_;
    std::unique_ptr<FigureRows> figures_;
    TGraphDlg* chart_ = nullptr;
    SweepTask* running_ = nullptr;  // a child while it runs
    std::optional<Shown> shown_;
};
