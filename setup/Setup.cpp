// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/Setup.h"

#include "model/FigureRows.h"

namespace mfb {

std::string CellsText(int serie, int parallel) {
    return std::to_string(serie) + 'S' + std::to_string(parallel) + 'P';
}

std::string ResultFileStem(int option, const TOptionSlot& slot) {
    const std::string text = "option" + std::to_string(option) + ' ' + slot.FanName + ' ' +
                             slot.MotorName + ' ' + slot.BatteryName + ' ' +
                             CellsText(slot.CellsSerie, slot.CellsParallel);
    std::string stem;
    for (const char c : text) {
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == '-';
        if (kept) {
            stem += c;
        } else if (!stem.empty() && stem.back() != '-') {
            stem += '-';
        }
    }
    while (!stem.empty() && (stem.back() == '-' || stem.back() == '.')) stem.pop_back();
    return stem;
}

FlightSettings FlightSettingsOf(const SetupFigures& figures, FlightSettings base) {
    base.throttle = figures.throttle.value_or(base.throttle);
    base.fullShare = figures.fullShare.value_or(base.fullShare);
    base.usable = figures.usable.value_or(base.usable);
    if (figures.modelWeight) base.modelWeight = figures.modelWeight;
    return base;
}

SetupFigures SetupFiguresOf(const FlightSettings& settings) {
    return {settings.modelWeight, settings.throttle, settings.fullShare, settings.usable};
}

std::vector<std::string> AssessmentLines(const std::optional<Assessment>& assessed,
                                         const FlightSettings& settings, char decimalSeparator) {
    std::vector<std::string> lines;
    if (!assessed) return lines;
    // The sentences a comparison reads back into rows: the caption, then the value as shown, or
    // why a figure the option could have is not known, as a single calculation says it.
    for (const ShownFigure& figure : ShowFigures(*assessed, settings, decimalSeparator)) {
        if (!figure.value.empty()) {
            lines.push_back(std::string(figure.caption) + ": " + figure.value);
        } else if (figure.note.starts_with("Not known")) {
            lines.push_back(std::string(figure.caption) + ": " + figure.note);
        }
    }
    for (const LimitRow& row : kLimitRows) {
        if (const auto& check = assessed->limits[static_cast<std::size_t>(row.kind)]) {
            lines.push_back(DescribeLimit(row.kind, *check, decimalSeparator));
        }
    }
    return lines;
}

}  // namespace mfb
