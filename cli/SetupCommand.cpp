// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SetupCommand.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <ostream>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "catalogue/FileReader.h"
#include "catalogue/TextLines.h"
#include "cli/ArgumentReader.h"
#include "cli/CalculationRecord.h"
#include "cli/CatalogueDirectory.h"
#include "cli/FlightOptions.h"
#include "cli/Program.h"
#include "cli/ResultOutput.h"
#include "json/JsonWriter.h"
#include "setup/ComparisonTable.h"
#include "setup/SetupFile.h"
#include "setup/SetupMatch.h"

namespace mfb::cli {

namespace {

constexpr char kSetupHelp[] =
    R"(Usage: mfbcalc-cli setup FILE [--catalogues DIR] [--json | --csv] [--decimal-separator C]
                         [--throttle PCT] [--full-throttle PCT] [--usable PCT] [--model-weight G]

Opens a setup file saved by the window (File > Save) in the catalogues, as File > Open does:
each motor and battery is found by its name; where the catalogue's line of that name differs
from the one saved, or no line has the name, a warning says so. Then every option that has
chosen a motor or a battery is calculated as its Calculate button does, with the cells in its
boxes, and the four options are printed side by side as the window's comparison sheet shows
them: names, cells, the result ("Combination not possible" with its reason), the nine values,
the figures the window shows below them, the settings the flight figures rest on (part
throttle, time at full throttle, capacity used, the model's weight) and the all-up weight, and
the margin to each limit the catalogues state. The flight figures use the model weight and the
flight settings saved in the setup (the program's defaults for those it does not hold); the
flight options below replace them.

Options:
  --catalogues DIR       the directory holding motor.txt, battery.txt and fan.txt (default: the
                         current directory)
  --decimal-separator C  the decimal separator the numbers are read and shown with, instead of
                         the locale's (from LC_ALL, LC_NUMERIC or LANG)
  --throttle PCT         part throttle, % of the operating point's fan rpm, 1 to 100
  --full-throttle PCT    share of a flight's time at full throttle, % (0 to 100)
  --usable PCT           share of the pack's capacity a flight draws, % (1 to 100)
  --model-weight G       the model's weight without its pack, g
  --json                 {"comparison": [...], "options": [...]}: the side-by-side rows, each
                         {"caption", "cells": four texts}, then for each option its number,
                         cells and the object a single calculation's --json writes (with its
                         flight figures and flight_settings), or null for an option that chose
                         nothing
  --csv                  the side-by-side table as the comparison sheet's CSV: a heading line
                         (",Option 1,...,Option 4"), then a line per row, its caption first
  --help, -h             this text

Exit status:
  0  every option calculated
  1  a setup or catalogue that cannot be read, or an option that ended in a fault
  2  a usage error, or an option missing its motor or battery
  3  an option whose combination is not possible
)";

enum class SetupOutput { Text, Json, Csv };

struct SetupOptions {
    std::string file;
    std::string catalogueDir = ".";
    SetupOutput output = SetupOutput::Text;
    std::optional<char> decimalSeparator;
    SetupFigures flight;  // the flight options given, over the setup's own figures
};

SetupOptions ParseSetupOptions(const std::vector<std::string>& args) {
    SetupOptions options;
    for (ArgumentReader reader(args); reader.Next();) {
        const std::string& name = reader.Name();
        if (name == "--json" || name == "--csv") {
            reader.NoValue();
            if (options.output != SetupOutput::Text) {
                throw UsageError("--json and --csv cannot be given together");
            }
            options.output = name == "--json" ? SetupOutput::Json : SetupOutput::Csv;
        } else if (name == "--catalogues") {
            options.catalogueDir = ParseDirectory(name, reader.Value());
        } else if (name == "--decimal-separator") {
            options.decimalSeparator = ParseSeparator(reader.Value());
        } else if (name.rfind('-', 0) != 0 && options.file.empty()) {
            options.file = name;
        } else if (!ReadFlightOption(reader, options.flight)) {
            throw UsageError("unknown argument \"" + reader.Given() + "\"");
        }
    }
    if (options.file.empty()) throw UsageError("setup needs the setup file to calculate");
    return options;
}

// How bad an outcome is, for the status of all four.
int Severity(CliOutcome outcome) {
    switch (outcome) {
        case CliOutcome::Calculated:
            return 0;
        case CliOutcome::NotRun:
            return 1;
        case CliOutcome::NotPossible:
            return 2;
        case CliOutcome::Fault:
            return 3;
    }
    return 3;
}

using Records = std::array<std::unique_ptr<CalculationRecord>, kOptionCount>;

// The setup as the window shows it once every option has been calculated: each option's
// result belongs to what it has chosen.
Setup CalculatedSetup(const Records& records, Setup setup, const FlightSettings& flight,
                      char separator) {
    setup.figures = SetupFiguresOf(flight);
    for (int k = 1; k <= kOptionCount; ++k) {
        SetupOption& o = setup.option(k);
        o.shown.reset();
        const auto& record = records[static_cast<std::size_t>(k - 1)];
        if (!record || (record->outcome != CliOutcome::Calculated &&
                        record->outcome != CliOutcome::NotPossible)) {
            continue;
        }
        std::array<std::string, kResultFieldCount> values;
        for (std::size_t f = 0; f < values.size(); ++f) {
            values[f] = record->view.Label(static_cast<ResultField>(f)).value_or(std::string());
        }
        o.shown = ShownOf(ChosenCombination(o), record->report, values, record->assessment, flight,
                          separator);
    }
    return setup;
}

// The side-by-side table: a caption column, then one column per option.
void WriteTable(const Records& records, const std::vector<ComparisonRow>& table,
                std::ostream& out) {
    std::vector<std::array<std::string, kOptionCount + 1>> rows;
    rows.push_back({"", OptionHeading(1), OptionHeading(2), OptionHeading(3), OptionHeading(4)});
    for (const ComparisonRow& row : table) {
        std::array<std::string, kOptionCount + 1> line{row.caption};
        // Names are catalogue text, which may hold bytes a terminal acts on.
        for (std::size_t k = 0; k < row.cells.size(); ++k) line[k + 1] = Printable(row.cells[k]);
        rows.push_back(std::move(line));
    }
    std::array<std::size_t, kOptionCount + 1> widths{};
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c] + std::string(widths[c] - row[c].size() + 2, ' ');
        }
        out << ShownName(line) << '\n';
    }
    // A fault, or a sweep stopped at the power limit, is a sentence: below the table.
    for (int k = 1; k <= kOptionCount; ++k) {
        const auto& record = records[static_cast<std::size_t>(k - 1)];
        if (record && !record->message.empty() && record->outcome != CliOutcome::NotPossible) {
            out << OptionHeading(k) << ": " << Printable(record->message) << '\n';
        }
    }
}

void WriteJson(const Records& records, const Setup& setup, const std::vector<ComparisonRow>& table,
               std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    // The side-by-side rows as the text and the CSV print them.
    json.Key("comparison");
    json.BeginArray();
    for (const ComparisonRow& row : table) {
        json.BeginObject();
        json.Key("caption");
        json.String(row.caption);
        json.Key("cells");
        json.BeginArray();
        for (const std::string& cell : row.cells) json.String(cell);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Key("options");
    json.BeginArray();
    for (int k = 1; k <= kOptionCount; ++k) {
        const auto& record = records[static_cast<std::size_t>(k - 1)];
        if (!record) {
            json.Null();
            continue;
        }
        json.BeginObject();
        json.Key("option");
        json.Integer(k);
        json.Key("serie");
        json.Integer(setup.option(k).serie);
        json.Key("parallel");
        json.Integer(setup.option(k).parallel);
        json.Key("calculation");
        WriteResultObject(json, *record);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

}  // namespace

int RunSetup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             char localeSeparator) {
    if (AsksForHelp(args)) {
        out << kSetupHelp;
        return kExitCalculated;
    }
    SetupOptions options;
    try {
        options = ParseSetupOptions(args);
    } catch (const UsageError& e) {
        return ReportUsage(err, e.what(), "setup");
    }
    const char separator = options.decimalSeparator.value_or(localeSeparator);

    Catalogue catalogue;
    OpenedSetup opened;
    try {
        Setup saved;
        try {
            saved = ReadSetup(ReadWholeFile(options.file, kSetupFile));
        } catch (const SetupError& e) {
            throw Error("Cannot open setup \"" + options.file + "\". " + e.what());
        }
        std::array<TOptionSlot, kOptionCount> slots;
        LoadObserver quiet;
        LoadCatalogues(catalogue, slots, DirectoryPlatform(options.catalogueDir, separator), quiet);
        WarnOfFindings(err, catalogue);
        opened = OpenSetup(saved, catalogue);
    } catch (const Error& e) {
        ReportError(err, e.what());
        return kExitError;
    }
    for (const std::string& note : opened.notes) ReportError(err, "warning: " + note);
    const FlightSettings flight =
        FlightSettingsOf(options.flight, FlightSettingsOf(opened.setup.figures));

    Records records;
    int worst = -1;
    int status = kExitCalculated;
    for (int k = 1; k <= kOptionCount; ++k) {
        const SetupOption& o = opened.setup.option(k);
        const OpenedOption& found = opened.found[static_cast<std::size_t>(k - 1)];
        // An option that chose nothing is not part of the comparison.
        if (!found.motor && !found.battery && !o.motor.chosen() && !o.battery.chosen()) continue;
        auto record = std::make_unique<CalculationRecord>(nullptr);
        record->flight = flight;
        try {
            if (found.motor) {
                ChooseMotor(record->slot, catalogue.MotorLines[*found.motor], separator,
                            catalogue.MotorLineNumbers[*found.motor]);
            }
            if (found.battery) {
                ChooseBattery(record->slot, catalogue.BatteryLines[*found.battery], separator,
                              catalogue.BatteryLineNumbers[*found.battery]);
            }
            ChooseFan(record->slot, catalogue.Fans, o.fan);
            CalculateRecord(*record, catalogue, k, o.serie, o.parallel, separator);
        } catch (const Error& e) {
            record->outcome = CliOutcome::Fault;
            record->message = e.what();
        }
        if (Severity(record->outcome) > worst) {
            worst = Severity(record->outcome);
            status = OutcomeStatus(record->outcome);
        }
        records[static_cast<std::size_t>(k - 1)] = std::move(record);
    }

    const Setup calculated = CalculatedSetup(records, opened.setup, flight, separator);
    switch (options.output) {
        case SetupOutput::Text:
            WriteTable(records, ComparisonRows(calculated, separator), out);
            break;
        case SetupOutput::Json:
            WriteJson(records, opened.setup, ComparisonRows(calculated, separator), out);
            break;
        case SetupOutput::Csv:
            out << ComparisonCsv(ComparisonRows(calculated, separator));
            break;
    }
    return status;
}

}  // namespace mfb::cli
