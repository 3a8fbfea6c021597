// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/ComparisonTable.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "model/ColumnRows.h"
#include "model/Derived.h"
#include "model/FigureRows.h"

namespace mfb {

namespace {

// Catalogue names are fixed-width columns padded with blanks.
std::string Trimmed(std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

// The cells a calculated option read, or else those its boxes hold.
std::string Cells(const SetupOption& o) {
    return o.shown ? CellsText(o.shown->serie, o.shown->parallel) : CellsText(o.serie, o.parallel);
}

struct ChoiceField {
    const char* caption;
    std::string (*cell)(const SetupOption&);
};
constexpr ChoiceField kChoiceFields[] = {
    {"Fan", [](const SetupOption& o) { return Trimmed(o.fanName); }},
    {"Motor", [](const SetupOption& o) { return Trimmed(o.motor.name); }},
    {"Battery", [](const SetupOption& o) { return Trimmed(o.battery.name); }},
    {"Cells", &Cells},
};

bool Used(const SetupOption& o) {
    return o.motor.chosen() || o.battery.chosen() || o.shown.has_value();
}

// "the fan's maximum rpm" as a caption: "Fan's maximum rpm".
std::string Capitalised(std::string_view text) {
    if (text.rfind("the ", 0) == 0) text.remove_prefix(4);
    std::string out(text);
    if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 32);
    return out;
}

// Where a note of a shown result goes: the row of a figure the column showed below its values
// ("C-rate: 18.20 C" gives "18.20 C") or of a limit ("Within the motor's maximum input power of
// 700.00 W by 12.50 %" gives "Within 700.00 W by 12.50 %"), as AssessmentLines words them; none
// for any other sentence.
struct Placed {
    std::size_t row;
    std::string cell;
};
std::optional<Placed> Place(const std::string& note) {
    const auto captions = ShownFigureCaptions();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const std::string prefix = std::string(captions[i]) + ": ";
        if (note.rfind(prefix, 0) == 0) return Placed{i, note.substr(prefix.size())};
    }
    for (std::size_t i = 0; i < kLimitRows.size(); ++i) {
        const std::string name = ' ' + std::string(kLimitRows[i].name) + " of";
        const auto at = note.find(name);
        if (at == std::string::npos) continue;
        std::string cell = note;
        cell.erase(at, name.size());
        return Placed{captions.size() + i, cell};
    }
    return std::nullopt;
}

}  // namespace

std::string OptionHeading(int option) {
    return "Option " + std::to_string(option);
}

std::string OptionSummary(const Setup& setup, int option) {
    const SetupOption& o = setup.option(option);
    return Trimmed(o.motor.name) + ", " + Trimmed(o.battery.name) + ' ' + Cells(o) + ", " +
           Trimmed(o.fanName);
}

std::vector<ComparisonRow> ComparisonRows(const Setup& setup) {
    std::vector<ComparisonRow> rows;
    for (const ChoiceField& field : kChoiceFields) {
        ComparisonRow row{field.caption, {}};
        for (int k = 1; k <= kOptionCount; ++k) {
            const SetupOption& o = setup.option(k);
            if (Used(o)) row.cells[static_cast<std::size_t>(k - 1)] = field.cell(o);
        }
        rows.push_back(std::move(row));
    }
    for (const ColumnRow& column : kColumnRows) {
        ComparisonRow row{std::string(Caption(column.field)), {}};
        for (int k = 1; k <= kOptionCount; ++k) {
            const auto& shown = setup.option(k).shown;
            if (!shown) continue;
            const std::string& value = shown->values[static_cast<std::size_t>(column.field)];
            std::string& cell = row.cells[static_cast<std::size_t>(k - 1)];
            cell = value.empty() || column.unit.empty() ? value
                                                        : value + ' ' + std::string(column.unit);
        }
        rows.push_back(std::move(row));
    }

    // The notes: the figures shown below the values, the limits, and the rest.
    std::vector<ComparisonRow> notes;
    for (const std::string_view caption : ShownFigureCaptions())
        notes.push_back({std::string(caption), {}});
    for (const LimitRow& limit : kLimitRows) notes.push_back({Capitalised(limit.name), {}});
    ComparisonRow other{"Notes", {}};
    std::vector<bool> used(notes.size(), false);
    for (int k = 1; k <= kOptionCount; ++k) {
        const auto& shown = setup.option(k).shown;
        if (!shown) continue;
        const auto column = static_cast<std::size_t>(k - 1);
        for (const std::string& note : shown->notes) {
            if (const auto placed = Place(note)) {
                notes[placed->row].cells[column] = placed->cell;
                used[placed->row] = true;
            } else {
                std::string& cell = other.cells[column];
                cell += (cell.empty() ? "" : "\n") + note;
            }
        }
    }
    for (std::size_t i = 0; i < notes.size(); ++i) {
        // A figure no option could work out, or a limit no catalogue stated, would be a row of
        // blanks.
        if (used[i]) rows.push_back(std::move(notes[i]));
    }
    if (std::any_of(other.cells.begin(), other.cells.end(),
                    [](const std::string& cell) { return !cell.empty(); })) {
        rows.push_back(std::move(other));
    }
    return rows;
}

}  // namespace mfb
