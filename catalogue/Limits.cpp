// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Limits.h"

#include <algorithm>
#include <array>
#include <functional>

#include "catalogue/Catalogue.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"

namespace mfb {

namespace {

struct ParsedLimit {
    std::optional<double> value;
    std::string problem;  // empty: blank or well formed
};

ParsedLimit ParseLimit(std::string_view field, char separator) {
    if (field.find_first_not_of(' ') == std::string_view::npos) return {};
    double value = 0;
    try {
        value = ParseNumber(field, separator);
    } catch (const Error& e) {
        return {std::nullopt, std::string(e.what()) + "; the limit is ignored"};
    }
    if (!(value > 0)) return {std::nullopt, "a limit must be above 0; the limit is ignored"};
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

// A fan limit line split into its parts; columns counted from 1.
struct FanLimitLine {
    int fan = 0;  // 0: the line names no fan 1 to 5
    LimitColumns fanColumns{0, 0};
    std::string_view value;  // after the colon
    LimitColumns valueColumns{0, 0};
    bool hasColon = false;
};

// Empty when the line is free text.
std::optional<FanLimitLine> SplitFanLimit(std::string_view line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos || !StartsWithWords(line.substr(start), kFanLimitWords)) {
        return std::nullopt;
    }
    FanLimitLine parts;
    const std::size_t afterWords = start + kFanLimitWords.size();
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

// Reads every limit line of the fan file into `fans` and reports what is wrong on the way.
void ScanFanLimits(FanRpmLimits& fans, const std::vector<std::string>& lines, char separator,
                   const Report& report) {
    std::array<std::size_t, kFanCount> seenOn{};
    for (std::size_t index = kFirstFanLimitLine - 1; index < lines.size(); ++index) {
        const std::size_t lineNumber = index + 1;
        const auto parts = SplitFanLimit(lines[index]);
        if (!parts) continue;
        if (parts->fan == 0) {
            report(lineNumber, parts->fanColumns,
                   "a fan limit line names fan 1 to 5: \"max rpm fan K: RPM\"");
            continue;
        }
        if (!parts->hasColon) {
            report(lineNumber, parts->fanColumns, "a fan limit line needs a colon before the rpm");
            continue;
        }
        const ParsedLimit limit = ParseLimit(parts->value, separator);
        if (!limit.problem.empty()) {
            report(lineNumber, parts->valueColumns, limit.problem);
            continue;
        }
        std::size_t& seen = seenOn[static_cast<std::size_t>(parts->fan - 1)];
        if (seen != 0) {
            report(lineNumber, parts->fanColumns,
                   "fan " + std::to_string(parts->fan) + " already has a limit on line " +
                       std::to_string(seen) + "; this later one counts");
        }
        seen = lineNumber;
        fans[static_cast<std::size_t>(parts->fan - 1)] = limit.value;
    }
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
    FanRpmLimits limits;
    ScanFanLimits(limits, lines, separator, [](std::size_t, LimitColumns, const std::string&) {});
    return limits;
}

std::optional<LimitColumns> FanLimitValueColumns(std::string_view line) {
    const auto parts = SplitFanLimit(line);
    if (!parts || parts->fan == 0 || !parts->hasColon) return std::nullopt;
    return parts->valueColumns;
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
        FanRpmLimits scratch;
        ScanFanLimits(scratch, lines, separator, report);
    }
    return findings;
}

std::string FindingText(const CatalogueFinding& finding) {
    return finding.file + ':' + std::to_string(finding.line) + ':' +
           std::to_string(finding.firstColumn) + '-' + std::to_string(finding.lastColumn) +
           ": warning: " + finding.message;
}

}  // namespace mfb
