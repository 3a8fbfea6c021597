// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/FanEdit.h"

#include <algorithm>
#include <set>

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueCheck.h"
#include "catalogue/Choice.h"
#include "catalogue/Limits.h"
#include "catalogue/TextLines.h"

namespace mfb {

namespace {

bool HasBlocks(const std::vector<std::string>& lines) {
    return lines.size() >= kFanFileMinLines;
}

// The fan and the field a line after the blocks states, with where its value starts (from 0);
// nothing for free text and a fan number no fan may have.
struct FieldLine {
    int fan;
    std::size_t field;
    std::size_t valueStart;
};
std::optional<FieldLine> FieldLineOf(std::string_view line) {
    if (const auto library = LibraryLineAt(line); library && library->fan > kFanCount) {
        return FieldLine{library->fan, library->field, library->valueColumns.first - 1};
    }
    if (const auto form = FanLineValueAt(line)) {
        return FieldLine{form->fan, kFanFormFields + static_cast<std::size_t>(form->form.kind),
                         form->columns.first - 1};
    }
    return std::nullopt;
}

// The indices of the lines that state the field, in file order: the last one counts.
std::vector<std::size_t> LinesOf(const std::vector<std::string>& lines, int fan,
                                 std::size_t field) {
    std::vector<std::size_t> found;
    if (fan <= kFanCount && field < kFanFormFields) {
        found.push_back(FanNameLine(fan) - 1 + field);
        return found;
    }
    for (std::size_t i = kFirstFanLimitLine - 1; i < lines.size(); ++i) {
        const auto line = FieldLineOf(lines[i]);
        if (line && line->fan == fan && line->field == field) found.push_back(i);
    }
    return found;
}

std::string NewFieldLine(int fan, std::size_t field, const std::string& text) {
    const std::string value = text.empty() ? std::string(":") : ": " + text;
    if (field >= kFanFormFields) {
        return std::string(kFanLineForms[field - kFanFormFields].words) + ' ' +
               std::to_string(fan) + value;
    }
    return "fan " + std::to_string(fan) + ' ' +
           (field == kFanNameField ? std::string("name") : kFanNumberNames[field - 1]) + value;
}

bool Optional(int fan, std::size_t field) {
    return field >= kFanFormFields || (fan > kFanCount && field == kFanReservedField);
}

bool Shown(const std::vector<std::string>& lines, int fan) {
    const std::vector<int> fans = EditableFans(lines);
    return std::find(fans.begin(), fans.end(), fan) != fans.end();
}

}  // namespace

std::vector<int> EditableFans(const std::vector<std::string>& lines) {
    std::vector<int> fans;
    if (!HasBlocks(lines)) return fans;
    for (int k = 1; k <= kFanCount; ++k) fans.push_back(k);
    const std::vector<int> library = LibraryFanNumbers(lines);
    fans.insert(fans.end(), library.begin(), library.end());
    return fans;
}

FanTexts FanFieldTexts(const std::vector<std::string>& lines, int number) {
    FanTexts texts;
    if (!Shown(lines, number)) return texts;
    for (std::size_t field = 0; field < kFanFieldCount; ++field) {
        const std::vector<std::size_t> found = LinesOf(lines, number, field);
        if (found.empty()) continue;
        const std::string& line = lines[found.back()];
        if (number <= kFanCount && field < kFanFormFields) {
            // A block's name is its whole line, as the reading takes it.
            texts[field] = field == kFanNameField ? line : Trimmed(line);
        } else {
            texts[field] = Trimmed(std::string_view(line).substr(FieldLineOf(line)->valueStart));
        }
    }
    return texts;
}

bool SetFanField(std::vector<EditedLine>& lines, int number, std::size_t field,
                 const std::string& text) {
    const std::vector<std::string> texts = LineTexts(lines);
    if (field >= kFanFieldCount || !Shown(texts, number)) return false;
    const std::vector<std::size_t> found = LinesOf(texts, number, field);
    if (number <= kFanCount && field < kFanFormFields) {
        lines[found.front()].text = field == kFanNameField ? text : Trimmed(text);
        return true;
    }
    const std::string value(Trimmed(text));
    if (value.empty() && Optional(number, field)) {
        for (auto i = found.rbegin(); i != found.rend(); ++i) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*i));
        }
        return true;
    }
    if (!found.empty()) {
        std::string& line = lines[found.back()].text;
        // Everything up to the colon stays as written.
        line = line.substr(0, FieldLineOf(line)->valueStart) + (value.empty() ? "" : " " + value);
        return true;
    }
    std::size_t after = texts.size();
    for (std::size_t i = kFirstFanLimitLine - 1; i < texts.size(); ++i) {
        const auto line = FieldLineOf(texts[i]);
        if (line && line->fan == number) after = i + 1;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after),
                 EditedLine{std::nullopt, NewFieldLine(number, field, value)});
    return true;
}

int AddLibraryFan(std::vector<EditedLine>& lines, const FanTexts& texts) {
    const std::vector<std::string> before = LineTexts(lines);
    if (!HasBlocks(before)) return 0;
    const std::vector<int> numbers = LibraryFanNumbers(before);
    const int number = numbers.empty() ? kFanCount + 1 : numbers.back() + 1;
    if (number > kMostFanNumber) return 0;
    for (std::size_t field = 0; field < kFanFieldCount; ++field) {
        const std::string value(Trimmed(texts[field]));
        if (value.empty() && Optional(number, field)) continue;
        lines.push_back({std::nullopt, NewFieldLine(number, field, value)});
    }
    return number;
}

bool DeleteLibraryFan(std::vector<EditedLine>& lines, int number) {
    if (number <= kFanCount) return false;
    const auto end = std::remove_if(
        lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), kFirstFanLimitLine - 1)),
        lines.end(), [number](const EditedLine& line) {
            const auto field = FieldLineOf(line.text);
            return field && field->fan == number;
        });
    const bool found = end != lines.end();
    lines.erase(end, lines.end());
    return found;
}

std::string FanNameTaken(const std::vector<std::string>& lines, const std::string& name,
                         char separator) {
    if (!HasBlocks(lines)) return {};
    for (int k = 1; k <= kFanCount; ++k) {
        const std::string& taken = lines[FanNameLine(k) - 1];
        if (SameFanName(taken, name)) {
            return "fan " + std::to_string(k) + " is already named \"" +
                   std::string(Trimmed(taken)) + "\"";
        }
    }
    for (const LibraryFan& other : ReadFanLibrary(lines, separator)) {
        if (SameFanName(other.fan.Name, name)) {
            return "library fan " + std::to_string(other.number) + " is already named \"" +
                   other.fan.Name + "\"";
        }
    }
    return {};
}

FanTexts FanTextsOf(const LibraryFan& fan, char separator) {
    LibraryFan numbered = fan;
    numbered.number = kFanCount + 1;
    std::vector<std::string> lines(kFanFileMinLines, "0");
    for (std::string& line : FanLibraryLines(numbered, separator)) lines.push_back(std::move(line));
    return FanFieldTexts(lines, numbered.number);
}

std::map<int, std::vector<FieldFinding>> CheckFanFields(const std::vector<std::string>& lines,
                                                        char separator) {
    std::set<int> whole;
    for (const LibraryFan& fan : ReadFanLibrary(lines, separator)) whole.insert(fan.number);
    std::map<int, std::vector<FieldFinding>> found;
    for (const Finding& finding : CheckFanLines(lines, separator)) {
        if (finding.line == 0 || finding.line > lines.size()) continue;
        int fan = 0;
        std::size_t field = 0;
        if (finding.line < kFirstFanLimitLine) {
            for (int k = 1; k <= kFanCount; ++k) {
                const std::size_t name = FanNameLine(k);
                if (finding.line < name || finding.line > name + kFanReservedField) continue;
                fan = k;
                field = finding.line - name;
            }
        } else if (const auto line = FieldLineOf(lines[finding.line - 1])) {
            fan = line->fan;
            // A finding of the whole line is one of the fan as a whole.
            field = finding.firstColumn <= 1 ? kFanNameField : line->field;
        }
        if (fan == 0) continue;
        const bool lost = fan > kFanCount && field < kFanFormFields && whole.count(fan) == 0;
        found[fan].push_back({field, lost ? Severity::Error : finding.severity, finding.message});
    }
    return found;
}

}  // namespace mfb
