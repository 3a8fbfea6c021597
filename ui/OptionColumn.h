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

    QString fanName() const;
    QString motorName() const;
    QString batteryName() const;
    // The three name labels show what the slot holds now.
    void showNames(const mfb::TOptionSlot& slot);

    SpinEdit* serieEdit() const { return serie_; }
    SpinEdit* parallelEdit() const { return parallel_; }
    QPushButton* calculateButton() const { return calculate_; }
    QPushButton* chartButton() const { return chart_; }

    // Each value label's tooltip tells its notes; a label whose value exceeds a catalogue limit is
    // drawn red. Empty notes leave a label as it was designed: black, without a tooltip.
    void showNotes(const std::array<mfb::FieldNote, mfb::kResultFieldCount>& notes);
    // The nine value labels as shown, by ResultField; empty where none was written.
    std::array<std::string, mfb::kResultFieldCount> shownValues() const;
    // Back to how the column starts: no values, no notes, Chart disabled.
    void clearResults();

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
    std::array<AutoLabel*, mfb::kResultFieldCount> values_{};  // by ResultField
    QPushButton* calculate_;
    QPushButton* chart_;
};
