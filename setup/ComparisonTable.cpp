// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/ComparisonTable.h"

#include <algorithm>
#include <string_view>

#include "catalogue/TextLines.h"
#include "explore/ExploreTable.h"
#include "model/ColumnRows.h"
#include "model/Derived.h"
#include "model/FigureRows.h"
#include "setup/FlightSettingTable.h"

namespace mfb {

namespace {

bool Used(const SetupOption& o) {
    return o.motor.chosen() || o.battery.chosen() || o.shown.has_value();
}

// The option's result, while it belongs to what the option has chosen.
const ShownResult* Current(const SetupOption& o) {
    return ShowsCurrent(o) ? &*o.shown : nullptr;
}
const ShownResult* Reached(const SetupOption& o) {
    const ShownResult* shown = Current(o);
    return shown != nullptr && shown->reached() ? shown : nullptr;
}

struct ChoiceField {
    const char* caption;
    std::string (*cell)(const SetupOption&);
};
constexpr ChoiceField kChoiceFields[] = {
    {"Fan", [](const SetupOption& o) { return ShownName(o.fanName); }},
    {"Motor", [](const SetupOption& o) { return ShownName(o.motor.name); }},
    {"Battery", [](const SetupOption& o) { return ShownName(o.battery.name); }},
    {"Cells", [](const SetupOption& o) { return CellsText(o.serie, o.parallel); }},
};

std::string ResultCell(const SetupOption& o) {
    if (const ShownResult* shown = Current(o)) {
        return shown->reached() ? "Operating point" : shown->notPossible;
    }
    return o.shown ? "Not calculated since the choice changed" : "Not calculated";
}

// "the fan's maximum rpm" as a caption: "Fan's maximum rpm".
std::string Capitalised(std::string_view text) {
    if (text.rfind("the ", 0) == 0) text.remove_prefix(4);
    std::string out(text);
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 32);
    return out;
}

bool AnyCell(const ComparisonRow& row) {
    return std::any_of(row.cells.begin(), row.cells.end(),
                       [](const std::string& cell) { return !cell.empty(); });
}

}  // namespace

std::string OptionHeading(int option) {
    return "Option " + std::to_string(option);
}

std::string OptionSummary(const Setup& setup, int option) {
    return CombinationText(ChosenCombination(setup.option(option)));
}

std::vector<ComparisonRow> ComparisonRows(const Setup& setup, char separator) {
    std::vector<ComparisonRow> rows;
    // A row of a cell per option for which `cell` gives one; rows of blanks are left out where
    // `always` is not set.
    const auto add = [&](std::string caption, const auto& cell, bool always = false) {
        ComparisonRow row{std::move(caption), {}};
        for (int k = 1; k <= kOptionCount; ++k) {
            const SetupOption& o = setup.option(k);
            if (Used(o)) row.cells[static_cast<std::size_t>(k - 1)] = cell(o);
        }
        if (always || AnyCell(row)) rows.push_back(std::move(row));
    };
    for (const ChoiceField& field : kChoiceFields) add(field.caption, field.cell, true);
    add("Result", &ResultCell, true);
    for (const ColumnRow& column : kColumnRows) {
        add(std::string(Caption(column.field)), [&](const SetupOption& o) {
            const ShownResult* shown = Current(o);
            if (shown == nullptr) return std::string();
            const std::string& value = shown->values[static_cast<std::size_t>(column.field)];
            return value.empty() || column.unit.empty() ? value
                                                        : value + ' ' + std::string(column.unit);
        });
    }
    const auto captions = ShownFigureCaptions();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        add(std::string(captions[i]), [&](const SetupOption& o) {
            const ShownResult* shown = Current(o);
            if (shown == nullptr) return std::string();
            // A combination that is not possible has none: its result row says why.
            return shown->reached() ? shown->figures[i] : std::string();
        });
    }
    const FlightSettings flight = FlightSettingsOf(setup.figures);
    for (const FlightSettingRow& setting : kFlightSettingRows) {
        add(std::string(setting.label), [&](const SetupOption& o) {
            return Reached(o) != nullptr ? FlightSettingText(setting, flight, separator)
                                         : std::string();
        });
    }
    add("All-up weight", [](const SetupOption& o) {
        const ShownResult* shown = Reached(o);
        return shown != nullptr ? shown->allUpWeight : std::string();
    });
    for (const LimitRow& limit : kLimitRows) {
        add(Capitalised(limit.name), [&](const SetupOption& o) {
            const ShownResult* shown = Reached(o);
            return shown != nullptr ? shown->limits[static_cast<std::size_t>(limit.kind)]
                                    : std::string();
        });
    }
    return rows;
}

std::string ComparisonCsv(const std::vector<ComparisonRow>& rows) {
    std::string text;
    for (int k = 1; k <= kOptionCount; ++k) text += ',' + OptionHeading(k);
    text += '\n';
    for (const ComparisonRow& row : rows) {
        text += CsvField(row.caption);
        // Names are catalogue text, which may hold bytes a program reading the file acts on.
        for (const std::string& cell : row.cells) text += ',' + CsvField(Printable(cell));
        text += '\n';
    }
    return text;
}

}  // namespace mfb
