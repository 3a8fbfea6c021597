// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CalculateCommand.h"

#include <array>
#include <ostream>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "cli/CalculationRecord.h"
#include "cli/CatalogueDirectory.h"
#include "cli/CheckCommand.h"
#include "cli/CliOptions.h"
#include "cli/HelpText.h"
#include "cli/PartLoadOutput.h"
#include "cli/Program.h"
#include "cli/ResultOutput.h"
#include "cli/Selection.h"
#include "model/Error.h"

namespace mfb::cli {

namespace {

// Stage by stage, each failure ending the run with its own exit status.
class Run {
public:
    Run(const CliOptions& options, std::ostream& out, std::ostream& err, char separator)
        : options_(options), out_(out), err_(err), separator_(separator) {}

    int Execute() {
        try {
            LoadObserver quiet;
            LoadCatalogues(catalogue_, slots_, DirectoryPlatform(options_.catalogueDir, separator_),
                           quiet);
            WarnOfFindings(err_, catalogue_);
            if (options_.mode == OutputMode::List) {
                WriteCatalogueList(catalogue_, out_);
                return kExitCalculated;
            }
            Choose();
        } catch (const UsageError& e) {
            return ReportUsage(err_, e.what());
        } catch (const LocatedError& e) {
            ReportLocated(e);
            return kExitError;
        } catch (const Error& e) {
            ReportError(err_, e.what());
            return kExitError;
        }
        return Calculate();
    }

private:
    TOptionSlot& Slot() { return slots_[static_cast<std::size_t>(options_.option - 1)]; }

    void Choose() {
        if (options_.motor) {
            const auto i = SelectLine(catalogue_.MotorLines, *options_.motor, "motor");
            ChooseMotor(Slot(), catalogue_.MotorLines[i], separator_,
                        catalogue_.MotorLineNumbers[i]);
        }
        if (options_.battery) {
            const auto i = SelectLine(catalogue_.BatteryLines, *options_.battery, "battery");
            ChooseBattery(Slot(), catalogue_.BatteryLines[i], separator_,
                          catalogue_.BatteryLineNumbers[i]);
        }
        ChooseFan(Slot(), catalogue_.Fans, options_.fan);
    }

    // An error on a line of a catalogue is told as check tells it, so that an editor finds it; one
    // of a file as a whole keeps its plain message.
    void ReportLocated(const LocatedError& e) {
        const TextLocation& where = e.where();
        if (where.line == 0) {
            ReportError(err_, e.what());
            return;
        }
        const Finding finding{where.file,       where.line,      where.firstColumn,
                              where.lastColumn, Severity::Error, e.what()};
        err_ << FindingLine(finding, CataloguePath(options_.catalogueDir, where.file)) << '\n';
    }

    int Calculate() {
        const bool csv = options_.mode == OutputMode::Csv;
        // The part-load table takes the sweep points' place in the CSV.
        const bool sweepCsv = csv && !options_.partLoadStep;
        CalculationRecord record(sweepCsv ? &out_ : nullptr);
        record.slot = Slot();
        record.flight = options_.flight;
        if (sweepCsv) CliChart::WriteCsvHeader(out_);

        CalculateRecord(record, catalogue_, options_.option, options_.serie, options_.parallel,
                        separator_);
        if (options_.partLoadStep && record.assessment) {
            record.partLoad = PartLoadTable(record.slot, catalogue_.Fans, catalogue_.FanJet,
                                            record.report.result, *options_.partLoadStep);
            if (csv) WritePartLoadCsv(*record.partLoad, out_);
        }

        if (options_.mode == OutputMode::Json) {
            WriteResultJson(record, out_);
        } else if (!csv) {
            WriteResultText(record, separator_, out_);
        }
        out_.flush();

        if (record.outcome == CliOutcome::NotRun) {
            return ReportUsage(err_,
                               "nothing calculated: choose a motor with --motor and a battery with "
                               "--battery");
        }
        if (!record.message.empty()) ReportError(err_, record.message);
        return OutcomeStatus(record.outcome);
    }

    const CliOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    const char separator_;
    Catalogue catalogue_;
    std::array<TOptionSlot, kOptionCount> slots_;
};

}  // namespace

int RunCalculate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 char localeSeparator) {
    CliOptions options;
    try {
        options = ParseCliOptions(args);
    } catch (const UsageError& e) {
        return ReportUsage(err, e.what());
    }
    if (options.mode == OutputMode::Help) {
        out << HelpText();
        return kExitCalculated;
    }
    Run run(options, out, err, options.decimalSeparator.value_or(localeSeparator));
    return run.Execute();
}

}  // namespace mfb::cli
