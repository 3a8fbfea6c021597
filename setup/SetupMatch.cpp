// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/SetupMatch.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>
#include <string_view>

#include "catalogue/Catalogue.h"
#include "catalogue/FanLibrary.h"
#include "catalogue/LineLayout.h"
#include "catalogue/TextLines.h"

namespace mfb {

namespace {

// The parts of a line a modeller can tell apart, in column order: the description after the name,
// the numbers, then the limits.
struct LinePart {
    const char* name;
    Columns columns;
};
constexpr Columns kDescription{kNameColumns.last() + 1, kEntryColumns.width - kNameColumns.width};
const LinePart kMotorParts[] = {
    {"description", kDescription},
    {kMotorFields[0].name, kMotorFields[0].columns},
    {kMotorFields[1].name, kMotorFields[1].columns},
    {kMotorFields[2].name, kMotorFields[2].columns},
    {"maximum current",
     {kMotorMaxCurrent.first, kMotorMaxCurrent.last - kMotorMaxCurrent.first + 1}},
    {"maximum input power", {kMotorMaxPower.first, kMotorMaxPower.last - kMotorMaxPower.first + 1}},
};
const LinePart kBatteryParts[] = {
    {"description", kDescription},
    {kBatteryFields[0].name, kBatteryFields[0].columns},
    {kBatteryFields[1].name, kBatteryFields[1].columns},
    {kBatteryFields[2].name, kBatteryFields[2].columns},
    {kBatteryFields[3].name, kBatteryFields[3].columns},
    {"maximum discharge", {kCellMaxRate.first, kCellMaxRate.last - kCellMaxRate.first + 1}},
};

std::string Quoted(std::string_view text) {
    const std::string_view trimmed = Trimmed(text);
    return trimmed.empty() ? "(blank)" : '"' + Excerpt(trimmed) + '"';
}

// A name as a catalogue column holds it, blanks padding it to its width: a name saved by hand
// without them is the same name.
std::string_view Unpadded(std::string_view name) {
    const auto end = name.find_last_not_of(' ');
    return name.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

// How a note speaks of what the option had: a setup opened tells of what was saved in it; the
// catalogues read again under a window's options tell of what the options chose in them.
struct Telling {
    const char* one;  // "the one saved"
    const char* had;  // "kv "3000" saved, ..."
};
constexpr Telling kOpened{"saved", "saved"};
constexpr Telling kReadAgain{"chosen", "then"};

// Adds "kv "3000" saved, "3100" now" to a list of changes.
void AddChange(std::string& text, std::string_view part, const std::string& before,
               const std::string& after, const Telling& telling) {
    if (!text.empty()) text += "; ";
    text += std::string(part) + ' ' + before + ' ' + telling.had + ", " + after + " now";
}

std::string Differences(const std::string& saved, const std::string& now,
                        std::span<const LinePart> parts, const Telling& telling) {
    std::string text;
    for (const LinePart& part : parts) {
        const std::string_view before =
            Trimmed(Field(saved, part.columns.start, part.columns.width));
        const std::string_view after = Trimmed(Field(now, part.columns.start, part.columns.width));
        if (before != after) AddChange(text, part.name, Quoted(before), Quoted(after), telling);
    }
    return text.empty() ? "it differs only in blanks or text after the fields" : text;
}

struct EntryKind {
    const char* what;  // "motor", "battery"
    const char* file;
    std::vector<std::string> Catalogue::*lines;
    std::span<const LinePart> parts;
};

// The index of the line chosen for `saved`, telling in `notes` how it came about.
std::optional<std::size_t> Find(const ChosenLine& saved, const Catalogue& catalogue,
                                const EntryKind& kind, const std::string& option,
                                const Telling& telling, std::vector<std::string>& notes) {
    if (!saved.chosen()) return std::nullopt;
    const std::vector<std::string>& lines = catalogue.*kind.lines;
    std::optional<std::size_t> named;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == saved.line) return i;
        if (!named && Unpadded(LineName(lines[i])) == Unpadded(saved.name)) named = i;
    }
    const std::string entry =
        std::string("the ") + kind.what + " \"" + Excerpt(Trimmed(saved.name)) + '"';
    if (!named) {
        notes.push_back(option + entry + " is not in " + kind.file + ", so none is chosen.");
    } else {
        notes.push_back(option + entry + " of " + kind.file + " differs from the one " +
                        telling.one + ": " +
                        Differences(saved.line, lines[*named], kind.parts, telling) + '.');
    }
    return named;
}

// A fan's data as a modeller tells them apart: its curve, the chart's lower power, its limit and
// its jet data, as they stand in fan.txt.
struct FanPart {
    const char* name;
    std::optional<double> value;
};
std::vector<FanPart> FanParts(const Catalogue& catalogue, int fan) {
    const auto j = static_cast<std::size_t>(fan - 1);
    const TFanData& f = catalogue.Fans[j];
    return {{"a0", f.a0},
            {"a1", f.a1},
            {"a2", f.a2},
            {"a3", f.a3},
            {"a4", f.a4},
            {"chart minimum power", f.ChartMinPower},
            {"max rpm", catalogue.FanLimits[j]},
            {"swept area", catalogue.FanJet[j].SweptArea},
            {"static efficiency", catalogue.FanJet[j].StaticEfficiency}};
}

std::string FanPartText(const std::optional<double>& value) {
    if (!value) return "(none)";
    char text[32];
    std::snprintf(text, sizeof text, "%.12g", *value);
    return '"' + std::string(text) + '"';
}

// What differs between fan `then` of the catalogue chosen in and fan `now` of the current one.
std::string FanDifferences(const Catalogue& chosenFrom, int then, const Catalogue& catalogue,
                           int now) {
    const std::vector<FanPart> before = FanParts(chosenFrom, then);
    const std::vector<FanPart> after = FanParts(catalogue, now);
    std::string text;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i].value == after[i].value) continue;
        AddChange(text, before[i].name, FanPartText(before[i].value), FanPartText(after[i].value),
                  kReadAgain);
    }
    return text;
}

}  // namespace

std::string LineName(std::string_view line) {
    return std::string(Field(line, kNameColumns.start, kNameColumns.width));
}

OpenedSetup OpenSetup(const Setup& saved, const Catalogue& catalogue, const Catalogue* chosenFrom) {
    const EntryKind motors{"motor", kMotorFile, &Catalogue::MotorLines, kMotorParts};
    const EntryKind batteries{"battery", kBatteryFile, &Catalogue::BatteryLines, kBatteryParts};
    OpenedSetup opened{saved, {}, {}};
    const Telling& telling = chosenFrom != nullptr ? kReadAgain : kOpened;
    for (int k = 1; k <= kOptionCount; ++k) {
        const std::string option = "Option " + std::to_string(k) + ": ";
        SetupOption& o = opened.setup.option(k);
        OpenedOption& found = opened.found.at(static_cast<std::size_t>(k - 1));
        found.motor = Find(o.motor, catalogue, motors, option, telling, opened.notes);
        found.battery = Find(o.battery, catalogue, batteries, option, telling, opened.notes);
        o.motor = found.motor ? ChosenLine{LineName(catalogue.MotorLines[*found.motor]),
                                           catalogue.MotorLines[*found.motor]}
                              : ChosenLine{};
        o.battery = found.battery ? ChosenLine{LineName(catalogue.BatteryLines[*found.battery]),
                                               catalogue.BatteryLines[*found.battery]}
                                  : ChosenLine{};

        const auto named = [&](int j) {
            return j >= 1 && j <= kFanCount &&
                   catalogue.Fans[static_cast<std::size_t>(j - 1)].Name == o.fanName;
        };
        int fan = named(o.fan) ? o.fan : 0;
        for (int j = 1; j <= kFanCount && fan == 0; ++j) {
            if (named(j)) fan = j;
        }
        const bool chosenThen =
            chosenFrom != nullptr && o.fan >= 1 && o.fan <= kFanCount &&
            chosenFrom->Fans[static_cast<std::size_t>(o.fan - 1)].Name == o.fanName;
        if (fan != 0 && chosenThen) {
            const std::string differences = FanDifferences(*chosenFrom, o.fan, catalogue, fan);
            if (!differences.empty()) {
                opened.notes.push_back(option + "the fan \"" + Excerpt(Trimmed(o.fanName)) +
                                       "\" of " + kFanFile + " differs from the one " +
                                       kReadAgain.one + ": " + differences + '.');
            }
        }
        if (fan == 0) {
            fan = o.fan;
            const auto library =
                std::find_if(catalogue.FanLibrary.begin(), catalogue.FanLibrary.end(),
                             [&](const LibraryFan& f) { return f.fan.Name == o.fanName; });
            const std::string where =
                library == catalogue.FanLibrary.end()
                    ? "no fan is named \"" + Excerpt(Trimmed(o.fanName)) + "\" in " + kFanFile
                    : "the fan \"" + Excerpt(Trimmed(o.fanName)) + "\" stands in the library of " +
                          kFanFile + " as fan " + std::to_string(library->number) +
                          ", on no fan button";
            opened.notes.push_back(
                option + where + ", so fan " + std::to_string(fan) + " \"" +
                std::string(Trimmed(catalogue.Fans[static_cast<std::size_t>(fan - 1)].Name)) +
                "\" is chosen.");
        }
        o.fan = fan;
        o.fanName = catalogue.Fans[static_cast<std::size_t>(fan - 1)].Name;
    }
    return opened;
}

}  // namespace mfb
