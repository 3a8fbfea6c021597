// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ResultOutput.h"

#include <ostream>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "catalogue/TextLines.h"
#include "cli/CalculationRecord.h"
#include "cli/DerivedOutput.h"
#include "cli/PartLoadOutput.h"
#include "json/JsonWriter.h"
#include "model/ColumnRows.h"

namespace mfb::cli {

namespace {

std::string_view TrimRight(std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

void WriteName(std::ostream& out, std::string_view caption, std::string_view name) {
    out << caption << ':';
    if (!TrimRight(name).empty()) out << ' ' << Printable(TrimRight(name));
    out << '\n';
}

}  // namespace

void WriteResultText(const CalculationRecord& record, char separator, std::ostream& out) {
    for (const ColumnRow& row : kColumnRows) {
        out << Caption(row.field) << ':';
        if (const auto& text = record.view.Label(row.field)) {
            out << ' ' << *text;
            if (!row.unit.empty()) out << ' ' << row.unit;
        }
        out << '\n';
    }
    // A selector names the start of an entry, so the names say which one it matched.
    WriteName(out, "Motor", record.slot.MotorName);
    WriteName(out, "Battery", record.slot.BatteryName);
    WriteName(out, "Fan", record.slot.FanName);
    if (!record.assessment) return;
    for (const DerivedRow& row : kDerivedRows) {
        out << DescribeFigure(row, record.assessment->figures, separator) << '\n';
    }
    for (const LimitRow& row : kLimitRows) {
        if (const auto& check = record.assessment->limits[static_cast<std::size_t>(row.kind)]) {
            out << DescribeLimit(row.kind, *check, separator) << '\n';
        }
    }
    const FlightFigures& flight = record.assessment->flight;
    out << DescribeFlightSettings(record.flight, separator) << '\n';
    for (const FlightRow& row : kFlightRows) {
        if (const auto text = DescribeFlight(row, flight, separator)) out << *text << '\n';
    }
    if (flight.jetQuestioned) out << kJetQuestionedNote << '\n';
    if (!flight.full)
        out << "Thrust: not known: the fan catalogue states no swept area or static efficiency\n";
    if (flight.part && flight.part->fanLaw) out << DescribeFanLaw(*flight.part, separator) << '\n';
    if (!flight.part) {
        out << "Part throttle: not possible: " << DescribeRefusal(flight.refusal, separator)
            << '\n';
    }
    if (record.partLoad) WritePartLoadText(*record.partLoad, separator, out);
}

namespace {

void WriteAxis(JsonWriter& json, std::string_view key, const std::optional<AxisRange>& range) {
    json.Key(key);
    if (!range) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("min");
    json.Number(range->min);
    json.Key("max");
    json.Number(range->max);
    json.EndObject();
}

void WriteMember(JsonWriter& json, std::string_view key, double value) {
    json.Key(key);
    json.Number(value);
}

}  // namespace

void WriteResultJson(const CalculationRecord& record, std::ostream& out) {
    JsonWriter json(out);
    WriteResultObject(json, record);
}

void WriteResultObject(JsonWriter& json, const CalculationRecord& record) {
    const TOptionSlot& slot = record.slot;
    const CalculateReport& report = record.report;
    json.BeginObject();
    const bool notPossible = record.outcome == CliOutcome::NotPossible;
    json.Key("outcome");
    json.String(notPossible ? RowOf(report.reason).key : OutcomeName(record.outcome));
    json.Key("message");
    json.String(record.message);
    json.Key("failed_step");
    if (notPossible && report.reason == NotPossibleReason::PackTooWeak) {
        json.Integer(report.failedStep);
    } else {
        json.Null();
    }
    json.Key("steps");
    json.Integer(report.steps);

    json.Key("names");
    json.BeginObject();
    json.Key("fan");
    json.String(slot.FanName);
    json.Key("motor");
    json.String(slot.MotorName);
    json.Key("battery");
    json.String(slot.BatteryName);
    json.EndObject();

    json.Key("labels");
    json.BeginObject();
    for (const ColumnRow& row : kColumnRows) {
        if (const auto& text = record.view.Label(row.field)) {
            json.Key(Caption(row.field));
            json.String(*text);
        }
    }
    json.EndObject();

    json.Key("pack");
    json.BeginObject();
    WriteMember(json, "PackWeight", slot.PackWeight);
    WriteMember(json, "UBattery", slot.UBattery);
    WriteMember(json, "RTotal", slot.RTotal);
    json.EndObject();

    json.Key("result");
    json.BeginObject();
    WriteMember(json, "Current", report.result.Current);
    WriteMember(json, "RpmMotor", report.result.RpmMotor);
    WriteMember(json, "PinMotor", report.result.PinMotor);
    WriteMember(json, "Efficiency", report.result.Efficiency);
    WriteMember(json, "UMotor", report.result.UMotor);
    json.EndObject();

    json.Key("axes");
    json.BeginObject();
    WriteAxis(json, "bottom", record.chart.Range(Axis::Bottom));
    WriteAxis(json, "left", record.chart.Range(Axis::Left));
    WriteAxis(json, "right", record.chart.Range(Axis::Right));
    json.EndObject();

    json.Key("title");
    if (const auto& title = record.chart.Title()) {
        json.String(*title);
    } else {
        json.Null();
    }

    json.Key("derived");
    if (record.assessment) {
        WriteDerivedJson(json, record.assessment->figures);
    } else {
        json.Null();
    }
    json.Key("limits");
    WriteLimitsJson(json, record.assessment ? record.assessment->limits : LimitChecks{});
    json.Key("flight");
    if (record.assessment) {
        WriteFlightJson(json, record.assessment->flight);
    } else {
        json.Null();
    }
    json.Key("flight_settings");
    WriteFlightSettingsJson(json, record.flight);
    if (record.partLoad) {
        json.Key("part_load");
        WritePartLoadJson(json, *record.partLoad);
    }
    json.EndObject();
}

namespace {

void WriteIndexed(std::ostream& out, std::size_t index, std::size_t width, std::string_view text) {
    const std::string number = std::to_string(index);
    out << std::string(width > number.size() ? width - number.size() : 0, ' ') << number << "  "
        << Printable(TrimRight(text)) << '\n';
}

void WriteLines(std::ostream& out, const std::vector<std::string>& lines) {
    const std::size_t width = std::to_string(lines.empty() ? 0 : lines.size() - 1).size();
    for (std::size_t i = 0; i < lines.size(); ++i) WriteIndexed(out, i, width, EntryText(lines[i]));
}

}  // namespace

void WriteCatalogueList(const Catalogue& catalogue, std::ostream& out) {
    out << "Motors (--motor INDEX):\n";
    WriteLines(out, catalogue.MotorLines);
    out << "Batteries (--battery INDEX):\n";
    WriteLines(out, catalogue.BatteryLines);
    out << "Fans (--fan NUMBER):\n";
    for (std::size_t k = 0; k < catalogue.Fans.size(); ++k) {
        WriteIndexed(out, k + 1, 1, catalogue.Fans[k].Name);
    }
}

}  // namespace mfb::cli
