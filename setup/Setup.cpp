// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/Setup.h"

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

std::vector<std::string> AssessmentLines(const std::optional<Assessment>& assessed,
                                         char decimalSeparator) {
    std::vector<std::string> lines;
    if (!assessed) return lines;
    for (const DerivedRow& row : kDerivedRows) {
        lines.push_back(DescribeFigure(row, assessed->figures, decimalSeparator));
    }
    for (const LimitRow& row : kLimitRows) {
        if (const auto& check = assessed->limits[static_cast<std::size_t>(row.kind)]) {
            lines.push_back(DescribeLimit(row.kind, *check, decimalSeparator));
        }
    }
    return lines;
}

}  // namespace mfb
