// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

#include "model/Derived.h"
#include "model/ResultView.h"

class AutoLabel;
class QPushButton;
class QWidget;
class SpinEdit;

namespace mfb {
struct TOptionSlot;
}

// One option column of the main window: its name labels, cell-count boxes, result labels and its
// Calculate and Chart buttons, created on the window's client area. A Calculate of the column
// writes its results here.
class OptionColumn final : public mfb::ResultView {
public:
    // Column `option` (1..4) with its object names and positions.
    OptionColumn(int option, QWidget* parent);

    // The three name labels show what the slot holds now.
    void showNames(const mfb::TOptionSlot& slot);

    SpinEdit* serieEdit() const { return serie_; }
    SpinEdit* parallelEdit() const { return parallel_; }
    QPushButton* calculateButton() const { return calculate_; }
    QPushButton* chartButton() const { return chart_; }

    // Each value label's tooltip tells its notes; a label whose value exceeds a catalogue limit is
    // drawn red. Empty notes leave a label as it was designed: black, without a tooltip.
    void showNotes(const std::array<mfb::FieldNote, mfb::kResultFieldCount>& notes);
    // Back to how the column starts: no values, no notes, Chart disabled.
    void clearResults();

    // The values written from now on belong to `combination` (CombinationText).
    void beginCalculate(const QString& combination);
    // Values of `combination` kept from a setup, as they were shown, without a sweep behind them.
    void showKeptValues(const std::array<std::string, mfb::kResultFieldCount>& values,
                        const QString& combination);
    // A value that belongs to another combination than `chosen` is greyed, and its tooltip names
    // the combination it was calculated for; the others show their notes.
    void showChoice(const QString& chosen);

    // While a long Calculate runs, its button shows how far the sweep got and stops it when
    // clicked; afterwards it reads "Calculate" again.
    void showSweepProgress(double inputPower);
    void showSweepEnded();

    void ShowValue(mfb::ResultField field, const std::string& text) override;
    void EnableChart() override;
    void ShowWarning(const std::string& message) override;

private:
    AutoLabel* fan_;
    AutoLabel* motor_;
    AutoLabel* battery_;
    SpinEdit* serie_;
    SpinEdit* parallel_;
    void showMarks();

    std::array<AutoLabel*, mfb::kResultFieldCount> values_{};  // by ResultField
    std::array<QString, mfb::kResultFieldCount> belongsTo_;    // the combination of each value
    std::array<mfb::FieldNote, mfb::kResultFieldCount> notes_;
    QString calculating_;
    QString chosen_;
    QPushButton* calculate_;
    QPushButton* chart_;
};
