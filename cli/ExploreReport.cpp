// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreReport.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "cli/Json.h"
#include "explore/Explorer.h"
#include "model/DisplayFormat.h"
#include "model/Extended.h"
#include "model/PowerTrain.h"

namespace mfb::cli {

namespace {

// A motor's or battery's name is the start of its entry text, as the option column shows it.
constexpr std::size_t kNameColumns = 20;

// The values of a row, in the order of the table, the CSV and the JSON.
struct ValueColumn {
    std::string_view header;  // the table's
    std::string_view key;     // the CSV's and the JSON's
    Extended (*value)(const ExploreRow& row);
};

constexpr ValueColumn kValueColumns[] = {
    {"Rpm", "rpm", [](const ExploreRow& r) -> Extended { return r.result.RpmMotor; }},
    // The window shows the extended product, never rounded to double first.
    {"Pout W", "shaft_power",
     [](const ExploreRow& r) { return ShaftPower(r.result.PinMotor, r.result.Efficiency); }},
    {"Eff", "efficiency", [](const ExploreRow& r) -> Extended { return r.result.Efficiency; }},
    {"Current A", "current", [](const ExploreRow& r) -> Extended { return r.result.Current; }},
    {"Pin W", "pin_motor", [](const ExploreRow& r) -> Extended { return r.result.PinMotor; }},
    {"U Motor V", "u_motor", [](const ExploreRow& r) -> Extended { return r.result.UMotor; }},
    {"Weight g", "pack_weight", [](const ExploreRow& r) -> Extended { return r.packWeight; }},
    // Per kilogram, from the same quotient the ranking sorts by.
    {"W/kg", "power_per_weight",
     [](const ExploreRow& r) -> Extended {
         return KeyValue(r, ExploreKey::PowerPerWeight) * 1000;
     }},
    {"Run min", "run_time", [](const ExploreRow& r) -> Extended { return r.runTime; }},
};

struct CountField {
    std::string_view key;    // the JSON's
    std::string_view label;  // the summary's; empty: not in the summary
    long long ExploreCounts::*count;
};

constexpr CountField kCountFields[] = {
    {"visited", "", &ExploreCounts::visited},
    {"ranked", "ranked", &ExploreCounts::ranked},
    {"filtered_out", "outside the budgets", &ExploreCounts::filteredOut},
    {"no_kept_step", "no kept step", &ExploreCounts::noKeptStep},
    {"not_possible", "not possible", &ExploreCounts::notPossible},
    {"at_limit", "stopped at the limit", &ExploreCounts::atLimit},
    {"faults", "faulted", &ExploreCounts::faults},
    {"unreadable", "unreadable", &ExploreCounts::unreadable},
    {"not_run", "not run", &ExploreCounts::notRun},
    {"pruned", "over the weight budget, not swept", &ExploreCounts::pruned},
    {"full_sweeps", "", &ExploreCounts::fullSweeps},
};

std::string_view TrimRight(std::string_view text) {
    const auto end = text.find_last_not_of(" \t");
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

std::string_view NameOf(const std::string& line) {
    return TrimRight(EntryText(line).substr(0, kNameColumns));
}

struct RowNames {
    std::string_view motor, battery, fan;
};

RowNames NamesOf(const Catalogue& catalogue, const ExploreRow& row) {
    return {NameOf(catalogue.MotorLines.at(row.motor)),
            NameOf(catalogue.BatteryLines.at(row.battery)),
            TrimRight(catalogue.Fans.at(static_cast<std::size_t>(row.fan - 1)).Name)};
}

// Motor, battery and fan are text and read best left-aligned; the rest are numbers.
bool LeftAligned(std::size_t column) {
    return column >= 1 && column <= 3;
}

void WriteAligned(const std::vector<std::vector<std::string>>& table, std::ostream& out) {
    std::vector<std::size_t> widths(table.front().size(), 0);
    for (const auto& line : table) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            widths[c] = std::max(widths[c], line[c].size());
        }
    }
    for (const auto& line : table) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            const std::string padding(widths[c] - line[c].size(), ' ');
            if (c > 0) out << "  ";
            if (LeftAligned(c)) {
                out << line[c] << padding;
            } else {
                out << padding << line[c];
            }
        }
        out << '\n';
    }
}

std::string PartialNote(const ExploreResult& result) {
    return "partial: stopped after " + std::to_string(result.counts.visited) + " of " +
           std::to_string(result.combinations) +
           " combinations; the rows are the best of those visited";
}

void WriteSummary(const ExploreReport& report, char decimalSeparator, std::ostream& out) {
    const ExploreResult& result = report.result;
    out << result.combinations << (result.combinations == 1 ? " combination" : " combinations")
        << " in " << FormatValue(report.seconds, decimalSeparator) << " s:";
    const char* separator = " ";
    for (const CountField& field : kCountFields) {
        const long long count = result.counts.*field.count;
        // The ranked count is shown even when zero: it explains an empty table.
        if (field.label.empty() || (count == 0 && field.key != "ranked")) continue;
        out << separator << count << ' ' << field.label;
        separator = ", ";
    }
    out << '\n';
    if (result.partial) out << PartialNote(result) << '\n';
}

}  // namespace

void WriteExploreText(const ExploreReport& report, char decimalSeparator, std::ostream& out) {
    const std::vector<ExploreRow>& rows = report.result.rows;
    if (!rows.empty()) {
        std::vector<std::vector<std::string>> table;
        std::vector<std::string> header = {"#", "Motor", "Battery", "Fan", "S", "P"};
        for (const ValueColumn& column : kValueColumns) header.emplace_back(column.header);
        table.push_back(std::move(header));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ExploreRow& row = rows[i];
            const RowNames names = NamesOf(report.catalogue, row);
            std::vector<std::string> line = {
                std::to_string(i + 1),      std::string(names.motor),
                std::string(names.battery), std::to_string(row.fan) + " " + std::string(names.fan),
                std::to_string(row.serie),  std::to_string(row.parallel)};
            for (const ValueColumn& column : kValueColumns) {
                line.push_back(FormatValue(column.value(row), decimalSeparator));
            }
            table.push_back(std::move(line));
        }
        WriteAligned(table, out);
        out << '\n';
    }
    WriteSummary(report, decimalSeparator, out);
}

void WriteExploreCsv(const ExploreReport& report, std::ostream& out) {
    // Only a partial ranking has this line, so that it cannot pass for a complete one.
    if (report.result.partial) out << "# " << PartialNote(report.result) << '\n';
    out << "rank,motor,battery,fan,serie,parallel";
    for (const ValueColumn& column : kValueColumns) out << ',' << column.key;
    out << ",steps\n";
    const std::vector<ExploreRow>& rows = report.result.rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ExploreRow& row = rows[i];
        const RowNames names = NamesOf(report.catalogue, row);
        out << i + 1 << ',' << CsvField(names.motor) << ',' << CsvField(names.battery) << ','
            << row.fan << ',' << row.serie << ',' << row.parallel;
        for (const ValueColumn& column : kValueColumns) {
            out << ',' << JsonNumber(static_cast<double>(column.value(row)));
        }
        out << ',' << row.steps << '\n';
    }
}

void WriteExploreJson(const ExploreReport& report, std::ostream& out) {
    const ExploreResult& result = report.result;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("combinations");
    json.Integer(result.combinations);
    json.Key("seconds");
    json.Number(report.seconds);
    json.Key("partial");
    json.Boolean(result.partial);

    json.Key("counts");
    json.BeginObject();
    for (const CountField& field : kCountFields) {
        json.Key(field.key);
        json.Integer(result.counts.*field.count);
    }
    json.EndObject();

    json.Key("rows");
    json.BeginArray();
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
        const ExploreRow& row = result.rows[i];
        const RowNames names = NamesOf(report.catalogue, row);
        json.BeginObject();
        json.Key("rank");
        json.Integer(static_cast<long long>(i + 1));
        json.Key("motor");
        json.String(names.motor);
        json.Key("battery");
        json.String(names.battery);
        json.Key("fan");
        json.Integer(row.fan);
        json.Key("serie");
        json.Integer(row.serie);
        json.Key("parallel");
        json.Integer(row.parallel);
        for (const ValueColumn& column : kValueColumns) {
            json.Key(column.key);
            json.Number(static_cast<double>(column.value(row)));
        }
        json.Key("steps");
        json.Integer(row.steps);
        json.EndObject();
    }
    json.EndArray();

    json.Key("notes");
    json.BeginArray();
    for (const std::string& note : result.notes) json.String(note);
    json.EndArray();
    json.EndObject();
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace mfb::cli
