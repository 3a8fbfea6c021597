// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/FlightSettingTable.h"

#include <cmath>

#include "model/DisplayFormat.h"

namespace mfb {

namespace {

// Two decimals at most, and none that are 0: a share of 0.655 is "65.5 %".
std::string Plain(double value, char separator) {
    std::string text = FormatValue(value, separator);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == separator) text.pop_back();
    return text;
}

}  // namespace

std::string FlightSettingRefusal(const FlightSettingRow& row, double stored) {
    if (std::isfinite(stored) && row.holds(stored)) return {};
    return std::string(row.label) + " takes " + Plain(row.least * row.scale, '.') + " to " +
           Plain(row.most * row.scale, '.') + ' ' + std::string(row.unit);
}

std::string FlightSettingText(const FlightSettingRow& row, const FlightSettings& settings,
                              char separator) {
    const std::optional<double> value =
        row.share != nullptr ? std::optional(settings.*row.share) : settings.modelWeight;
    if (!value) return "not known";
    return Plain(*value * row.scale, separator) + ' ' + std::string(row.unit);
}

}  // namespace mfb
