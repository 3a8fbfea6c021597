// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/Setup.h"

#include "model/DisplayFormat.h"
#include "model/FigureRows.h"
#include "model/NotPossible.h"

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

std::string ShownName(std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

CalculatedFor ChosenCombination(const SetupOption& option) {
    return {option.motor.name, option.battery.name, option.fan,
            option.fanName,    option.serie,        option.parallel};
}

bool ShowsCurrent(const SetupOption& option) {
    return option.shown && option.shown->calculatedFor == ChosenCombination(option);
}

std::string CombinationText(const CalculatedFor& c) {
    return ShownName(c.motor) + ", " + ShownName(c.battery) + ' ' + CellsText(c.serie, c.parallel) +
           ", " + ShownName(c.fanName);
}

ShownResult ShownOf(const CalculatedFor& combination, const CalculateReport& report,
                    const std::array<std::string, kResultFieldCount>& values,
                    const std::optional<Assessment>& assessed, const FlightSettings& settings,
                    char separator) {
    ShownResult shown{combination, {}, values, {}, {}, {}};
    if (report.outcome == Outcome::NotPossible) {
        // One line, as a cell of the comparison and a tooltip show it.
        shown.notPossible = NotPossibleMessage(report.reason);
        for (std::size_t at; (at = shown.notPossible.find('\n')) != std::string::npos;)
            shown.notPossible.replace(at, 1, ": ");
        return shown;
    }
    if (!assessed) return shown;
    const ShownFigures figures = ShowFigures(*assessed, settings, separator);
    // A figure the option could have but does not says why, as a single calculation does.
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const ShownFigure& f = figures[i];
        shown.figures[i] = !f.value.empty() || !f.note.starts_with(kNotKnown) ? f.value : f.note;
    }
    if (const auto& allUp = assessed->flight.allUpWeight) {
        shown.allUpWeight = FormatValue(*allUp, separator) + " g";
    }
    for (const LimitRow& row : kLimitRows) {
        if (const auto& check = assessed->limits[static_cast<std::size_t>(row.kind)]) {
            shown.limits[static_cast<std::size_t>(row.kind)] =
                std::string(check->exceeded ? "Over " : "Within ") +
                FormatValue(check->limit, separator) + ' ' + std::string(row.unit) + " by " +
                FormatValue(check->exceeded ? -check->margin : check->margin, separator) + " %";
        }
    }
    return shown;
}

}  // namespace mfb
