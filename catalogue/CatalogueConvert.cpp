// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueConvert.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "catalogue/FanLibrary.h"
#include "catalogue/Limits.h"
#include "catalogue/LineLayout.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"

namespace mfb {

namespace {

bool Reads(std::string_view field, char separator) {
    try {
        ParseNumber(field, separator);
        return true;
    } catch (const Error&) {
        return false;
    }
}

enum class Converted { Unchanged, Rewritten, Unreadable };

// Rewrites the separator of the number in text[start, start + width) in place. Unreadable when
// the field holds something that reads as a number with neither separator: a catalogue written
// with another one, such as ';', has nothing this could convert.
Converted ConvertField(std::string& text, std::size_t start, std::size_t width, char to) {
    const std::string_view field = std::string_view(text).substr(start, width);
    if (field.find_first_not_of(" \t") == std::string_view::npos) return Converted::Unchanged;
    for (const char from : {'.', ','}) {
        if (!Reads(field, from)) continue;
        const auto at = field.find(from);
        if (at == std::string_view::npos || from == to) return Converted::Unchanged;
        text[start + at] = to;
        return Converted::Rewritten;
    }
    return Converted::Unreadable;
}

}  // namespace

Conversion ConvertCatalogueText(std::string_view text, const char* file, char to) {
    Conversion result{std::string(text), {}};
    const auto spans = LineSpans(text);
    const auto convert = [&](std::size_t n, std::size_t first, std::size_t width,
                             const std::string& what) {
        const LineSpan& line = spans[n - 1];
        if (first > line.length) return;
        width = std::min(width, line.length - (first - 1));
        switch (ConvertField(result.text, line.start + first - 1, width, to)) {
            case Converted::Unchanged:
                return;
            case Converted::Rewritten:
                ++result.changed;
                return;
            case Converted::Unreadable:
                break;
        }
        result.leftAlone.push_back(
            {file, n, first, first + width - 1, Severity::Warning,
             what + " '" + Excerpt(text.substr(line.start + first - 1, width)) +
                 "' reads as a number with neither '.' nor ',' and is left as it is"});
    };

    if (std::strcmp(file, kFanFile) == 0) {
        for (int k = 1; k <= kFanCount; ++k) {
            for (std::size_t j = 1; j <= 7; ++j) {
                const std::size_t n = FanNameLine(k) + j;
                if (n > spans.size()) return result;
                convert(n, 1, spans[n - 1].length,
                        "fan " + std::to_string(k) + "'s " + kFanNumberNames[j - 1]);
            }
        }
        for (std::size_t n = kFirstFanLimitLine; n <= spans.size(); ++n) {
            const LineSpan& line = spans[n - 1];
            const std::string_view content = text.substr(line.start, line.length);
            if (const auto value = FanLineValueAt(content)) {
                const LimitColumns c = value->columns;
                convert(n, c.first, c.last - c.first + 1, std::string(value->form.whose));
            } else if (const auto number = LibraryNumberAt(content)) {
                convert(n, number->first, number->last - number->first + 1,
                        "a library fan's number");
            }
        }
        return result;
    }
    const bool motors = std::strcmp(file, kMotorFile) == 0;
    const std::span<const NumberField> fields = motors
                                                    ? std::span<const NumberField>(kMotorFields)
                                                    : std::span<const NumberField>(kBatteryFields);
    const std::span<const LimitColumns> limits =
        motors ? std::span<const LimitColumns>(kMotorLimitColumns)
               : std::span<const LimitColumns>(kCellLimitColumns);
    for (std::size_t n = 1; n <= spans.size(); ++n) {
        for (const NumberField& f : fields) convert(n, f.columns.start, f.columns.width, f.name);
        for (const LimitColumns& c : limits) convert(n, c.first, c.last - c.first + 1, "a limit");
    }
    return result;
}

}  // namespace mfb
