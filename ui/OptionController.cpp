// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OptionController.h"

#include <QPushButton>

#include "model/DiscardingSinks.h"
#include "model/FigureRows.h"
#include "model/PowerTrain.h"
#include "ui/FigureRows.h"
#include "ui/GraphDlg.h"
#include "ui/OptionColumn.h"
#include "ui/SetupDocument.h"
#include "ui/SpinEdit.h"
#include "ui/SweepTask.h"

OptionController::OptionController(int option, mfb::TOptionSlot& slot,
                                   const mfb::Catalogue& catalogue, SetupDocument& document,
                                   char decimalSeparator, int figureRowsTop, QWidget* client,
                                   QObject* parent)
    : QObject(parent),
      option_(option),
      slot_(slot),
      catalogue_(catalogue),
      document_(document),
      separator_(decimalSeparator),
      column_(std::make_unique<OptionColumn>(option, client)),
      figures_(std::make_unique<FigureRows>(option, figureRowsTop, client)) {}

OptionController::~OptionController() = default;

void OptionController::calculate() {
    // Once the button shows how far the sweep got, it is the sweep's stop button. Before that it
    // still reads Calculate, and a click on it, such as the second of a double click, calculates
    // afresh rather than leave the column broken off.
    if (running_ != nullptr) {
        const bool stopOnly = running_->offersStop();
        running_->stop();
        if (stopOnly) return;
    }
    if (slot_.MotorName.empty() || slot_.BatteryName.empty()) return;
    const mfb::CalculatedFor combination = mfb::ChosenCombination(document_.option(option_));
    // The boxes show the cells the sweep reads, even where their text was out of range.
    column_->serieEdit()->setValue(combination.serie);
    column_->parallelEdit()->setValue(combination.parallel);
    sweep(combination);
}

void OptionController::sweep(const mfb::CalculatedFor& combination) {
    const mfb::SweepInputs inputs{
        catalogue_.Fans, catalogue_.WireResistance, catalogue_.CompleteFans,
        option_,         combination.serie,         combination.parallel,
        separator_};
    static mfb::DiscardingSinks dropped;
    mfb::ChartSink& chart = chart_ != nullptr ? static_cast<mfb::ChartSink&>(*chart_) : dropped;
    column_->beginCalculate(QString::fromLatin1(mfb::CombinationText(combination)));
    auto* task = new SweepTask(slot_, catalogue_.Fans, inputs, *column_, chart, this);
    running_ = task;
    connect(task, &SweepTask::ended, this, [this, task, combination] {
        running_ = nullptr;
        calculated(Shown{combination, task->swept(), task->report(), task->values(), std::nullopt});
        task->deleteLater();
    });
    task->start();
}

void OptionController::stop() {
    if (running_ != nullptr) running_->stop();
}

void OptionController::showChart() {
    if (chart_ != nullptr) chart_->showChart();
}

// The notes and the marker belong to the values shown: a Calculate that shows no new ones leaves
// them. They are judged on the slot as it was swept, whatever the user chose meanwhile.
void OptionController::calculated(Shown shown) {
    const mfb::CalculateReport& report = shown.report;
    if (report.outcome == mfb::Outcome::NotPossible) {
        // A sweep that ran to its end without an operating point drew its curves afresh; a marker
        // of an earlier one would point at a crossing that is not there.
        const bool swept = report.reason == mfb::NotPossibleReason::MotorStalls ||
                           report.reason == mfb::NotPossibleReason::MotorTooSlow;
        if (swept && chart_ != nullptr) chart_->ShowOperatingPoint(std::nullopt);
        shown_.reset();
        document_.setShown(option_, mfb::ShownOf(shown.combination, report, shown.values,
                                                 std::nullopt, flight(), separator_));
        showOutcome();
        return;
    }
    // A fault or a stop before the start evaluation showed nothing new.
    if (report.outcome != mfb::Outcome::Calculated &&
        report.outcome != mfb::Outcome::StoppedAtLimit) {
        return;
    }
    shown_ = std::move(shown);
    reassess();
    if (chart_ != nullptr) {
        const mfb::TOptionSlot& swept = shown_->swept;
        // The sweep drew the kept step at this very product, rounded the same way.
        chart_->showCombination(
            QString::fromStdString(mfb::CellsText(swept.CellsSerie, swept.CellsParallel)),
            QString::fromLatin1(mfb::ResultFileStem(option_, swept)));
        const mfb::ResultPoint& kept = report.result;
        chart_->ShowOperatingPoint(kept.PinMotor != 0
                                       ? std::optional(static_cast<double>(
                                             mfb::ShaftPower(kept.PinMotor, kept.Efficiency)))
                                       : std::nullopt);
    }
}

void OptionController::reassess() {
    if (!shown_) return;
    Shown& shown = *shown_;
    shown.assessed = mfb::Assess(shown.swept, catalogue_.Fans, catalogue_.FanLimits,
                                 catalogue_.FanJet, flight(), shown.report);
    column_->showNotes(shown.assessed ? mfb::FieldNotes(shown.assessed->figures,
                                                        shown.assessed->limits, separator_)
                                      : std::array<mfb::FieldNote, mfb::kResultFieldCount>{});
    document_.setShown(option_, mfb::ShownOf(shown.combination, shown.report, shown.values,
                                             shown.assessed, flight(), separator_));
    showOutcome();
}

void OptionController::showOutcome() {
    const mfb::SetupOption& o = document_.option(option_);
    column_->showChoice(QString::fromLatin1(mfb::CombinationText(mfb::ChosenCombination(o))));
    if (!o.shown) {
        figures_->show(std::nullopt);
    } else if (!mfb::ShowsCurrent(o)) {
        figures_->showMissing(
            QStringLiteral("Not calculated for the choice above; the values shown are of ") +
            QString::fromLatin1(mfb::CombinationText(o.shown->calculatedFor)));
    } else if (!o.shown->reached()) {
        figures_->showMissing(QString::fromLatin1(o.shown->notPossible));
    } else if (shown_ && shown_->assessed && shown_->combination == o.shown->calculatedFor) {
        figures_->show(mfb::ShowFigures(*shown_->assessed, flight(), separator_));
    } else {
        // Figures kept from a setup whose combination the catalogues no longer hold.
        mfb::ShownFigures kept;
        const auto captions = mfb::ShownFigureCaptions();
        for (std::size_t i = 0; i < kept.size(); ++i) {
            const std::string& figure = o.shown->figures[i];
            kept[i] = figure.starts_with(mfb::kNotKnown)
                          ? mfb::ShownFigure{captions[i], {}, figure}
                          : mfb::ShownFigure{captions[i], figure, {}};
        }
        figures_->show(kept);
    }
}

void OptionController::clear() {
    stop();
    column_->clearResults();
    shown_.reset();
    figures_->show(std::nullopt);
    if (chart_ != nullptr) chart_->clearChart();
}

void OptionController::showKept(const mfb::ShownResult& shown) {
    column_->showKeptValues(shown.values,
                            QString::fromLatin1(mfb::CombinationText(shown.calculatedFor)));
}

QAction* OptionController::partLoadAction() const {
    return figures_->partLoadAction();
}

const OptionController::Shown* OptionController::current() const {
    const mfb::SetupOption& o = document_.option(option_);
    return shown_ && mfb::ShowsCurrent(o) && shown_->combination == o.shown->calculatedFor
               ? &*shown_
               : nullptr;
}

std::vector<mfb::PartLoadRow> OptionController::partLoad(double step) const {
    const Shown* shown = current();
    if (shown == nullptr) return {};
    return mfb::PartLoadTable(shown->swept, catalogue_.Fans, catalogue_.FanJet,
                              shown->report.result, step);
}

std::optional<double> OptionController::thrustAt(double shaftPower) const {
    const Shown* shown = current();
    if (shown == nullptr) return std::nullopt;
    return mfb::StaticThrustAt(shown->swept, catalogue_.Fans, catalogue_.FanJet, shaftPower);
}

mfb::FlightSettings OptionController::flight() const {
    return mfb::FlightSettingsOf(document_.setup().figures);
}
