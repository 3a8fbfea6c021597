// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "cli/CapturedColumn.h"
#include "cli/CliChart.h"
#include "model/Derived.h"
#include "model/OptionSlot.h"
#include "model/PartLoad.h"
#include "model/Sweep.h"

namespace mfb {
struct Catalogue;
}

namespace mfb::cli {

// How a run of the command ended, as scripts see it. A sweep stopped at the power limit counts as
// calculated (its warning is the message); an error out of Calculate, a floating-point fault or a
// pack it refuses, is a fault.
enum class CliOutcome { Calculated, NotPossible, Fault, NotRun };

std::string_view OutcomeName(CliOutcome outcome);  // "calculated", "not_possible", ...
CliOutcome FromReport(Outcome outcome);
// The exit status of a run that ended so.
int OutcomeStatus(CliOutcome outcome);

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
    std::optional<std::vector<PartLoadRow>> partLoad;  // where asked for and there is a kept step
};

// Calculates record.slot as option `option`'s Calculate does with these cell counts and keeps
// what it left behind: outcome, message, assessment. A floating-point fault or a refused pack is a
// Fault with its message.
void CalculateRecord(CalculationRecord& record, const Catalogue& catalogue, int option, int serie,
                     int parallel, char decimalSeparator);

}  // namespace mfb::cli
