// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "model/Derived.h"

namespace mfb {
class JsonWriter;
}

namespace mfb::cli {

// `key` and the value, or null where it is absent.
void WriteOptional(JsonWriter& json, std::string_view key, const std::optional<double>& value);
// {"c_rate": ..., "run_time": ..., "power_per_weight": ...}
void WriteDerivedJson(JsonWriter& json, const DerivedFigures& figures);
// One member per limit the catalogues state: {"motor_current": {"value", "limit", "margin",
// "exceeded"}, ...}; an empty object without limits.
void WriteLimitsJson(JsonWriter& json, const LimitChecks& checks);

// {"thrust": ..., ..., "part_throttle": {...} or null, "part_refusal": text or null}; a figure
// that is not known is null.
void WriteFlightJson(JsonWriter& json, const FlightFigures& figures);
// {"throttle", "full_throttle", "usable" (fractions), "model_weight" (g, or null)}
void WriteFlightSettingsJson(JsonWriter& json, const FlightSettings& settings);
// "Flight: 65.00 % part throttle, 25.00 % of the time at full throttle, 80.00 % of the capacity"
std::string DescribeFlightSettings(const FlightSettings& settings, char decimalSeparator);

}  // namespace mfb::cli
