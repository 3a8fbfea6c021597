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
#include "cli/DerivedOutput.h"
#include "cli/FlightOptions.h"
#include "cli/Program.h"
#include "cli/ResultOutput.h"
#include "explore/ExploreTable.h"
#include "json/JsonWriter.h"
#include "model/ColumnRows.h"
#include "model/DisplayFormat.h"
#include "setup/SetupFile.h"
#include "setup/SetupMatch.h"

namespace mfb::cli {

namespace {

// Why an option that has an operating point shows no value of a flight figure, as a single
// calculation says it; empty where it only lacks the model's weight, which the user leaves out.
std::string WhyNotKnown(const FlightRow& row, const FlightFigures& figures, char separator) {
    const bool jet = row.key == "thrust" || row.key == "efflux" || row.key == "part_thrust" ||
                     row.key == "thrust_to_weight";
    const bool part =
        row.key == "part_current" || row.key == "part_thrust" || row.key == "flight_time";
    if (part && !figures.part) return "not known: " + DescribeRefusal(figures.refusal, separator);
    if (jet && !figures.full && (row.key != "thrust_to_weight" || figures.allUpWeight)) {
        return "not known: no jet data in fan.txt";
    }
    return row.key == "flight_time" ? "not known: no capacity" : std::string();
}

constexpr char kSetupHelp[] =
    R"(Usage: mfbcalc-cli setup FILE [--catalogues DIR] [--json | --csv] [--decimal-separator C]
                         [--throttle PCT] [--full-throttle PCT] [--usable PCT] [--model-weight G]

Opens a setup file saved by the window (File > Save) in the catalogues, as File > Open does:
each motor and battery is found by its name; where the catalogue's line of that name differs
from the one saved, or no line has the name, a warning says so. Then every option that has
chosen a motor or a battery is calculated as its Calculate button does, with the cells in its
boxes, and the four options are printed side by side: names, cells, the nine values, the
derived figures, the flight figures that are known (static thrust, efflux speed, part-throttle
current and thrust, flight time, all-up weight, thrust to weight), then "Flight: ..." with how
the model is flown, and a line for each limit the catalogues state. The flight figures use the
model weight and the flight settings saved in the setup (the program's defaults for those it
does not hold); the flight options below replace them.

Options:
  --catalogues DIR       the directory holding motor.txt, battery.txt and fan.txt (default: the
                         current directory)
  --decimal-separator C  the decimal separator the numbers are read and shown with, instead of
                         the locale's (from LC_ALL, LC_NUMERIC or LANG)
  --throttle PCT         part throttle, % of the operating point's fan rpm, 1 to 100
  --full-throttle PCT    share of a flight's time at full throttle, % (0 to 100)
  --usable PCT           share of the pack's capacity a flight draws, % (1 to 100)
  --model-weight G       the model's weight without its pack, g
  --json                 {"options": [...]}: for each option its number, cells and the object a
                         single calculation's --json writes (with its flight figures and
                         flight_settings), or null for an option that chose nothing
  --csv                  one row per option that chose anything: option, outcome, names, cells,
                         the nine values as shown, the derived figures, the limit margins, then
                         the flight figures (thrust, efflux, part_current, part_thrust,
                         flight_time, all_up_weight, thrust_to_weight; empty where not known)
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

std::string Trimmed(std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

// The side-by-side table: a caption column, then one column per option.
void WriteTable(const Records& records, const Setup& setup, const FlightSettings& flight,
                char separator, std::ostream& out) {
    std::vector<std::array<std::string, kOptionCount + 1>> rows;
    const auto add = [&](std::string caption, auto cell) {
        std::array<std::string, kOptionCount + 1> row{std::move(caption)};
        for (int k = 1; k <= kOptionCount; ++k) {
            const auto& record = records[static_cast<std::size_t>(k - 1)];
            if (record) row[static_cast<std::size_t>(k)] = cell(*record, setup.option(k));
        }
        rows.push_back(std::move(row));
    };
    rows.push_back({"", "Option 1", "Option 2", "Option 3", "Option 4"});
    add("Fan",
        [](const CalculationRecord& r, const SetupOption&) { return Trimmed(r.slot.FanName); });
    add("Motor",
        [](const CalculationRecord& r, const SetupOption&) { return Trimmed(r.slot.MotorName); });
    add("Battery",
        [](const CalculationRecord& r, const SetupOption&) { return Trimmed(r.slot.BatteryName); });
    add("Cells", [](const CalculationRecord&, const SetupOption& o) {
        return CellsText(o.serie, o.parallel);
    });
    for (const ColumnRow& row : kColumnRows) {
        add(std::string(Caption(row.field)), [&](const CalculationRecord& r, const SetupOption&) {
            const auto& text = r.view.Label(row.field);
            if (!text) return std::string();
            return row.unit.empty() ? *text : *text + ' ' + std::string(row.unit);
        });
    }
    for (const DerivedRow& row : kDerivedRows) {
        add(std::string(row.caption), [&](const CalculationRecord& r, const SetupOption&) {
            if (!r.assessment) return std::string();
            return FormatValue(r.assessment->figures.*row.value, separator) + ' ' +
                   std::string(row.unit);
        });
    }
    for (const FlightRow& row : kFlightRows) {
        add(std::string(row.caption), [&](const CalculationRecord& r, const SetupOption&) {
            const auto value = r.assessment ? row.value(r.assessment->flight) : std::nullopt;
            if (!value)
                return r.assessment ? WhyNotKnown(row, r.assessment->flight, separator)
                                    : std::string();
            return row.unit.empty() ? FormatValue(*value, separator)
                                    : FormatValue(*value, separator) + ' ' + std::string(row.unit);
        });
        // A figure no option has for want of what the user did not give (the model's weight) is
        // left out.
        const auto& added = rows.back();
        if (std::all_of(added.begin() + 1, added.end(),
                        [](const std::string& cell) { return cell.empty(); })) {
            rows.pop_back();
        }
    }

    // Names are catalogue text, which may hold bytes a terminal acts on.
    for (auto& row : rows) {
        for (std::string& cell : row) cell = Printable(cell);
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
        out << Trimmed(line) << '\n';
    }
    out << DescribeFlightSettings(flight, separator) << '\n';
    // Limits and messages are sentences: below the table, option by option.
    for (int k = 1; k <= kOptionCount; ++k) {
        const auto& record = records[static_cast<std::size_t>(k - 1)];
        if (!record) continue;
        if (!record->message.empty())
            out << "Option " << k << ": " << Printable(record->message) << '\n';
        if (!record->assessment) continue;
        for (const LimitRow& row : kLimitRows) {
            if (const auto& check =
                    record->assessment->limits[static_cast<std::size_t>(row.kind)]) {
                out << "Option " << k << ": " << DescribeLimit(row.kind, *check, separator) << '\n';
            }
        }
    }
}

void WriteJson(const Records& records, const Setup& setup, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
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

void WriteCsv(const Records& records, const Setup& setup, std::ostream& out) {
    out << "option,outcome,fan,motor,battery,serie,parallel";
    for (const ColumnRow& row : kColumnRows) out << ',' << CsvField(Caption(row.field));
    for (const DerivedRow& row : kDerivedRows) out << ',' << row.key;
    for (const LimitRow& row : kLimitRows) out << ',' << row.key << "_margin";
    for (const FlightRow& row : kFlightRows) out << ',' << row.key;
    out << '\n';
    for (int k = 1; k <= kOptionCount; ++k) {
        const auto& record = records[static_cast<std::size_t>(k - 1)];
        if (!record) continue;
        const TOptionSlot& slot = record->slot;
        out << k << ',' << OutcomeName(record->outcome) << ','
            << CsvField(Printable(Trimmed(slot.FanName))) << ','
            << CsvField(Printable(Trimmed(slot.MotorName))) << ','
            << CsvField(Printable(Trimmed(slot.BatteryName))) << ',' << setup.option(k).serie << ','
            << setup.option(k).parallel;
        for (const ColumnRow& row : kColumnRows) {
            out << ',' << CsvField(record->view.Label(row.field).value_or(std::string()));
        }
        for (const DerivedRow& row : kDerivedRows) {
            out << ',';
            if (record->assessment) out << ExactNumber(record->assessment->figures.*row.value);
        }
        for (const LimitRow& row : kLimitRows) {
            out << ',';
            if (!record->assessment) continue;
            if (const auto& check =
                    record->assessment->limits[static_cast<std::size_t>(row.kind)]) {
                out << ExactNumber(check->margin);
            }
        }
        for (const FlightRow& row : kFlightRows) {
            out << ',';
            if (!record->assessment) continue;
            if (const auto value = row.value(record->assessment->flight))
                out << ExactNumber(*value);
        }
        out << '\n';
    }
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

    switch (options.output) {
        case SetupOutput::Text:
            WriteTable(records, opened.setup, flight, separator, out);
            break;
        case SetupOutput::Json:
            WriteJson(records, opened.setup, out);
            break;
        case SetupOutput::Csv:
            WriteCsv(records, opened.setup, out);
            break;
    }
    return status;
}

}  // namespace mfb::cli
