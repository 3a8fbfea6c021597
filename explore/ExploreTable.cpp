// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ExploreTable.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "model/DisplayFormat.h"
#include "model/PowerTrain.h"

namespace mfb {

namespace {

constexpr std::size_t kNameColumns = 20;

constexpr ExploreKeyName kKeyNames[] = {
    {"rpm", "Rpm", ExploreKey::Rpm},
    {"power", "Shaft power", ExploreKey::Power},
    {"efficiency", "Efficiency", ExploreKey::Efficiency},
    {"power-per-weight", "Power per pack weight", ExploreKey::PowerPerWeight},
    {"runtime", "Full-throttle run time", ExploreKey::RunTime},
    {"target", "Closeness to target power", ExploreKey::Target},
    {"thrust", "Static thrust", ExploreKey::Thrust},
    {"thrust-to-weight", "Thrust to weight", ExploreKey::ThrustToWeight},
    {"efflux", "Efflux speed", ExploreKey::Efflux},
    {"flight-time", "Flight time", ExploreKey::FlightTime},
    {"target-thrust", "Closeness to target thrust", ExploreKey::TargetThrust},
};
static_assert(std::size(kKeyNames) == static_cast<std::size_t>(kLastExploreKey) + 1,
              "a ranking key without a name");

// A flight figure that is not known is not a number: an empty cell, a JSON null.
Extended OrNan(const std::optional<double>& value) {
    return value.value_or(std::numeric_limits<double>::quiet_NaN());
}

// The flight figure of the row of kFlightRows under `key`.
Extended Flight(const ExploreRow& row, std::string_view key) {
    for (const FlightRow& flight : kFlightRows) {
        if (flight.key == key) return OrNan(flight.value(row.flight));
    }
    return OrNan(std::nullopt);
}

constexpr ExploreValueColumn kValueColumns[] = {
    {"Rpm", "rpm", [](const ExploreRow& r) -> Extended { return r.result.RpmMotor; }},
    // The window shows the extended product, never rounded to double first.
    {"Pout W", "shaft_power",
     [](const ExploreRow& r) { return ShaftPower(r.result.PinMotor, r.result.Efficiency); }},
    {"Eff", "efficiency", [](const ExploreRow& r) -> Extended { return r.result.Efficiency; }},
    {"Current A", "current", [](const ExploreRow& r) -> Extended { return r.result.Current; }},
    {"Pin W", "pin_motor", [](const ExploreRow& r) -> Extended { return r.result.PinMotor; }},
    {"U Motor V", "u_motor", [](const ExploreRow& r) -> Extended { return r.result.UMotor; }},
    {"Weight g", "pack_weight", [](const ExploreRow& r) -> Extended { return r.packWeight; }},
    {"W/kg", "power_per_weight",
     [](const ExploreRow& r) -> Extended { return r.derived.powerPerWeight; }},
    {"Run min", "run_time", [](const ExploreRow& r) -> Extended { return r.derived.runTime; }},
    {"Thrust g", "thrust", [](const ExploreRow& r) { return Flight(r, "thrust"); }},
    {"Efflux km/h", "efflux", [](const ExploreRow& r) { return Flight(r, "efflux"); }},
    {"Part A", "part_current", [](const ExploreRow& r) { return Flight(r, "part_current"); }},
    {"Flight min", "flight_time", [](const ExploreRow& r) { return Flight(r, "flight_time"); }},
    {"T/W", "thrust_to_weight", [](const ExploreRow& r) { return Flight(r, "thrust_to_weight"); }},
};

constexpr ExploreFigureColumn kFigureColumns[] = {
    {"C", [](const ExploreRow& r) -> std::optional<double> { return r.derived.cRate; }},
    // Only where a catalogue states a limit.
    {"Margin %", [](const ExploreRow& r) { return LeastMargin(r.limits); }},
};

// The summary's words are a modeller's; the JSON keys stay as scripts know them.
constexpr ExploreCountField kCountFields[] = {
    {"visited", "", &ExploreCounts::visited},
    {"ranked", "ranked", &ExploreCounts::ranked},
    {"over_limits", "over a catalogue limit", &ExploreCounts::overLimits},
    {"filtered_out", "outside your budgets", &ExploreCounts::filteredOut},
    {"no_kept_step", RowOf(NotPossibleReason::MotorTooSlow).words, &ExploreCounts::noKeptStep},
    {"motor_stalls", RowOf(NotPossibleReason::MotorStalls).words, &ExploreCounts::motorStalls},
    {"not_possible", "pack too weak", &ExploreCounts::notPossible},
    {"at_limit", "no operating point below a megawatt", &ExploreCounts::atLimit},
    {"faults", "arithmetic fault", &ExploreCounts::faults},
    {"unreadable", "catalogue line unreadable", &ExploreCounts::unreadable},
    {"not_run", "motor or battery unnamed", &ExploreCounts::notRun},
    {"full_sweeps", "", &ExploreCounts::fullSweeps},
    {"pruned", "over the weight budget, not swept", &ExploreCounts::pruned},
    {"bounded", "settled by bounds without a sweep", &ExploreCounts::bounded},
};

std::string_view TrimRight(std::string_view text) {
    const auto end = text.find_last_not_of(" \t");
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

std::string_view NameOf(const std::string& line) {
    return TrimRight(EntryText(line).substr(0, kNameColumns));
}

}  // namespace

std::span<const ExploreKeyName> ExploreKeyNames() {
    return kKeyNames;
}

std::span<const ExploreValueColumn> ExploreValueColumns() {
    return kValueColumns;
}

std::span<const ExploreFigureColumn> ExploreFigureColumns() {
    return kFigureColumns;
}

std::span<const ExploreCountField> ExploreCountFields() {
    return kCountFields;
}

ExploreNames NamesOf(const Catalogue& catalogue, const ExploreRow& row) {
    const TFanData* fan = FanNumbered(catalogue, row.fan);
    return {NameOf(catalogue.MotorLines.at(row.motor)),
            NameOf(catalogue.BatteryLines.at(row.battery)),
            fan != nullptr ? TrimRight(fan->Name) : std::string_view()};
}

std::array<std::string, 6> ExploreLeadCells(const Catalogue& catalogue, const ExploreRow& row,
                                            std::size_t rank) {
    const ExploreNames names = NamesOf(catalogue, row);
    return {std::to_string(rank),       std::string(names.motor),
            std::string(names.battery), std::to_string(row.fan) + " " + std::string(names.fan),
            std::to_string(row.serie),  std::to_string(row.parallel)};
}

std::string ExploreSummary(const ExploreResult& result, double seconds, char decimalSeparator) {
    std::string line = (result.partial ? std::to_string(result.counts.visited) + " of " : "") +
                       std::to_string(result.combinations) +
                       (result.combinations == 1 ? " combination" : " combinations") + " in " +
                       FormatValue(seconds, decimalSeparator) + " s:";
    const char* separator = " ";
    for (const ExploreCountField& field : kCountFields) {
        const long long count = result.counts.*field.count;
        // The ranked count is shown even when zero: it explains an empty table.
        if (field.label.empty() || (count == 0 && field.key != "ranked")) continue;
        line += separator + std::to_string(count) + ' ' + std::string(field.label);
        separator = ", ";
        if (field.key == "ranked" && result.front) {
            line += ", " + std::to_string(*result.front) + " on the trade-off front";
        }
    }
    return line;
}

std::string LeftOutLine(std::size_t entries) {
    return std::to_string(entries) + (entries == 1 ? " catalogue entry" : " catalogue entries") +
           " left out; `mfbcalc-cli check` lists them";
}

std::size_t WriteExploreCsv(const Catalogue& catalogue, const std::vector<ExploreRow>& rows,
                            std::ostream& out, const std::atomic<bool>* stop) {
    out << "rank,motor,battery,fan,serie,parallel";
    for (const ExploreValueColumn& column : kValueColumns) out << ',' << column.key;
    out << ",steps,c_rate";
    for (const LimitRow& limit : kLimitRows) {
        out << ',' << limit.key << "_limit," << limit.key << "_margin";
    }
    out << '\n';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) return i;
        const ExploreRow& row = rows[i];
        const ExploreNames names = NamesOf(catalogue, row);
        out << i + 1 << ',' << CsvField(names.motor) << ',' << CsvField(names.battery) << ','
            << row.fan << ',' << row.serie << ',' << row.parallel;
        for (const ExploreValueColumn& column : kValueColumns) {
            const double value = static_cast<double>(column.value(row));
            out << ',' << (std::isnan(value) ? std::string() : ExactNumber(value));
        }
        out << ',' << row.steps << ',' << ExactNumber(row.derived.cRate);
        for (const auto& check : row.limits) {
            if (check) {
                out << ',' << ExactNumber(check->limit) << ',' << ExactNumber(check->margin);
            } else {
                out << ",,";
            }
        }
        out << '\n';
    }
    return rows.size();
}

std::string CsvField(std::string_view text) {
    std::string field;
    if (!text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos) {
        field = "'";
    }
    field += text;
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace mfb
