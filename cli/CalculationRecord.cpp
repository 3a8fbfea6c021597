// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CalculationRecord.h"

#include "catalogue/Catalogue.h"
#include "cli/Program.h"
#include "model/Error.h"

namespace mfb::cli {

std::string_view OutcomeName(CliOutcome outcome) {
    switch (outcome) {
        case CliOutcome::Calculated:
            return "calculated";
        case CliOutcome::NotPossible:
            return "not_possible";
        case CliOutcome::Fault:
            return "fault";
        case CliOutcome::NotRun:
            return "not_run";
    }
    return {};
}

CliOutcome FromReport(Outcome outcome) {
    switch (outcome) {
        case Outcome::Calculated:
        case Outcome::StoppedAtLimit:
            return CliOutcome::Calculated;
        case Outcome::NotPossible:
            return CliOutcome::NotPossible;
        case Outcome::NotRun:
            return CliOutcome::NotRun;
    }
    return CliOutcome::NotRun;
}

int OutcomeStatus(CliOutcome outcome) {
    switch (outcome) {
        case CliOutcome::Calculated:
            return kExitCalculated;
        case CliOutcome::NotPossible:
            return kExitNotPossible;
        case CliOutcome::Fault:
            return kExitError;
        case CliOutcome::NotRun:
            return kExitUsage;
    }
    return kExitError;
}

void CalculateRecord(CalculationRecord& record, const Catalogue& catalogue, int option, int serie,
                     int parallel, char separator) {
    const SweepInputs inputs{
        catalogue.Fans, catalogue.WireResistance, catalogue.CompleteFans, option, serie, parallel,
        separator};
    try {
        Calculate(record.slot, inputs, record.view, record.chart, record.report);
        record.outcome = FromReport(record.report.outcome);
        record.message = record.view.Warning();
        record.assessment = Assess(record.slot, catalogue.Fans, catalogue.FanLimits,
                                   catalogue.FanJet, record.flight, record.report);
    } catch (const Error& e) {
        record.outcome = CliOutcome::Fault;
        record.message = e.what();
    }
}

}  // namespace mfb::cli
