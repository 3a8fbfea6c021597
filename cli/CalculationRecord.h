// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "cli/CapturedColumn.h"
#include "cli/CliChart.h"
#include "model/Derived.h"
#include "model/OptionSlot.h"
#include "model/Sweep.h"

namespace mfb::cli {

// How a run of the command ended, as scripts see it. A sweep stopped at the power limit counts as
// calculated (its warning is the message); an error out of Calculate, a floating-point fault or a
// pack it refuses, is a fault.
enum class CliOutcome { Calculated, NotPossible, Fault, NotRun };

std::string_view OutcomeName(CliOutcome outcome);  // "calculated", "not_possible", ...
CliOutcome FromReport(Outcome outcome);

// Everything one Calculate left behind, for the text, JSON and CSV output.
struct CalculationRecord {
    explicit CalculationRecord(std::ostream* csv) : chart(csv) {}

    TOptionSlot slot;
    CalculateReport report;
    CapturedColumn view;
    CliChart chart;
    CliOutcome outcome = CliOutcome::NotRun;
    std::string message;
    std::optional<Assessment> assessment;  // of the kept step, if there is one
    FlightSettings flight;                 // that the assessment's flight figures assume
};

}  // namespace mfb::cli
