// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FlightOptions.h"

#include <charconv>
#include <cmath>

#include "setup/FlightSettingTable.h"

namespace mfb::cli {

namespace {

// A number with '.' from low to high.
double ParseNumberIn(const std::string& option, const std::string& text, double low, double high) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value) || value < low ||
        value > high) {
        throw UsageError(option + " needs a number from " + std::to_string(static_cast<int>(low)) +
                         " to " + std::to_string(static_cast<int>(high)) +
                         " with '.' as the decimal point, not \"" + text + "\"");
    }
    return value;
}

}  // namespace

bool ReadFlightOption(ArgumentReader& reader, SetupFigures& given) {
    const std::string& name = reader.Name();
    for (const FlightSettingRow& row : kFlightSettingRows) {
        if (name != row.option) continue;
        // A weight that is not known is left out, never given as 0.
        given.*row.given =
            ParseNumberIn(name, reader.Value(), row.least * row.scale, row.most * row.scale) /
            row.scale;
        return true;
    }
    return false;
}

bool ReadFlightOption(ArgumentReader& reader, FlightSettings& settings) {
    SetupFigures given;
    if (!ReadFlightOption(reader, given)) return false;
    settings = FlightSettingsOf(given, settings);
    return true;
}

}  // namespace mfb::cli
