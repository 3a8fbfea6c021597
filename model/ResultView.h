// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace mfb {

// The nine value labels of an option column, in the order a Calculate fills them.
enum class ResultField {
    Weight,
    UBattery,
    RTotal,
    Current,
    Rpm,
    PinMotor,
    PoutMotor,
    Efficiency,
    UMotor,
};
inline constexpr int kResultFieldCount = 9;

// What a Calculate does to its option's column of the main window.
class ResultView {
public:
    virtual ~ResultView() = default;
    virtual void ShowValue(ResultField field, const std::string& text) = 0;
    // A view that throws the texts away spares the sweep their formatting.
    virtual bool ShowsValues() const { return true; }
    virtual void EnableChart() = 0;
    // A warning box ("Combination not possible"); the sweep goes on after it returns only to end.
    virtual void ShowWarning(const std::string& message) = 0;
};

}  // namespace mfb
