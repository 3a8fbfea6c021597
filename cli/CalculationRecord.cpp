// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CalculationRecord.h"

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

}  // namespace mfb::cli
