// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/FanLibrary.h"

#include <algorithm>
#include <array>
#include <map>

#include "catalogue/Catalogue.h"
#include "catalogue/FanFit.h"
#include "catalogue/LineLayout.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"

namespace mfb {

namespace {

// The name, then the seven numbers of a fan block in their order.
constexpr std::size_t kNameField = 0;
constexpr std::size_t kFieldCount = 1 + std::size(kFanNumberNames);
constexpr std::size_t kReservedField = kFieldCount - 1;

std::string_view FieldWord(std::size_t field) {
    return field == kNameField ? "name" : kFanNumberNames[field - 1];
}

// One line of the form "fan K FIELD: VALUE"; columns counted from 1.
struct LibraryLine {
    int fan = 0;  // 0: K is no number a fan may have
    LimitColumns fanColumns{0, 0};
    std::size_t field = 0;
    std::string_view value;  // after the colon
    LimitColumns valueColumns{0, 0};
};

bool SameWords(std::string_view text, std::string_view lowerWords) {
    if (text.size() != lowerWords.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (c != lowerWords[i]) return false;
    }
    return true;
}

std::optional<LibraryLine> SplitLibraryLine(std::string_view line) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos || line.size() < start + 4 ||
        !SameWords(line.substr(start, 3), "fan") || line[start + 3] != ' ') {
        return std::nullopt;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::size_t numberStart = line.find_first_not_of(' ', start + 3);
    std::size_t numberEnd = numberStart;
    while (numberEnd < colon && line[numberEnd] >= '0' && line[numberEnd] <= '9') ++numberEnd;
    if (numberEnd == numberStart || numberEnd - numberStart > 3) return std::nullopt;
    LibraryLine parts;
    const std::string_view words = Trimmed(line.substr(numberEnd, colon - numberEnd));
    bool known = false;
    for (std::size_t field = 0; field < kFieldCount && !known; ++field) {
        known = SameWords(words, FieldWord(field));
        if (known) parts.field = field;
    }
    if (!known) return std::nullopt;
    int fan = 0;
    for (std::size_t i = numberStart; i < numberEnd; ++i) fan = fan * 10 + (line[i] - '0');
    if (line[numberStart] != '0') parts.fan = fan;
    parts.fanColumns = {numberStart + 1, numberEnd};
    parts.value = line.substr(colon + 1);
    parts.valueColumns = {colon + 2, std::max(colon + 2, line.size())};
    return parts;
}

struct Scan {
    std::map<int, LibraryFan> fans;
    std::map<int, std::array<std::size_t, kFieldCount>> seenOn;
    std::map<int, std::size_t> lastLine;  // of each fan, whether it read or not
    std::vector<CatalogueFinding> findings;
};

Scan ScanLibrary(const std::vector<std::string>& lines, char separator) {
    Scan scan;
    const auto report = [&](std::size_t line, LimitColumns columns, std::string message) {
        scan.findings.push_back({kFanFile, line, columns.first, columns.last, std::move(message)});
    };
    for (std::size_t index = kFirstFanLimitLine - 1; index < lines.size(); ++index) {
        const std::size_t lineNumber = index + 1;
        const auto parts = SplitLibraryLine(lines[index]);
        if (!parts) continue;
        if (parts->fan <= kFanCount || parts->fan > kMostFanNumber) {
            report(lineNumber, parts->fanColumns,
                   "a library fan's number is from " + std::to_string(kFanCount + 1) + " to " +
                       std::to_string(kMostFanNumber) + "; the line is ignored");
            continue;
        }
        LibraryFan& fan = scan.fans[parts->fan];
        scan.lastLine[parts->fan] = lineNumber;
        fan.number = parts->fan;
        std::size_t& seen = scan.seenOn[parts->fan][parts->field];
        if (seen != 0) {
            report(lineNumber, parts->fanColumns,
                   "fan " + std::to_string(parts->fan) + " already has a " +
                       std::string(FieldWord(parts->field)) + " on line " + std::to_string(seen) +
                       "; this later one counts");
        }
        if (parts->field == kNameField) {
            fan.fan.Name = std::string(Trimmed(parts->value));
            seen = fan.fan.Name.empty() ? 0 : lineNumber;
            continue;
        }
        double* const numbers[] = {&fan.fan.a0,      &fan.fan.a1, &fan.fan.a2,
                                   &fan.fan.a3,      &fan.fan.a4, &fan.fan.ChartMinPower,
                                   &fan.fan.Reserved};
        try {
            *numbers[parts->field - 1] = ParseNumber(parts->value, separator);
            seen = lineNumber;
        } catch (const Error& e) {
            report(lineNumber, parts->valueColumns,
                   std::string(e.what()) + "; fan " + std::to_string(parts->fan) + "'s " +
                       std::string(FieldWord(parts->field)) + " is ignored");
            seen = 0;
        }
    }
    return scan;
}

// Whole: a name and every number but the reserved one, which is 0 when absent.
bool Whole(const std::array<std::size_t, kFieldCount>& seen) {
    for (std::size_t field = 0; field < kReservedField; ++field) {
        if (seen[field] == 0) return false;
    }
    return true;
}

}  // namespace

std::optional<LimitColumns> LibraryNumberAt(std::string_view line) {
    const auto parts = SplitLibraryLine(line);
    if (!parts || parts->field == kNameField) return std::nullopt;
    return parts->valueColumns;
}

std::optional<LibraryLineField> LibraryLineAt(std::string_view line) {
    const auto parts = SplitLibraryLine(line);
    if (!parts) return std::nullopt;
    return LibraryLineField{parts->fan, parts->field, parts->valueColumns};
}

std::vector<int> LibraryFanNumbers(const std::vector<std::string>& lines) {
    std::vector<int> numbers;
    for (std::size_t index = kFirstFanLimitLine - 1; index < lines.size(); ++index) {
        const auto parts = SplitLibraryLine(lines[index]);
        if (parts && parts->fan > kFanCount && parts->fan <= kMostFanNumber) {
            numbers.push_back(parts->fan);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

std::vector<LibraryFan> ReadFanLibrary(const std::vector<std::string>& lines, char separator) {
    Scan scan = ScanLibrary(lines, separator);
    const LibraryFanValues values = ReadLibraryFanValues(lines, separator);
    std::vector<LibraryFan> library;
    for (auto& [number, fan] : scan.fans) {
        if (!Whole(scan.seenOn[number])) continue;
        if (const auto found = values.find(number); found != values.end()) {
            const auto& v = found->second;
            fan.maxRpm = v[static_cast<std::size_t>(FanLineKind::MaxRpm)];
            fan.jet.SweptArea = v[static_cast<std::size_t>(FanLineKind::SweptArea)];
            fan.jet.StaticEfficiency = v[static_cast<std::size_t>(FanLineKind::StaticEfficiency)];
        }
        library.push_back(std::move(fan));
    }
    return library;
}

std::vector<CatalogueFinding> FanLibraryFindings(const std::vector<std::string>& lines,
                                                 char separator, std::size_t most) {
    Scan scan = ScanLibrary(lines, separator);
    for (const auto& [number, seen] : scan.seenOn) {  // every fan a line names
        if (Whole(seen)) continue;
        std::string missing;
        for (std::size_t field = 0; field < kReservedField; ++field) {
            if (seen[field] != 0) continue;
            missing += (missing.empty() ? "" : ", ") + std::string(FieldWord(field));
        }
        const std::size_t last = scan.lastLine[number];
        scan.findings.push_back({kFanFile, last, 1,
                                 std::max<std::size_t>(1, lines[last - 1].size()),
                                 "library fan " + std::to_string(number) + " has no " + missing +
                                     " that reads; the fan is left out"});
    }
    if (scan.findings.size() > most) scan.findings.resize(most);
    return scan.findings;
}

bool SwapFans(std::vector<std::string>& lines, int button, int number) {
    if (button < 1 || button > kFanCount || number <= kFanCount || number > kMostFanNumber ||
        lines.size() < kFanFileMinLines) {
        return false;
    }
    std::array<std::optional<std::size_t>, kFieldCount> library{};
    for (std::size_t index = kFirstFanLimitLine - 1; index < lines.size(); ++index) {
        const auto parts = SplitLibraryLine(lines[index]);
        if (parts && parts->fan == number) library[parts->field] = index;  // the later counts
    }
    for (std::size_t field = 0; field < kReservedField; ++field) {
        if (!library[field]) return false;
    }
    const std::size_t nameIndex = FanNameLine(button) - 1;
    for (std::size_t field = 0; field < kFieldCount; ++field) {
        std::string& block = lines[nameIndex + field];
        const std::string blockText(field == kNameField ? std::string_view(block) : Trimmed(block));
        if (!library[field]) {
            block = "0";
            continue;
        }
        std::string& line = lines[*library[field]];
        const std::size_t colon = line.find(':');
        const std::string value(Trimmed(std::string_view(line).substr(colon + 1)));
        line = line.substr(0, colon + 1) + ' ' + blockText;
        block = value;
    }
    for (std::size_t index = kFirstFanLimitLine - 1; index < lines.size(); ++index) {
        const auto value = FanLineValueAt(lines[index]);
        if (!value || (value->fan != button && value->fan != number)) continue;
        const LimitColumns c = value->fanColumns;
        lines[index].replace(c.first - 1, c.last - c.first + 1,
                             std::to_string(value->fan == button ? number : button));
    }
    return true;
}

std::vector<std::string> FanLibraryLines(const LibraryFan& fan, char separator) {
    const auto number = [separator](double value) {
        std::string text = FanFileNumber(value);
        std::replace(text.begin(), text.end(), '.', separator);
        return text;
    };
    const std::string prefix = "fan " + std::to_string(fan.number) + ' ';
    std::vector<std::string> lines{prefix + "name: " + fan.fan.Name};
    const double values[] = {fan.fan.a0,      fan.fan.a1, fan.fan.a2,
                             fan.fan.a3,      fan.fan.a4, fan.fan.ChartMinPower,
                             fan.fan.Reserved};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        lines.push_back(prefix + kFanNumberNames[i] + ": " + number(values[i]));
    }
    const std::optional<double> extras[] = {fan.maxRpm, fan.jet.SweptArea,
                                            fan.jet.StaticEfficiency};
    for (std::size_t i = 0; i < std::size(extras); ++i) {
        if (!extras[i]) continue;
        lines.push_back(std::string(kFanLineForms[i].words) + ' ' + std::to_string(fan.number) +
                        ": " + number(*extras[i]));
    }
    return lines;
}

}  // namespace mfb
