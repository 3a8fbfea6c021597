// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueEdit.h"

#include <algorithm>
#include <array>

#include "catalogue/Catalogue.h"
#include "catalogue/Limits.h"
#include "catalogue/TextLines.h"

namespace mfb {

namespace {

constexpr Columns kListTextColumns{kNameColumns.last() + 1,
                                   kEntryColumns.last() - kNameColumns.last()};

constexpr Columns Of(LimitColumns limit) {
    return {limit.first, limit.last - limit.first + 1};
}

constexpr std::array<ItemField, 7> kMotorItemFields = {{
    {"Name", kNameColumns, false, false},
    {"Description", kListTextColumns, false, false},
    {"kv [rpm/V]", kMotorFields[0].columns, true, false},
    {"Ri [Ohm]", kMotorFields[1].columns, true, false},
    {"Io [A]", kMotorFields[2].columns, true, false},
    {"Max current [A]", Of(kMotorMaxCurrent), true, true},
    {"Max power [W]", Of(kMotorMaxPower), true, true},
}};

constexpr std::array<ItemField, 7> kBatteryItemFields = {{
    {"Name", kNameColumns, false, false},
    {"Description", kListTextColumns, false, false},
    {"Capacity [mAh]", kBatteryFields[0].columns, true, false},
    {"Cell resistance [Ohm]", kBatteryFields[1].columns, true, false},
    {"Cell voltage [V]", kBatteryFields[2].columns, true, false},
    {"Cell weight [g]", kBatteryFields[3].columns, true, false},
    {"Max discharge [C]", Of(kCellMaxRate), true, true},
}};

bool Inside(const Finding& finding, Columns columns) {
    return finding.firstColumn >= columns.start && finding.firstColumn <= columns.last();
}

}  // namespace

std::span<const ItemField> ItemFields(std::string_view file) {
    if (file == kMotorFile) return kMotorItemFields;
    return kBatteryItemFields;
}

std::vector<std::string> FieldTexts(std::string_view line, std::string_view file) {
    std::vector<std::string> texts;
    for (const ItemField& field : ItemFields(file)) {
        texts.emplace_back(Trimmed(Field(line, field.columns.start, field.columns.width)));
    }
    return texts;
}

std::string ComposeLine(std::string_view base, const std::vector<std::string>& texts,
                        std::string_view file) {
    const std::vector<std::string> before = FieldTexts(base, file);
    std::string line(base);
    const auto fields = ItemFields(file);
    for (std::size_t i = 0; i < fields.size() && i < texts.size(); ++i) {
        if (texts[i] == before[i]) continue;
        const Columns c = fields[i].columns;
        const std::string text = texts[i].substr(0, c.width);
        if (line.size() < c.last()) line.resize(c.last(), ' ');
        const std::size_t pad = c.width - text.size();
        const std::string placed =
            fields[i].number ? std::string(pad, ' ') + text : text + std::string(pad, ' ');
        line.replace(c.start - 1, c.width, placed);
    }
    while (line.size() > base.size() && line.back() == ' ') line.pop_back();
    return line;
}

std::vector<FieldFinding> CheckFields(std::string_view base, const std::vector<std::string>& texts,
                                      std::string_view file, char separator) {
    std::vector<FieldFinding> found;
    const auto fields = ItemFields(file);
    for (std::size_t i = 0; i < fields.size() && i < texts.size(); ++i) {
        const ItemField& field = fields[i];
        if (texts[i].size() > field.columns.width) {
            found.push_back(
                {i, Severity::Error,
                 std::string(field.title) + " has " + std::to_string(field.columns.width) +
                     " columns, " + std::to_string(field.columns.last()) + " the last; \"" +
                     Excerpt(texts[i]) + "\" needs " + std::to_string(texts[i].size())});
        }
    }
    const std::string line = ComposeLine(base, texts, file);
    const std::string fileName(file == kMotorFile ? kMotorFile : kBatteryFile);
    for (const Finding& finding : CheckItemLines({line}, fileName.c_str(), separator)) {
        FieldFinding mapped{static_cast<std::size_t>(-1), finding.severity, finding.message};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (Inside(finding, fields[i].columns)) mapped.field = i;
        }
        found.push_back(std::move(mapped));
    }
    return found;
}

EditableText SplitEditable(std::string_view text) {
    EditableText editable;
    for (const LineSpan& span : LineSpans(text)) {
        editable.lines.emplace_back(text.substr(span.start, span.length));
        const std::size_t end = span.start + span.length;
        std::size_t endLength = 0;
        if (end < text.size() && text[end] == '\r') {
            endLength = end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        } else if (end < text.size() && text[end] == '\n') {
            endLength = 1;
        }
        editable.ends.emplace_back(text.substr(end, endLength));
    }
    editable.newLineEnd = "\n";
    for (const std::string& end : editable.ends) {
        if (!end.empty()) {
            editable.newLineEnd = end;
            break;
        }
    }
    return editable;
}

std::vector<std::string> LineTexts(const std::vector<EditedLine>& lines) {
    std::vector<std::string> texts;
    texts.reserve(lines.size());
    for (const EditedLine& line : lines) texts.push_back(line.text);
    return texts;
}

std::string WriteEdited(const EditableText& read, const std::vector<EditedLine>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const EditedLine& line = lines[i];
        text += line.text;
        const std::string end = line.original ? read.ends.at(*line.original) : std::string();
        const bool last = i + 1 == lines.size();
        // A file whose last line had no line end keeps that, where that line is still last.
        text += !end.empty() ? end : last && line.original ? std::string() : read.newLineEnd;
    }
    return text;
}

}  // namespace mfb
