// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Limits.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>

#include "catalogue/Catalogue.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"
#include "model/Flight.h"

namespace mfb {

namespace {

struct ParsedLimit {
    std::optional<double> value;
    std::string problem;  // empty: blank or well formed
};

ParsedLimit ParseLimit(std::string_view field, char separator, std::string_view noun = "limit",
                       double most = 1e300) {
    if (field.find_first_not_of(' ') == std::string_view::npos) return {};
    const std::string ignored = "; the " + std::string(noun) + " is ignored";
    double value = 0;
    try {
        value = ParseNumber(field, separator);
    } catch (const Error& e) {
        return {std::nullopt, std::string(e.what()) + ignored};
    }
    if (!(value > 0))
        return {std::nullopt, "a " + std::string(noun) + " must be above 0" + ignored};
    if (value > most) {
        return {std::nullopt,
                "a " + std::string(noun) + " is at most " + ShortestText(most) + ignored};
    }
    return {value, {}};
}

std::string_view Cut(std::string_view line, LimitColumns columns) {
    return Field(line, columns.first, columns.last - columns.first + 1);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithWords(std::string_view text, std::string_view words) {
    if (text.size() < words.size()) return false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (Lower(text[i]) != words[i]) return false;
    }
    return true;
}

// A fan line split into its parts; columns counted from 1.
struct FanLine {
    const FanLineForm* form = nullptr;
    int fan = 0;  // 0: the line names no fan 1 to 5
    LimitColumns fanColumns{0, 0};
    std::string_view value;  // after the colon
    LimitColumns valueColumns{0, 0};
    bool hasColon = false;
};

// Empty when the line is free text.
std::optional<FanLine> SplitFanLine(std::string_view line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) return std::nullopt;
    FanLine parts;
    for (const FanLineForm& form : kFanLineForms) {
        if (StartsWithWords(line.substr(start), form.words)) parts.form = &form;
    }
    if (parts.form == nullptr) return std::nullopt;
    const std::size_t afterWords = start + parts.form->words.size();
    const std::size_t colon = line.find(':', afterWords);
    parts.hasColon = colon != std::string_view::npos;
    const std::size_t numberEnd = parts.hasColon ? colon : line.size();
    const std::size_t first = line.find_first_not_of(' ', afterWords);
    std::size_t last = line.find_last_not_of(' ', numberEnd == 0 ? 0 : numberEnd - 1);
    if (first == std::string_view::npos || first >= numberEnd) {
        parts.fanColumns = {afterWords + 1, afterWords + 1};
    } else {
        parts.fanColumns = {first + 1, last + 1};
        const std::string_view number = line.substr(first, last - first + 1);
        if (number.size() == 1 && number[0] >= '1' && number[0] <= '0' + kFanCount) {
            parts.fan = number[0] - '0';
        }
    }
    if (parts.hasColon) {
        parts.value = line.substr(colon + 1);
        parts.valueColumns = {colon + 2, std::max(colon + 2, line.size())};
    }
    return parts;
}

using Report = std::function<void(std::size_t line, LimitColumns columns, std::string message)>;

constexpr std::size_t kFanLineFormCount = std::size(kFanLineForms);
// Fan k's value of form f is [f][k - 1].
using FanLineValues = std::array<std::array<std::optional<double>, kFanCount>, kFanLineFormCount>;

std::size_t IndexOf(FanLineKind kind) {
    return static_cast<std::size_t>(kind);
}

// Where a ducted fan's jet data lie (model/Flight.h); none for a limit.
const ShareRange* PlausibleRange(FanLineKind kind) {
    switch (kind) {
        case FanLineKind::SweptArea:
            return &kPlausibleSweptArea;
        case FanLineKind::StaticEfficiency:
            return &kPlausibleStaticEfficiency;
        case FanLineKind::MaxRpm:
            break;
    }
    return nullptr;
}

// Reads every fan line after the fan blocks into `values` and reports what is wrong on the way.
void ScanFanLines(FanLineValues& values, const std::vector<std::string>& lines, char separator,
                  const Report& report) {
    std::array<std::array<std::size_t, kFanCount>, kFanLineFormCount> seenOn{};
    for (std::size_t index = kFirstFanLimitLine - 1; index < lines.size(); ++index) {
        const std::size_t lineNumber = index + 1;
        const auto parts = SplitFanLine(lines[index]);
        if (!parts) continue;
        const FanLineForm& form = *parts->form;
        const std::string line(form.line);
        if (parts->fan == 0) {
            report(lineNumber, parts->fanColumns,
                   "a " + line + " names fan 1 to 5: \"" + std::string(form.words) +
                       " K: " + std::string(form.value) + "\"");
            continue;
        }
        if (!parts->hasColon) {
            report(lineNumber, parts->fanColumns,
                   "a " + line + " needs a colon before the " + std::string(form.quantity));
            continue;
        }
        const ParsedLimit value = ParseLimit(parts->value, separator, form.noun, form.most);
        if (!value.problem.empty()) {
            report(lineNumber, parts->valueColumns, value.problem);
            continue;
        }
        const auto fan = static_cast<std::size_t>(parts->fan - 1);
        std::size_t& seen = seenOn[IndexOf(form.kind)][fan];
        if (seen != 0) {
            report(lineNumber, parts->fanColumns,
                   "fan " + std::to_string(parts->fan) + " already has a " +
                       std::string(form.noun) + " on line " + std::to_string(seen) +
                       "; this later one counts");
        }
        seen = lineNumber;
        values[IndexOf(form.kind)][fan] = value.value;
        if (const ShareRange* plausible = PlausibleRange(form.kind);
            plausible && !plausible->holds(*value.value)) {
            const std::string unit = form.kind == FanLineKind::SweptArea ? " cm2" : "";
            report(lineNumber, parts->valueColumns,
                   "a " + std::string(form.noun) + " of " + ShortestText(*value.value) + unit +
                       " is outside " + ShortestText(plausible->least) + " to " +
                       ShortestText(plausible->most) + unit +
                       ", where ducted fans lie; the figures from it are shown, marked as "
                       "resting on it");
        }
    }
}

FanLineValues ReadFanLines(const std::vector<std::string>& lines, char separator) {
    FanLineValues values;
    ScanFanLines(values, lines, separator, [](std::size_t, LimitColumns, const std::string&) {});
    return values;
}

void CheckColumns(const std::vector<std::string>& lines, std::initializer_list<LimitColumns> all,
                  char separator, const Report& report) {
    for (std::size_t index = 0; index < lines.size(); ++index) {
        for (const LimitColumns columns : all) {
            const ParsedLimit limit = ParseLimit(Cut(lines[index], columns), separator);
            if (!limit.problem.empty()) report(index + 1, columns, limit.problem);
        }
    }
}

}  // namespace

TMotorLimits ReadMotorLimits(std::string_view line, char separator) {
    return {ParseLimit(Cut(line, kMotorMaxCurrent), separator).value,
            ParseLimit(Cut(line, kMotorMaxPower), separator).value};
}

TCellLimits ReadCellLimits(std::string_view line, char separator) {
    return {ParseLimit(Cut(line, kCellMaxRate), separator).value};
}

FanRpmLimits ReadFanLimits(const std::vector<std::string>& lines, char separator) {
    return ReadFanLines(lines, separator)[IndexOf(FanLineKind::MaxRpm)];
}

FanJetTable ReadFanJetData(const std::vector<std::string>& lines, char separator) {
    const FanLineValues values = ReadFanLines(lines, separator);
    FanJetTable table;
    for (std::size_t k = 0; k < table.size(); ++k) {
        table[k].SweptArea = values[IndexOf(FanLineKind::SweptArea)][k];
        table[k].StaticEfficiency = values[IndexOf(FanLineKind::StaticEfficiency)][k];
    }
    return table;
}

std::optional<FanLineValue> FanLineValueAt(std::string_view line) {
    const auto parts = SplitFanLine(line);
    if (!parts || parts->fan == 0 || !parts->hasColon) return std::nullopt;
    return FanLineValue{parts->valueColumns, *parts->form};
}

std::vector<CatalogueFinding> LimitFindings(std::string_view file,
                                            const std::vector<std::string>& lines, char separator,
                                            std::size_t most) {
    std::vector<CatalogueFinding> findings;
    const Report report = [&](std::size_t line, LimitColumns columns, std::string message) {
        if (findings.size() >= most) return;
        findings.push_back(
            {std::string(file), line, columns.first, columns.last, std::move(message)});
    };
    if (file == kMotorFile) {
        CheckColumns(lines, {kMotorMaxCurrent, kMotorMaxPower}, separator, report);
    } else if (file == kBatteryFile) {
        CheckColumns(lines, {kCellMaxRate}, separator, report);
    } else if (file == kFanFile) {
        FanLineValues scratch;
        ScanFanLines(scratch, lines, separator, report);
    }
    return findings;
}

std::string ShortestText(double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

std::string FindingText(const CatalogueFinding& finding) {
    return finding.file + ':' + std::to_string(finding.line) + ':' +
           std::to_string(finding.firstColumn) + '-' + std::to_string(finding.lastColumn) +
           ": warning: " + finding.message;
}

}  // namespace mfb
